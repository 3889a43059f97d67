// Every window class the frame and the desktop file can open by name. A new
// window is one line here (and its library in the Vorblen program's link).
#include "TWindowFactory.h"

#include "TCommentEditForm.h"
#include "TPlexorFileForm.h"
#include "TTableEditorForm.h"

void RegisterStationWindows() {
  using Kind = TWindowFactory::Kind;
  TWindowFactory::Register<TTableEditorForm>(Kind::Document);
  TWindowFactory::Register<TCommentEditForm>(Kind::Document);
  TWindowFactory::Register<TPlexorFileForm>(Kind::Document);
}
