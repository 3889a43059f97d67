// The cell window on a cell of 500 blocks and 800 wires: one repaint while
// a 50-block selection is dragged (target below 4 ms), and a full repaint of
// the visible area with live values on (target below 16 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollArea>
#include <cstdlib>
#include <memory>

#include "CellEditorSettings.h"
#include "ProjectBuilder.h"
#include "TBlockList.h"
#include "TCellPainter.h"
#include "TLiveValues.h"
#include "TMouseTool.h"
#include "TProgramCellForm.h"
#include "TTarvixPlusModel.h"

namespace {

QApplication* App() {
  static int argc = 1;
  static char name[] = "cellwindow_bench";
  static char* argv[] = {name, nullptr};
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static QApplication* app = new QApplication(argc, argv);
  return app;
}

// 100 groups of five blocks (a constant, two additions, a value switch and
// a word variable) with eight wires each: 500 blocks, 800 wires, compiled
// and stepped once so that the variables have values to show.
struct BigProject {
  TTarvixPlusModel model;
  int32_t cell = 0;
  int wires = 0;
  BigProject() {
    model.NewCell(0);
    cell = model.Cells()[0]->CellId();
    for (int g = 0; g < 100; ++g) {
      const int x = 10 + (g % 5) * 390, y = 20 + (g / 5) * 95;
      TBlock* c = mt::Place(model, cell, 700, x, y, QStringLiteral("%1").arg(g));
      TBlock* a1 = mt::Place(model, cell, 200, x + 70, y);
      TBlock* a2 = mt::Place(model, cell, 200, x + 140, y + 45);
      TBlock* vs = mt::Place(model, cell, 214, x + 210, y);
      TBlock* w = mt::Place(model, cell, 602, x + 280, y + 45, QStringLiteral("%1").arg(g + 1));
      for (auto [from, to] : {std::pair{c, a1}, {c, a1}, {a1, a2}, {c, a2}, {a2, vs}, {a1, vs}, {c, vs}, {vs, w}})
        wires += mt::Connect(model, *from, *to) ? 1 : 0;
    }
    PlexorHandle e = model.Engine();
    if (PlexorCompilerInit(e) && PlexorCompile(e) == 0 && PlexorCompilerDone(e)) {
      model.SetCompiled(true);
      model.RunCommand(cmd::kSingleStep);
      model.Step();
    }
  }
};

BigProject& Project() {
  App();
  static BigProject* project = new BigProject;
  return *project;
}

void BM_DragRepaint(benchmark::State& state) {
  BigProject& p = Project();
  TProgramCellForm form(&p.model);
  form.setAttribute(Qt::WA_DeleteOnClose, false);
  form.resize(1024, 768);
  form.show();
  QCoreApplication::processEvents();
  TBlockList& cell = *form.Cell();
  TBlockSelection fifty;
  for (int i = 0; i < 50; ++i) fifty.push_back(cell.Items(i));
  TMouseTool& tool = form.Tool();
  tool.SetSelection(fifty);
  const QPoint grip = fifty[0]->Bounds().TopLeft() + QPoint(3, 3);
  tool.MouseDown(grip);
  int step = 0;
  for (auto _ : state) {
    step = (step + 1) % 40;
    tool.MouseMove(grip + QPoint(step, step / 2));
    QRegion dirty;
    for (const QRect& r : tool.TakeDirty()) dirty += form.Painter()->ToWidget(r);
    form.Painter()->repaint(dirty);
  }
  tool.MouseUp(grip);
  state.counters["blocks"] = cell.Count();
}
BENCHMARK(BM_DragRepaint)->Unit(benchmark::kMillisecond);

void BM_FullRepaintWithLiveValues(benchmark::State& state) {
  BigProject& p = Project();
  TProgramCellForm form(&p.model);
  form.setAttribute(Qt::WA_DeleteOnClose, false);
  form.resize(1024, 768);
  form.show();
  QCoreApplication::processEvents();
  if (form.IsCommandEnabled(cmd::kLiveValues)) form.DoCommand(cmd::kLiveValues, nullptr);
  QCoreApplication::processEvents();
  const QRect visible = form.Scroller()->viewport()->rect();
  for (auto _ : state) form.Painter()->repaint(visible);
  int labels = 0;
  int32_t v = 0;
  for (int i = 0; i < form.Cell()->Count(); ++i) labels += form.LiveValues().ValueOf(form.Cell()->Items(i)->Id(), v) ? 1 : 0;
  state.counters["labels"] = labels;
  state.counters["wires"] = p.wires;
}
BENCHMARK(BM_FullRepaintWithLiveValues)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
