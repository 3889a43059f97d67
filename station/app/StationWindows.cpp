// Every window class the frame and the desktop file can open by name, and
// the hooks to the station's dialogs. A new window is one line here (and
// its library in the Vorblen program's link).
#include "StationWindows.h"

#include <QToolBar>

#include "CompileProject.h"
#include "TCheckResultForm.h"
#include "TCheckResults.h"
#include "TAnalogPortForm.h"
#include "TBlockPalette.h"
#include "TColorOptionsDlg.h"
#include "TCompareForm.h"
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
#include "TStationFrame.h"
#include "TStationSettings.h"
#include "TTableEditorForm.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"
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
  TWindowFactory::Register<TCheckResultForm>(Kind::Document);
  TWindowFactory::Register<TCompareForm>(Kind::Document);
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
  TTarvixForm::SetHook(QStringLiteral("CompareWith"), [](TTarvixForm& frame) { TCompareForm::CompareWith(frame); });
  TTarvixForm::SetHook(QStringLiteral("About"), [](TTarvixForm& frame) { TSplashForm::ShowAbout(&frame); });
  TTarvixForm::SetHook(QStringLiteral("OptionsEnvironment"), [](TTarvixForm& frame) {
    TEnvOptionDlg::Edit(TStationSettings::Current(), frame.Project(), &frame);
  });
  TTarvixForm::SetHook(QStringLiteral("CheckProgram"), [](TTarvixForm& frame) {
    TTarvixPlusModel* project = frame.Project();
    if (!project) return;
    project->CommitViews();
    TCheckResults::Run(*project);
    frame.ShowWindow(QStringLiteral("TCheckResultForm"));
  });
  TCompilerForm::SetPortChooser([](TStationSettings& settings, TTarvixPlusModel* project, QWidget* owner) {
    return TEnvOptionDlg::Edit(settings, project, owner, true);
  });
  TTarvixForm::SetCompileHook([](TTarvixPlusModel& project, bool download, QWidget* owner) {
    if (!CanCompileProject(&project)) return;
    // The checks name every mistake at once; they never hold the compile
    // back, whose own message stays the word on errors.
    if (TStationSettings::Current().checkBeforeCompile) {
      project.CommitViews();
      bool worth = false;
      for (const TFinding& f : TCheckResults::Run(project)) worth = worth || f.severity != TSeverity::kHinweis;
      if (worth)
        if (TStationFrame* frame = TStationFrame::Current()) frame->ShowWindow(QStringLiteral("TCheckResultForm"), false);
    }
    CompileProject(project, download, owner);
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
