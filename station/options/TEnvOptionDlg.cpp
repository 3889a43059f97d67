#include "TEnvOptionDlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "CellEditorSettings.h"
#include "Notifications.h"
#include "SerialDevices.h"
#include "TSimulatedInputs.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

QString WithoutAmpersand(QString caption) { return caption.remove(QLatin1Char('&')); }

QCheckBox* CheckBox(const QString& caption, const char* name, QWidget* parent) {
  auto* box = new QCheckBox(caption, parent);
  box->setObjectName(QLatin1String(name));
  box->setAccessibleName(WithoutAmpersand(caption));
  return box;
}

// The device a port stands for when no override names another.
QString StandardDevice(int index) { return QStringLiteral("/dev/ttyS%1").arg(index); }

}  // namespace

TEnvOptionDlg::TEnvOptionDlg(QWidget* parent, bool portSelection) : TCenteredDlg(parent), portSelection_(portSelection) {
  setWindowTitle(QStringLiteral("Umgebungseinstellungen"));
  setObjectName(QStringLiteral("EnvOptionDlg"));

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("Pages"));
  pages_->setAccessibleName(QStringLiteral("Seiten"));
  pages_->addTab(CreateProjectPage(), QStringLiteral("Projekt"));
  pages_->addTab(CreateTreePage(), QStringLiteral("Projektübersichtsfenster"));
  pages_->addTab(CreateSimulatorPage(), QStringLiteral("Simulator und Lader"));
  pages_->addTab(CreateEnvironmentPage(), QStringLiteral("Umgebung"));

  auto* buttons = new QDialogButtonBox(this);
  bOk = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  bOk->setObjectName(QStringLiteral("bOk"));
  bOk->setDefault(true);
  QPushButton* bCancel = buttons->addButton(QStringLiteral("Abbrechen"), QDialogButtonBox::RejectRole);
  bCancel->setObjectName(QStringLiteral("bCancel"));
  QPushButton* bHelp = buttons->addButton(QStringLiteral("&Hilfe"), QDialogButtonBox::HelpRole);
  bHelp->setObjectName(QStringLiteral("bHelp"));
  for (QPushButton* b : {bOk, bCancel, bHelp}) b->setAccessibleName(WithoutAmpersand(b->text()));
  connect(buttons, &QDialogButtonBox::accepted, this, &TEnvOptionDlg::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TEnvOptionDlg::reject);
  connect(bHelp, &QPushButton::clicked, this, [] { TUserInterface::Current().ShowHelp(kHelpContext); });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages_);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);

  if (portSelection_) {
    pages_->setTabVisible(0, false);
    pages_->setTabVisible(1, false);
    pages_->setTabVisible(3, false);
    pages_->setCurrentIndex(2);
    CBAutoTiming->setEnabled(false);
    CBSaveAnalogInPorts->setEnabled(false);
    bOk->setEnabled(false);
  }
}

QWidget* TEnvOptionDlg::CreateProjectPage() {
  auto* page = new QWidget;
  cbShowIndex = CheckBox(QStringLiteral("&Nummer von Ports und Speicherzellen anzeigen"), "cbShowIndex", page);
  cbCheckBeforeCompile = CheckBox(QStringLiteral("Programm vor dem Compilieren &prüfen"), "cbCheckBeforeCompile", page);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(cbShowIndex);
  layout->addWidget(cbCheckBeforeCompile);
  layout->addStretch();
  return page;
}

QWidget* TEnvOptionDlg::CreateTreePage() {
  auto* page = new QWidget;
  cbSynchronizeCellsProject = CheckBox(QStringLiteral("&Editor folgt im Projektfenster ausgewählter Programmzelle"),
                                       "cbSynchronizeCellsProject", page);
  auto* group = new QGroupBox(QStringLiteral("Beim Öffnen eines Projekts"), page);
  group->setObjectName(QStringLiteral("gbOpening"));
  group->setAccessibleName(group->title());
  cbExpandCells = CheckBox(QStringLiteral("&Programmzellen aufklappen"), "cbExpandCells", group);
  cbExpandTables = CheckBox(QStringLiteral("&Tabellen aufklappen"), "cbExpandTables", group);
  cbOpenFirstCell = CheckBox(QStringLiteral("Erste Programmzelle ö&ffnen"), "cbOpenFirstCell", group);
  auto* groupLayout = new QVBoxLayout(group);
  groupLayout->addWidget(cbExpandCells);
  groupLayout->addWidget(cbExpandTables);
  groupLayout->addWidget(cbOpenFirstCell);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(cbSynchronizeCellsProject);
  layout->addWidget(group);
  layout->addStretch();
  return page;
}

QWidget* TEnvOptionDlg::CreateSimulatorPage() {
  auto* page = new QWidget;
  auto* ports = new QGroupBox(QStringLiteral("Schnittstelle für Tarvix Station"), page);
  ports->setObjectName(QStringLiteral("RGComNumber"));
  ports->setAccessibleName(ports->title());
  auto* portLayout = new QGridLayout(ports);
  portGroup_ = new QButtonGroup(ports);
  for (int i = 0; i < TStationSettings::kComPorts; ++i) {
    const QString caption = QStringLiteral("COM&%1").arg(i + 1);
    auto* radio = new QRadioButton(caption, ports);
    radio->setObjectName(QStringLiteral("COM%1").arg(i + 1));
    radio->setAccessibleName(WithoutAmpersand(caption));
    portGroup_->addButton(radio, i);
    portLayout->addWidget(radio, 0, i);
    RGComNumber[static_cast<size_t>(i)] = radio;
    connect(radio, &QRadioButton::toggled, this, [this](bool on) {
      if (on) PortChosen();
    });
  }

  // Where each port leads on this machine: a USB adapter can be chosen here
  // instead of in the settings file.
  auto* devices = new QGroupBox(QStringLiteral("Geräte der Schnittstellen"), page);
  devices->setObjectName(QStringLiteral("gbDevices"));
  devices->setAccessibleName(devices->title());
  auto* deviceLayout = new QGridLayout(devices);
  const QStringList present = SerialDevices();
  for (int i = 0; i < TStationSettings::kComPorts; ++i) {
    auto* combo = new QComboBox(devices);
    combo->setObjectName(QStringLiteral("COM%1Device").arg(i + 1));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->addItems(present);
    combo->setMinimumContentsLength(28);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setAccessibleName(QStringLiteral("Gerät für COM%1").arg(i + 1));
    combo->lineEdit()->setAccessibleName(combo->accessibleName());
    combo->view()->setAccessibleName(combo->accessibleName());
    combo->lineEdit()->setPlaceholderText(StandardDevice(i));
    auto* label = new QLabel(QStringLiteral("COM%1:").arg(i + 1), devices);
    label->setBuddy(combo);
    deviceLayout->addWidget(label, i, 0);
    deviceLayout->addWidget(combo, i, 1);
    comDevices_[static_cast<size_t>(i)] = combo;
  }

  CBAutoTiming = CheckBox(QStringLiteral("&Simulatorzeit ständig aktualisieren"), "CBAutoTiming", page);
  CBSaveAnalogInPorts =
      CheckBox(QStringLiteral("Werte analoger Eingänge beim Programmende speichern"), "CBSaveAnalogInPorts", page);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(ports);
  layout->addWidget(devices);
  layout->addWidget(CBAutoTiming);
  layout->addWidget(CBSaveAnalogInPorts);
  layout->addStretch();
  return page;
}

QWidget* TEnvOptionDlg::CreateEnvironmentPage() {
  auto* page = new QWidget;
  // "Wiederherstellungskopie alle [30] s": the number stands in the sentence.
  auto* before = new QLabel(QStringLiteral("&Wiederherstellungskopie alle"), page);
  seRecoveryInterval = new QSpinBox(page);
  seRecoveryInterval->setObjectName(QStringLiteral("seRecoveryInterval"));
  seRecoveryInterval->setAccessibleName(QStringLiteral("Wiederherstellungskopie alle N s"));
  seRecoveryInterval->setRange(0, TStationSettings::kMaxRecoveryInterval);
  seRecoveryInterval->setSuffix(QStringLiteral(" s"));
  seRecoveryInterval->setSpecialValueText(QStringLiteral("aus"));
  before->setBuddy(seRecoveryInterval);
  auto* hint = new QLabel(QStringLiteral("Solange ein Projekt ungespeicherte Änderungen hat, sichert die Station es "
                                         "so oft (und vor jedem Compilieren und Laden) für den Fall eines Absturzes. "
                                         "0 schaltet die Kopie ab."),
                          page);
  hint->setWordWrap(true);
  auto* row = new QHBoxLayout;
  row->addWidget(before);
  row->addWidget(seRecoveryInterval);
  row->addStretch();
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(row);
  layout->addWidget(hint);
  layout->addStretch();
  return page;
}

void TEnvOptionDlg::ReadSettings(const TStationSettings& s) {
  seRecoveryInterval->setValue(s.recoveryInterval);
  cbShowIndex->setChecked(s.blockIndicesVisible);
  cbCheckBeforeCompile->setChecked(s.checkBeforeCompile);
  cbSynchronizeCellsProject->setChecked(s.autoSynchronize);
  cbExpandCells->setChecked(s.autoExpandCells);
  cbExpandTables->setChecked(s.autoExpandTables);
  cbOpenFirstCell->setChecked(s.autoOpenFirstCell);
  CBAutoTiming->setChecked(s.autoTiming);
  CBSaveAnalogInPorts->setChecked(s.adValuesSaved);
  for (int i = 0; i < TStationSettings::kComPorts; ++i) {
    const auto index = static_cast<size_t>(i);
    QRadioButton* radio = RGComNumber[index];
    if (s.com == i + 1) radio->setChecked(true);
    const QString device = s.comDevices[index].trimmed();
    comDevices_[index]->setCurrentText(device.isEmpty() ? StandardDevice(i) : device);
  }
  if (s.com < 1 || s.com > TStationSettings::kComPorts) {
    // No port: an exclusive group keeps one checked, so clear it outside.
    portGroup_->setExclusive(false);
    for (QRadioButton* radio : RGComNumber) radio->setChecked(false);
    portGroup_->setExclusive(true);
  }
  if (portSelection_) bOk->setEnabled(ChosenPort() > 0);
}

void TEnvOptionDlg::WriteSettings(TStationSettings& s) const {
  s.recoveryInterval = seRecoveryInterval->value();
  s.blockIndicesVisible = cbShowIndex->isChecked();
  s.checkBeforeCompile = cbCheckBeforeCompile->isChecked();
  s.autoSynchronize = cbSynchronizeCellsProject->isChecked();
  s.autoExpandCells = cbExpandCells->isChecked();
  s.autoExpandTables = cbExpandTables->isChecked();
  s.autoOpenFirstCell = cbOpenFirstCell->isChecked();
  s.autoTiming = CBAutoTiming->isChecked();
  s.adValuesSaved = CBSaveAnalogInPorts->isChecked();
  s.com = ChosenPort();
  for (int i = 0; i < TStationSettings::kComPorts; ++i) {
    const auto index = static_cast<size_t>(i);
    const QString device = comDevices_[index]->currentText().trimmed();
    // The standard device needs no override; keeping none lets the file stay as it was.
    s.comDevices[index] = device == StandardDevice(i) ? QString() : device;
  }
}

int TEnvOptionDlg::ChosenPort() const {
  for (int i = 0; i < TStationSettings::kComPorts; ++i)
    if (RGComNumber[static_cast<size_t>(i)]->isChecked()) return i + 1;
  return -1;
}

void TEnvOptionDlg::PortChosen() {
  if (portSelection_) bOk->setEnabled(true);
}

void TEnvOptionDlg::accept() {
  if (portSelection_ && ChosenPort() < 1) {
    TUserInterface::Current().Beep(TUserInterface::Sound::Warning);
    return;
  }
  TCenteredDlg::accept();
}

bool TEnvOptionDlg::Edit(TStationSettings& settings, TTarvixPlusModel* project, QWidget* parent, bool portSelection) {
  // The running station keeps these two in its live records; they are the
  // ones the dialog must show and compare against.
  settings.blockIndicesVisible = CellEditorSettings::Current().blockIndicesVisible;
  settings.autoTiming = TSimulatedInputs::Current().AutoTiming;
  TEnvOptionDlg dialog(parent, portSelection);
  dialog.ReadSettings(settings);
  if (!dialog.Execute(parent)) return false;
  const TStationSettings before = settings;
  dialog.WriteSettings(settings);
  if (settings.autoTiming != before.autoTiming) {
    TSimulatedInputs& inputs = TSimulatedInputs::Current();
    inputs.AutoTiming = settings.autoTiming;
    inputs.AutoTimingChanged = true;
  }
  if (settings.blockIndicesVisible != before.blockIndicesVisible) {
    CellEditorSettings::Current().blockIndicesVisible = settings.blockIndicesVisible;
    if (project) project->UpdateViews(notify::kBlockIndicesChanged);
  }
  return true;
}
