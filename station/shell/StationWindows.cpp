// Every window class the frame and the desktop file can open by name, and
// the hooks to the station's dialogs. A new window is one line here (and
// its library in the Vorblen program's link).
#include "StationWindows.h"

#include "TColorOptionsDlg.h"
#include "TCommentEditForm.h"
#include "THelpViewer.h"
#include "TPlexorFileForm.h"
#include "TProgramCellForm.h"
#include "TSplashForm.h"
#include "TTableEditorForm.h"
#include "TTarvixForm.h"
#include "TTipOfDayDlg.h"
#include "TWidgetUserInterface.h"
#include "TWindowFactory.h"

void RegisterStationWindows() {
  using Kind = TWindowFactory::Kind;
  TWindowFactory::Register<TProgramCellForm>(Kind::Document);
  TWindowFactory::Register<TTableEditorForm>(Kind::Document);
  TWindowFactory::Register<TCommentEditForm>(Kind::Document);
  TWindowFactory::Register<TPlexorFileForm>(Kind::Document);
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
}
