// The station's own costs: from an empty process to the main window shown
// with a 200-cell project open; the steps per second a simulation reaches
// through the main window's idle cycle compared with stepping the model
// directly (as vorblen-cli does) and with the engine alone; how late the
// event loop serves a timer while programs run in real time; and the
// traffic light's full cycle in virtual time.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <string>
#include <vector>

#include "Commands.h"
#include "TBlockCatalogue.h"
#include "TImagesCatalogueSource.h"
#include "PrintProject.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "station_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(argc, argv);
  static bool loaded = [] {
    TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>());
    return true;
  }();
  (void)loaded;
  return app;
}

QString BuildProject(const QString& name) { return BuildPrintProject(name, 200, 10); }

void BM_MainWindowShownWith200Cells(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  qputenv("VORBLEN_SETTINGS", dir.filePath("s.ini").toLocal8Bit());
  const QString name = BuildProject(dir.filePath("big.tvp"));
  for (auto _ : state) {
    TTarvixForm frame;
    frame.show();
    frame.OpenProject(name);
    QApplication::processEvents();
    benchmark::DoNotOptimize(frame.Project());
    state.PauseTiming();
    frame.Project()->SetModified(false);
    state.ResumeTiming();
  }
}
BENCHMARK(BM_MainWindowShownWith200Cells)->Unit(benchmark::kMillisecond)->Iterations(5);

// Compiles the counter example in a fresh project of the frame.
bool Compile(TTarvixPlusModel& m) {
  PlexorHandle e = m.Engine();
  if (!PlexorCompilerInit(e) || PlexorCompile(e) != 0 || !PlexorCompilerDone(e)) return false;
  m.SetCompiled(true);
  return true;
}

// Engine steps per second of the counter (a line of output every few
// steps, real time off) through the main window's idle cycle ("frame"),
// through the model's Step called after every cell as headless callers do
// ("direct"), and with the engine alone: a plain PlexorStep loop that keeps
// the output text as any caller must ("engine"), and one that only fetches
// the output pointer and never reads the text ("engine_bare"). The four
// take turns every 50 ms, so that a machine whose speed drifts (a virtual
// one, a neighbour's build) slows all of them alike.
void BM_SimulationThroughIdleCycle(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  qputenv("VORBLEN_SETTINGS", dir.filePath("s.ini").toLocal8Bit());
  TSimulatedInputs::Current().AutoTiming = false;
  TSimulatedInputs::Current().AutoTimingChanged = true;
  TTarvixForm frame;
  frame.show();
  frame.OpenProject(QStringLiteral(VORBLEN_EXAMPLES "/counter.tvp"));
  TTarvixPlusModel& m = *frame.Project();
  if (!Compile(m)) {
    state.SkipWithError("compile failed");
    return;
  }
  struct Rate {
    int64_t steps = 0;
    int64_t nanoseconds = 0;
    double PerSecond() const { return nanoseconds ? static_cast<double>(steps) * 1e9 / static_cast<double>(nanoseconds) : 0; }
  };
  // Runs body (which returns the engine steps it made) for 50 ms.
  auto turn = [](Rate& rate, auto&& body) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 50) rate.steps += body();
    rate.nanoseconds += t.nsecsElapsed();
  };
  // The engine stepped on its own; the model's run state is left alone.
  std::string kept;
  auto engineLoop = [&](bool keep) {
    for (int i = 0; i < 1000; ++i) {
      if (PLEXOR_STEP_STATUS(PlexorStep(m.Engine())) != PLEXOR_STEP_OUTPUT) continue;
      const char* text = PlexorGetOutputString(m.Engine());
      if (keep && text) kept += text;
    }
    if (kept.size() > 65536) kept.clear();
    return int64_t{1000};
  };
  auto modelSteps = [&](auto&& step) {
    const int64_t before = m.Simulation().EngineSteps();
    step();
    return m.Simulation().EngineSteps() - before;
  };
  Rate throughFrame, direct, engine, bare;
  m.RunCommand(cmd::kRun);
  for (auto _ : state) {
    for (int round = 0; round < 6; ++round) {
      turn(throughFrame, [&] {
        return modelSteps([&] {
          frame.IdlePass();
          QApplication::processEvents();  // the event loop's turn between passes
        });
      });
      turn(direct, [&] { return modelSteps([&] { m.Step(); }); });
      turn(engine, [&] { return engineLoop(true); });
      turn(bare, [&] { return engineLoop(false); });
    }
  }
  m.RunCommand(cmd::kStop);
  m.RunCommand(cmd::kReset);
  state.counters["steps_per_s_frame"] = throughFrame.PerSecond();
  state.counters["steps_per_s_direct"] = direct.PerSecond();
  state.counters["steps_per_s_engine"] = engine.PerSecond();
  state.counters["steps_per_s_engine_bare"] = bare.PerSecond();
  state.counters["ratio_engine"] = throughFrame.PerSecond() / engine.PerSecond();
  state.counters["ratio_engine_bare"] = throughFrame.PerSecond() / bare.PerSecond();
}
BENCHMARK(BM_SimulationThroughIdleCycle)->Unit(benchmark::kMillisecond)->Iterations(3);

// How late the event loop serves a 1 ms timer while a program runs in real
// time through the main window: the counter (a pause of half a second per
// line), the traffic light (a timer wait, one wait pass after another) and
// the counter with pauses of 150 ticks. Counters: the 99th percentile and
// the worst gap between two timer calls, in milliseconds (1 ms is perfect).
void BM_EventLoopLatencyDuringSimulation(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  qputenv("VORBLEN_SETTINGS", dir.filePath("s.ini").toLocal8Bit());
  TSimulatedInputs& in = TSimulatedInputs::Current();
  in.AutoTiming = true;
  in.VirtualTime = false;
  in.AutoTimingChanged = true;
  const char* const examples[] = {"counter.tvp", "traffic.tvp", "counter.tvp"};
  QString project = QStringLiteral(VORBLEN_EXAMPLES "/") + QLatin1String(examples[state.range(0)]);
  if (state.range(0) == 2) {
    QFile counter(project);
    counter.open(QIODevice::ReadOnly);
    QByteArray text = counter.readAll();
    text.replace("#DLLDATA_START\r\n25\r\n#DLLDATA_END", "#DLLDATA_START\r\n150\r\n#DLLDATA_END");
    project = dir.filePath("counter150.tvp");
    QFile out(project);
    out.open(QIODevice::WriteOnly);
    out.write(text);
  }
  TTarvixForm frame;
  frame.show();
  frame.OpenProject(project);
  TTarvixPlusModel& m = *frame.Project();
  if (!Compile(m)) {
    state.SkipWithError("compile failed");
    return;
  }
  std::vector<double> gaps;
  for (auto _ : state) {
    frame.DoChildCommand(cmd::kRun);
    QElapsedTimer clock;
    clock.start();
    qint64 last = clock.nsecsElapsed();
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      gaps.push_back(static_cast<double>(now - last) / 1e6);
      last = now;
    });
    tick.start(1);
    QEventLoop loop;
    QTimer::singleShot(1500, &loop, &QEventLoop::quit);
    loop.exec();
    frame.DoChildCommand(cmd::kStop);
    frame.DoChildCommand(cmd::kReset);
  }
  std::sort(gaps.begin(), gaps.end());
  state.counters["p99_ms"] = gaps.empty() ? 0 : gaps[gaps.size() * 99 / 100];
  state.counters["max_ms"] = gaps.empty() ? 0 : gaps.back();
  state.counters["timer_calls"] = static_cast<double>(gaps.size());
}
BENCHMARK(BM_EventLoopLatencyDuringSimulation)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

// The traffic light's full cycle (12.5 s of the unit's time: red, red-yellow,
// green, yellow, red again) in virtual time, from reset to the second "Rot".
void BM_TrafficCycleInVirtualTime(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  QDir::setCurrent(dir.path());
  qputenv("VORBLEN_SETTINGS", dir.filePath("s.ini").toLocal8Bit());
  TSimulatedInputs& in = TSimulatedInputs::Current();
  in.AutoTiming = false;
  in.VirtualTime = true;
  in.FixedDate = true;
  in.AutoTimingChanged = true;
  TTarvixPlusModel m;
  m.LoadFromFile(QStringLiteral(VORBLEN_EXAMPLES "/traffic.tvp"));
  if (!Compile(m)) {
    state.SkipWithError("compile failed");
    return;
  }
  PlexorSetOptions(m.Engine(), in.EngineOptions());
  int64_t ticks = 0;
  for (auto _ : state) {
    m.Reset();
    m.ClearTerminal();
    const int64_t start = m.Simulation().UnitTicks();
    // 12.5 s of the unit's time and one tick: the second red has begun.
    m.SetUnitTickLimit(start + 626);
    m.RunCommand(cmd::kRun);
    while (m.Step()) {
    }
    ticks = m.Simulation().UnitTicks() - start;
    if (m.TerminalLines().count(QStringLiteral("Rot")) != 2) state.SkipWithError("the cycle did not complete");
  }
  m.SetUnitTickLimit(-1);
  in.VirtualTime = false;
  in.FixedDate = false;
  state.counters["unit_seconds"] = static_cast<double>(ticks) / 50.0;
}
BENCHMARK(BM_TrafficCycleInVirtualTime)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
