// Opening (reading and mirroring into the engine) and saving a project of
// 200 cells with 50 blocks each.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "TInputLine.h"
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

// 200 cells, each 25 constants feeding 25 print blocks (50 blocks, 25 wires).
QString BuildProject(const QString& name) {
  TTarvixPlusModel m;
  for (int c = 0; c < 200; ++c) {
    m.NewCell(-1);
    const int32_t cell = m.Cells().back()->CellId();
    for (int i = 0; i < 25; ++i) {
      TBlock* k = m.InsertBlock(cell, 700, TRect{20, 20 + i * 40, 2000, 2000});
      k->SetData(0, QString::number(i));
      TBlock* p = m.InsertBlock(cell, 900, TRect{200, 20 + i * 40, 2000, 2000});
      auto wire = std::make_unique<TInputLine>();
      wire->source = k->Id();
      wire->AddPoint(QPoint(k->Bounds().right, k->Bounds().top + 5));
      wire->AddPoint(QPoint(p->Bounds().left, p->Bounds().top + 5));
      wire->Update();
      int input = -1;
      m.ConnectWire(p->Id(), input, std::move(wire));
    }
  }
  m.SaveToFile(name);
  return name;
}

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
