// TPlexorFileForm: the data-log view ("Tarvix Datenaufzeichnung").
//
// Shows the values the simulated program wrote into the unit's data file
// (the project's copy) in the grid "FileGrid", refreshes on notification
// 2220 and keeps its rectangle and the hexadecimal switch ("HexOutput",
// switched from the context menu) in the station's settings. The log can be
// exported as CSV and plotted. At most one per project; the frame opens it
// through the window factory.
#pragma once

#include <memory>

#include "TDataLogGrid.h"
#include "TMDIChildForm.h"

class QMenu;
class TSubWindowPlacement;

class TPlexorFileForm : public TMDIChildForm {
  Q_OBJECT

 public:
  static constexpr int32_t kHelpContext = 14000;

  explicit TPlexorFileForm(TTarvixPlusModel* model, QWidget* parent = nullptr);
  ~TPlexorFileForm() override;

  TDataLogGrid* Grid() const { return grid_; }
  // The grid's context menu (hexadecimal output, export, chart).
  QMenu* ContextMenu() const { return menu_; }

  void Update(int32_t code, int64_t data, const TChangeRecord* record) override;
  void ModelDestroyed() override;
  void SettingsChanged() override;
  int32_t HelpContext() const override { return kHelpContext; }

  // Switches "HexOutput" in the settings and in the view.
  void SetHexOutput(bool hex);
  // Writes the log as CSV (index; decimal; hexadecimal); false after a message.
  bool ExportCsv(const QString& fileName) const;
  // Asks for a file name and exports.
  void Export();
  // Opens the line chart of the log.
  QWidget* ShowChart();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class ModelSource;

  std::unique_ptr<ModelSource> source_;
  TDataLogGrid* grid_;
  QMenu* menu_;
  QAction* hexAction_;
  TSubWindowPlacement* placement_ = nullptr;
  bool placed_ = false;  // the stored rectangle applied (outside the frame)
};
