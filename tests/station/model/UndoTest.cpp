#include <QTemporaryDir>
#include <algorithm>
#include <functional>

#include "ModelTestSupport.h"
#include "ProjectBuilder.h"
#include "TInputLine.h"
#include "UndoActions.h"

namespace {

using mt::EnsureApp;
using Edit = std::function<bool(TTarvixPlusModel&)>;

constexpr int32_t kWord = 0x10001, kAdd = 0x10002, kOne = 0x10003, kPrint = 0x10004;

// The project text with the block records of each cell sorted (undoing a
// deletion brings the blocks back at the end of their cell) and without the
// table counter (a table once named keeps its number used).
QByteArray Canonical(const QByteArray& text) {
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

// Compared as text, so that a failure shows the lines that differ.
std::string Snapshot(const TTarvixPlusModel& p) { return Canonical(p.SaveToBytes()).toStdString(); }

TBlock* Block(const TTarvixPlusModel& p, int32_t id) { return p.FindCell(id >> 16)->FindBlock(id); }

// The adder and the constant of the counter pasted into its cell (as 0x10005 and 0x10006).
bool PasteTwoBlocks(TTarvixPlusModel& p) {
  p.CopyBlocks(1, {Block(p, kOne), Block(p, kAdd)});
  TBlockSelection pasted;
  p.PasteBlocks(1, pasted);
  return pasted.size() == 2;
}

std::vector<int32_t> CellOrder(const TTarvixPlusModel& p) {
  std::vector<int32_t> order;
  for (const auto& cell : p.Cells()) order.push_back(cell->CellId());
  return order;
}

class Undo : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    mt::WriteFile(dir.filePath("a.tab"), "1 2");
    mt::WriteFile(dir.filePath("b.tab"), "3 4");
  }
  // A saved project: the counter in cell 1, a comment block in cell 2, an
  // internal table 1 and an external table 2; nothing to undo, unmodified.
  void Build(TTarvixPlusModel& p, const Edit& prepare = nullptr) {
    mt::AddCounterCell(p);
    p.NewCell(-1);
    p.InsertTextBlock(2, TRect{0, 0, 500, 300});
    p.NewTable(true);
    p.SetTableData(*p.FindTable(1), {"1 2 3"});
    ui.replies.push_back(mt::WithText(dir.filePath("a.tab")));
    ASSERT_TRUE(p.NewTable(false));
    if (prepare) {
      ASSERT_TRUE(prepare(p));
    }
    p.SetFileName(dir.filePath("u.tvp"));
    ASSERT_TRUE(p.Save());
    ASSERT_FALSE(p.CanUndo());
    ASSERT_FALSE(p.Modified());
  }
  QTemporaryDir dir;
  RecordingUserInterface ui;
};

// Every user edit is one action; undoing it returns the exact project (and
// the engine with it) and the unmodified mark, redoing returns the edit, and
// both ways the compiled program goes stale unless only positions changed.
TEST_F(Undo, EveryEditUndoesAndRedoesExactly) {
  struct Row {
    const char* what;
    Edit edit;
    bool stale = true;
    Edit prepare = nullptr;
  };
  const Row rows[] = {
      {"new cell", [](auto& p) { return p.NewCell(0); }},
      {"duplicate cell", [](auto& p) { return p.DuplicateCell(1, 2); }},
      {"paste cell", [](auto& p) { return p.CopyCell(1), p.PasteCell(1); }},
      {"delete cell", [](auto& p) { return p.DeleteCell(1), true; }},
      {"rename cell", [](auto& p) { return p.RenameCell(1, QStringLiteral("Zähler")), true; }},
      {"move cell", [](auto& p) { return p.MoveCell(1, 2), true; }},
      {"insert block", [](auto& p) { return p.InsertBlock(1, 205, TRect{0, 600, 500, 900}) != nullptr; }},
      {"insert comment", [](auto& p) { return p.InsertTextBlock(1, TRect{0, 600, 500, 900}) != nullptr; }},
      {"edit comment",
       [this](auto& p) {
         ui.replies.push_back(mt::WithText(QStringLiteral("Neuer Text")));
         return p.EditBlock(2, 0, 0x20001);
       }},
      {"delete two wired blocks of three", [](auto& p) { return p.DeleteBlocks(1, {Block(p, kAdd), Block(p, kOne)}), true; }},
      {"paste blocks", PasteTwoBlocks},
      {"move blocks", [](auto& p) { return p.MoveBlocks(1, {Block(p, kAdd)}, QPoint(40, 30)), true; }, false},
      {"align blocks", [](auto& p) { return p.AlignBlocks(1, {Block(p, kWord), Block(p, kOne)}, 1); }, false},
      {"remove wire", [](auto& p) { return p.RemoveWire(kPrint, 0); }},
      {"route wire",
       [](auto& p) {
         auto route = std::make_unique<TInputLine>(*Block(p, kPrint)->GetInput(0));
         route->InsertBend(QPoint(250, 60));
         route->Update();
         return p.SetWireRoute(kPrint, 0, std::move(route));
       }},
      {"connect wire",
       [](auto& p) {
         int input = -1;
         return p.ConnectWire(kPrint, input, mt::WireBetween(*Block(p, kWord), *Block(p, kPrint))) && input == 0;
       },
       true, [](auto& p) { return p.RemoveWire(kPrint, 0); }},
      {"new table", [](auto& p) { return p.NewTable(true); }},
      {"paste table", [](auto& p) { return p.CopyTable(1), p.PasteTable(); }},
      {"delete table", [](auto& p) { return p.DeleteTable(1), true; }},
      {"rename table", [](auto& p) { return p.RenameTable(2, QStringLiteral("Kurve")), true; }},
      {"table file",
       [this](auto& p) {
         TConversionTable& table = *p.FindTable(2);
         const QString old = table.ExternalFile;
         ui.replies.push_back(mt::WithText(dir.filePath("b.tab")));
         if (!p.ChooseTableFile(table)) return false;
         p.PushUndo(std::make_unique<TEditTableFileUndoAction>(2, old));
         return true;
       }},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TTarvixPlusModel p;
    Build(p, row.prepare);
    const std::string before = Snapshot(p);
    ASSERT_TRUE(row.edit(p));
    ASSERT_EQ(p.UndoList().size(), 1u);
    const std::string after = Snapshot(p);
    ASSERT_NE(after, before);
    const TSimState expected = row.stale ? TSimState::NotReady : TSimState::Ready;
    // Twice: what redoing recorded must undo as well as the user's edit did.
    for (int round = 1; round <= 2; ++round) {
      SCOPED_TRACE(round);
      p.SetCompiled(true);
      p.Undo();
      EXPECT_EQ(Snapshot(p), before);
      mt::ExpectEngineMatches(p);
      EXPECT_EQ(mt::EnginePageOrder(p.Engine()), CellOrder(p));  // the program compiles, pages in cell order
      EXPECT_FALSE(p.Modified());
      EXPECT_EQ(p.SimState(), expected) << "undo";
      ASSERT_TRUE(p.CanRedo());
      p.SetCompiled(true);
      p.Redo();
      EXPECT_EQ(Snapshot(p), after);
      mt::ExpectEngineMatches(p);
      EXPECT_TRUE(p.Modified());
      EXPECT_EQ(p.SimState(), expected) << "redo";
      ASSERT_TRUE(p.CanUndo());
    }
    EXPECT_EQ(ui.Count("ErrorBox"), 0) << ui.Texts("ErrorBox").join('\n').toStdString();
  }
}

// An action that no longer fits the project (a low-level change took away
// what it names) is reported once, changes nothing and is dropped; the
// history can then no longer lead back to the saved file.
TEST_F(Undo, ActionsThatNoLongerFitFailCleanly) {
  struct Row {
    const char* what;
    Edit edit;
    std::function<void(TTarvixPlusModel&)> sabotage;
    const char* message;
    bool redo = false;  // the edit is undone first; the redo fails
  };
  const Row rows[] = {
      {"new cell gone", [](auto& p) { return p.NewCell(-1); }, [](auto& p) { p.RemoveCell(p.Cells().back()->CellId()); },
       "Interner Fehler in TDeleteCellUndoAction.SetUndoData: Zelle nicht gefunden!"},
      {"new table gone", [](auto& p) { return p.NewTable(true); }, [](auto& p) { p.RemoveTable(3); },
       "Fehler in TDeleteTableUndoAction.SetUndoData: Tabelle nicht gefunden!"},
      {"one of two moved blocks gone",
       [](auto& p) { return p.MoveBlocks(1, {Block(p, kAdd), Block(p, kOne)}, QPoint(40, 0)), true; },
       [](auto& p) { p.DeleteBlock(kOne); }, "Fehler in TMoveBlocksUndoAction.SaveRedoData: Block nicht gefunden!"},
      {"one of two pasted blocks gone", PasteTwoBlocks,
       [](auto& p) { p.DeleteBlock(0x10005); }, "Fehler in TInsertBlocksUndoAction.FindBlocksToDelete: Block nicht gefunden!"},
      {"cell of deleted blocks gone", [](auto& p) { return p.DeleteBlocks(1, {Block(p, kAdd)}), true; },
       [](auto& p) { p.RemoveCell(1); }, "Fehler in TDeleteBlocksUndoAction.UndoAction: Zelle nicht gefunden!"},
      {"block of a removed wire gone", [](auto& p) { return p.RemoveWire(kPrint, 0); },
       [](auto& p) { p.DeleteBlock(kPrint); }, "Fehler in TWireUndoAction.SetUndoData: Block nicht gefunden!"},
      {"property the block lacks",
       [](auto& p) { return p.PushUndo(std::make_unique<TEditBlockUndoAction>(kOne, 7, QStringLiteral("x"), 1)), true; },
       [](auto&) {}, "Interner Fehler in TGraphBlock.GetData"},
      {"deleted cell back and gone again", [](auto& p) { return p.DeleteCell(2), true; }, [](auto& p) { p.RemoveCell(2); },
       "Interner Fehler in TDeleteCellUndoAction.SetUndoData: Zelle nicht gefunden!", true},
      {"cell of an inserted block gone",
       [](auto& p) { return p.InsertBlock(2, 205, TRect{0, 600, 500, 900}) != nullptr; }, [](auto& p) { p.RemoveCell(2); },
       "Fehler in TDeleteBlockUndoAction.UndoAction: Zelle nicht gefunden!", true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TTarvixPlusModel p;
    Build(p);
    ASSERT_TRUE(p.NewCell(-1));  // an action that still fits, under the one that fails
    ASSERT_TRUE(row.edit(p));
    if (row.redo) p.Undo();
    row.sabotage(p);
    const std::string before = Snapshot(p);
    ui.Clear();
    if (row.redo) p.Redo();
    else p.Undo();
    EXPECT_EQ(ui.Texts("ErrorBox"), QStringList{QString::fromUtf8(row.message)});
    EXPECT_EQ(ui.Count("Beep"), 1);
    EXPECT_EQ(Snapshot(p), before);
    mt::ExpectEngineMatches(p);
    EXPECT_FALSE(p.CanRedo());
    ASSERT_EQ(p.UndoList().size(), 1u);
    p.Undo();
    EXPECT_TRUE(p.Modified());
  }
}

TEST_F(Undo, HistoryRules) {
  TTarvixPlusModel m;
  Build(m);
  m.NewCell(-1);
  EXPECT_TRUE(m.Modified());
  m.Undo();
  EXPECT_FALSE(m.Modified());  // the only action since saving
  m.Redo();
  EXPECT_TRUE(m.Modified());
  m.Undo();
  EXPECT_TRUE(m.CanRedo());
  m.NewCell(-1);
  EXPECT_FALSE(m.CanRedo());  // a new edit empties the redo list
  ASSERT_TRUE(m.Save());
  EXPECT_FALSE(m.CanUndo());
  EXPECT_FALSE(m.Modified());

  // The 101st edit drops the oldest: undoing everything then leaves the
  // project modified, and the redo list takes back all that is left.
  for (int i = 0; i <= 100; ++i) m.RenameCell(1, QStringLiteral("N%1").arg(i));
  EXPECT_EQ(m.UndoList().size(), TModel::kMaxUndo);
  EXPECT_TRUE(m.UndoTruncated());
  for (size_t i = 0; i < TModel::kMaxUndo; ++i) m.Undo();
  EXPECT_FALSE(m.CanUndo());
  EXPECT_EQ(m.Cells()[0]->Name(), QStringLiteral("N0"));
  EXPECT_TRUE(m.Modified());
  EXPECT_EQ(m.RedoList().size(), TModel::kMaxUndo);
  for (size_t i = 0; i < TModel::kMaxUndo; ++i) m.Redo();
  EXPECT_EQ(m.Cells()[0]->Name(), QStringLiteral("N100"));
  EXPECT_EQ(m.UndoList().size(), TModel::kMaxUndo);
  EXPECT_FALSE(m.CanRedo());
}

// Comment and table data are edited without undo actions: undoing the only
// recorded action afterwards must not pass the project off as saved.
TEST_F(Undo, UnrecordedEditsKeepTheProjectModified) {
  const std::pair<const char*, std::function<void(TTarvixPlusModel&)>> edits[] = {
      {"comment", [](TTarvixPlusModel& p) { p.SetComment({"Neuer Kommentar"}); }},
      {"table data", [](TTarvixPlusModel& p) { p.SetTableData(*p.FindTable(1), {"4 5 6"}); }},
  };
  for (const auto& [what, edit] : edits) {
    SCOPED_TRACE(what);
    TTarvixPlusModel p;
    Build(p);
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

}  // namespace
