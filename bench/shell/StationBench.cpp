// The station's own costs: from an empty process to the main window shown
// with a 200-cell project open, and the steps per second a simulation
// reaches through the main window's idle cycle compared with stepping the
// model directly (as vorblen-cli does).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

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

// Steps per second through the idle cycle (counter "steps") against the
// model's own Step loop over the same time ("direct").
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
  double throughFrame = 0, direct = 0;
  for (auto _ : state) {
    m.RunCommand(cmd::kRun);
    QElapsedTimer t;
    t.start();
    int64_t before = m.Simulation().EngineSteps();
    while (t.elapsed() < 300) {
      frame.IdlePass();
      QApplication::processEvents();  // the event loop's turn between passes
    }
    throughFrame += (m.Simulation().EngineSteps() - before) / (t.nsecsElapsed() / 1e9);
    t.restart();
    before = m.Simulation().EngineSteps();
    while (t.elapsed() < 300) m.Step();
    direct += (m.Simulation().EngineSteps() - before) / (t.nsecsElapsed() / 1e9);
    m.RunCommand(cmd::kStop);
  }
  state.counters["steps_per_s_frame"] = throughFrame / static_cast<double>(state.iterations());
  state.counters["steps_per_s_direct"] = direct / static_cast<double>(state.iterations());
  state.counters["ratio"] = throughFrame / direct;
}
BENCHMARK(BM_SimulationThroughIdleCycle)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
