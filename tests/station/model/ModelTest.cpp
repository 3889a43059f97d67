#include "ModelTestSupport.h"
#include "Notifications.h"
#include "ProjectBuilder.h"
#include "TTextBlock.h"

namespace {

using mt::EnsureApp;
using mt::RecordingView;

class Model : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    m.AddView(&view);
  }
  void TearDown() override { m.RemoveView(&view); }
  RecordingUserInterface ui;
  TTarvixPlusModel m;
  RecordingView view;
};

TEST_F(Model, CellIdsNamesAndOrder) {
  ASSERT_TRUE(m.NewCell(-1));
  ASSERT_TRUE(m.NewCell(-1));
  ASSERT_TRUE(m.NewCell(0));
  EXPECT_EQ(m.Cells()[0]->CellId(), 3);
  EXPECT_EQ(m.Cells()[0]->Name(), QStringLiteral("Zelle 3"));
  EXPECT_EQ(view.Codes(), (std::vector<int32_t>{2000, 2000, 2000}));
  EXPECT_TRUE(m.Modified());
  m.DeleteCell(1);
  m.NewCell(-1);
  EXPECT_EQ(m.Cells().back()->CellId(), 1);  // the freed id is taken again

  QString name = QStringLiteral("Zelle 7");
  EXPECT_FALSE(m.ValidateCellName(3, name));
  EXPECT_EQ(name, QStringLiteral("Zelle 3"));
  m.RenameCell(2, QStringLiteral("Pumpe"));
  name = QStringLiteral("PUMPE");
  EXPECT_FALSE(m.ValidateCellName(3, name));
  name = QStringLiteral("pumpe");
  EXPECT_TRUE(m.ValidateCellName(2, name));  // its own name in other case
  name = QString();
  EXPECT_FALSE(m.ValidateCellName(3, name));
  name = QStringLiteral("Zelle 3");
  EXPECT_TRUE(m.ValidateCellName(3, name));
  name = QStringLiteral("Zelle x");
  EXPECT_TRUE(m.ValidateCellName(3, name));

  // Cells 3, 2, 1: move 1 before 3, then 3 after 2.
  m.MoveCell(1, 3);
  EXPECT_EQ(m.Cells()[0]->CellId(), 1);
  m.MoveCell(3, 2);
  EXPECT_EQ(m.Cells()[2]->CellId(), 3);
  view.notes.clear();
  m.MoveCell(3, 3);
  m.MoveCell(3, 99);
  EXPECT_TRUE(view.notes.empty());
  EXPECT_EQ(mt::EnginePageOrder(m.Engine()), (std::vector<int32_t>{1, 2, 3}));
}

TEST_F(Model, TablesNumbersAndNames) {
  EXPECT_EQ(m.NextTableNumber(), 1);
  m.NewTable(true);
  m.NewTable(true);
  EXPECT_EQ(m.Tables()[1]->Name, QStringLiteral("Tabelle 2"));
  EXPECT_EQ(m.NextTableNumber(), 3);
  m.DeleteTable(1);
  EXPECT_EQ(m.Tables()[0]->Number, 1);
  EXPECT_EQ(m.Tables()[0]->Name, QStringLiteral("Tabelle 2"));
  m.NewTable(true);
  EXPECT_EQ(m.Tables()[1]->Number, 2);
  EXPECT_EQ(m.Tables()[1]->Name, QStringLiteral("Tabelle 4"));
  EXPECT_EQ(m.NextTableNumber(), 5);
  m.DeleteTable(9);
  EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("Fehler in TTarvixPlusModel.eDeleteTable: Tabelle nicht gefunden!"));
  QString name = QStringLiteral("tabelle 2");
  EXPECT_FALSE(m.ValidateTableName(2, name));
  EXPECT_EQ(name, QStringLiteral("Tabelle 4"));
  m.RenameTable(2, QStringLiteral("Kennlinie"));
  EXPECT_EQ(view.notes.back().code, notify::kTableRenamed);
  // An external table whose file the user does not pick is not created, the counter has moved on.
  EXPECT_FALSE(m.NewTable(false));
  EXPECT_EQ(m.NextTableNumber(), 6);
  EXPECT_EQ(m.Tables().size(), 2u);
  EXPECT_EQ(ui.Texts("OpenFileName").last().split('|').first(), QStringLiteral("Verweis einfügen auf Tabelle"));
  // Table data is no undoable edit.
  m.SetModified(false);
  EXPECT_FALSE(m.SetTableData(*m.FindTable(1), {}));
  EXPECT_TRUE(m.SetTableData(*m.FindTable(1), {"1 2", "3 "}));
  EXPECT_TRUE(m.Modified());
  EXPECT_EQ(TTarvixPlusModel::TableText(*m.FindTable(1)), QStringLiteral("1 2\r\n3"));
  TConversionTable stranger;
  EXPECT_FALSE(m.SetTableData(stranger, {"1"}));
  EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("SetTableData..."));
}

TEST_F(Model, BlocksWiresAndTheEngineStayInStep) {
  int32_t cell = mt::AddCounterCell(m);
  mt::ExpectEngineMatches(m);
  ASSERT_EQ(mt::CompileProject(m.Engine()), 0);
  TBlockList& c = *m.FindCell(cell);
  EXPECT_EQ(c.Count(), 4);
  TBlock* print = c.Items(3);
  view.notes.clear();
  ASSERT_TRUE(m.RemoveWire(print->Id(), 0));
  EXPECT_EQ(view.notes.back().code, notify::kWireChanged);
  mt::ExpectEngineMatches(m);
  m.SetCompiled(true);
  TBlockSelection two{c.Items(0), c.Items(1)};
  m.DeleteBlocks(cell, two);
  EXPECT_EQ(m.SimState(), TSimState::NotReady);
  EXPECT_EQ(c.Count(), 2);
  mt::ExpectEngineMatches(m);
  EXPECT_EQ(view.notes.back().code, notify::kBlocksDeleted);
  EXPECT_FALSE(view.notes.back().record.oldArea.IsEmpty());
  m.InsertTextBlock(cell, TRect{0, 0, 300, 300});
  mt::ExpectEngineMatches(m);
  EXPECT_EQ(dynamic_cast<TTextBlock*>(c.Items(2))->GetData(0).split("\r\n").first(), QStringLiteral("Kommentar"));
}

TEST_F(Model, RefusedConnectionsChangeNothing) {
  int32_t cell = mt::AddCounterCell(m);
  TBlockList& c = *m.FindCell(cell);
  TBlock* print = c.FindBlock(0x10004);
  const size_t history = m.UndoList().size();
  int input = 0;  // occupied already
  EXPECT_FALSE(m.ConnectWire(print->Id(), input, mt::WireBetween(*c.FindBlock(0x10003), *print)));
  EXPECT_EQ(m.UndoList().size(), history);
  EXPECT_EQ(print->GetInput(0)->source, 0x10001);
  mt::ExpectEngineMatches(m);
}

TEST_F(Model, ErrorMarkAndEngineFailureMessages) {
  m.SetErrorBlockId(0x10005);
  EXPECT_EQ(m.ErrorBlockId(), 0x10005);
  ASSERT_GE(view.notes.size(), 2u);
  EXPECT_EQ(view.notes[view.notes.size() - 2].data, 0);
  EXPECT_EQ(view.notes.back().data, 1);
  EXPECT_FALSE(m.RemoveWire(0x00090001, 0));
  EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("Fehler bei Änderung Blockverbindung: Zelle nicht gefunden!"));
  m.NewCell(-1);
  EXPECT_FALSE(m.RemoveWire(0x00010009, 0));
  EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("Fehler bei Änderung Blockverbindung: Block nicht gefunden!"));
}

TEST_F(Model, ViewsRegisterOnce) {
  m.AddView(&view);
  EXPECT_TRUE(ui.Texts("ErrorBox").last().contains("schon enthalten"));
  RecordingView other;
  m.RemoveView(&other);
  EXPECT_TRUE(ui.Texts("ErrorBox").last().contains("nicht enthalten"));
}

TEST_F(Model, CloseQueryAndSaveProtocol) {
  EXPECT_TRUE(m.CloseQuery());
  m.NewCell(-1);
  ui.replies.push_back(mt::WithAnswer(TUserInterface::Answer::Cancel));
  EXPECT_FALSE(m.CloseQuery());
  EXPECT_EQ(ui.Texts("AskYesNoCancel").last(), QStringLiteral("Unbenannte Programmdatei wurde geändert. Speichern?"));
  ui.replies.push_back(mt::WithAnswer(TUserInterface::Answer::No));
  EXPECT_TRUE(m.CloseQuery());
  // Yes saves; without a name that asks for one, and a cancelled dialog keeps the project open.
  ui.replies.push_back(mt::WithAnswer(TUserInterface::Answer::Yes));
  ui.replies.push_back(mt::WithText(QString()));
  EXPECT_FALSE(m.CloseQuery());
  EXPECT_EQ(ui.Texts("SaveFileName").last(),
            QStringLiteral("Speichere Unbenannte Programmdatei als|Tarvix plus Dateien (*.tvp)|*.tvp|Alle Dateien (*.*)|*.*|tvp|"));
  m.SetCompiled(true);
  m.RunCommand(cmd::kRun);
  EXPECT_FALSE(m.CloseQuery());
  EXPECT_EQ(m.SimState(), TSimState::Halted);
  ui.replies.push_back(mt::Accept(false));
  EXPECT_FALSE(m.CloseQuery());
  EXPECT_EQ(ui.Texts("AskYesNo").last(), QStringLiteral("Soll die laufende Simulation abgebrochen werden?"));
}

TEST_F(Model, BreakpointsAreLimitedAndToggle) {
  for (int id = 1; id <= 50; ++id) m.ToggleBreakpoint(id);
  m.ToggleBreakpoint(51);
  EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("Zu viele Haltepunkte gesetzt!"));
  EXPECT_EQ(m.Breakpoints().size(), 50u);
  m.ToggleBreakpoint(7);
  m.ToggleBreakpoint(0);
  EXPECT_FALSE(m.HasBreakpoint(7));
  EXPECT_EQ(m.Breakpoints()[6], 50);  // the last entry took the freed place
  m.ClearBreakpoints();
  EXPECT_TRUE(m.Breakpoints().empty());
  EXPECT_EQ(view.notes.back().code, notify::kBreakpointsCleared);
}

TEST_F(Model, DestructionTellsTheViews) {
  RecordingView late;
  {
    TTarvixPlusModel doomed;
    doomed.AddView(&late);
  }
  EXPECT_TRUE(late.gone);
}

}  // namespace
