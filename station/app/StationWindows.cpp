// Every window class the frame and the desktop file can open by name, and
// the hooks to the station's dialogs. A new window is one line here (and
// its library in the Vorblen program's link).
#include "StationWindows.h"

#include <QToolBar>

#include "CompileProject.h"
#include "TAnalogPortForm.h"
#include "TBlockPalette.h"
#include "TColorOptionsDlg.h"
#include "TCommentEditForm.h"
#include "TCompilerForm.h"
#include "TDigitalPortForm.h"
#include "THelpViewer.h"
#include "TEnvOptionDlg.h"
#include "TKeyLEDForm.h"
#include "TPlexorFileForm.h"
#include "TPlexorInputDialog.h"
#include "TProgramCellForm.h"
#include "TSplashForm.h"
#include "TStationSettings.h"
#include "TTableEditorForm.h"
#include "TTarvixForm.h"
#include "TTerminalForm.h"
#include "TTipOfDayDlg.h"
#include "TTrendView.h"
#include "TWatchForm.h"
#include "TWidgetUserInterface.h"
#include "TWindowFactory.h"

void RegisterSimulationWindows() {
  using Kind = TWindowFactory::Kind;
  TWindowFactory::Register<TTerminalForm>(Kind::Document);
  TWindowFactory::Register<TWatchForm>(Kind::Document);
  TWindowFactory::Register<TDigitalPortForm>(Kind::Tool);
  TWindowFactory::Register<TAnalogPortForm>(Kind::Tool);
  TWindowFactory::Register<TKeyLEDForm>(Kind::Tool);
  TWindowFactory::Register<TTrendView>(Kind::Tool);
}

void RegisterStationWindows() {
  using Kind = TWindowFactory::Kind;
  TWindowFactory::Register<TProgramCellForm>(Kind::Document);
  TWindowFactory::Register<TTableEditorForm>(Kind::Document);
  TWindowFactory::Register<TCommentEditForm>(Kind::Document);
  TWindowFactory::Register<TPlexorFileForm>(Kind::Document);
  RegisterSimulationWindows();
}

void InstallStationHooks(TWidgetUserInterface& ui) {
  ui.SetHelpHook([](QWidget* owner, int32_t context) { THelpViewer::Show(context, owner); });
  TTarvixForm::SetHook(QStringLiteral("OptionsColors"), [](TTarvixForm& frame) {
    TColorOptionsDlg dialog(&frame);
    dialog.Execute(&frame);
  });
  TTarvixForm::SetTipAvailable([] { return TTipOfDayDlg::TipFileAvailable(); });
  TTarvixForm::SetHook(QStringLiteral("TipOfDay"), [](TTarvixForm& frame) { TTipOfDayDlg::ShowTipOfDay(&frame); });
  TTarvixForm::SetHook(QStringLiteral("StartupTip"), [](TTarvixForm& frame) { TTipOfDayDlg::ShowTipOfDay(&frame); });
  TTarvixForm::SetHook(QStringLiteral("About"), [](TTarvixForm& frame) { TSplashForm::ShowAbout(&frame); });
  TTarvixForm::SetHook(QStringLiteral("OptionsEnvironment"), [](TTarvixForm& frame) {
    TEnvOptionDlg::Edit(TStationSettings::Current(), frame.Project(), &frame);
  });
  TCompilerForm::SetPortChooser([](TStationSettings& settings, TTarvixPlusModel* project, QWidget* owner) {
    return TEnvOptionDlg::Edit(settings, project, owner, true);
  });
  TTarvixForm::SetCompileHook([](TTarvixPlusModel& project, bool download, QWidget* owner) {
    if (CanCompileProject(&project)) CompileProject(project, download, owner);
  });
  ui.SetInputHook([](QWidget* owner, const QString& caption, const QString& prompt, int32_t& value) {
    return TPlexorInputDialog::Ask(owner, caption, prompt, value);
  });
  // The block palette in the block tool bar: its buttons carry the insert
  // commands and follow their enabling like every other button.
  TTarvixForm::SetHook(QStringLiteral("Palette"), [](TTarvixForm& frame) {
    auto* bar = frame.findChild<QToolBar*>(QStringLiteral("BlockToolbar"));
    if (!bar) return;
    auto* palette = new TBlockPalette(bar);
    palette->setObjectName(QStringLiteral("BlockPalette"));
    palette->Reload();
    palette->SetCommandEnabler([&frame](int32_t tag) { return frame.IsCommandEnabled(tag); });
    QObject::connect(palette, &TBlockPalette::CommandTriggered, &frame,
                     [&frame, palette](int32_t tag) { frame.DoChildCommand(tag, palette); });
    QObject::connect(&frame, &TTarvixForm::CommandStatesUpdated, palette, &TBlockPalette::UpdateCommandStates);
    bar->addWidget(palette);
  });
}
