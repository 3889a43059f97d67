// Loading a table of 1000 lines into the table editor (target: < 20 ms).
#include <QApplication>
#include <benchmark/benchmark.h>

#include "TTableEditorForm.h"
#include "TTarvixPlusModel.h"
#include "TTextEditor.h"

namespace {

void EnsureApp() {
  if (QApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "tableedit_bench";
  static char* argv[] = {name, nullptr};
  new QApplication(argc, argv);
}

QStringList TableLines() {
  QStringList lines;
  for (int i = 0; i < 1000; ++i) lines << QStringLiteral("%1 %2\t%3").arg(i).arg(-i * 7).arg(i * 31 % 32768);
  return lines;
}

void BM_ShowTableOf1000Lines(benchmark::State& state) {
  EnsureApp();
  TTarvixPlusModel model;
  for (int i = 0; i < 2; ++i) {
    model.NewTable(true);
    model.SetTableData(*model.Tables()[i], TableLines());
  }
  TTableEditorForm form(&model);
  form.resize(600, 400);
  form.show();
  int number = 1;
  for (auto _ : state) {
    number = 3 - number;  // a table already shown would not load again
    form.ShowElement(number);  // loads, marks and lays out the lines
    QApplication::processEvents();
  }
}
BENCHMARK(BM_ShowTableOf1000Lines)->Unit(benchmark::kMillisecond);

void BM_SetLines1000(benchmark::State& state) {
  EnsureApp();
  const QStringList lines = TableLines();
  TTextEditor editor;
  for (auto _ : state) benchmark::DoNotOptimize(editor.SetLines(lines));
}
BENCHMARK(BM_SetLines1000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
