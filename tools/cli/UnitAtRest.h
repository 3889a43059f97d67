// UnitAtRest: the simulated unit every run of vorblen-cli starts from (run
// and test alike): no analog value, no frequency, the fixed digital inputs
// of a unit on the bench, the clock not following the computer's; the same
// on every machine, whatever the station's settings hold.
#pragma once

#include "TSimulatedInputs.h"

// Resets the current simulated inputs to the unit at rest and answers them.
inline TSimulatedInputs& ResetToUnitAtRest() {
  TSimulatedInputs& in = TSimulatedInputs::Current();
  in = TSimulatedInputs{};
  in.AdcValue.fill(0);
  in.Frequency = 0;
  in.FixedDigitalIn = 0x0F00;
  in.AutoTiming = false;
  return in;
}
