// TEnvOptionDlg: the environment options ("Umgebungseinstellungen"), pages
// of switches for the project, the project tree, the simulator and loader
// (including the COM port for downloads and the device behind each port)
// and the environment (how often a recovery copy is written).
//
// In port-selection mode, used when a download finds no port chosen, only
// the simulator page is shown, its two check boxes are disabled and OK is
// available only once a port is chosen.
#pragma once

#include <array>

#include "TCenteredDlg.h"
#include "TStationSettings.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class TTarvixPlusModel;

class TEnvOptionDlg : public TCenteredDlg {
  Q_OBJECT
 public:
  static constexpr int kHelpContext = 20000;

  explicit TEnvOptionDlg(QWidget* parent = nullptr, bool portSelection = false);

  void ReadSettings(const TStationSettings& settings);
  // Every value of the dialog into the settings; the rest stays.
  void WriteSettings(TStationSettings& settings) const;
  // 1..4, or -1 while no port is chosen.
  int ChosenPort() const;
  bool PortSelection() const { return portSelection_; }

  // Shows the dialog; on OK stores its values in `settings` and applies what
  // changed at once: the block indices to the cell editors (notification
  // 2101 to the open project, if any), AutoTiming to the simulator. True on OK.
  static bool Edit(TStationSettings& settings, TTarvixPlusModel* project, QWidget* parent = nullptr,
                   bool portSelection = false);

 public slots:
  void accept() override;

 private:
  QWidget* CreateProjectPage();
  QWidget* CreateTreePage();
  QWidget* CreateSimulatorPage();
  QWidget* CreateEnvironmentPage();
  void PortChosen();

  const bool portSelection_;
  QTabWidget* pages_ = nullptr;
  QCheckBox* cbShowIndex = nullptr;
  QCheckBox* cbCheckBeforeCompile = nullptr;
  QCheckBox* cbSynchronizeCellsProject = nullptr;
  QCheckBox* cbExpandCells = nullptr;
  QCheckBox* cbExpandTables = nullptr;
  QCheckBox* cbOpenFirstCell = nullptr;
  QButtonGroup* portGroup_ = nullptr;
  std::array<QRadioButton*, TStationSettings::kComPorts> RGComNumber{};
  std::array<QComboBox*, TStationSettings::kComPorts> comDevices_{};
  QCheckBox* CBAutoTiming = nullptr;
  QCheckBox* CBSaveAnalogInPorts = nullptr;
  QSpinBox* seRecoveryInterval = nullptr;
  QPushButton* bOk = nullptr;
};
