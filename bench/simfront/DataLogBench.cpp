// A refresh of the data-log view after 100 new values of an 8000-value log:
// it must repaint only the rows that changed (target: < 2 ms).
#include <QApplication>
#include <benchmark/benchmark.h>

#include <vector>

#include "TDataLogGrid.h"

namespace {

class VectorSource : public TDataLogSource {
 public:
  int Length() const override { return length; }
  int PreviousLength() const override { return previous; }
  uint16_t Value(int index) const override { return values[static_cast<size_t>(index)]; }
  std::vector<uint16_t> values;
  int length = 0;
  int previous = 0;
};

void EnsureApp() {
  if (QApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "datalog_bench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

void BM_RefreshAfter100Values(benchmark::State& state) {
  EnsureApp();
  VectorSource source;
  for (int i = 0; i < 8000; ++i) source.values.push_back(static_cast<uint16_t>(i * 37));
  source.length = 7900;
  TDataLogGrid grid;
  grid.resize(640, 480);
  grid.SetSource(&source);
  grid.show();
  grid.Refresh();
  QApplication::processEvents();
  int painted = 0;
  int rows = 0;
  for (auto _ : state) {
    // Grow by 100, then the next refresh turns them old: both are the
    // steady state of a running program that logs.
    source.previous = source.length;
    source.length = source.length == 8000 ? 7900 : 8000;
    grid.Refresh();
    QApplication::processEvents();
    painted += grid.PaintedRows();
    ++rows;
  }
  state.counters["painted_rows"] = static_cast<double>(painted) / std::max(1, rows);
  state.counters["total_rows"] = grid.Layout().Rows();
}
BENCHMARK(BM_RefreshAfter100Values)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
