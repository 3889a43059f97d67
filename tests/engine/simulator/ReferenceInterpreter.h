// CReferenceInterpreter: the unit interpreter before its dispatch was made
// faster, as the oracle of the differential test (same interface and state).
#pragma once

#include <cstdint>

#include "UnitInterpreter.h"
#include "UnitModel.h"

class CUnitClock;

class CReferenceInterpreter {
 public:
  static constexpr uint32_t kStepBudget = CUnitInterpreter::kStepBudget;
  static constexpr uint32_t kSleepTicksPerStep = CUnitInterpreter::kSleepTicksPerStep;

  explicit CReferenceInterpreter(CUnitModel& unit, int32_t options = 0, uint32_t budget = kStepBudget);

  void Reset();
  uint32_t Step();

  static uint32_t Result(uint16_t status, uint16_t info) { return (static_cast<uint32_t>(info) << 16) | status; }

 private:
  bool RealTime() const { return (options_ & 1) != 0; }
  CUnitClock& Clock() const;
  void LoadClock();
  void TakeSnapshot();
  void RestoreSnapshot();
  uint32_t Run();

  CUnitModel& unit_;
  int32_t options_;
  uint32_t budget_;
};
