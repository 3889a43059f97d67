// TSimulatedInputs: the simulated inputs the user sets in the simulator
// panels (and the two simulator settings), shared by the whole program.
// The panels write values and mark them pending; the simulation run control
// hands pending values to the engine before each batch of steps.
#pragma once

#include <array>
#include <cstdint>

struct TSimulatedInputs {
  std::array<uint8_t, 8> AdcValue{64, 128, 192, 255, 96, 92, 100, 200};
  std::array<bool, 8> AdcChanged{};
  uint16_t Frequency = 4200;
  bool FrequencyChanged = false;
  std::array<bool, 16> PortIsOutput{};
  std::array<bool, 16> PortLevel{};
  std::array<bool, 16> PortChanged{};
  bool AutoTiming = true;
  // "Zeitraffer": the unit's clock runs with the program instead of the
  // computer's clock; FixedDate starts it at a fixed date instead of now.
  bool VirtualTime = false;
  bool FixedDate = false;
  // Any of the three timing settings changed.
  bool AutoTimingChanged = false;
  uint16_t FixedDigitalIn = 0x0F00;
  bool FixedDigitalInChanged = false;
  bool StatusChanged = false;

  // The engine's option word for the timing settings. Pauses always come
  // back to the caller, so that no step sleeps on the interface thread.
  int32_t EngineOptions() const;

  static TSimulatedInputs& Current();
};
