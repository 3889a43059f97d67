// TSimulationControl: the run control of one project's simulation.
//
// It holds the run state and everything that lives only while a compiled
// program is simulated: the current cell, the run-to target, breakpoints,
// watches, the terminal lines and the copy of the data file. Its step driver
// runs batches of engine steps from the idle loop, answers the engine's
// requests and stops at breakpoints. The project model owns it and forwards
// its operations, so windows talk to the model only.
//
// The state changes in one place (SetState), which also flags the status bar
// text. The driver never sleeps and never runs a nested event loop of its
// own: a batch that goes on through waits is cut into slices of 8 ms, and a
// program pause is a state with an end time that the idle loop waits for on
// a timer. Between slices, and in the input dialog, the user may act: an edit
// or a stop made meanwhile ends the batch, and the state stays what the edit
// or stop made it.
#pragma once

#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "Commands.h"
#include "TTerminalText.h"
#include "TWatchEntry.h"
#include "plexor.h"

class TModel;

enum class TSimState : uint8_t {
  NotReady = 0,    // not compiled, or changed since
  Ready = 1,       // reset, at program start
  Running = 2,
  SingleStep = 3,
  Halted = 4,
  Pausing = 5,     // inside a program pause
};

// Where a running batch ends besides halts, pauses, input and the end of the
// slice. Headless callers look at the unit after every cell and read each
// piece of output as it comes (their run conditions are checked there, and
// the host may end the batch on the output); the interactive driver lets a
// batch run on through cell boundaries, checking breakpoints and the run-to
// target at each, and hands output and port states to the windows once per
// slice.
enum class TBatchEnd : uint8_t { EveryCell, SliceEnd };

class TSimulationControl {
 public:
  static constexpr size_t kMaxBreakpoints = 50;
  static constexpr int kMaxTerminalLines = TTerminalText::kMaxLines;
  static constexpr size_t kDataFileWords = 4096;
  // The longest a batch holds the interface thread before the event loop
  // gets a turn (plus the one engine step under way).
  static constexpr int64_t kSliceMs = 8;
  // How often watched values are read while the program runs.
  static constexpr int64_t kRunningWatchRefreshMs = 100;

  // views receives the notifications; engine is the project's engine object.
  TSimulationControl(TModel& views, PlexorHandle engine);
  TSimulationControl(const TSimulationControl&) = delete;
  TSimulationControl& operator=(const TSimulationControl&) = delete;

  // ---- state -------------------------------------------------------------------
  TSimState State() const { return state_; }
  // True unless not ready or ready.
  bool IsSimulating() const { return state_ != TSimState::NotReady && state_ != TSimState::Ready; }
  // Whether run, single step and run-to-cell may start (ready or halted).
  bool CanStart() const { return state_ == TSimState::Ready || state_ == TSimState::Halted; }
  int32_t CurrentCell() const { return currentCell_; }
  // The cell the simulation is halted in, 0 when it is not halted.
  int32_t HaltedCell() const { return state_ == TSimState::Halted ? currentCell_ : 0; }
  int32_t RunToCellId() const { return runToCell_; }
  int32_t LastInputValue() const { return lastInputValue_; }

  // ---- commands ------------------------------------------------------------------
  // Run, single step, stop and reset; other commands are ignored.
  void RunCommand(cmd::TCommand command);
  void RunToCell(int32_t cellId);
  // After a compile: reset, then ready on success, not ready on failure.
  void SetCompiled(bool success);
  // keepDataFile: the copy of the data file stays as the program left it
  // (the end of the program), else it is read from the reset engine.
  void Reset(bool keepDataFile = false);
  // Every edit of the project makes the compiled program stale.
  void EditDone() { SetState(TSimState::NotReady); }
  // Halts a running simulation without a notification (closing the project).
  void Halt() { SetState(TSimState::Halted); }

  // ---- the step driver -------------------------------------------------------------
  // One batch of engine steps, or its next slice; true while the idle loop
  // should keep calling at once. False also while a pause runs: then
  // WakeUpInMs says when to call again.
  // sliceMs: how long this call may hold the thread before it suspends
  // the batch (what is left of the caller's own slice).
  bool Step(int64_t sliceMs = kSliceMs, TBatchEnd end = TBatchEnd::EveryCell);
  // Milliseconds until the program pause under way is over (0: call Step
  // now), -1 when there is no pause.
  int64_t WakeUpInMs() const;
  // For callers without an event loop: a Step, or a sleep through the pause
  // under way (at most a second at a time); false when there is nothing
  // more to do.
  bool StepOrSleep();
  // Engine steps made since the last reset, and an optional limit after
  // which a batch ends (headless runs must end even in an endless wait).
  int64_t EngineSteps() const { return engineSteps_; }
  void SetEngineStepLimit(int64_t limit) { engineStepLimit_ = limit; }
  // The unit's time in 20 ms ticks that steps have advanced (summed from its
  // 16-bit Timer after every engine step), and an optional limit after which
  // a batch ends, for runs bounded by the unit's time.
  int64_t UnitTicks() const { return unitTicks_; }
  void SetUnitTickLimit(int64_t limit) { unitTickLimit_ = limit; }
  // Hands pending simulated inputs to the engine.
  void ApplyInputs();
  // Reads the port levels and directions and refreshes the port panels.
  void ReadPorts();
  void ReadDataFile();

  // ---- breakpoints -----------------------------------------------------------------
  const std::vector<uint16_t>& Breakpoints() const { return breakpoints_; }
  bool HasBreakpoint(int32_t cellId) const {
    return std::find(breakpoints_.begin(), breakpoints_.end(), static_cast<uint16_t>(cellId)) != breakpoints_.end();
  }
  void ToggleBreakpoint(int32_t cellId);
  void RemoveBreakpoint(int32_t cellId);
  void ClearBreakpoints();

  // ---- watches ---------------------------------------------------------------------
  const std::vector<TWatchEntry>& Watches() const { return watches_; }
  void AddWatch(int32_t blockId);
  void RemoveWatch(int index);
  void RefreshWatches();

  // ---- terminal (at most 1000 lines) -----------------------------------------------
  QStringList TerminalLines() const { return terminal_.Lines(); }
  int TerminalLineCount() const { return terminal_.Count(); }
  QString TerminalLine(int index) const { return terminal_.Line(index); }
  void ClearTerminal();
  void CopyTerminal() const;

  // ---- the data file copy ----------------------------------------------------------
  int DataFileLength() const { return dataFileLength_; }
  int DataFilePreviousLength() const { return dataFilePreviousLength_; }
  int32_t DataFileValue(int index) const;

 private:
  // The one place the state changes; a change also asks for a new status text.
  void SetState(TSimState state);
  // Whether the batch may go on after the user had a chance to act.
  bool Stepping() const { return state_ == TSimState::Running || state_ == TSimState::SingleStep; }
  void RefreshWatchesWhileRunning();
  // Halts; inside a pause or a suspended wait the user is told so.
  void Stop();
  bool BudgetLeft() const {
    return (engineStepLimit_ < 0 || engineSteps_ < engineStepLimit_) && (unitTickLimit_ < 0 || unitTicks_ < unitTickLimit_);
  }
  // The common case of a program running in the main window: output is
  // collected and cell boundaries pass (no breakpoint, not the run-to
  // target) without leaving this loop. Returns the first step result that
  // needs more, or nothing once the slice is used up.
  std::optional<uint32_t> RunFreely(int64_t sliceEnd, uint32_t& sinceClock);
  // Cuts the batch at the end of its slice (right after a wait pass or
  // not); the next call goes on with it. True, as Step returns then.
  bool Suspend(bool inWait);
  // Adds what the unit's Timer advanced since the last reading.
  void CountUnitTime();
  // Options, fixed inputs and input values the user changed, to the engine.
  void TakeInputs();
  // Output of the unit collects here during a call of Step and goes to the
  // host and the terminal lines at the end of the call (FlushOutput), where
  // only what the terminal keeps (its last lines) is copied and split:
  // handing it on piece by piece would copy and split all of it. A batch
  // lasts one slice, so the buffer stays far below kOutputPiece, which only
  // bounds its memory (TakeOutput hands on what has collected so far).
  static constexpr size_t kOutputPiece = size_t{16} << 20;
  void CollectOutput() {
    if (const char* raw = PlexorGetOutputString(engine_)) pendingOutput_ += raw;
    if (pendingOutput_.size() >= kOutputPiece) TakeOutput();
  }
  void TakeOutput();
  void FlushOutput();
  // What every way out of Step hands on: output, port panels, unit time.
  void EndCall();

  TModel& views_;
  PlexorHandle engine_;
  TSimState state_ = TSimState::NotReady;
  uint16_t currentCell_ = 0;
  uint16_t runToCell_ = 0;
  int32_t lastInputValue_ = 0;
  bool inStep_ = false;  // re-entry guard of Step
  bool suspended_ = false;        // a batch was cut at the end of its slice
  bool suspendedInWait_ = false;  // ... right after a wait pass
  TSimState pausePrevious_ = TSimState::Running;  // the state a pause returns to
  int64_t pauseUntil_ = 0;                        // host milliseconds
  int64_t engineSteps_ = 0;
  // When watched values were last read while the program ran (host time).
  int64_t lastRunningWatchRefresh_ = std::numeric_limits<int64_t>::min() / 2;
  int64_t engineStepLimit_ = -1;
  int64_t unitTicks_ = 0;
  int64_t unitTickLimit_ = -1;
  uint16_t lastTimer_ = 0;
  bool countTimeEveryStep_ = false;  // virtual time or a tick limit: the Timer may wrap within a call
  bool portPanelsDue_ = false;       // a cell boundary passed since the ports were last read
  std::string pendingOutput_;        // raw (Windows-1252, CR LF)
  std::string flushing_;             // what TakeOutput works on
  bool terminalTaken_ = false;       // TakeOutput changed the terminal lines ...
  TTerminalText::Change terminalChange_;  // ... from this line on, or all
  std::vector<uint16_t> breakpoints_;
  std::vector<TWatchEntry> watches_;
  TTerminalText terminal_;
  std::array<uint16_t, kDataFileWords> dataFile_{};
  int dataFileLength_ = 0;
  int dataFilePreviousLength_ = 0;
};
