// Every window class the frame and the desktop file can open by name. A new
// window is one line here (and its library in the Vorblen program's link).
#include "TAnalogPortForm.h"
#include "TDigitalPortForm.h"
#include "TKeyLEDForm.h"
#include "TTerminalForm.h"
#include "TTrendView.h"
#include "TWatchForm.h"
#include "TWindowFactory.h"

void RegisterStationWindows() {
  using Kind = TWindowFactory::Kind;
  (void)sizeof(Kind);
  TWindowFactory::Register<TTerminalForm>(Kind::Document);
  TWindowFactory::Register<TWatchForm>(Kind::Document);
  TWindowFactory::Register<TDigitalPortForm>(Kind::Tool);
  TWindowFactory::Register<TAnalogPortForm>(Kind::Tool);
  TWindowFactory::Register<TKeyLEDForm>(Kind::Tool);
  TWindowFactory::Register<TTrendView>(Kind::Tool);
}
