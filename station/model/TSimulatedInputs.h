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
  bool AutoTimingChanged = false;
  uint16_t FixedDigitalIn = 0x0F00;
  bool FixedDigitalInChanged = false;
  bool StatusChanged = false;

  static TSimulatedInputs& Current();
};
