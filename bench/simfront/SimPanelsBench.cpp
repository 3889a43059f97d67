// Refreshing the simulator panels after a step batch, and the counter
// example run with and without a trend view of eight watched variables.
#include <QApplication>
#include <benchmark/benchmark.h>

#include <memory>

#include "TAnalogPortForm.h"
#include "TBlockList.h"
#include "TDigitalPortForm.h"
#include "TGraphBlock.h"
#include "TKeyLEDForm.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TTarvixPlusModel.h"
#include "TToolWindow.h"
#include "TTrendView.h"
#include "UserInterface.h"

namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "simpanels_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// The main window's part: panels refreshed after the ports were read, and
// time that passes only while the driver sleeps (pauses cost no real time).
class BenchHost : public TSimulationHost {
 public:
  void RefreshPortPanels() override { TToolWindow::RefreshAll(); }
  int64_t Milliseconds() override { return now; }
  void Sleep(int ms) override { now += ms; }
  int64_t now = 0;
};

void RefreshUnchanged(benchmark::State& state) {
  App();
  TSimulatedInputs::Current() = TSimulatedInputs{};
  TDigitalPortForm digital(nullptr);
  TKeyLEDForm keys(nullptr);
  TAnalogPortForm analog(nullptr);
  digital.show();
  keys.show();
  analog.show();
  QCoreApplication::processEvents();
  for (auto _ : state) TToolWindow::RefreshAll();
}
BENCHMARK(RefreshUnchanged)->Unit(benchmark::kMicrosecond);

// The counter example with eight more named variables (ports and relays),
// all watched; range(0) = 1 opens the trend view.
void CounterRun(benchmark::State& state) {
  App();
  BenchHost host;
  TSimulationHost::SetCurrent(&host);
  TSilentUserInterface ui;
  TUserInterface::SetCurrent(&ui);
  TSimulatedInputs::Current() = TSimulatedInputs{};
  TSimulatedInputs::Current().AutoTiming = false;
  auto model = std::make_unique<TTarvixPlusModel>();
  if (!model->LoadFromFile(QStringLiteral(VORBLEN_EXAMPLES "/counter.tvp"))) {
    state.SkipWithError("counter.tvp not loaded");
    return;
  }
  const int32_t cell = model->Cells().front()->CellId();
  std::vector<int32_t> watched;
  for (int type : {124, 125, 126, 127, 120, 121, 122, 123}) {
    TBlock* b = model->InsertBlock(cell, type, TRect{600, 40 * type, 640, 40 * type + 30});
    if (b) watched.push_back(b->Id());
  }
  if (!PlexorCompilerInit(model->Engine()) || PlexorCompile(model->Engine()) != 0 || !PlexorCompilerDone(model->Engine())) {
    state.SkipWithError("counter.tvp does not compile");
    return;
  }
  model->SetCompiled(true);
  for (int32_t id : watched) model->AddWatch(id);
  // The station always has windows open (the main window, a panel): the
  // closed-trend run has one too, so only the trend makes the difference.
  TDigitalPortForm panel(model.get());
  panel.show();
  std::unique_ptr<TTrendView> trend;
  if (state.range(0) == 1) {
    trend = std::make_unique<TTrendView>(model.get());
    trend->show();
  }
  model->RunCommand(cmd::kRun);
  for (auto _ : state) {
    model->Step();
    // The application's message loop runs between idle calls.
    QCoreApplication::processEvents();
  }
  state.counters["engine_steps_per_s"] = benchmark::Counter(static_cast<double>(model->Simulation().EngineSteps()), benchmark::Counter::kIsRate);
  state.counters["watches"] = static_cast<double>(model->Watches().size());
  if (trend) state.counters["samples"] = static_cast<double>(trend->Samples().Size());
  trend.reset();
  model.reset();
  TUserInterface::SetCurrent(nullptr);
  TSimulationHost::SetCurrent(nullptr);
}
BENCHMARK(CounterRun)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

BENCHMARK_MAIN();
