// Every window class the frame and the desktop file can open by name. A new
// window is one line here (and its library in the Vorblen program's link).
#include "TProgramCellForm.h"
#include "TWindowFactory.h"

void RegisterStationWindows() {
  using Kind = TWindowFactory::Kind;
  TWindowFactory::Register<TProgramCellForm>(Kind::Document);
}
