// Simulation run control: the step driver of the idle loop, breakpoints,
// run-to-cell, input requests, waits and pauses, watches, terminal and data
// file. Everything runs on the user-interface thread.
#include <QClipboard>
#include <QGuiApplication>

#include "EngineText.h"
#include "Notifications.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

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
class SteppingGuard {
 public:
  explicit SteppingGuard(bool& flag) : flag_(flag) { flag_ = true; }
  ~SteppingGuard() { flag_ = false; }
  SteppingGuard(const SteppingGuard&) = delete;
  SteppingGuard& operator=(const SteppingGuard&) = delete;

 private:
  bool& flag_;
};

}  // namespace

void TTarvixPlusModel::RunCommand(int command) {
  switch (command) {
    case 303: SimState = kRunning; Inputs().StatusChanged = true; break;
    case 304: SimState = kSingleStep; Inputs().StatusChanged = true; break;
    case 307: SimState = kHalted; Inputs().StatusChanged = true; break;
    case 305: Reset(); break;
    default: break;
  }
  if (SimState == kRunning || SimState == kHalted) UpdateViews(notify::kCurrentCell, CurrentCell);
}

void TTarvixPlusModel::RunToCell(int32_t cellId) {
  RunToCellId = static_cast<uint16_t>(cellId);
  SimState = kRunning;
}

void TTarvixPlusModel::SetCompiled(bool success) {
  Reset();
  SimState = success ? kReady : kNotReady;
}

void TTarvixPlusModel::Reset() {
  if (CurrentCell != 0) {
    int32_t old = CurrentCell;
    CurrentCell = 0;
    UpdateViews(notify::kCurrentCell, old);
  }
  PlexorResetProgram(engine_);
  EngineSteps = 0;
  const TSimulatedInputs& in = Inputs();
  for (int i = 0; i < 8; ++i) PlexorSetADC(engine_, i, in.AdcValue[static_cast<size_t>(i)]);
  PlexorSetFreq(engine_, in.Frequency);
  RefreshWatches();
  ReadDataFile();
  ReadPorts();
  UpdateViews(notify::kSimulationReset, 0);
  SimState = kReady;
  Inputs().StatusChanged = true;
}

void TTarvixPlusModel::ApplyInputs() {
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

void TTarvixPlusModel::ReadPorts() {
  const uint32_t state = static_cast<uint32_t>(PlexorGetPortState(engine_));
  TSimulatedInputs& in = Inputs();
  for (size_t i = 0; i < 16; ++i) {
    in.PortLevel[i] = (state >> i) & 1u;
    in.PortIsOutput[i] = (state >> (16 + i)) & 1u;
  }
  Host().RefreshPortPanels();
}

void TTarvixPlusModel::ReadDataFile() {
  dataFilePreviousLength_ = dataFileLength_;
  const int length = PlexorGetFileLength(engine_) & 0xFFFF;
  // The engine writes its whole file; keep what fits the copy.
  std::vector<uint16_t> words(static_cast<size_t>(length) + 1);
  if (length > 0) PlexorDumpFile(engine_, words.data());
  dataFileLength_ = std::min(length, static_cast<int>(dataFile_.size()));
  std::copy(words.begin(), words.begin() + dataFileLength_, dataFile_.begin());
  UpdateViews(notify::kDataFileChanged, 0);
}

int32_t TTarvixPlusModel::DataFileValue(int index) const {
  return index >= 0 && index < dataFileLength_ ? dataFile_[static_cast<size_t>(index)] : 0;
}

namespace {

// A tab becomes one blank and then blanks up to the next multiple of eight
// (a full eight when the blank already reached one).
QString ExpandTabs(const QString& line) {
  QString out;
  for (QChar c : line) {
    if (c != QLatin1Char('\t')) {
      out += c;
      continue;
    }
    out += QLatin1Char(' ');
    out += QString(8 - out.size() % 8, QLatin1Char(' '));
  }
  return out;
}

}  // namespace

void TTarvixPlusModel::ReadOutput() {
  const char* raw = PlexorGetOutputString(engine_);
  if (raw) Host().OutputArrived(raw);
  const QString text = enginetext::ToQString(raw);
  if (terminal_.isEmpty()) terminal_ << QString();
  const QStringList pieces = text.split(QStringLiteral("\r\n"));
  int first = static_cast<int>(terminal_.size()) - 1;
  terminal_.last() = ExpandTabs(terminal_.last() + pieces[0]);
  for (qsizetype i = 1; i < pieces.size(); ++i) terminal_ << ExpandTabs(pieces[i]);
  if (terminal_.size() - 1 > kMaxTerminalLines) {
    const int removed = static_cast<int>(terminal_.size()) - kMaxTerminalLines;
    terminal_.erase(terminal_.begin(), terminal_.begin() + removed);
    first = std::max(0, first - removed);
    UpdateViews(notify::kTerminalLine, -1);
  }
  Host().ShowTerminal();
  for (int i = first; i < terminal_.size(); ++i) UpdateViews(notify::kTerminalLine, i);
}

void TTarvixPlusModel::ClearTerminal() {
  terminal_.clear();
  UpdateViews(notify::kTerminalLine, -1);
}

void TTarvixPlusModel::CopyTerminal() const {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  QGuiApplication::clipboard()->setText(terminal_.join(QStringLiteral("\r\n")));
}

// ---- watches ------------------------------------------------------------------

void TTarvixPlusModel::AddWatch(int32_t blockId) {
  const char* name = PlexorGetSymbolicName(engine_, blockId);
  if (!name) return;
  TWatchEntry entry;
  entry.Name = enginetext::ToQString(name);
  entry.MapCode = PlexorGetMapCode(engine_, blockId);
  entry.Value = PlexorGetValue(engine_, entry.MapCode);
  for (size_t i = 0; i < watches_.size(); ++i)
    if (watches_[i].MapCode == entry.MapCode) {
      UpdateViews(notify::kWatchPresent, static_cast<int64_t>(i));
      return;
    }
  watches_.push_back(entry);
  Host().ShowWatchWindow();
  UpdateViews(notify::kWatchAdded, static_cast<int64_t>(watches_.size()));
}

void TTarvixPlusModel::RemoveWatch(int index) {
  if (index < 0 || index >= static_cast<int>(watches_.size())) return;
  watches_.erase(watches_.begin() + index);
  UpdateViews(notify::kWatchRemoved, 0);
}

void TTarvixPlusModel::RefreshWatches() {
  for (TWatchEntry& w : watches_) {
    int32_t value = PlexorGetValue(engine_, w.MapCode);
    w.Changed = value != w.Value;
    w.Value = value;
  }
  UpdateViews(notify::kWatchesRefreshed, 0);
}

// ---- the step driver ------------------------------------------------------------

bool TTarvixPlusModel::Step() {
  if ((SimState != kRunning && SimState != kSingleStep && SimState != kPausing) || Stepping) return false;
  SteppingGuard guard(Stepping);
  TSimulatedInputs& in = Inputs();
  if (in.AutoTimingChanged) {
    PlexorSetOptions(engine_, in.AutoTiming ? 1 : 0);
    in.AutoTimingChanged = false;
  }
  if (in.FixedDigitalInChanged) {
    PlexorSetInitialPortState(engine_, in.FixedDigitalIn);
    in.FixedDigitalInChanged = false;
  }
  ApplyInputs();

  // While the program waits, the user may act: handle pending messages.
  auto letUserAct = [this] {
    if (Host().MessagesPending()) {
      Ui().ProcessEvents();
      Host().RunIdleOnce();
      Ui().ProcessEvents();
    }
    ApplyInputs();
  };

  int32_t event = 0;
  int32_t arg = 0;
  auto budgetLeft = [this] { return EngineStepLimit < 0 || EngineSteps < EngineStepLimit; };
  if (!budgetLeft()) return false;
  for (bool more = true; more; more = more && budgetLeft()) {
    ++EngineSteps;
    const uint32_t result = static_cast<uint32_t>(PlexorStep(engine_));
    event = static_cast<int32_t>(result & 0xFFFF);
    arg = static_cast<int32_t>(result >> 16);
    more = false;
    switch (event) {
      case PLEXOR_STEP_END:
        Reset();
        break;
      case PLEXOR_STEP_PAGE:
        ReadPorts();
        break;
      case PLEXOR_STEP_FILE:
        ReadPorts();
        ReadDataFile();
        break;
      case PLEXOR_STEP_INPUT: {
        int32_t value = LastInputValue;
        if (Ui().InputInteger(QStringLiteral("Eingabewert für Simulator"),
                              QStringLiteral("Zur Weiterführung der Simulation müssen Sie jetzt die Zahl eingeben, "
                                             "die die Tarvix Hardware über die Schnittstelle empfangen würde:"),
                              value)) {
          LastInputValue = value;
          PlexorSetInputValue(engine_, value);
          more = true;
        } else {
          Ui().Beep(TUserInterface::Sound::Warning);
          SimState = kHalted;
        }
        break;
      }
      case PLEXOR_STEP_OUTPUT:
        ReadOutput();
        more = true;
        break;
      case PLEXOR_STEP_WAIT:
        letUserAct();
        if (SimState == kHalted) {
          Ui().Beep(TUserInterface::Sound::Warning);
          Ui().InfoBox(QStringLiteral("WAIT: Abbruch durch Anwender"));
        } else {
          more = true;
        }
        break;
      case PLEXOR_STEP_PAUSE: {
        const uint8_t previous = SimState;
        SimState = kPausing;
        const int64_t until = Host().Milliseconds() + static_cast<int64_t>(arg) * 20;
        while (Host().Milliseconds() < until) {
          Host().Sleep(5);
          letUserAct();
          if (SimState == kHalted) {
            Ui().Beep(TUserInterface::Sound::Warning);
            Ui().InfoBox(QStringLiteral("PAUSE: Abbruch durch Anwender"));
            return false;
          }
        }
        SimState = previous;
        break;
      }
      case PLEXOR_STEP_ERROR:
        Ui().ErrorBox(QStringLiteral("Es trat ein Simulationsfehler auf:\n%1").arg(RuntimeErrorText(arg)));
        SimState = kHalted;
        in.StatusChanged = true;
        break;
      default:
        break;
    }
  }

  if (SimState == kSingleStep) {
    SimState = kHalted;
    in.StatusChanged = true;
  }
  // The pause and the error carry a tick count or an error kind, not a cell.
  if (event != PLEXOR_STEP_PAUSE && event != PLEXOR_STEP_ERROR) {
    if (HasBreakpoint(arg) || arg == RunToCellId) {
      RunToCellId = 0;
      SimState = kHalted;
      in.StatusChanged = true;
    }
    if (SimState != kRunning) {
      const int32_t previous = CurrentCell;
      CurrentCell = static_cast<uint16_t>(arg);
      if (previous != 0) UpdateViews(notify::kCurrentCell, previous);
      UpdateViews(notify::kCurrentCell, CurrentCell);
      RefreshWatches();
    } else {
      CurrentCell = static_cast<uint16_t>(arg);
    }
  }
  return true;
}
