#include <QTemporaryDir>
#include <algorithm>
#include <functional>

#include "ModelTestSupport.h"
#include "Notifications.h"
#include "ProjectBuilder.h"
#include "TTextBlock.h"
#include "UndoActions.h"

namespace {

using mt::EnsureApp;

class Undo : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
  // The whole project as its file text: what undo must bring back exactly.
  QByteArray Snapshot() {
    QTemporaryDir dir;
    QString name = dir.filePath("s.tvp");
    m.SaveToFile(name);
    return mt::ReadFile(name);
  }
  // The project text with the block records of each cell sorted (undoing a
  // deletion brings the blocks back at the end of their cell) and without
  // the table counter (a table once named keeps its number used).
  static QByteArray Canonical(const QByteArray& text) {
    QList<QByteArray> out;
    QList<QByteArray> records;
    QByteArray record;
    bool inRecord = false;
    QList<QByteArray> lines = text.split('\n');
    if (lines.size() > 2) lines.removeAt(2);
    for (const QByteArray& line : lines) {
      if (line.startsWith("#BLOCK_START")) inRecord = true;
      if (inRecord) {
        record += line + '\n';
        if (line.startsWith("#BLOCK_END")) {
          records << record;
          record.clear();
          inRecord = false;
        }
        continue;
      }
      if (line.startsWith("#CELL_END")) {
        std::sort(records.begin(), records.end());
        out << records;
        records.clear();
      }
      out << line + '\n';
    }
    return out.join();
  }
  // Undoes and redoes the newest action, checking the project both ways.
  void RoundTrip(const QByteArray& before) {
    const QByteArray after = Snapshot();
    ASSERT_TRUE(m.CanUndo());
    m.Undo();
    EXPECT_EQ(Canonical(Snapshot()), Canonical(before)) << Snapshot().toStdString() << "----\n" << before.toStdString();
    mt::ExpectEngineMatches(m);
    ASSERT_TRUE(m.CanRedo());
    m.Redo();
    EXPECT_EQ(Canonical(Snapshot()), Canonical(after));
    mt::ExpectEngineMatches(m);
  }
  RecordingUserInterface ui;
  TTarvixPlusModel m;
};

TEST_F(Undo, CellOperations) {
  QByteArray s0 = Snapshot();
  m.NewCell(-1);
  RoundTrip(s0);
  int32_t cell = mt::AddCounterCell(m);
  m.NewCell(-1);
  QByteArray s1 = Snapshot();
  m.RenameCell(cell, QStringLiteral("Zähler"));
  RoundTrip(s1);
  QByteArray s2 = Snapshot();
  m.MoveCell(cell, m.Cells().back()->CellId());
  RoundTrip(s2);
  EXPECT_EQ(mt::EnginePageOrder(m.Engine()), (std::vector<int32_t>{1, 3, 2}));
  QByteArray s3 = Snapshot();
  m.DeleteCell(cell);
  RoundTrip(s3);
  // Deleting and undoing brings the cell back at its index with its id, name, blocks and wires.
  m.Undo();
  ASSERT_EQ(m.Cells().size(), 3u);
  EXPECT_EQ(m.Cells()[2]->CellId(), cell);
  EXPECT_EQ(m.Cells()[2]->Name(), QStringLiteral("Zähler"));
  EXPECT_EQ(m.Cells()[2]->Count(), 4);
  EXPECT_EQ(mt::CompileProject(m.Engine()), 0);
  QByteArray s4 = Snapshot();
  m.DuplicateCell(cell, 1);
  RoundTrip(s4);
  EXPECT_EQ(m.Cells()[0]->Count(), 4);
  EXPECT_EQ(m.Cells()[0]->Items(3)->GetInput(0)->source >> 16, m.Cells()[0]->CellId());
  EXPECT_EQ(mt::CompileProject(m.Engine()), 0);
}

TEST_F(Undo, BlockOperations) {
  int32_t cell = mt::AddCounterCell(m);
  TBlockList& c = *m.FindCell(cell);
  QByteArray s0 = Snapshot();
  m.InsertBlock(cell, 205, TRect{0, 0, 500, 500});
  RoundTrip(s0);
  QByteArray s1 = Snapshot();
  // Two wired blocks out of three: undo restores both and the third's wires.
  TBlockSelection del{c.Items(1), c.Items(2)};
  m.DeleteBlocks(cell, del);
  EXPECT_EQ(c.Items(0)->GetInput(0), nullptr);
  RoundTrip(s1);
  m.Undo();
  EXPECT_NE(c.FindBlock(0x10002), nullptr);
  EXPECT_NE(c.FindBlock(0x10001)->GetInput(0), nullptr);
  EXPECT_EQ(mt::CompileProject(m.Engine()), 0);
  QByteArray s2 = Snapshot();
  m.MoveBlocks(cell, TBlockSelection{c.FindBlock(0x10002)}, QPoint(40, 30));
  RoundTrip(s2);
  QByteArray s3 = Snapshot();
  m.AlignBlocks(cell, TBlockSelection{c.FindBlock(0x10001), c.FindBlock(0x10003)}, 1);
  RoundTrip(s3);
  QByteArray s4 = Snapshot();
  TBlock* comment = m.InsertTextBlock(cell, TRect{0, 400, 500, 900});
  QByteArray s5 = Snapshot();
  RecordingUserInterface::Reply reply = mt::WithText(QStringLiteral("Neuer Text"));
  ui.replies.push_back(reply);
  ASSERT_TRUE(m.EditBlock(cell, 0, comment->Id()));
  RoundTrip(s5);
  m.Undo();
  m.Undo();
  EXPECT_EQ(Canonical(Snapshot()), Canonical(s4));
}

TEST_F(Undo, WireOperations) {
  int32_t cell = mt::AddCounterCell(m);
  TBlockList& c = *m.FindCell(cell);
  TBlock* print = c.FindBlock(0x10004);
  QByteArray s0 = Snapshot();
  ASSERT_TRUE(m.RemoveWire(print->Id(), 0));
  RoundTrip(s0);
  m.Undo();  // the wire is back
  ASSERT_NE(print->GetInput(0), nullptr);
  QByteArray s1 = Snapshot();
  auto route = std::make_unique<TInputLine>(*print->GetInput(0));
  route->InsertBend(QPoint(250, 60));
  route->Update();
  ASSERT_TRUE(m.SetWireRoute(print->Id(), 0, std::move(route)));
  RoundTrip(s1);
  ASSERT_TRUE(m.RemoveWire(print->Id(), 0));
  QByteArray s2 = Snapshot();
  int input = -1;
  ASSERT_TRUE(m.ConnectWire(print->Id(), input, mt::WireBetween(*c.FindBlock(0x10003), *print)));
  EXPECT_EQ(input, 0);
  RoundTrip(s2);
}

TEST_F(Undo, TableOperations) {
  QByteArray s0 = Snapshot();
  m.NewTable(true);
  RoundTrip(s0);
  m.SetTableData(*m.FindTable(1), {"1 2 3"});
  QByteArray s1 = Snapshot();
  m.RenameTable(1, QStringLiteral("Kurve"));
  RoundTrip(s1);
  QByteArray s2 = Snapshot();
  m.DeleteTable(1);
  RoundTrip(s2);
}

TEST_F(Undo, HistoryRules) {
  m.NewCell(-1);
  EXPECT_TRUE(m.Modified());
  m.Undo();
  EXPECT_FALSE(m.Modified());  // the only action of a fresh project
  m.Redo();
  EXPECT_TRUE(m.Modified());
  m.Undo();
  EXPECT_TRUE(m.CanRedo());
  m.NewCell(-1);
  EXPECT_FALSE(m.CanRedo());  // a new edit empties the redo list

  QTemporaryDir dir;
  m.SetFileName(dir.filePath("h.tvp"));
  ASSERT_TRUE(m.Save());
  EXPECT_FALSE(m.CanUndo());
  EXPECT_FALSE(m.Modified());

  for (int i = 0; i < 101; ++i) m.RenameCell(1, QStringLiteral("N%1").arg(i));
  EXPECT_EQ(m.UndoList().size(), 100u);
  EXPECT_TRUE(m.UndoTruncated());
  for (int i = 0; i < 100; ++i) m.Undo();
  EXPECT_EQ(m.Cells()[0]->Name(), QStringLiteral("N0"));
  EXPECT_TRUE(m.Modified());  // the history was cut, so the file may differ
}

// Comment and table data are edited without undo actions: undoing the only
// recorded action afterwards must not pass the project off as saved.
TEST_F(Undo, UnrecordedEditsKeepTheProjectModified) {
  const std::pair<const char*, std::function<void(TTarvixPlusModel&)>> edits[] = {
      {"comment", [](TTarvixPlusModel& p) { p.SetComment({"Neuer Kommentar"}); }},
      {"table data", [](TTarvixPlusModel& p) { p.SetTableData(*p.FindTable(1), {"1 2 3"}); }},
  };
  QTemporaryDir dir;
  for (const auto& [what, edit] : edits) {
    SCOPED_TRACE(what);
    TTarvixPlusModel p;
    p.NewTable(true);
    p.SetFileName(dir.filePath("u.tvp"));
    ASSERT_TRUE(p.Save());
    p.NewCell(-1);
    edit(p);
    p.Undo();
    EXPECT_TRUE(p.Modified());
    // Saving starts afresh: undoing back to it clears the mark again.
    ASSERT_TRUE(p.Save());
    p.NewCell(-1);
    p.Undo();
    EXPECT_FALSE(p.Modified());
  }
}

// Replaying an action that changes what the compiler reads makes a compiled
// program stale, both ways; only a move of blocks keeps it.
TEST_F(Undo, ReplayMakesTheProgramStaleUnlessOnlyBlocksMoved) {
  QTemporaryDir dir;
  mt::WriteFile(dir.filePath("alt.tab"), "1 2");
  struct Row {
    const char* what;
    std::function<void(TTarvixPlusModel&, int32_t cell)> edit;
    bool stale;
  };
  const Row rows[] = {
      {"parameter",
       [](TTarvixPlusModel& p, int32_t cell) {
         TBlock* one = p.FindCell(cell)->FindBlock(0x10003);
         auto action = std::make_unique<TEditBlockUndoAction>();
         action->BlockId = one->Id();
         action->Text = one->GetData(0);
         p.PushUndo(std::move(action));
         one->SetData(0, QStringLiteral("5"));
       },
       true},
      {"insert block", [](TTarvixPlusModel& p, int32_t cell) { p.InsertBlock(cell, 700, TRect{0, 600, 400, 900}); }, true},
      {"delete blocks", [](TTarvixPlusModel& p, int32_t cell) { p.DeleteBlocks(cell, {p.FindCell(cell)->FindBlock(0x10004)}); }, true},
      {"wire", [](TTarvixPlusModel& p, int32_t) { p.RemoveWire(0x10004, 0); }, true},
      {"rename cell", [](TTarvixPlusModel& p, int32_t cell) { p.RenameCell(cell, QStringLiteral("Neu")); }, true},
      {"new cell", [](TTarvixPlusModel& p, int32_t) { p.NewCell(-1); }, true},
      {"table file",
       [&dir](TTarvixPlusModel& p, int32_t) {
         p.PushUndo(std::make_unique<TEditTableFileUndoAction>(1, dir.filePath("alt.tab")));
       },
       true},
      {"move blocks",
       [](TTarvixPlusModel& p, int32_t cell) { p.MoveBlocks(cell, {p.FindCell(cell)->FindBlock(0x10004)}, QPoint(40, 0)); },
       false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TTarvixPlusModel p;
    const int32_t cell = mt::AddCounterCell(p);
    ui.replies.push_back(mt::WithText(dir.filePath("alt.tab")));
    ASSERT_TRUE(p.NewTable(false));
    row.edit(p, cell);
    const TSimState expected = row.stale ? TSimState::NotReady : TSimState::Ready;
    p.SetCompiled(true);
    p.Undo();
    EXPECT_EQ(p.SimState(), expected) << "undo";
    p.SetCompiled(true);
    p.Redo();
    EXPECT_EQ(p.SimState(), expected) << "redo";
  }
}

TEST_F(Undo, ActionsOnVanishedItemsFailCleanly) {
  m.NewCell(-1);
  m.NewTable(true);
  // The undo entries name items that a low-level change took away.
  m.RemoveCell(1);
  m.RemoveTable(1);
  m.Undo();  // the table insertion
  m.Undo();  // the cell insertion
  EXPECT_FALSE(m.CanUndo());
  EXPECT_TRUE(ui.Texts("ErrorBox").contains(QStringLiteral("Fehler in TDeleteTableUndoAction.SetUndoData: Tabelle nicht gefunden!")));
  EXPECT_TRUE(ui.Texts("ErrorBox").contains(QStringLiteral("Interner Fehler in TDeleteCellUndoAction.SetUndoData: Zelle nicht gefunden!")));
  TMoveBlocksUndoAction empty;
  EXPECT_FALSE(empty.Perform(m, false));
}

}  // namespace
