#include "TSimulatedInputs.h"

#include "plexor.h"

TSimulatedInputs& TSimulatedInputs::Current() {
  static TSimulatedInputs inputs;
  return inputs;
}

int32_t TSimulatedInputs::EngineOptions() const {
  return (AutoTiming ? PLEXOR_OPTION_REALTIME : 0) | PLEXOR_OPTION_PAUSE_TO_CALLER |
         (VirtualTime ? PLEXOR_OPTION_VIRTUAL_TIME : 0) | (FixedDate ? PLEXOR_OPTION_FIXED_DATE : 0);
}
