// Every window class the frame and the desktop file can open by name, and
// the user interface's hooks to the station's dialogs. A new window is one
// line here (and its library in the Vorblen program's link).
#include "StationWindows.h"

#include "TCheckResultForm.h"
#include "TAnalogPortForm.h"
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
#include "TStationSettings.h"
#include "TTableEditorForm.h"
#include "TTerminalForm.h"
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
  TCompilerForm::SetPortChooser([](TStationSettings& settings, TTarvixPlusModel* project, QWidget* owner) {
    return TEnvOptionDlg::Edit(settings, project, owner, true);
  });
  ui.SetInputHook([](QWidget* owner, const QString& caption, const QString& prompt, int32_t& value) {
    return TPlexorInputDialog::Ask(owner, caption, prompt, value);
  });
}
