#include "SimulationWindows.h"

#include "TAnalogPortForm.h"
#include "TDigitalPortForm.h"
#include "TKeyLEDForm.h"
#include "TTerminalForm.h"
#include "TTrendView.h"
#include "TWatchForm.h"
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
