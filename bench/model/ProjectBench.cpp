// Opening (reading and mirroring into the engine) and saving a project of
// 200 cells with 50 blocks each.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "PrintProject.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

QGuiApplication& App() {
  static int argc = 1;
  static char name[] = "project_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  return app;
}

QString BuildProject(const QString& name) { return BuildPrintProject(name, 200, 25); }

void BM_OpenProject(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  const QString name = BuildProject(dir.filePath("big.tvp"));
  for (auto _ : state) {
    TTarvixPlusModel m;
    if (!m.Open(name) || m.Cells().size() != 200) state.SkipWithError("open failed");
  }
}
BENCHMARK(BM_OpenProject)->Unit(benchmark::kMillisecond);

void BM_SaveProject(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  const QString name = BuildProject(dir.filePath("big.tvp"));
  TTarvixPlusModel m;
  m.Open(name);
  for (auto _ : state)
    if (!m.SaveToFile(dir.filePath("copy.tvp"))) state.SkipWithError("save failed");
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
