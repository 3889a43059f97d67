// Opening hostile-sized projects: one cell of 30 000 blocks, 65 534 empty
// cells, and a chain of 60 000 blocks each wired to the one before. Each
// must open in well under two seconds: loading is linear in the file.
#include <benchmark/benchmark.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "CellBodyText.h"
#include "TTarvixPlusModel.h"

namespace {

void App() {
  static int argc = 1;
  static char name[] = "load_bench";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
}

QStringList Header() { return {"MARLIX Tarvix plus - project file", "Version=1.0", "1", ""}; }

// Block number n of cell 1: a value constant, or an adder fed by block n - 1.
void AddBlock(QStringList& lines, int n, bool chained) {
  const int32_t id = (1 << 16) | n;
  lines << "#BLOCK_START" << "GraphBlock" << QStringLiteral("ID=%1").arg(id)
        << QStringLiteral("%1,%2,%3,%4").arg(n % 100 * 80).arg(n / 100 * 40).arg(n % 100 * 80 + 60).arg(n / 100 * 40 + 20);
  if (chained && n > 1) {
    lines << QStringLiteral("IN00=%1,1:0,0,1,1").arg(id - 1) << "TYPE=200";
  } else {
    lines << "TYPE=700" << "#DLLDATA_START" << "1" << "#DLLDATA_END";
  }
  lines << "#BLOCK_END" << "";
}

QString Write(const QTemporaryDir& dir, const QStringList& lines) {
  const QString name = dir.filePath("load.tvp");
  QFile f(name);
  if (!f.open(QIODevice::WriteOnly)) return {};
  f.write(cellbody::BytesFromLines(lines));
  return name;
}

QString OneCell(const QTemporaryDir& dir, int blocks, bool chained) {
  QStringList lines = Header();
  lines << "#CELL_START" << "ID=1" << "NAME=A" << "";
  for (int n = 1; n <= blocks; ++n) AddBlock(lines, n, chained);
  lines << "#CELL_END" << "";
  return Write(dir, lines);
}

QString EmptyCells(const QTemporaryDir& dir, int cells) {
  QStringList lines = Header();
  for (int id = 1; id <= cells; ++id)
    lines << "#CELL_START" << QStringLiteral("ID=%1").arg(id) << QStringLiteral("NAME=Z%1").arg(id) << "" << "#CELL_END" << "";
  return Write(dir, lines);
}

void Open(benchmark::State& state, const QString& name, size_t cells, int blocks) {
  for (auto _ : state) {
    TTarvixPlusModel m;
    if (!m.Open(name) || m.Cells().size() != cells || m.Cells().back()->Count() != blocks || !m.LoadLosses().isEmpty())
      state.SkipWithError("open failed");
  }
}

void BM_OpenOneCellOf30000Blocks(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  Open(state, OneCell(dir, 30000, false), 1, 30000);
}
BENCHMARK(BM_OpenOneCellOf30000Blocks)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_Open65534EmptyCells(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  Open(state, EmptyCells(dir, 65534), 65534, 0);
}
BENCHMARK(BM_Open65534EmptyCells)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_OpenChainOf60000Blocks(benchmark::State& state) {
  App();
  QTemporaryDir dir;
  Open(state, OneCell(dir, 60000, true), 1, 60000);
}
BENCHMARK(BM_OpenChainOf60000Blocks)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
