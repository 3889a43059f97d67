// CUnitInterpreter: runs the unit's byte code on a CUnitModel.
//
// A step runs the program from PC up to the next point where the station
// has to act (page marker, serial output or input, wait-loop pass, long
// pause, data-file change, END) or a run-time error, which rolls PC, the
// stack and the random seed back to the start of the step. The interpreter
// holds no state of its own beyond the model it works on; it is cheap to
// construct for every call.
#pragma once

#include <cstdint>

#include "UnitModel.h"

class CUnitClock;

// Step statuses (low word of a step result).
enum : uint16_t {
  kStepEnd = 0, kStepPage = 1, kStepInput = 2, kStepOutput = 3,
  kStepWait = 4, kStepPause = 5, kStepFile = 6, kStepError = 0xFFFF,
};
// Run-time error codes (high word of kStepError).
enum : uint16_t { kErrorOther = 0, kErrorDivision = 1, kErrorEndOfMemory = 2 };

class CUnitInterpreter {
 public:
  // Instructions one step may run before it hands control back with a wait
  // status, so that a program without stop conditions cannot freeze the
  // station. The next step continues where this one stopped.
  static constexpr uint32_t kStepBudget = 10'000'000;
  // Short real-time pauses sleep inside the step; once a step has slept
  // this many 20 ms ticks it returns with a wait status as well.
  static constexpr uint32_t kSleepTicksPerStep = 150;

  explicit CUnitInterpreter(CUnitModel& unit, int32_t options = 0, uint32_t budget = kStepBudget);

  void Reset();
  // Low word status, high word the page id, pause ticks or error code.
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
