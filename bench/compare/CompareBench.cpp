// Comparing two versions of a 200-cell project (25 constant/print pairs a
// cell) that differ in 10 blocks: five parameters changed, five blocks
// moved. The target for the whole diff (reading both files, comparing) is
// below 100 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include "../model/PrintProject.h"
#include "ProjectCompare.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

void App() {
  static int argc = 1;
  static char name[] = "compare_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
  static TSilentUserInterface ui;
  TUserInterface::SetCurrent(&ui);
}

struct Versions {
  QTemporaryDir dir;
  QString before;
  QString after;
};

Versions& Files() {
  static Versions v = [] {
    App();
    Versions out;
    out.before = BuildPrintProject(out.dir.filePath("old.tvp"), 200, 25);
    TTarvixPlusModel m;
    m.LoadFromFile(out.before);
    for (int i = 0; i < 10; ++i) {
      const TBlockList& cell = *m.Cells()[static_cast<size_t>(i * 20)];
      TBlock* block = cell.Items(2 * i);
      if (i < 5) block->SetData(0, QStringLiteral("99"));
      else m.MoveBlocks(cell.CellId(), {block}, QPoint(0, 1000));
    }
    out.after = out.dir.filePath("new.tvp");
    m.SaveToFile(out.after);
    return out;
  }();
  return v;
}

TProjectSnapshot Read(const QString& file) {
  TTarvixPlusModel m;
  m.LoadFromFile(file);
  return TProjectSnapshot::Of(m);
}

size_t BlockChanges(const TProjectDiff& diff) {
  size_t n = 0;
  for (const TCellDiff& c : diff.cells) n += c.blocks.size();
  return n;
}

// What vorblen-cli diff does after start-up: read both files, compare.
void BM_DiffFiles(benchmark::State& state) {
  Versions& v = Files();
  for (auto _ : state) {
    const TProjectDiff diff = CompareProjects(Read(v.before), Read(v.after));
    if (BlockChanges(diff) != 10) state.SkipWithError("expected 10 changed blocks");
    benchmark::DoNotOptimize(diff);
  }
}
BENCHMARK(BM_DiffFiles)->Unit(benchmark::kMillisecond);

// Reading one version (the model's load, mirrored into the engine) and
// taking its snapshot: the larger part of the whole diff.
void BM_ReadVersion(benchmark::State& state) {
  Versions& v = Files();
  for (auto _ : state) benchmark::DoNotOptimize(Read(v.before));
}
BENCHMARK(BM_ReadVersion)->Unit(benchmark::kMillisecond);

// The comparison alone, as the station runs it on an open project.
void BM_CompareSnapshots(benchmark::State& state) {
  Versions& v = Files();
  const TProjectSnapshot before = Read(v.before);
  const TProjectSnapshot after = Read(v.after);
  for (auto _ : state) {
    const TProjectDiff diff = CompareProjects(before, after);
    if (BlockChanges(diff) != 10) state.SkipWithError("expected 10 changed blocks");
    benchmark::DoNotOptimize(diff);
  }
}
BENCHMARK(BM_CompareSnapshots)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
