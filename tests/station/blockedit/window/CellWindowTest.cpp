// The program-cell window driven as a user drives it: synthesized mouse and
// key events on the offscreen platform, a real project model and engine.
#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QDataStream>
#include <QMenu>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <cstring>
#include <memory>

#include "CellEditorSettings.h"
#include "Grid.h"
#include "Commands.h"
#include "ProjectBuilder.h"
#include "RecordingUserInterface.h"
#include "TBlockCatalogue.h"
#include "TBlockList.h"
#include "TBlockPalette.h"
#include "TCellPainter.h"
#include "TGraphBlock.h"
#include "TLiveValues.h"
#include "TMouseTool.h"
#include "TProgramCellForm.h"
#include "TTarvixPlusModel.h"
#include "TTextBlock.h"

namespace {

constexpr int32_t kConst = 700;   // a constant: a source without inputs
constexpr int32_t kNot = 300;     // one input, no input menu
constexpr int32_t kSub = 201;     // inputs a and b through an input menu
constexpr int32_t kPrint = 900;   // a sink: cannot be a source

// A catalogue of two groups: ten calculator types (two pages of buttons)
// and one constant whose glyph is missing.
class PaletteSource : public TBlockCatalogueSource {
 public:
  QByteArray BlockGroups() override { return "GRP_CALC|Arithmetik\r\nGRP_CONST|Konstanten\r\n"; }
  std::optional<QByteArray> Blocks(const QByteArray& key) override {
    if (key == "GRP_CONST") return QByteArray("GLY_MISSING||Zahl|700\r\n");
    QByteArray lines;
    for (int i = 0; i < 10; ++i) lines += QStringLiteral("GLY_CALC||Typ %1|%2\r\n").arg(i).arg(200 + i).toLatin1();
    return lines;
  }
  std::optional<QByteArray> Bitmap(const QByteArray& name) override {
    if (name == "GLY_MISSING") return std::nullopt;
    QImage image(name == "GLY_CALC" ? 48 : 24, 24, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
  }
};

// Collects the areas a widget paints.
class PaintRecorder : public QObject {
 public:
  QRegion region;
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) region += static_cast<QPaintEvent*>(e)->region();
    return false;
  }
};

// Whether the engine has a wire at the input slot of a block, asked
// through a constant placed in the same page for the question.
bool EngineWired(PlexorHandle e, int32_t target, int slot) {
  const int32_t probe = static_cast<int32_t>((static_cast<uint32_t>(target) & 0xFFFF0000u) | 0xFFFFu);
  if (!PlexorAddBlock(e, kConst, probe)) return false;
  const char* flags = PlexorGetBlockInputMenuFlags(e, probe, target);
  const bool wired = flags && static_cast<int>(strlen(flags)) > slot && flags[slot] == '*';
  PlexorRemoveBlock(e, probe);
  return wired;
}

int32_t Compile(PlexorHandle e) {
  if (!PlexorCompilerInit(e)) return -100;
  const int32_t r = PlexorCompile(e);
  if (r != 0) return r;
  return PlexorCompilerDone(e) ? 0 : -100;
}

// Answers the next input menu that pops up: an index, or -1 for Escape.
void AnswerInputMenu(int index, QStringList* captions = nullptr, QList<bool>* enabled = nullptr) {
  QTimer::singleShot(50, [=] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu) return;
    for (QAction* a : menu->actions()) {
      if (!a->isVisible()) continue;
      if (captions) *captions << a->text();
      if (enabled) *enabled << a->isEnabled();
    }
    if (index >= 0) {
      menu->setActiveAction(menu->actions().at(index));
      QTest::keyClick(menu, Qt::Key_Return);
    } else {
      QTest::keyClick(menu, Qt::Key_Escape);
    }
  });
}

class CellWindowTest : public QObject {
  Q_OBJECT

 private:
  RecordingUserInterface ui;
  std::unique_ptr<TTarvixPlusModel> model;
  QPointer<TProgramCellForm> form;
  int32_t cell1 = 0, cell2 = 0;

  TBlockList& Cell() { return *form->Cell(); }
  QWidget* Surface() { return form->Painter(); }
  QPoint W(QPoint p) {
    const double z = form->Zoom();
    return QPoint(static_cast<int>(p.x() * z), static_cast<int>(p.y() * z));
  }
  void Press(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mousePress(Surface(), b, {}, W(p)); }
  void Release(QPoint p, Qt::MouseButton b = Qt::LeftButton) { QTest::mouseRelease(Surface(), b, {}, W(p)); }
  void Move(QPoint p) { QTest::mouseMove(Surface(), W(p)); }
  void Click(QPoint p, Qt::MouseButton b = Qt::LeftButton) {
    Press(p, b);
    Release(p, b);
  }
  void Drag(QPoint from, QPoint to) {
    Press(from);
    Move((from + to) / 2);
    Move(to);
    Release(to);
  }
  TBlock* Put(int32_t type, int x, int y) {
    TBlock* b = model->InsertBlock(form->ShownElement(), type, TRect{x, y, x + 400, y + 400});
    return b;
  }
  QColor Pixel(QPoint cellPoint) {
    QCoreApplication::processEvents();
    return QColor(Surface()->grab(QRect(W(cellPoint), QSize(1, 1))).toImage().pixel(0, 0));
  }
  // Some pixel of the column x between y0 and y1 is not background (a dotted frame).
  bool FrameAt(int x, int y0, int y1) {
    for (int y = y0; y <= y1; ++y)
      if (Pixel({x, y}) != Background()) return true;
    return false;
  }
  QColor Background() { return tcolor::ToQColor(CellEditorSettings::Current().blockBackgroundColor); }
  int Beeps(TUserInterface::Sound s) {
    int n = 0;
    for (const auto& c : ui.calls) n += c.kind == "Beep" && c.texts.value(0) == QString::number(static_cast<int>(s));
    return n;
  }
  std::unique_ptr<TProgramCellForm> SecondWindow(int32_t cellId) {
    auto w = std::make_unique<TProgramCellForm>(model.get());
    w->setAttribute(Qt::WA_DeleteOnClose, false);
    w->ShowElement(cellId);
    w->show();
    return w;
  }

 private slots:
  void init() {
    CellEditorSettings::Current() = CellEditorSettings{};
    ui.Clear();
    model = std::make_unique<TTarvixPlusModel>();
    model->NewCell(0);
    model->NewCell(1);
    cell1 = model->Cells()[0]->CellId();
    cell2 = model->Cells()[1]->CellId();
    model->RenameCell(cell1, QStringLiteral("Rot"));
    model->RenameCell(cell2, QStringLiteral("Gelb"));
    form = new TProgramCellForm(model.get());
    form->setAttribute(Qt::WA_DeleteOnClose, false);
    form->resize(640, 480);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form));
    QCOMPARE(form->ShownElement(), cell1);
    ui.Clear();
  }
  void cleanup() {
    delete form;
    model.reset();
  }

  // Caption, accessible names, grid dots and the breakpoint mark.
  void captionAndGrid() {
    QCOMPARE(form->windowTitle(), QStringLiteral("Programmzelleneditor - Rot"));
    QCOMPARE(Surface()->accessibleName(), form->windowTitle());
    form->DoCommand(cmd::kToggleBreakpoint, nullptr);
    QCOMPARE(form->windowTitle(), QStringLiteral("Programmzelleneditor - Rot [Haltepunkt]"));
    QCOMPARE(Surface()->accessibleName(), form->windowTitle());
    model->RenameCell(cell1, QStringLiteral("Rotphase"));
    QCOMPARE(form->windowTitle(), QStringLiteral("Programmzelleneditor - Rotphase [Haltepunkt]"));
    // Grid dots at g/2 + k*g in the foreground colour, background elsewhere.
    const QColor fore = tcolor::ToQColor(CellEditorSettings::Current().foregroundColor);
    QCOMPARE(Pixel({5, 5}), fore);
    QCOMPARE(Pixel({15, 25}), fore);
    QCOMPARE(Pixel({6, 5}), Background());
    QCOMPARE(Pixel({0, 0}), Background());
    // The scroll step is the grid size.
    QCOMPARE(form->Scroller()->verticalScrollBar()->singleStep(), 10);
    for (QAction* a : form->LocalMenu()->actions())
      if (!a->isSeparator()) QVERIFY(!a->text().isEmpty());
  }

  // Rubber band selects, a drag moves the selection and empties it, the
  // feedback leaves no trace, undo puts everything back.
  void rubberBandMoveUndo() {
    TBlock* a = Put(kConst, 100, 100);
    TBlock* b = Put(kConst, 100, 200);
    QCOMPARE(a->Bounds().TopLeft(), QPoint(105, 105));
    Drag({50, 50}, {300, 300});
    QCOMPARE(form->Tool().Selection().size(), size_t(2));
    QCOMPARE(Surface()->accessibleDescription(), QStringLiteral("2 Blöcke, 2 ausgewählt"));
    QVERIFY(form->IsCommandEnabled(cmd::kCopy));
    QVERIFY(form->IsCommandEnabled(cmd::kAlignLeft));
    // The frame of a selected block is drawn one pixel outside it.
    QVERIFY(FrameAt(104, 104, 126));
    Press({110, 110});
    Move({150, 130});
    QVERIFY(!form->IsCommandEnabled(cmd::kUndo));  // moving
    Move({171, 142});
    Release({171, 142});
    QVERIFY(form->Tool().Selection().empty());
    QCOMPARE(a->Bounds().TopLeft(), QPoint(165, 135));
    QCOMPARE(b->Bounds().TopLeft(), QPoint(165, 235));
    // No trace of the frames, neither at the old nor at the new place.
    QCOMPARE(Pixel({104, 110}), Background());
    QCOMPARE(Pixel({164, 140}), Background());
    QCOMPARE(Pixel({164, 141}), Background());
    QCOMPARE(Pixel({104, 210}), Background());
    QVERIFY(form->IsCommandEnabled(cmd::kUndo));
    form->DoCommand(cmd::kUndo, nullptr);
    QCOMPARE(a->Bounds().TopLeft(), QPoint(105, 105));
    form->DoCommand(cmd::kRedo, nullptr);
    QCOMPARE(a->Bounds().TopLeft(), QPoint(165, 135));
    // Alignment of a rubber-band selection, then the selection is empty.
    model->MoveBlocks(cell1, {b}, QPoint(30, 0));
    Drag({160, 130}, {400, 400});
    QCOMPARE(form->Tool().Selection().size(), size_t(2));
    form->DoCommand(cmd::kAlignLeft, nullptr);
    QCOMPARE(a->Bounds().left, b->Bounds().left);
    QVERIFY(form->Tool().Selection().empty());
    // The keys of the menus reach the window through the focused surface.
    Drag({50, 50}, {400, 400});
    QTest::keyClick(form->Scroller(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(form->Scroller(), Qt::Key_Delete);
    QCOMPARE(Cell().Count(), 0);
    QTest::keyClick(form->Scroller(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(Cell().Count(), 2);
    QCOMPARE(form->Tool().Selection().size(), size_t(2));
  }

  void invalidMovesBeep_data() {
    QTest::addColumn<int>("dx");
    QTest::addColumn<int>("dy");
    QTest::addColumn<bool>("comment");
    QTest::addColumn<bool>("moves");
    QTest::newRow("out of the area left") << -120 << 0 << false << false;
    QTest::newRow("out of the area top") << 0 << -120 << false << false;
    QTest::newRow("onto a functional block") << 100 << 0 << false << false;
    QTest::newRow("next to it") << 0 << 100 << false << true;
    QTest::newRow("a comment over a block") << 100 << 0 << true << true;
  }
  void invalidMovesBeep() {
    QFETCH(int, dx);
    QFETCH(int, dy);
    QFETCH(bool, comment);
    QFETCH(bool, moves);
    TBlock* mover = comment ? model->InsertTextBlock(cell1, TRect{100, 100, 400, 400}) : Put(kConst, 100, 100);
    if (comment) mover->SetData(0, QStringLiteral("Text"));
    Put(kNot, 200, 100);
    const QPoint before = mover->Bounds().TopLeft();
    const QPoint grip = before + QPoint(3, 3);
    Drag(grip, grip + QPoint(dx, dy));
    QCOMPARE(mover->Bounds().TopLeft() != before, moves);
    QCOMPARE(Beeps(TUserInterface::Sound::Warning), moves ? 0 : 1);
    QVERIFY(form->Tool().Selection().empty());
  }

  // A click on a block starts a wire, clicks on empty area add bends, a
  // click on a block without an input menu finishes it; undo removes it.
  void wireWithoutMenu() {
    TBlock* src = Put(kConst, 100, 100);
    TBlock* dst = Put(kNot, 400, 200);
    const QPoint s = src->Bounds().TopLeft() + QPoint(10, 10);
    Click(s);
    QVERIFY(form->Tool().DrawingWire());
    QVERIFY(form->Tool().Selection().empty());
    QCOMPARE(Surface()->accessibleDescription(), QStringLiteral("2 Blöcke, 0 ausgewählt, Verbindung wird gezeichnet"));
    QVERIFY(!form->IsCommandEnabled(cmd::kUndo) || !model->CanUndo());
    Move({300, 110});
    Click({300, 110});  // a bend point
    Click({300, 215});
    Click(dst->Bounds().TopLeft() + QPoint(5, 5));
    QVERIFY(!form->Tool().DrawingWire());
    const TInputLine* w = dst->GetInput(0);
    QVERIFY(w);
    QCOMPARE(w->source, src->Id());
    QCOMPARE(w->pointCount, 4);
    QCOMPARE(w->Last().x(), dst->Bounds().left);
    QCOMPARE(w->Point(0).x(), src->Bounds().right);
    QVERIFY(EngineWired(model->Engine(), dst->Id(), 0));
    form->DoCommand(cmd::kUndo, nullptr);
    QVERIFY(!dst->GetInput(0));
    QVERIFY(!EngineWired(model->Engine(), dst->Id(), 0));
    // A click on a block that cannot be a source starts nothing.
    TBlock* sink = Put(kPrint, 100, 300);
    Click(sink->Bounds().TopLeft() + QPoint(5, 5));
    QVERIFY(!form->Tool().DrawingWire());
    // Finishing at the source itself is refused with the stop beep.
    Click(s);
    QVERIFY(form->Tool().DrawingWire());
    Click(s + QPoint(2, 0));
    QVERIFY(form->Tool().DrawingWire());
    QCOMPARE(Beeps(TUserInterface::Sound::Stop), 1);
    Click({600, 600}, Qt::RightButton);
    QVERIFY(!form->Tool().DrawingWire());
  }

  // The input menu: captions from the engine, wired inputs disabled,
  // nothing chosen keeps drawing, a right click cancels without a trace.
  void wireWithInputMenu() {
    TBlock* a = Put(kConst, 100, 100);
    TBlock* b = Put(kConst, 100, 200);
    TBlock* sub = Put(kSub, 400, 150);
    QVERIFY(PlexorGetBlockInputMenu(model->Engine(), sub->Id()));
    const QPoint target = sub->Bounds().TopLeft() + QPoint(5, 5);
    Click(a->Bounds().TopLeft() + QPoint(5, 5));
    QStringList captions;
    AnswerInputMenu(1, &captions);
    Click(target);
    QCOMPARE(captions, QStringList({QStringLiteral("a"), QStringLiteral("b")}));
    QVERIFY(sub->GetInput(1));
    QVERIFY(!sub->GetInput(0));
    QCOMPARE(int(sub->GetInput(1)->menuLetter), 1);
    // Second wire: "b" is taken and disabled; Escape keeps drawing.
    const QImage before = Surface()->grab(QRect(0, 0, 560, 400)).toImage();
    Click(b->Bounds().TopLeft() + QPoint(5, 5));
    QList<bool> enabled;
    AnswerInputMenu(-1, nullptr, &enabled);
    Click(target);
    QCOMPARE(enabled, QList<bool>({true, false}));
    QVERIFY(form->Tool().DrawingWire());
    QVERIFY(!sub->GetInput(0));
    Move({300, 300});
    Click({300, 300}, Qt::RightButton);
    QVERIFY(!form->Tool().DrawingWire());
    // Nothing of the dropped wire is left on the surface.
    QCoreApplication::processEvents();
    QVERIFY(Surface()->grab(QRect(0, 0, 560, 400)).toImage() == before);
    QVERIFY(!EngineWired(model->Engine(), sub->Id(), 0));
    QVERIFY(EngineWired(model->Engine(), sub->Id(), 1));
  }

  // At most 17 points while drawing: further clicks on empty area are ignored.
  void pointLimitWhileDrawing() {
    TBlock* a = Put(kConst, 100, 100);
    TBlock* n = Put(kNot, 100, 400);
    Click(a->Bounds().TopLeft() + QPoint(5, 5));
    for (int i = 0; i < 20; ++i) Click({300 + 10 * i, 150 + (i % 2) * 40});
    QCOMPARE(form->Tool().WireBeingDrawn()->pointCount, TMouseTool::kMaxDrawnPoints);
    Click(n->Bounds().TopLeft() + QPoint(5, 5));
    QVERIFY(n->GetInput(0));
    QVERIFY(n->GetInput(0)->pointCount <= TMouseTool::kMaxDrawnPoints);
  }

  // Dragging a wire segment bends it; the model gets the copy when the user
  // clicks elsewhere; the wire menu deletes the bend again; undo after each.
  void bendEditing() {
    TBlock* a = Put(kConst, 100, 100);
    TBlock* n = Put(kNot, 400, 100);
    QVERIFY(mt::Connect(*model, *a, *n));
    const TInputLine* w = n->GetInput(0);
    QCOMPARE(w->pointCount, 2);
    const int y = w->Point(0).y();
    const int mid = (w->Point(0).x() + w->Last().x()) / 2;
    Press({mid, y});
    QVERIFY(form->Tool().BendEditing());
    QVERIFY(!form->IsCommandEnabled(cmd::kUndo));
    Move({mid, y + 40});
    Release({mid, y + 40});
    QVERIFY(form->Tool().BendEditing());
    QCOMPARE(n->GetInput(0)->pointCount, 2);  // the model still has the old route
    Click({600, 400});                         // elsewhere: handed over
    QVERIFY(!form->Tool().BendEditing());
    w = n->GetInput(0);
    QCOMPARE(w->pointCount, 3);
    QCOMPARE(w->Point(1), QPoint(grid::Nearest(mid, 10), grid::Nearest(y + 40, 10)));
    // The wire menu at the bend point deletes it.
    const QPoint bend = w->Point(1);
    Click(bend, Qt::RightButton);
    QMenu* wires = form->WireMenu();
    QTRY_VERIFY(wires->isVisible());
    QVERIFY(wires->findChild<QAction*>(QStringLiteral("DeleteBendItem"))->isEnabled());
    wires->findChild<QAction*>(QStringLiteral("DeleteBendItem"))->trigger();
    wires->close();
    QCOMPARE(n->GetInput(0)->pointCount, 2);
    form->DoCommand(cmd::kUndo, nullptr);
    QCOMPARE(n->GetInput(0)->pointCount, 3);
    form->DoCommand(cmd::kUndo, nullptr);
    QCOMPARE(n->GetInput(0)->pointCount, 2);
    // Split the connection through the wire menu.
    Click(QPoint(mid, y), Qt::RightButton);
    QTRY_VERIFY(wires->isVisible());
    QVERIFY(!wires->findChild<QAction*>(QStringLiteral("DeleteBendItem"))->isEnabled());
    wires->findChild<QAction*>(QStringLiteral("SplitConnectionItem"))->trigger();
    wires->close();
    QVERIFY(!n->GetInput(0));
  }

  // The block menu's items follow the right-clicked block; the empty-area
  // menu when nothing was hit.
  void popupMenus() {
    TBlock* a = Put(kConst, 100, 100);
    Click(a->Bounds().TopLeft() + QPoint(3, 3), Qt::RightButton);
    QTRY_VERIFY(form->BlockMenu()->isVisible());
    QVERIFY(form->BlockMenu()->findChild<QAction*>(QStringLiteral("LocalPropertiesItem"))->isEnabled());
    QVERIFY(form->BlockMenu()->findChild<QAction*>(QStringLiteral("LocalBlockHelpItem"))->isEnabled());
    form->BlockMenu()->findChild<QAction*>(QStringLiteral("LocalBlockHelpItem"))->trigger();
    form->BlockMenu()->close();
    QCOMPARE(ui.Count("ShowHelp"), 1);
    Click({700, 400}, Qt::RightButton);
    QTRY_VERIFY(form->LocalMenu()->isVisible());
    QVERIFY(!form->LocalMenu()->findChild<QAction*>(QStringLiteral("LocalEditCutItem"))->isEnabled());
    QVERIFY(form->LocalMenu()->findChild<QAction*>(QStringLiteral("LocalToggleBrkptItem"))->isEnabled());
    form->LocalMenu()->close();
  }

  // Cut in one window, paste into another; the pasted blocks are selected,
  // in view; a deletion by one window drops them from the other's selection.
  void clipboardBetweenWindows() {
    Put(kConst, 100, 100);
    Put(kNot, 300, 100);
    auto other = SecondWindow(cell2);
    model->InsertBlock(cell2, kConst, TRect{1500, 1500, 1900, 1900});
    Drag({50, 50}, {500, 300});
    form->DoCommand(cmd::kCut, nullptr);
    QCOMPARE(Cell().Count(), 0);
    QVERIFY(other->IsCommandEnabled(cmd::kPaste));
    other->DoCommand(cmd::kPaste, nullptr);
    QCOMPARE(other->Cell()->Count(), 3);
    QCOMPARE(other->Tool().Selection().size(), size_t(2));
    const TRect v = other->VisibleRect();
    for (TBlock* b : other->Tool().Selection()) QVERIFY(v.Contains(b->Bounds().TopLeft()));
    // A move made elsewhere repaints the old and the new place in this window.
    PaintRecorder painted;
    other->Painter()->installEventFilter(&painted);
    QCoreApplication::processEvents();
    painted.region = QRegion();
    TBlock* moved = other->Tool().Selection().back();
    const QRect oldPlace = moved->Bounds().ToQRect();
    model->MoveBlocks(cell2, {moved}, QPoint(0, 40));
    QCoreApplication::processEvents();
    QVERIFY(painted.region.contains(oldPlace));
    QVERIFY(painted.region.contains(moved->Bounds().ToQRect()));
    const TRect seen = other->VisibleRect();
    QVERIFY(!painted.region.intersects(QRect(seen.right - 30, seen.bottom - 30, 10, 10)));
    // The first window now shows the same cell and deletes them.
    form->ShowElement(cell2);
    QCOMPARE(form->Cell(), other->Cell());
    TBlock* pasted = other->Tool().Selection().front();
    model->DeleteBlocks(cell2, {pasted});
    QCOMPARE(other->Tool().Selection().size(), size_t(1));
    form->DoCommand(cmd::kUndo, nullptr);
    QCOMPARE(other->Cell()->Count(), 3);
  }

  // Deleting the shown cell shows the one before it, or the first one
  // left; without cells the window closes.
  void deletedCellSwitches() {
    model->NewCell(2);
    const int32_t third = model->Cells()[2]->CellId();
    form->ShowElement(third);
    model->DeleteCell(third);
    QCOMPARE(form->ShownElement(), cell2);
    form->ShowElement(cell1);
    model->DeleteCell(cell1);
    QCOMPARE(form->ShownElement(), cell2);
    QCOMPARE(form->windowTitle(), QStringLiteral("Programmzelleneditor - Gelb"));
    model->DeleteCell(cell2);
    QCOMPARE(form->Cell(), nullptr);
    QTRY_VERIFY(!form->isVisible());
  }

  // While simulating only breakpoint, run-to-here, watch and block help
  // stay enabled and left clicks do nothing; live values appear, follow
  // single steps and go away when the simulation stops.
  void simulationAndLiveValues() {
    // word[2] := 1234, then a write to the data file (a point where a step halts).
    TBlock* word = model->InsertBlock(cell1, 602, TRect{100, 100, 500, 500});
    word->SetData(0, QStringLiteral("2"));
    TBlock* value = model->InsertBlock(cell1, kConst, TRect{100, 200, 500, 500});
    value->SetData(0, QStringLiteral("1234"));
    QVERIFY(mt::Connect(*model, *value, *word));
    model->InsertBlock(cell1, 800, TRect{100, 300, 500, 500});
    QCOMPARE(Compile(model->Engine()), 0);
    model->SetCompiled(true);
    QVERIFY(word->IsWatchable());
    QVERIFY(!form->IsCommandEnabled(cmd::kLiveValues));
    model->RunCommand(cmd::kSingleStep);
    model->Step();  // the page marker
    QVERIFY(model->IsSimulating());
    for (int32_t c : std::initializer_list<int32_t>{cmd::kCut, cmd::kPaste, cmd::kUndo, cmd::kInsertCell, cmd::kAlignLeft, 20700, 29999})
      QVERIFY2(!form->IsCommandEnabled(c), qPrintable(QString::number(c)));
    QVERIFY(form->IsCommandEnabled(cmd::kToggleBreakpoint));
    const QPoint before = word->Bounds().TopLeft();
    Drag(before + QPoint(3, 3), before + QPoint(60, 60));
    QCOMPARE(word->Bounds().TopLeft(), before);
    QVERIFY(form->Tool().Selection().empty());

    QVERIFY(form->IsCommandEnabled(cmd::kLiveValues));
    form->DoCommand(cmd::kLiveValues, nullptr);
    QVERIFY(form->LiveValuesOn());
    int32_t v = -1;
    QVERIFY(form->LiveValues().ValueOf(word->Id(), v));
    QCOMPARE(v, 0);
    QVERIFY(!form->LiveValues().ValueOf(value->Id(), v));  // a constant has no variable
    model->RunCommand(cmd::kSingleStep);
    model->Step();  // up to the file write
    QTRY_VERIFY(form->LiveValues().ValueOf(word->Id(), v) && v == 1234);
    const TRect label = form->LiveValues().LabelRect(word->Bounds(), v);
    QVERIFY(Pixel(QPoint(label.left + 1, label.top + 1)) != Background());
    model->RunCommand(cmd::kReset);
    QTRY_VERIFY(!form->LiveValuesOn());
    QVERIFY(form->LiveValues().Empty());
    QCOMPARE(Pixel(QPoint(label.left + 1, label.top + 1)), Background());
  }

  // At 200 % and 50 % the same gestures hit the same blocks.
  void zoomedHitTests() {
    TBlock* a = Put(kConst, 100, 100);
    TBlock* n = Put(kNot, 300, 100);
    form->SetZoom(2.0);
    form->Scroller()->horizontalScrollBar()->setValue(0);
    form->Scroller()->verticalScrollBar()->setValue(0);
    QCOMPARE(Surface()->width(), 4000);
    Drag({100, 100}, {200, 150});
    QCOMPARE(form->Tool().Selection().size(), size_t(1));
    Drag(a->Bounds().TopLeft() + QPoint(4, 4), a->Bounds().TopLeft() + QPoint(24, 44));
    QCOMPARE(a->Bounds().TopLeft(), QPoint(125, 145));
    for (int i = 0; i < 5; ++i) QTest::keyClick(form, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(form->Zoom(), 0.5);
    QVERIFY(!form->IsCommandEnabled(cmd::kZoomOut));
    form->Scroller()->horizontalScrollBar()->setValue(0);
    form->Scroller()->verticalScrollBar()->setValue(0);
    Click(a->Bounds().TopLeft() + QPoint(4, 4));
    QVERIFY(form->Tool().DrawingWire());
    Click(n->Bounds().TopLeft() + QPoint(4, 4));
    QVERIFY(n->GetInput(0));
  }

  // A double-click on a block opens its properties and leaves no wire
  // started; quick clicks elsewhere while drawing still place bends.
  void doubleClickOpensProperties() {
    // What a widget gets of a double-click: press, release, press, the
    // double-click event, release, a few milliseconds apart.
    quint64 clock = 1000000;
    auto doubleClick = [this, &clock](QPoint p) {
      const QPointF at(W(p));
      const QPointF global = Surface()->mapToGlobal(at);
      const std::pair<QEvent::Type, Qt::MouseButtons> steps[] = {
          {QEvent::MouseButtonPress, Qt::LeftButton},    {QEvent::MouseButtonRelease, Qt::NoButton},
          {QEvent::MouseButtonPress, Qt::LeftButton},    {QEvent::MouseButtonDblClick, Qt::LeftButton},
          {QEvent::MouseButtonRelease, Qt::NoButton}};
      for (const auto& [type, buttons] : steps) {
        QMouseEvent event(type, at, global, Qt::LeftButton, buttons, Qt::NoModifier);
        event.setTimestamp(clock += 40);
        QApplication::sendEvent(Surface(), &event);
      }
      clock += 5000;
    };
    TBlock* comment = model->InsertTextBlock(form->ShownElement(), TRect{600, 100, 900, 300});
    TBlock* src = Put(kConst, 100, 100);
    TBlock* dst = Put(kNot, 400, 300);
    ui.Clear();
    RecordingUserInterface::Reply reply;
    reply.accept = true;
    reply.text = QStringLiteral("Neu");
    ui.replies.push_back(reply);
    doubleClick(comment->Bounds().TopLeft() + QPoint(10, 10));
    QCOMPARE(ui.Count("EditComment"), 1);
    QVERIFY(static_cast<TTextBlock*>(comment)->GetData(0).startsWith(QStringLiteral("Neu\r\n")));
    QVERIFY(!form->Tool().Busy() && !form->Tool().DrawingWire());
    // A source block: the first click starts a wire, the second opens the
    // engine's parameter dialog instead, and no wire is left drawing.
    QString dialogTitle;
    QTimer::singleShot(200, [&dialogTitle] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        dialogTitle = dialog->windowTitle();
        dialog->close();
      }
    });
    doubleClick(src->Bounds().TopLeft() + QPoint(10, 10));
    QVERIFY(!dialogTitle.isEmpty());
    QVERIFY(!form->Tool().DrawingWire());
    QCOMPARE(Beeps(TUserInterface::Sound::Stop), 0);
    // While drawing, a quick double-click on the empty surface places bends.
    Click(src->Bounds().TopLeft() + QPoint(10, 10));
    QVERIFY(form->Tool().DrawingWire());
    doubleClick({300, 120});
    QVERIFY(form->Tool().DrawingWire());
    Click(dst->Bounds().TopLeft() + QPoint(5, 5));
    QVERIFY(dst->GetInput(0));
    QVERIFY(dst->GetInput(0)->pointCount >= 3);
  }

  // Zooming keeps the cell point in the middle of the view (keys, menu) or
  // under the mouse (Ctrl+wheel) where it was, also in, out and in again
  // where the smaller drawing had to clamp the scroll position.
  void zoomKeepsItsAnchor() {
    QScrollBar* h = form->Scroller()->horizontalScrollBar();
    QScrollBar* v = form->Scroller()->verticalScrollBar();
    QWidget* viewport = form->Scroller()->viewport();
    auto cellAt = [&](QPoint viewportPos) { return QPointF(Surface()->mapFrom(viewport, viewportPos)) / form->Zoom(); };
    const QPoint middle(viewport->width() / 2, viewport->height() / 2);
    // Near the far corner of the drawing, as a comment often is.
    h->setValue(h->maximum());
    v->setValue(v->maximum());
    const QPointF before = cellAt(middle);
    const QPoint scroll(h->value(), v->value());
    form->DoCommand(cmd::kZoomIn, nullptr);
    QVERIFY((cellAt(middle) - before).manhattanLength() < 3);
    form->DoCommand(cmd::kZoomOut, nullptr);
    form->DoCommand(cmd::kZoomOut, nullptr);
    form->DoCommand(cmd::kZoomOut, nullptr);
    QCOMPARE(form->Zoom(), 0.5);
    form->DoCommand(cmd::kZoomIn, nullptr);
    form->DoCommand(cmd::kZoomIn, nullptr);
    QCOMPARE(form->Zoom(), 1.0);
    QCOMPARE(QPoint(h->value(), v->value()), scroll);
    // Ctrl+wheel at a point: that cell point stays under the mouse.
    h->setValue(300);
    v->setValue(200);
    const QPoint mouse(viewport->width() / 4, viewport->height() / 3);
    const QPointF under = cellAt(mouse);
    const QPoint at = Surface()->mapFrom(viewport, mouse);
    QWheelEvent wheel(QPointF(at), QPointF(Surface()->mapToGlobal(at)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Surface(), &wheel);
    QCOMPARE(form->Zoom(), 1.25);
    QVERIFY((cellAt(mouse) - under).manhattanLength() < 3);
  }

  // Dragging past the edge scrolls, faster and faster, in steps of 2 grid sizes.
  void autoScroll() {
    Press({100, 100});
    const QSize vp = form->Scroller()->viewport()->size();
    Move({vp.width() + 30, 100});
    QVERIFY(form->AutoScrolling());
    QTRY_VERIFY(form->Scroller()->horizontalScrollBar()->value() >= 60);
    QVERIFY(form->AutoScrollInterval() < 150);
    QCOMPARE(form->Scroller()->horizontalScrollBar()->value() % 20, 0);
    QCOMPARE(form->Scroller()->verticalScrollBar()->value(), 0);
    const int h = form->Scroller()->horizontalScrollBar()->value();
    Move({h + 100, 100});
    QVERIFY(!form->AutoScrolling());
    Release({h + 100, 100});
    QVERIFY(!form->Tool().Busy());
    // A wire being drawn (no button held) keeps the mouse and scrolls as well.
    TBlock* a = Put(kConst, h + 100, 100);
    Click(a->Bounds().TopLeft() + QPoint(5, 5));
    QVERIFY(form->Tool().DrawingWire());
    Move({h + 150, vp.height() + 5});  // over the horizontal scroll bar
    QVERIFY(form->AutoScrolling());
    QTRY_VERIFY(form->Scroller()->verticalScrollBar()->value() >= 40);
    Click({h + 150, 200}, Qt::RightButton);
    QVERIFY(!form->Tool().DrawingWire());
    QTRY_VERIFY(!form->AutoScrolling());
  }

  // The window's desktop data: the cell and both scroll positions.
  void desktopRoundTrip() {
    form->ShowElement(cell2);
    form->Scroller()->horizontalScrollBar()->setValue(230);
    form->Scroller()->verticalScrollBar()->setValue(410);
    QByteArray bytes;
    {
      QDataStream out(&bytes, QIODevice::WriteOnly);
      form->WriteDesktop(out);
    }
    auto other = std::make_unique<TProgramCellForm>(model.get());
    other->resize(640, 480);
    QDataStream in(bytes);
    other->ReadDesktop(in);
    other->show();
    QCOMPARE(other->ShownElement(), cell2);
    QTRY_COMPARE(other->Scroller()->horizontalScrollBar()->value(), 230);
    QCOMPARE(other->Scroller()->verticalScrollBar()->value(), 410);
    // Garbage does not crash and shows what is there.
    QByteArray junk("\x01", 1);
    QDataStream bad(junk);
    other->ReadDesktop(bad);
    QCOMPARE(other->ShownElement(), cell2);
  }

  // Palette buttons and the block menu send 20000 + type id; inserting
  // goes into the visible part of the cell.
  void paletteInserts() {
    TBlockCatalogue::Instance().Clear();
    TBlockPalette palette;
    QSignalSpy spy(&palette, &TBlockPalette::CommandTriggered);
    connect(&palette, &TBlockPalette::CommandTriggered, form, [this](int32_t c) {
      if (form->IsCommandEnabled(c)) form->DoCommand(c, nullptr);
    });
    QCOMPARE(palette.GroupSelector()->count(), 0);
    QVERIFY(!palette.ForwardButton()->isEnabled());
    palette.TextBlockButton()->click();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.at(0).at(0).toInt(), int(cmd::kInsertTextBlock));
    QCOMPARE(Cell().Count(), 1);
    form->Scroller()->verticalScrollBar()->setValue(500);
    form->DoCommand(cmd::kInsertBlockBase + kConst, nullptr);
    QVERIFY(Cell().Items(1)->Bounds().top >= 500);
    QCOMPARE(palette.TextBlockButton()->accessibleName(), QStringLiteral("Kommentar"));
    std::unique_ptr<QMenu> menu(palette.BuildBlockMenu(nullptr));
    QCOMPARE(menu->title(), QStringLiteral("B&löcke"));
  }

  // Groups, eight buttons, the arrows and the block menu from the catalogue.
  void paletteGroups() {
    TBlockCatalogue::Instance().Load(std::make_unique<PaletteSource>());
    TBlockPalette palette;
    palette.show();
    QSignalSpy spy(&palette, &TBlockPalette::CommandTriggered);
    QCOMPARE(palette.GroupSelector()->count(), 2);
    QCOMPARE(palette.GroupSelector()->itemText(0), QStringLiteral("Arithmetik"));
    for (int i = 0; i < TBlockPalette::kButtons; ++i) QVERIFY(palette.BlockButton(i)->isVisible());
    QCOMPARE(palette.BlockButton(0)->accessibleName(), QStringLiteral("Typ 0"));
    QVERIFY(!palette.BackwardButton()->isEnabled());
    QVERIFY(palette.ForwardButton()->isEnabled());
    palette.ForwardButton()->click();
    palette.ForwardButton()->click();
    QVERIFY(!palette.ForwardButton()->isEnabled());
    QVERIFY(palette.BackwardButton()->isEnabled());
    QCOMPARE(palette.BlockButton(7)->accessibleName(), QStringLiteral("Typ 9"));
    palette.BlockButton(7)->click();
    QCOMPARE(spy.takeFirst().at(0).toInt(), cmd::kInsertBlockBase + 209);
    // A group of one type: one button, no arrows, the missing glyph reported.
    palette.GroupSelector()->setCurrentIndex(1);
    QCOMPARE(palette.Offset(), 0);
    QVERIFY(palette.BlockButton(0)->isVisible());
    QVERIFY(!palette.BlockButton(1)->isVisible());
    QVERIFY(!palette.ForwardButton()->isEnabled());
    QCOMPARE(ui.Texts("ErrorBox"), QStringList{QStringLiteral("Konnte Bitmap GLY_MISSING nicht finden!")});
    palette.SetCommandEnabler([](int32_t tag) { return tag != cmd::kInsertBlockBase + 700; });
    palette.UpdateCommandStates();
    QVERIFY(!palette.BlockButton(0)->isEnabled());
    // An invalid group hides every button.
    palette.SelectGroup(5);
    QVERIFY(!palette.BlockButton(0)->isVisible());
    QVERIFY(!palette.BackwardButton()->isEnabled() && !palette.ForwardButton()->isEnabled());
    std::unique_ptr<QMenu> menu(palette.BuildBlockMenu(nullptr));
    QMenu* calc = menu->actions().at(0)->menu();
    QVERIFY(calc);
    QCOMPARE(calc->actions().size(), 10);
    calc->actions().at(3)->trigger();
    QCOMPARE(spy.takeFirst().at(0).toInt(), cmd::kInsertBlockBase + 203);
    TBlockCatalogue::Instance().Clear();
  }
};

}  // namespace

QTEST_MAIN(CellWindowTest)


#include "CellWindowTest.moc"
