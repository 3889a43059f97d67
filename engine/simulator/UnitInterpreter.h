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
  // Option bits (the same values as PLEXOR_OPTION_* of the interface).
  static constexpr int32_t kRealTime = 1, kPauseToCaller = 2, kVirtualTime = 4, kFixedDate = 8;
  // Where virtual time starts with kFixedDate: Monday 1 January 2024, 00:00.
  static constexpr int64_t kFixedStart = 1704067200;

  explicit CUnitInterpreter(CUnitModel& unit, int32_t options = 0, uint32_t budget = kStepBudget);

  void Reset();
  // Called when the options turn virtual time on while a program runs.
  void SwitchToVirtualTime();
  // Low word status, high word the page id, pause ticks or error code.
  uint32_t Step();

  static uint32_t Result(uint16_t status, uint16_t info) { return (static_cast<uint32_t>(info) << 16) | status; }

 private:
  bool VirtualTime() const { return (options_ & kVirtualTime) != 0; }
  bool RealTime() const { return (options_ & (kRealTime | kVirtualTime)) == kRealTime; }
  bool PausesToCaller() const { return (options_ & kPauseToCaller) != 0; }
  CUnitClock& Clock() const;
  void LoadClock();
  // The virtual clock starts now (or at the fixed date) at VirtualTicks.
  void StartVirtualClock();
  // The clock registers and Timer from the virtual clock.
  void LoadVirtualClock();
  void TakeSnapshot();
  void RestoreSnapshot();
  uint32_t Run();

  CUnitModel& unit_;
  int32_t options_;
  uint32_t budget_;
};
