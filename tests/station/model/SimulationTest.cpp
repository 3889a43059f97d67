#include "ModelTestSupport.h"
#include "Notifications.h"
#include "ProjectBuilder.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TTerminalText.h"

#include <set>

namespace {

using mt::Connect;
using mt::EnsureApp;
using mt::Place;
using mt::RecordingView;

// Simulated time that advances only when the test says so (or a headless
// caller sleeps through a pause).
class FakeHost : public TSimulationHost {
 public:
  int64_t Milliseconds() override { return now; }
  void Sleep(int ms) override { now += ms; }
  void ShowTerminal() override { ++terminalShown; }
  void ShowWatchWindow() override { ++watchShown; }
  int64_t now = 0;
  int terminalShown = 0;
  int watchShown = 0;
};

// A user interface that may re-enter the driver from the input dialog.
class StoppingUi : public RecordingUserInterface {
 public:
  bool InputInteger(const QString& caption, const QString& prompt, int32_t& value) override {
    if (model && reenter && model->Step()) ++reenteredStepped;
    return RecordingUserInterface::InputInteger(caption, prompt, value);
  }
  TTarvixPlusModel* model = nullptr;
  bool reenter = false;
  int reenteredStepped = 0;
};

class Simulation : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    TSimulatedInputs::Current() = TSimulatedInputs{};
    TSimulatedInputs::Current().AutoTiming = false;
    TSimulationHost::SetCurrent(&host);
    m = std::make_unique<TTarvixPlusModel>();
    ui.model = m.get();
    m->AddView(&view);
  }
  void TearDown() override {
    m->RemoveView(&view);
    m.reset();
    TSimulationHost::SetCurrent(nullptr);
  }
  int32_t NewCell(const QString& name) {
    m->NewCell(-1);
    int32_t id = m->Cells().back()->CellId();
    m->RenameCell(id, name);
    return id;
  }
  void Compile() {
    ASSERT_EQ(mt::CompileProject(m->Engine()), 0) << PlexorGetErrorMessage(m->Engine());
    m->SetCompiled(true);
    ASSERT_EQ(m->SimState(), TSimState::Ready);
  }
  // Steps while the driver wants to, at most n times.
  int RunSteps(int n) {
    int done = 0;
    while (done < n && m->Step()) ++done;
    return done;
  }
  StoppingUi ui;
  FakeHost host;
  std::unique_ptr<TTarvixPlusModel> m;
  RecordingView view;
};

// A cell that prints a text and jumps to itself.
int32_t AddPrintLoop(TTarvixPlusModel& m, int32_t cell, const QString& name, const QString& text) {
  TBlock* t = Place(m, cell, 702, 0, 0, text);
  TBlock* p = Place(m, cell, 900, 100, 0, QStringLiteral("2"));
  Connect(m, *t, *p);
  Place(m, cell, 1000, 200, 0, name);
  return cell;
}

TEST_F(Simulation, StatesFollowTheCommands) {
  EXPECT_EQ(m->SimState(), TSimState::NotReady);
  EXPECT_FALSE(m->Step());
  int32_t a = NewCell("A");
  AddPrintLoop(*m, a, "A", "x");
  Compile();
  m->RunCommand(cmd::kSingleStep);
  EXPECT_EQ(m->SimState(), TSimState::SingleStep);
  EXPECT_TRUE(m->IsSimulating());
  EXPECT_TRUE(m->Step());
  EXPECT_EQ(m->SimState(), TSimState::Halted);  // a single step ends halted
  EXPECT_EQ(m->CurrentCell(), a);
  EXPECT_EQ(m->HaltedCell(), a);
  EXPECT_EQ(view.notes.back().code, notify::kWatchesRefreshed);
  m->RunCommand(cmd::kReset);
  EXPECT_EQ(m->SimState(), TSimState::Ready);
  EXPECT_EQ(m->CurrentCell(), 0);
  m->RunCommand(cmd::kRun);
  EXPECT_EQ(m->SimState(), TSimState::Running);
  EXPECT_TRUE(m->Step());
  EXPECT_EQ(m->SimState(), TSimState::Running);
  m->RunCommand(cmd::kStop);
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  EXPECT_FALSE(m->Step());
  // An edit makes the program stale.
  m->NewCell(-1);
  EXPECT_EQ(m->SimState(), TSimState::NotReady);
  m->SetCompiled(false);
  EXPECT_EQ(m->SimState(), TSimState::NotReady);
}

TEST_F(Simulation, BreakpointsAndRunToCell) {
  int32_t a = NewCell("A");
  int32_t b = NewCell("B");
  int32_t c = NewCell("C");
  Place(*m, a, 1000, 0, 0, QStringLiteral("B"));
  Place(*m, b, 1000, 0, 0, QStringLiteral("C"));
  Place(*m, c, 1000, 0, 0, QStringLiteral("A"));
  Compile();
  m->ToggleBreakpoint(c);
  m->RunCommand(cmd::kRun);
  EXPECT_EQ(RunSteps(10), 3);
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  EXPECT_EQ(m->CurrentCell(), c);
  m->ToggleBreakpoint(c);
  m->ToggleBreakpoint(c);
  m->ToggleBreakpoint(c);
  EXPECT_FALSE(m->HasBreakpoint(c));
  m->RunToCell(b);
  EXPECT_EQ(RunSteps(10), 2);  // A, then B
  EXPECT_EQ(m->CurrentCell(), b);
  EXPECT_EQ(m->Simulation().RunToCellId(), 0);
  EXPECT_EQ(m->SimState(), TSimState::Halted);
}

// The last 1000 terminal lines: after a cut the terminal holds 1000 lines,
// or 1001 when the output that cut was followed by one more line end.
QStringList Tail(const QStringList& lines) { return lines.mid(std::max<qsizetype>(0, lines.size() - TTerminalText::kMaxLines)); }

// The main window's batches run on through cell boundaries for a whole
// slice; they must stop exactly where batches ending at every cell stop,
// with the same output and ports.
TEST_F(Simulation, SliceBatchesStopWhereCellBatchesStop) {
  struct Row {
    const char* what;
    int breakpointAt;  // index of the cell, -1: none
    int runTo;         // index of the cell, -1: none
  };
  const Row rows[] = {
      {"breakpoint", 2, -1},
      {"run to cell", -1, 1},
      {"step limit past the thousand-line cut", -1, -1},
  };
  int32_t cells[3];
  const char* names[] = {"A", "B", "C"};
  for (int i = 0; i < 3; ++i) cells[i] = NewCell(QString::fromLatin1(names[i]));
  for (int i = 0; i < 3; ++i) AddPrintLoop(*m, cells[i], QString::fromLatin1(names[(i + 1) % 3]), QStringLiteral("Zelle\t%1").arg(i));
  Compile();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    struct Outcome {
      int64_t steps;
      int32_t cell;
      TSimState state;
      QStringList terminal;
    };
    auto run = [&](TBatchEnd end) {
      m->Reset();
      m->ClearTerminal();
      if (row.breakpointAt >= 0) m->ToggleBreakpoint(cells[row.breakpointAt]);
      // A run that does not halt ends at a step limit, which takes the
      // driver's general path; a halting one runs free.
      const bool halts = row.breakpointAt >= 0 || row.runTo >= 0;
      m->SetEngineStepLimit(halts ? -1 : 5000);
      if (row.runTo >= 0)
        m->RunToCell(cells[row.runTo]);
      else
        m->RunCommand(cmd::kRun);
      for (int calls = 0; (!halts || calls < 500) && m->Step(TSimulationControl::kSliceMs, end); ++calls) {
      }
      Outcome out{m->Simulation().EngineSteps(), m->CurrentCell(), m->SimState(), m->TerminalLines()};
      m->SetEngineStepLimit(-1);
      m->RunCommand(cmd::kStop);
      m->ClearBreakpoints();
      return out;
    };
    const Outcome cellBatches = run(TBatchEnd::EveryCell);
    const Outcome sliceBatches = run(TBatchEnd::SliceEnd);
    EXPECT_EQ(sliceBatches.steps, cellBatches.steps);
    EXPECT_EQ(sliceBatches.cell, cellBatches.cell);
    EXPECT_EQ(sliceBatches.state, cellBatches.state);
    // A cut leaves 1000 lines, or 1001 when a line ended after it.
    EXPECT_TRUE(Tail(sliceBatches.terminal) == Tail(cellBatches.terminal));
    EXPECT_LE(sliceBatches.terminal.size(), TTarvixPlusModel::kMaxTerminalLines + 1);
    EXPECT_EQ(sliceBatches.terminal.last(), QString());
  }
}

// The terminal keeps the last 1000 lines of the byte stream however the
// output was cut into pieces: line ends split between pieces, tabs, floods.
TEST(TerminalText, LinesDoNotDependOnHowTheOutputArrives) {
  QByteArray flood;
  for (int i = 0; i < 2500; ++i) flood += "Zeile " + QByteArray::number(i) + "\r\n";
  const struct {
    const char* what;
    QByteArray stream;
  } rows[] = {
      {"tabs and a line end", "a\tb\r\nabcdefg\t"},
      {"cp1252 text", "Z\xe4hler \x80\r\n\r\n"},
      {"flood", flood + "offen"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    std::vector<QStringList> seen;
    for (qsizetype piece : {qsizetype{1}, qsizetype{2}, qsizetype{7}, row.stream.size()}) {
      TTerminalText text;
      for (qsizetype at = 0; at < row.stream.size(); at += piece) {
        const QByteArray part = row.stream.mid(at, piece);
        text.Append(std::string_view(part.constData(), static_cast<size_t>(part.size())));
      }
      seen.push_back(text.Lines());
      EXPECT_LE(text.Count(), TTerminalText::kMaxLines + 1);
    }
    for (const QStringList& lines : seen) EXPECT_TRUE(Tail(lines) == Tail(seen.front()));
  }
  TTerminalText tabs;
  tabs.Append("a\tb\r\nabcdefg\t");
  EXPECT_EQ(tabs.Lines(), (QStringList{QStringLiteral("a       b"), QStringLiteral("abcdefg         ")}));
  TTerminalText flooded;
  const TTerminalText::Change change = flooded.Append(std::string_view(flood.constData(), static_cast<size_t>(flood.size())));
  EXPECT_TRUE(change.cut);
  EXPECT_EQ(flooded.Count(), TTerminalText::kMaxLines);
  EXPECT_EQ(flooded.Line(0), QStringLiteral("Zeile 1501"));
  EXPECT_EQ(flooded.Line(TTerminalText::kMaxLines - 1), QString());
}

TEST_F(Simulation, RunToCellZeroMatchesAProgramThatNeverPassedACell) {
  Compile();  // no cells: the program is its END byte
  m->RunCommand(cmd::kRun);
  EXPECT_TRUE(m->Step());
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  EXPECT_EQ(m->CurrentCell(), 0);
}

// A program that waits for ever: the driver hands the event loop a turn at
// the end of every slice and goes on with the same batch afterwards; a stop
// in between ends it with the wait's message.
TEST_F(Simulation, AWaitYieldsEverySliceAndCanBeStopped) {
  int32_t a = NewCell("A");
  TBlock* key = Place(*m, a, 112, 0, 0);  // key F1 is released: the wait never ends
  TBlock* wait = Place(*m, a, 1005, 100, 0);
  Connect(*m, *key, *wait);
  Compile();
  m->ToggleBreakpoint(a);
  m->RunCommand(cmd::kRun);
  EXPECT_TRUE(m->Step());  // the page marker halts at the breakpoint
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  m->RunCommand(cmd::kRun);
  for (int slice = 0; slice < 3; ++slice) {
    const int64_t before = m->Simulation().EngineSteps();
    EXPECT_TRUE(m->Step());
    EXPECT_GT(m->Simulation().EngineSteps(), before + 1);  // many wait passes per slice
    // The waits of the cell with the breakpoint do not halt again: the
    // batch that passed its marker goes on.
    EXPECT_EQ(m->SimState(), TSimState::Running);
  }
  EXPECT_TRUE(ui.Texts("InfoBox").isEmpty());
  m->RunCommand(cmd::kStop);
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  EXPECT_EQ(ui.Texts("InfoBox"), QStringList{"WAIT: Abbruch durch Anwender"});
  EXPECT_EQ(ui.Count("Beep"), 1);
  EXPECT_FALSE(m->Step());
}

// Pauses, short and long, never sleep in the driver: the state says
// "pausing" until the host's clock reaches the end, and a stop meanwhile
// ends the pause with its message.
TEST_F(Simulation, PausesWaitOnTheClockAndCanBeStopped) {
  TSimulatedInputs::Current().AutoTiming = true;
  TSimulatedInputs::Current().AutoTimingChanged = true;
  for (const char* ticks : {"200", "25"}) {
    SCOPED_TRACE(ticks);
    TearDown();
    SetUp();
    TSimulatedInputs::Current().AutoTiming = true;
    TSimulatedInputs::Current().AutoTimingChanged = true;
    int32_t a = NewCell("A");
    Connect(*m, *Place(*m, a, 700, 0, 0, QString::fromLatin1(ticks)), *Place(*m, a, 1006, 100, 0));
    Place(*m, a, 1000, 200, 0, QStringLiteral("A"));
    Compile();
    const int64_t ms = QByteArray(ticks).toLongLong() * 20;
    m->RunCommand(cmd::kRun);
    EXPECT_TRUE(m->Step());  // the page marker
    EXPECT_TRUE(m->Step());  // the pause begins
    EXPECT_EQ(m->SimState(), TSimState::Pausing);
    EXPECT_EQ(m->Simulation().WakeUpInMs(), ms);
    EXPECT_FALSE(m->Step());  // nothing to do before its end
    host.now += ms - 1;
    EXPECT_FALSE(m->Step());
    EXPECT_EQ(m->Simulation().WakeUpInMs(), 1);
    host.now += 1;
    EXPECT_TRUE(m->Step());  // over: the batch that began it ends
    EXPECT_EQ(m->SimState(), TSimState::Running);
    EXPECT_EQ(m->Simulation().WakeUpInMs(), -1);
    EXPECT_TRUE(m->Step());  // the next page marker
    EXPECT_TRUE(m->Step());  // the next pause
    m->RunCommand(cmd::kStop);
    EXPECT_EQ(m->SimState(), TSimState::Halted);
    EXPECT_EQ(ui.Texts("InfoBox").last(), QStringLiteral("PAUSE: Abbruch durch Anwender"));
    EXPECT_FALSE(m->Step());
  }
  // A headless caller sleeps through the pause instead.
  m->RunCommand(cmd::kReset);
  m->RunCommand(cmd::kRun);
  const int64_t before = host.now;
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(m->StepOrSleep());
  EXPECT_EQ(host.now - before, 500);
}

// A single step that meets a pause ends halted once the pause is over; time
// lapse ends a pause under way at once.
TEST_F(Simulation, SingleStepThroughAPauseAndTimeLapse) {
  TSimulatedInputs& in = TSimulatedInputs::Current();
  in.AutoTiming = true;
  in.AutoTimingChanged = true;
  int32_t a = NewCell("A");
  Connect(*m, *Place(*m, a, 700, 0, 0, QStringLiteral("500")), *Place(*m, a, 1006, 100, 0));
  Place(*m, a, 1000, 200, 0, QStringLiteral("A"));
  Compile();
  m->RunCommand(cmd::kSingleStep);
  EXPECT_TRUE(m->Step());  // the page marker
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  m->RunCommand(cmd::kSingleStep);
  EXPECT_TRUE(m->Step());
  EXPECT_EQ(m->SimState(), TSimState::Pausing);
  host.now += 10000;
  EXPECT_TRUE(m->Step());
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  m->RunCommand(cmd::kRun);
  EXPECT_TRUE(m->Step());  // page marker
  EXPECT_TRUE(m->Step());  // pause
  EXPECT_EQ(m->SimState(), TSimState::Pausing);
  in.VirtualTime = true;
  in.AutoTimingChanged = true;
  EXPECT_EQ(m->Simulation().WakeUpInMs(), 0);
  EXPECT_TRUE(m->Step());
  EXPECT_EQ(m->SimState(), TSimState::Running);
  // In time lapse the pause passes inside the step and the unit's clock
  // counts it.
  const int64_t ticks = m->Simulation().UnitTicks();
  EXPECT_TRUE(m->Step());  // page marker
  EXPECT_TRUE(m->Step());  // pause and the next page marker
  EXPECT_EQ(m->SimState(), TSimState::Running);
  EXPECT_GE(m->Simulation().UnitTicks() - ticks, 500);
  in.VirtualTime = false;
}

// An edit made while the program waits or pauses makes the compiled program
// stale: nothing of it runs any more and no box is shown.
TEST_F(Simulation, AnEditWhileWaitingOrPausingEndsTheRun) {
  for (bool pause : {false, true}) {
    SCOPED_TRACE(pause ? "pause" : "wait");
    TearDown();
    SetUp();
    TSimulatedInputs::Current().AutoTiming = true;
    TSimulatedInputs::Current().AutoTimingChanged = true;
    int32_t a = NewCell("A");
    if (pause)
      Connect(*m, *Place(*m, a, 700, 0, 0, QStringLiteral("200")), *Place(*m, a, 1006, 100, 0));
    else
      Connect(*m, *Place(*m, a, 112, 0, 0), *Place(*m, a, 1005, 100, 0));  // F1 released: waits for ever
    Place(*m, a, 1000, 200, 0, QStringLiteral("A"));
    Compile();
    m->RunCommand(cmd::kRun);
    EXPECT_TRUE(m->Step());  // the page marker
    EXPECT_TRUE(m->Step());  // a slice of waiting, or the pause begins
    m->NewCell(-1);
    EXPECT_EQ(m->SimState(), TSimState::NotReady);
    host.now += 10000;
    const int64_t steps = m->Simulation().EngineSteps();
    EXPECT_FALSE(m->Step());
    EXPECT_EQ(m->Simulation().EngineSteps(), steps);
    EXPECT_EQ(m->Simulation().WakeUpInMs(), -1);
    EXPECT_TRUE(ui.Texts("InfoBox").isEmpty());
  }
}

TEST_F(Simulation, InputRequests) {
  int32_t a = NewCell("A");
  TBlock* in = Place(*m, a, 901, 0, 0);
  TBlock* print = Place(*m, a, 900, 100, 0, QStringLiteral("2"));
  Connect(*m, *in, *print);
  Compile();
  RecordingUserInterface::Reply ok;
  ok.accept = true;
  ok.value = 77;
  ui.replies.push_back(ok);
  m->RunCommand(cmd::kRun);
  ui.reenter = true;  // a call re-entered from the dialog is refused
  RunSteps(3);
  ui.reenter = false;
  EXPECT_EQ(ui.reenteredStepped, 0);
  EXPECT_EQ(ui.Texts("InputInteger").first().split('|').first(), QStringLiteral("Eingabewert für Simulator"));
  EXPECT_EQ(m->Simulation().LastInputValue(), 77);
  EXPECT_EQ(m->TerminalLine(0), QStringLiteral("77"));
  // Cancelling halts with a warning beep.
  m->RunCommand(cmd::kRun);
  ui.replies.push_back(mt::Accept(false));
  RunSteps(3);
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  EXPECT_EQ(ui.Texts("InputInteger").last().split('|').last(), QStringLiteral("77"));
}

TEST_F(Simulation, TerminalTabsAndTheThousandLineCut) {
  int32_t a = NewCell("A");
  Connect(*m, *Place(*m, a, 702, 0, 0, QStringLiteral("a\tb")), *Place(*m, a, 900, 100, 0, QStringLiteral("2")));
  Connect(*m, *Place(*m, a, 702, 0, 100, QStringLiteral("abcdefg\t")), *Place(*m, a, 900, 100, 100, QStringLiteral("1")));
  Place(*m, a, 1000, 200, 0, QStringLiteral("A"));
  Compile();
  m->RunCommand(cmd::kRun);
  RunSteps(2);
  EXPECT_EQ(m->TerminalLine(0), QStringLiteral("a       b"));
  EXPECT_EQ(m->TerminalLine(1), QStringLiteral("abcdefg         "));
  EXPECT_GE(host.terminalShown, 1);
  view.notes.clear();
  RunSteps(1100);
  // Cut back to 1000 once the last line's index passes 1000.
  EXPECT_GE(m->TerminalLines().size(), 1000);
  EXPECT_LE(m->TerminalLines().size(), 1001);
  bool wholeRedraw = false;
  for (const auto& n : view.notes) wholeRedraw = wholeRedraw || (n.code == notify::kTerminalLine && n.data == -1);
  EXPECT_TRUE(wholeRedraw);
  m->ClearTerminal();
  EXPECT_TRUE(m->TerminalLines().isEmpty());
  EXPECT_EQ(m->TerminalLine(5), QString());
}

TEST_F(Simulation, RunTimeErrorsHalt) {
  int32_t a = NewCell("A");
  TBlock* div = Place(*m, a, 203, 100, 0);
  Connect(*m, *Place(*m, a, 700, 0, 0, QStringLiteral("1")), *div);
  Connect(*m, *Place(*m, a, 700, 0, 50, QStringLiteral("0")), *div);
  Connect(*m, *div, *Place(*m, a, 900, 200, 0));
  Compile();
  m->RunCommand(cmd::kRun);
  RunSteps(5);
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  EXPECT_EQ(ui.Texts("ErrorBox"), QStringList{"Es trat ein Simulationsfehler auf:\nDivision durch Null!"});
}

// A watch on a port follows the running program as its LED does (a few
// times a second), not only when the program halts.
TEST_F(Simulation, AWatchOnP1FollowsTheRunningProgram) {
  const int32_t on = NewCell("An");
  const int32_t off = NewCell("Aus");
  TBlock* p1 = Place(*m, on, 130, 100, 0);
  Connect(*m, *Place(*m, on, 700, 0, 0, QStringLiteral("1")), *p1);
  Place(*m, on, 1000, 200, 0, QStringLiteral("Aus"));
  Connect(*m, *Place(*m, off, 700, 0, 0, QStringLiteral("0")), *Place(*m, off, 130, 100, 0));
  Place(*m, off, 1000, 200, 0, QStringLiteral("An"));
  Compile();
  m->AddWatch(p1->Id());
  ASSERT_EQ(m->Watches().size(), 1u);
  EXPECT_EQ(m->Watches()[0].Name, QStringLiteral("P1"));
  m->RunCommand(cmd::kRun);
  std::set<int32_t> seen;
  for (int i = 0; i < 12; ++i) {
    host.now += 150;  // the panels and the watch window are a blink apart
    ASSERT_TRUE(m->Step());
    ASSERT_EQ(m->SimState(), TSimState::Running);
    const int32_t led = TSimulatedInputs::Current().PortLevel[0] ? 1 : 0;
    EXPECT_EQ(m->Watches()[0].Value, led) << "step " << i;
    seen.insert(led);
  }
  EXPECT_EQ(seen, (std::set<int32_t>{0, 1}));  // it blinked
  EXPECT_EQ(view.notes.back().code, notify::kWatchesRefreshed);
}

TEST_F(Simulation, WatchesAndTheDataFile) {
  int32_t a = NewCell("A");
  TBlock* word = Place(*m, a, 602, 0, 0, QStringLiteral("2"));
  Connect(*m, *Place(*m, a, 700, 0, 50, QStringLiteral("1234")), *word);
  Place(*m, a, 800, 0, 100);
  Connect(*m, *Place(*m, a, 700, 0, 150, QStringLiteral("-5")), *Place(*m, a, 803, 100, 150));
  Place(*m, a, 805, 0, 200);
  Compile();
  m->AddWatch(word->Id());
  m->AddWatch(word->Id());
  EXPECT_EQ(m->Watches().size(), 1u);
  EXPECT_EQ(view.notes.back().code, notify::kWatchPresent);
  EXPECT_EQ(host.watchShown, 1);
  m->AddWatch(Place(*m, a, 200, 300, 300)->Id());  // an adder has no variable
  EXPECT_EQ(m->Watches().size(), 1u);
  Compile();
  m->RunCommand(cmd::kSingleStep);
  m->Step();  // the page marker
  m->RunCommand(cmd::kSingleStep);
  m->Step();  // up to the file write
  EXPECT_EQ(m->SimState(), TSimState::Halted);
  EXPECT_EQ(m->Watches()[0].Name, QStringLiteral("WORD[2]"));
  EXPECT_EQ(m->Watches()[0].Value, 1234);
  EXPECT_EQ(m->DataFileLength(), 1);
  EXPECT_EQ(m->DataFileValue(0), 0xFFFB);
  EXPECT_EQ(m->DataFileValue(1), 0);
  m->RemoveWatch(0);
  EXPECT_TRUE(m->Watches().empty());
}

}  // namespace
