// The program checks over a large project: 200 cells of 50 blocks each
// (sums stored in words, prints, a pause and a jump to the next cell), as
// the station runs them before every compile. Target: well under 50 ms.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <memory>

#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TProjectChecker.h"
#include "TTarvixPlusModel.h"

namespace {

void Wire(TTarvixPlusModel& m, const TBlock& source, const TBlock& target, int input = -1) {
  auto wire = std::make_unique<TInputLine>();
  wire->source = source.Id();
  wire->AddPoint(QPoint(source.Bounds().right, source.Bounds().top + 5));
  wire->AddPoint(QPoint(target.Bounds().left, target.Bounds().top + 5));
  wire->Update();
  m.ConnectWire(target.Id(), input, std::move(wire));
}

TBlock* Put(TTarvixPlusModel& m, int32_t cell, int32_t type, int x, int y, const QString& param = {}) {
  TBlock* b = m.InsertBlock(cell, type, TRect{x, y, x + 4000, y + 4000});
  if (!param.isEmpty()) b->SetData(0, param);
  return b;
}

// Each cell of 50 blocks: 11 times word = word + constant (44 blocks), the
// first word and a text printed (3), a pause and a jump to the next cell,
// the last one back to the first (3).
std::unique_ptr<TTarvixPlusModel> BuildProject(int cells) {
  auto m = std::make_unique<TTarvixPlusModel>();
  for (int c = 0; c < cells; ++c) {
    m->NewCell(-1);
    m->RenameCell(m->Cells().back()->CellId(), QStringLiteral("Z%1").arg(c));
  }
  for (int c = 0; c < cells; ++c) {
    const int32_t cell = m->Cells()[static_cast<size_t>(c)]->CellId();
    for (int i = 0; i < 11; ++i) {
      const int y = 20 + i * 60;
      TBlock* k = Put(*m, cell, 700, 20, y, QString::number(i + 1));
      TBlock* read = Put(*m, cell, 602, 100, y, QString::number(i + 1));
      TBlock* add = Put(*m, cell, 200, 200, y);
      TBlock* store = Put(*m, cell, 602, 300, y, QString::number(i + 1));
      Wire(*m, *k, *add);
      Wire(*m, *read, *add);
      Wire(*m, *add, *store);
      if (i == 0) Wire(*m, *store, *Put(*m, cell, 900, 400, y, QStringLiteral("2")));
    }
    Wire(*m, *Put(*m, cell, 702, 20, 740, QStringLiteral("Zelle")), *Put(*m, cell, 900, 100, 740));
    Wire(*m, *Put(*m, cell, 700, 20, 800, QStringLiteral("1")), *Put(*m, cell, 1006, 100, 800));
    Put(*m, cell, 1000, 200, 800, QStringLiteral("Z%1").arg((c + 1) % cells));
  }
  return m;
}

void BM_CheckProject(benchmark::State& state) {
  const int cells = static_cast<int>(state.range(0));
  const std::unique_ptr<TTarvixPlusModel> model = BuildProject(cells);
  int blocks = 0;
  for (const auto& cell : model->Cells()) blocks += cell->Count();
  size_t findings = 0;
  for (auto _ : state) {
    const std::vector<TFinding> result = TProjectChecker::Check(*model);
    findings = result.size();
    benchmark::DoNotOptimize(result.data());
  }
  state.counters["blocks"] = blocks;
  state.counters["findings"] = static_cast<double>(findings);
}
BENCHMARK(BM_CheckProject)->Arg(200)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
