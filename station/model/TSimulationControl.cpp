// The simulation run control: the step driver of the idle loop, breakpoints,
// run-to-cell, input requests, waits and pauses, watches, terminal and data
// file. Everything runs on the user-interface thread.
#include "TSimulationControl.h"

#include <QClipboard>
#include <algorithm>
#include <chrono>
#include <optional>
#include <utility>
#include <QGuiApplication>

#include "EngineText.h"
#include "Notifications.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TModel.h"
#include "UserInterface.h"

namespace {

constexpr int32_t kTimerMapCode = (1 << 24) | (5 << 16) | 7;  // the unit's Timer: word, system register 7

TUserInterface& Ui() { return TUserInterface::Current(); }
TSimulationHost& Host() { return TSimulationHost::Current(); }
TSimulatedInputs& Inputs() { return TSimulatedInputs::Current(); }

QString RuntimeErrorText(int kind) {
  switch (kind) {
    case 1: return QStringLiteral("Division durch Null!");
    case 2: return QStringLiteral("Ungültiger Zugriff auf Tarvix-EEPROM!");
    default: return QStringLiteral("Plexor got stoned...");
  }
}

// Clears the re-entry guard on every way out.
class ReentryGuard {
 public:
  explicit ReentryGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~ReentryGuard() { flag_ = false; }
  ReentryGuard(const ReentryGuard&) = delete;
  ReentryGuard& operator=(const ReentryGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

TSimulationControl::TSimulationControl(TModel& views, PlexorHandle engine) : views_(views), engine_(engine) {}

void TSimulationControl::SetState(TSimState state) {
  if (state == state_) return;
  state_ = state;
  if (state != TSimState::Running && state != TSimState::SingleStep) suspended_ = false;
  Inputs().StatusChanged = true;
}

void TSimulationControl::RunCommand(cmd::TCommand command) {
  switch (command) {
    case cmd::kRun: SetState(TSimState::Running); break;
    case cmd::kSingleStep: SetState(TSimState::SingleStep); break;
    case cmd::kStop: Stop(); break;
    case cmd::kReset: Reset(); break;
    default: return;
  }
  Inputs().StatusChanged = true;
  if (state_ == TSimState::Running || state_ == TSimState::Halted) views_.UpdateViews(notify::kCurrentCell, currentCell_);
}

void TSimulationControl::RunToCell(int32_t cellId) {
  runToCell_ = static_cast<uint16_t>(cellId);
  SetState(TSimState::Running);
}

void TSimulationControl::SetCompiled(bool success) {
  Reset();
  SetState(success ? TSimState::Ready : TSimState::NotReady);
}

void TSimulationControl::Reset(bool keepDataFile) {
  if (currentCell_ != 0) {
    const int32_t old = currentCell_;
    currentCell_ = 0;
    views_.UpdateViews(notify::kCurrentCell, old);
  }
  PlexorResetProgram(engine_);
  engineSteps_ = 0;
  lastTimer_ = static_cast<uint16_t>(PlexorGetValue(engine_, kTimerMapCode));
  const TSimulatedInputs& in = Inputs();
  for (int i = 0; i < 8; ++i) PlexorSetADC(engine_, i, in.AdcValue[static_cast<size_t>(i)]);
  PlexorSetFreq(engine_, in.Frequency);
  RefreshWatches();
  if (!keepDataFile) ReadDataFile();
  ReadPorts();
  views_.UpdateViews(notify::kSimulationReset, 0);
  SetState(TSimState::Ready);
  Inputs().StatusChanged = true;
}

void TSimulationControl::ApplyInputs() {
  TSimulatedInputs& in = Inputs();
  for (size_t i = 0; i < in.AdcValue.size(); ++i)
    if (in.AdcChanged[i]) {
      PlexorSetADC(engine_, static_cast<int32_t>(i), in.AdcValue[i]);
      in.AdcChanged[i] = false;
    }
  if (in.FrequencyChanged) {
    PlexorSetFreq(engine_, in.Frequency);
    in.FrequencyChanged = false;
  }
  for (size_t i = 0; i < in.PortChanged.size(); ++i)
    if (in.PortChanged[i] && !in.PortIsOutput[i]) {
      PlexorSetPort(engine_, static_cast<int32_t>(i), in.PortLevel[i] ? 1 : 0);
      in.PortChanged[i] = false;
    }
}

void TSimulationControl::ReadPorts() {
  const uint32_t state = static_cast<uint32_t>(PlexorGetPortState(engine_));
  TSimulatedInputs& in = Inputs();
  for (size_t i = 0; i < 16; ++i) {
    in.PortLevel[i] = (state >> i) & 1u;
    in.PortIsOutput[i] = (state >> (16 + i)) & 1u;
  }
  portPanelsDue_ = false;
  Host().RefreshPortPanels();
}

void TSimulationControl::ReadDataFile() {
  dataFilePreviousLength_ = dataFileLength_;
  const int length = PlexorGetFileLength(engine_) & 0xFFFF;
  // The engine writes its whole file; keep what fits the copy.
  std::vector<uint16_t> words(static_cast<size_t>(length) + 1);
  if (length > 0) PlexorDumpFile(engine_, words.data());
  dataFileLength_ = std::min(length, static_cast<int>(dataFile_.size()));
  std::copy(words.begin(), words.begin() + dataFileLength_, dataFile_.begin());
  views_.UpdateViews(notify::kDataFileChanged, 0);
}

int32_t TSimulationControl::DataFileValue(int index) const {
  return index >= 0 && index < dataFileLength_ ? dataFile_[static_cast<size_t>(index)] : 0;
}

void TSimulationControl::TakeOutput() {
  if (pendingOutput_.empty()) return;
  // The buffer keeps its capacity from piece to piece.
  std::swap(pendingOutput_, flushing_);
  pendingOutput_.clear();
  Host().OutputArrived(flushing_.c_str());
  const TTerminalText::Change change = terminal_.Append(flushing_);
  if (!terminalTaken_) {
    terminalChange_ = change;
  } else {
    terminalChange_.cut = terminalChange_.cut || change.cut;
    terminalChange_.first = std::min(terminalChange_.first, change.first);
  }
  terminalTaken_ = true;
}

void TSimulationControl::FlushOutput() {
  TakeOutput();
  if (!terminalTaken_) return;
  terminalTaken_ = false;
  Host().ShowTerminal();
  if (terminalChange_.cut) {
    // A cut redraws the whole terminal; there is nothing more to tell.
    views_.UpdateViews(notify::kTerminalLine, -1);
    return;
  }
  for (int i = terminalChange_.first; i < terminal_.Count(); ++i) views_.UpdateViews(notify::kTerminalLine, i);
}

void TSimulationControl::ClearTerminal() {
  terminal_.Clear();
  views_.UpdateViews(notify::kTerminalLine, -1);
}

void TSimulationControl::CopyTerminal() const {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  QGuiApplication::clipboard()->setText(terminal_.Lines().join(QStringLiteral("\r\n")));
}

// ---- watches ------------------------------------------------------------------

void TSimulationControl::AddWatch(int32_t blockId) {
  const char* name = PlexorGetSymbolicName(engine_, blockId);
  if (!name) return;
  TWatchEntry entry;
  entry.Name = enginetext::ToQString(name);
  entry.MapCode = PlexorGetMapCode(engine_, blockId);
  entry.Value = PlexorGetValue(engine_, entry.MapCode);
  for (size_t i = 0; i < watches_.size(); ++i)
    if (watches_[i].MapCode == entry.MapCode) {
      views_.UpdateViews(notify::kWatchPresent, static_cast<int64_t>(i));
      return;
    }
  watches_.push_back(entry);
  Host().ShowWatchWindow();
  views_.UpdateViews(notify::kWatchAdded, static_cast<int64_t>(watches_.size()));
}

void TSimulationControl::RemoveWatch(int index) {
  if (index < 0 || index >= static_cast<int>(watches_.size())) return;
  watches_.erase(watches_.begin() + index);
  views_.UpdateViews(notify::kWatchRemoved, 0);
}

void TSimulationControl::RefreshWatches() {
  for (TWatchEntry& w : watches_) {
    int32_t value = PlexorGetValue(engine_, w.MapCode);
    w.Changed = value != w.Value;
    w.Value = value;
  }
  views_.UpdateViews(notify::kWatchesRefreshed, 0);
}

// ---- breakpoints ----------------------------------------------------------------

void TSimulationControl::ToggleBreakpoint(int32_t cellId) {
  if (cellId == 0) return;
  if (HasBreakpoint(cellId)) {
    RemoveBreakpoint(cellId);
    return;
  }
  if (breakpoints_.size() >= kMaxBreakpoints) {
    Ui().ErrorBox(QStringLiteral("Zu viele Haltepunkte gesetzt!"));
    return;
  }
  breakpoints_.push_back(static_cast<uint16_t>(cellId));
  views_.UpdateViews(notify::kBreakpointSet, cellId);
}

void TSimulationControl::RemoveBreakpoint(int32_t cellId) {
  auto it = std::find(breakpoints_.begin(), breakpoints_.end(), static_cast<uint16_t>(cellId));
  if (it == breakpoints_.end()) return;
  // The last entry takes the freed place.
  *it = breakpoints_.back();
  breakpoints_.pop_back();
  views_.UpdateViews(notify::kBreakpointRemoved, cellId);
}

void TSimulationControl::ClearBreakpoints() {
  breakpoints_.clear();
  views_.UpdateViews(notify::kBreakpointsCleared, 0);
}

// ---- the step driver ------------------------------------------------------------
//
// The driver never waits on the interface thread. A batch that runs on
// through wait passes, output or input is cut into slices of at most
// kSliceMs: when a slice is used up the batch is suspended, Step returns
// true, the event loop gets its turn, and the next call goes on with the
// same batch as if it had never stopped (no breakpoint check, no single-step
// end in between). A program pause sets the state "pausing" with its end
// time; Step returns at once until that time has come (WakeUpInMs tells the
// idle loop when), then restores the state and ends the batch.

namespace {

int64_t SliceClockMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace

void TSimulationControl::CountUnitTime() {
  const auto timer = static_cast<uint16_t>(PlexorGetValue(engine_, kTimerMapCode));
  unitTicks_ += static_cast<uint16_t>(timer - lastTimer_);
  lastTimer_ = timer;
}

int64_t TSimulationControl::WakeUpInMs() const {
  if (state_ != TSimState::Pausing) return -1;
  if (Inputs().VirtualTime) return 0;
  return std::max<int64_t>(0, pauseUntil_ - Host().Milliseconds());
}

void TSimulationControl::Stop() {
  const bool inPause = state_ == TSimState::Pausing;
  const bool inWait = suspended_ && suspendedInWait_;
  SetState(TSimState::Halted);
  // Stopping a program inside its pause or its wait says so.
  if (inPause || inWait) {
    Ui().Beep(TUserInterface::Sound::Warning);
    Ui().InfoBox(inPause ? QStringLiteral("PAUSE: Abbruch durch Anwender") : QStringLiteral("WAIT: Abbruch durch Anwender"));
  }
}

void TSimulationControl::RefreshWatchesWhileRunning() {
  // Watched values follow a running program a few times a second, as the
  // port panels do, not only when it halts.
  const int64_t now = Host().Milliseconds();
  if (!watches_.empty() && now - lastRunningWatchRefresh_ >= kRunningWatchRefreshMs) {
    lastRunningWatchRefresh_ = now;
    RefreshWatches();
  }
}

void TSimulationControl::TakeInputs() {
  TSimulatedInputs& in = Inputs();
  if (in.AutoTimingChanged) {
    PlexorSetOptions(engine_, in.EngineOptions());
    in.AutoTimingChanged = false;
  }
  if (in.FixedDigitalInChanged) {
    PlexorSetInitialPortState(engine_, in.FixedDigitalIn);
    in.FixedDigitalInChanged = false;
  }
  ApplyInputs();
  // In virtual time many pauses may pass in one call, enough for the 16-bit
  // Timer to wrap; in real time a call is far shorter than a wrap.
  countTimeEveryStep_ = in.VirtualTime || unitTickLimit_ >= 0;
}

void TSimulationControl::EndCall() {
  FlushOutput();
  if (!countTimeEveryStep_) CountUnitTime();
  if (portPanelsDue_) ReadPorts();
}

namespace {

// Runs a function on every way out of a scope.
template <typename F>
class AtExit {
 public:
  explicit AtExit(F f) : f_(std::move(f)) {}
  ~AtExit() { f_(); }
  AtExit(const AtExit&) = delete;
  AtExit& operator=(const AtExit&) = delete;

 private:
  F f_;
};

// Steps that end at output or a cell boundary are often a few instructions
// long, far shorter than a reading of the clock; the slice's end is looked
// for after every 64th of them, and after every wait pass (which may have
// used up the step's whole instruction budget).
constexpr uint32_t kClockStride = 64;

}  // namespace

bool TSimulationControl::Suspend(bool inWait) {
  suspended_ = true;
  suspendedInWait_ = inWait;
  RefreshWatchesWhileRunning();
  return true;
}

std::optional<uint32_t> TSimulationControl::RunFreely(int64_t sliceEnd, uint32_t& sinceClock) {
  for (;;) {
    ++engineSteps_;
    const uint32_t result = static_cast<uint32_t>(PlexorStep(engine_));
    const uint32_t event = result & 0xFFFF;
    if (event == PLEXOR_STEP_OUTPUT) {
      CollectOutput();
    } else if (event == PLEXOR_STEP_PAGE) {
      const auto cell = static_cast<uint16_t>(result >> 16);
      if (cell == runToCell_ || HasBreakpoint(cell)) return result;
      currentCell_ = cell;
      portPanelsDue_ = true;
    } else {
      return result;
    }
    if (++sinceClock >= kClockStride) {
      sinceClock = 0;
      if (SliceClockMs() >= sliceEnd) return std::nullopt;
    }
  }
}

bool TSimulationControl::Step(int64_t sliceMs, TBatchEnd end) {
  const bool steppable = Stepping() || state_ == TSimState::Pausing;
  if (!steppable || inStep_) return false;
  ReentryGuard guard(inStep_);
  TakeInputs();
  AtExit endCall([this] { EndCall(); });

  int32_t event = 0;
  int32_t arg = 0;
  if (state_ == TSimState::Pausing) {
    // In time lapse nothing waits: a pause begun in real time is over too.
    if (!Inputs().VirtualTime && Host().Milliseconds() < pauseUntil_) return false;
    // The pause is over: it ends its batch as the step that began it would.
    SetState(pausePrevious_);
    suspended_ = false;
    event = PLEXOR_STEP_PAUSE;
  } else {
    // A batch suspended by its slice goes on; otherwise a new one starts.
    suspended_ = false;
    if (!BudgetLeft()) return false;
    int64_t sliceEnd = SliceClockMs() + sliceMs;
    uint32_t sinceClock = 0;
    for (bool more = true; more; more = more && BudgetLeft()) {
      uint32_t result = 0;
      if (end == TBatchEnd::SliceEnd && state_ == TSimState::Running && !countTimeEveryStep_ && engineStepLimit_ < 0 &&
          unitTickLimit_ < 0) {
        const std::optional<uint32_t> unusual = RunFreely(sliceEnd, sinceClock);
        if (!unusual) return Suspend(false);
        result = *unusual;
      } else {
        ++engineSteps_;
        result = static_cast<uint32_t>(PlexorStep(engine_));
        if (countTimeEveryStep_) CountUnitTime();
      }
      event = static_cast<int32_t>(result & 0xFFFF);
      arg = static_cast<int32_t>(result >> 16);
      more = false;
      // Whatever the windows show next (a dialog, a reset, the data file)
      // comes after the output and the port states before it.
      if (event != PLEXOR_STEP_OUTPUT && event != PLEXOR_STEP_PAGE && event != PLEXOR_STEP_WAIT) EndCall();
      switch (event) {
        case PLEXOR_STEP_END:
          // What the program logged stays in the unit's memory after its end,
          // so the view keeps showing it until a run writes the file again;
          // the engine's reset would report an empty file.
          Reset(true);
          break;
        case PLEXOR_STEP_PAGE:
          // The port panels show the state at the last cell boundary of
          // the call; nothing reads the ports in between.
          portPanelsDue_ = true;
          // Running on through the cell boundary is what ending the batch
          // here and starting the next would do, unless it halts here.
          if (end == TBatchEnd::SliceEnd && state_ == TSimState::Running && !HasBreakpoint(arg) && arg != runToCell_) {
            currentCell_ = static_cast<uint16_t>(arg);
            more = true;
          }
          break;
        case PLEXOR_STEP_FILE:
          ReadPorts();
          ReadDataFile();
          break;
        case PLEXOR_STEP_INPUT: {
          int32_t value = lastInputValue_;
          if (Ui().InputInteger(QStringLiteral("Eingabewert für Simulator"),
                                QStringLiteral("Zur Weiterführung der Simulation müssen Sie jetzt die Zahl eingeben, "
                                               "die die Tarvix Hardware über die Schnittstelle empfangen würde:"),
                                value)) {
            lastInputValue_ = value;
            PlexorSetInputValue(engine_, value);
            more = true;
            // The time the user spent in the dialog is not the batch's, and
            // what the user set meanwhile counts from here.
            sliceEnd = SliceClockMs() + kSliceMs;
            TakeInputs();
          } else {
            Ui().Beep(TUserInterface::Sound::Warning);
            SetState(TSimState::Halted);
          }
          break;
        }
        case PLEXOR_STEP_OUTPUT:
          CollectOutput();
          // A headless host may end the batch on what it reads.
          if (end == TBatchEnd::EveryCell) FlushOutput();
          more = true;
          break;
        case PLEXOR_STEP_WAIT:
          // Inputs the user set since the last pass count at once.
          ApplyInputs();
          more = true;
          sinceClock = kClockStride - 1;
          break;
        case PLEXOR_STEP_PAUSE:
          pausePrevious_ = state_;
          pauseUntil_ = Host().Milliseconds() + static_cast<int64_t>(arg) * 20;
          SetState(TSimState::Pausing);
          return true;
        case PLEXOR_STEP_ERROR:
          Ui().ErrorBox(QStringLiteral("Es trat ein Simulationsfehler auf:\n%1").arg(RuntimeErrorText(arg)));
          SetState(TSimState::Halted);
          break;
        default:
          break;
      }
      // The user had a chance to act (the input dialog): an edit made the
      // program stale, and nothing of it may run or be reported any more.
      if (state_ == TSimState::NotReady) return false;
      if (!Stepping()) more = false;
      if (more && BudgetLeft() && ++sinceClock >= kClockStride) {
        sinceClock = 0;
        if (SliceClockMs() >= sliceEnd) return Suspend(event == PLEXOR_STEP_WAIT);
      }
    }
  }

  // The windows are up to date before they hear where the batch ended.
  EndCall();
  if (state_ == TSimState::SingleStep) SetState(TSimState::Halted);
  // The pause and the error carry a tick count or an error kind, not a cell.
  if (event != PLEXOR_STEP_PAUSE && event != PLEXOR_STEP_ERROR) {
    if (HasBreakpoint(arg) || arg == runToCell_) {
      runToCell_ = 0;
      SetState(TSimState::Halted);
    }
    if (state_ != TSimState::Running) {
      const int32_t previous = currentCell_;
      currentCell_ = static_cast<uint16_t>(arg);
      if (previous != 0) views_.UpdateViews(notify::kCurrentCell, previous);
      views_.UpdateViews(notify::kCurrentCell, currentCell_);
      RefreshWatches();
    } else {
      currentCell_ = static_cast<uint16_t>(arg);
      RefreshWatchesWhileRunning();
    }
  }
  return true;
}

bool TSimulationControl::StepOrSleep() {
  if (Step()) return true;
  const int64_t wait = WakeUpInMs();
  if (wait < 0) return false;
  Host().Sleep(static_cast<int>(std::min<int64_t>(wait, 1000)));
  return true;
}
