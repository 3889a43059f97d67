#include "TVorblenServices.h"

#include <QToolBar>

#include "CompileProject.h"
#include "TBlockPalette.h"
#include "TCheckResults.h"
#include "TColorOptionsDlg.h"
#include "TCompareForm.h"
#include "TEnvOptionDlg.h"
#include "TSplashForm.h"
#include "TStationFrame.h"
#include "TStationSettings.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"
#include "TTipOfDayDlg.h"
#include "TWindowClass.h"

void TVorblenServices::SetSplash(TSplashForm* splash) { splash_ = splash; }

bool TVorblenServices::TipAvailable() const { return TTipOfDayDlg::TipFileAvailable(); }

void TVorblenServices::OptionsEnvironment(TTarvixForm& frame) {
  TEnvOptionDlg::Edit(TStationSettings::Current(), frame.Project(), &frame);
}

void TVorblenServices::OptionsColors(TTarvixForm& frame) {
  TColorOptionsDlg dialog(&frame);
  dialog.Execute(&frame);
}

void TVorblenServices::TipOfDay(TTarvixForm& frame) { TTipOfDayDlg::ShowTipOfDay(&frame); }

void TVorblenServices::StartupTip(TTarvixForm& frame) { TTipOfDayDlg::ShowTipOfDay(&frame); }

void TVorblenServices::About(TTarvixForm& frame) { TSplashForm::ShowAbout(&frame); }

void TVorblenServices::CompareWith(TTarvixForm& frame) { TCompareForm::CompareWith(frame); }

void TVorblenServices::CheckProgram(TTarvixForm& frame) {
  TTarvixPlusModel* project = frame.Project();
  if (!project) return;
  project->CommitViews();
  TCheckResults::Run(*project);
  frame.ShowWindow(windowclass::Name(TWindowClass::CheckResults));
}

void TVorblenServices::Compile(TTarvixPlusModel& project, bool download, QWidget* owner) {
  if (!CanCompileProject(&project)) return;
  // The checks name every mistake at once; they never hold the compile
  // back, whose own message stays the word on errors.
  if (TStationSettings::Current().checkBeforeCompile) {
    project.CommitViews();
    bool worth = false;
    for (const TFinding& f : TCheckResults::Run(project)) worth = worth || f.severity != TSeverity::kHinweis;
    if (worth)
      if (TStationFrame* frame = TStationFrame::Current())
        frame->ShowWindow(windowclass::Name(TWindowClass::CheckResults), false);
  }
  CompileProject(project, download, owner);
}

void TVorblenServices::FillPalette(TTarvixForm& frame, QToolBar& blockBar) {
  // Its buttons carry the insert commands and follow their enabling like
  // every other button.
  auto* palette = new TBlockPalette(&blockBar);
  palette->setObjectName(QStringLiteral("BlockPalette"));
  palette->Reload();
  palette->SetCommandEnabler([&frame](int32_t tag) { return frame.IsCommandEnabled(tag); });
  QObject::connect(palette, &TBlockPalette::CommandTriggered, &frame,
                   [&frame, palette](int32_t tag) { frame.DoChildCommand(tag, palette); });
  QObject::connect(&frame, &TTarvixForm::CommandStatesUpdated, palette, &TBlockPalette::UpdateCommandStates);
  blockBar.addWidget(palette);
}

void TVorblenServices::SplashDone() {
  if (splash_) splash_->close();
}
