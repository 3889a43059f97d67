// Block numbers, placing, deleting, copying and the mirroring of a cell into
// the engine page.
#include "BlockEditError.h"
#include "BlockEditTestSupport.h"
#include "TBlockList.h"
#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TTextBlock.h"

namespace {

constexpr int32_t Id(int32_t cell, int32_t n) { return (cell << 16) | n; }

TGraphBlock* AddGraph(TBlockList& cell, int32_t number, int32_t type, TRect r) {
  auto b = std::make_unique<TGraphBlock>(Id(cell.CellId(), number), cell.Engine());
  b->SetType(type);
  b->SetBounds(r);
  return static_cast<TGraphBlock*>(cell.Items(cell.Add(std::move(b))));
}

std::unique_ptr<TInputLine> WireFrom(int32_t source, int8_t kind = 1) {
  auto w = std::make_unique<TInputLine>();
  w->source = source;
  w->connectionKind = kind;
  w->AddPoint({0, 0});
  w->AddPoint({10, 0});
  return w;
}

}  // namespace

TEST_F(BlockEditTest, NewBlockIdFillsTheFirstGapAndReportsAFullCell) {
  TBlockList cell(3, nullptr);
  EXPECT_EQ(cell.Name(), QStringLiteral("Zelle 3"));
  for (int n : {1, 2, 4}) AddGraph(cell, n, 700, {});
  EXPECT_EQ(cell.NewBlockId(), Id(3, 3));

  TBlockList full(2, nullptr);
  for (int n = 1; n <= 65534; ++n) full.Add(std::make_unique<TTextBlock>(Id(2, n), nullptr));
  ui.Clear();
  EXPECT_EQ(full.NewBlockId(), 0);
  EXPECT_EQ(full.InsertTextBlock({0, 0, 500, 500}), nullptr);
  EXPECT_EQ(full.Count(), 65534);
  ASSERT_EQ(ui.Count("ErrorBox"), 2);
  EXPECT_EQ(ui.Texts("ErrorBox")[0], QStringLiteral("Einfügen nicht möglich:\r\nZu viele Blöcke in dieser Programmzelle!"));
}

TEST_F(BlockEditTest, FindBlockIgnoresTheCellWordDeleteBlockDoesNot) {
  TBlockList cell(3, nullptr);
  AddGraph(cell, 5, 700, {});
  ASSERT_NE(cell.FindBlock(Id(9, 5)), nullptr);
  EXPECT_EQ(cell.FindBlock(Id(9, 5))->Id(), Id(3, 5));
  try {
    cell.DeleteBlock(Id(9, 5));
    FAIL() << "no exception";
  } catch (const BlockEditError& e) {
    EXPECT_EQ(e.Text(), QStringLiteral("Falsche BlockID in dieser Zelle"));
  }
  EXPECT_EQ(cell.Count(), 1);
  EXPECT_FALSE(cell.DeleteBlock(Id(3, 6)));
  EXPECT_TRUE(cell.DeleteBlock(Id(3, 5)));
  EXPECT_EQ(cell.Count(), 0);
}

TEST_F(BlockEditTest, FindFreeIdRangeSkipsPastUsedIds) {
  TBlockList cell(1, nullptr);
  EXPECT_EQ(cell.FindFreeIdRange(3), Id(1, 1));
  AddGraph(cell, 1, 700, {});
  AddGraph(cell, 3, 700, {});
  AddGraph(cell, 9, 700, {});
  EXPECT_EQ(cell.FindFreeIdRange(3), Id(1, 4));   // 4..7 free
  EXPECT_EQ(cell.FindFreeIdRange(5), Id(1, 10));  // 4..9 hits 9
}

TEST_F(BlockEditTest, PlaceBlockMovesRightPastBlocksThenToTheNextRow) {
  CellEditorSettings::Current().alignAtGrid = false;  // placing snaps forward anyway
  TBlockList cell(1, nullptr);
  AddGraph(cell, 1, 700, {15, 15, 75, 35});
  AddGraph(cell, 2, 700, {75, 15, 135, 35});
  auto* b = AddGraph(cell, 3, 700, {0, 0, 60, 20});
  cell.PlaceBlock(2, {12, 12, 300, 300});
  EXPECT_EQ(b->Bounds(), (TRect{135, 15, 195, 35}));
  // A narrow visible area: past its right edge the block goes one row down.
  auto* c = AddGraph(cell, 4, 700, {0, 0, 60, 20});
  cell.PlaceBlock(3, {12, 12, 150, 300});
  EXPECT_EQ(c->Bounds(), (TRect{15, 35, 75, 55}));
}

TEST_F(EngineFixture, InsertGraphBlockAddsToTheEngineAndReadsTheParameter) {
  TBlockList cell(3, engine);
  TGraphBlock* constant = cell.InsertGraphBlock(700, {0, 0, 800, 600});
  ASSERT_NE(constant, nullptr);
  EXPECT_EQ(constant->Id(), Id(3, 1));
  EXPECT_EQ(constant->ParamText(), QStringLiteral("0"));
  EXPECT_EQ(constant->Bitmap(), nullptr);  // drawn as a labelled box
  EXPECT_EQ(constant->Bounds(), (TRect{5, 5, 65, 25}));
  TGraphBlock* add = cell.InsertGraphBlock(200, {0, 0, 800, 600});
  ASSERT_NE(add, nullptr);
  EXPECT_EQ(add->Bounds(), (TRect{65, 5, 105, 25}));  // picture size 40 x 20, right of the first
  EXPECT_EQ(cell.InsertGraphBlock(4242, {0, 0, 800, 600}), nullptr);  // unknown to the engine
  EXPECT_EQ(cell.Count(), 2);
  EXPECT_TRUE(constant->CanBeSource());
  EXPECT_TRUE(add->CanConnectFrom(*constant));
  EXPECT_FALSE(add->CanConnectFrom(*add));
}

TEST_F(EngineFixture, ChangeWireConnectsSetsAndSplits) {
  TBlockList cell(3, engine);
  TGraphBlock* c1 = cell.InsertGraphBlock(700, {0, 0, 800, 600});
  TGraphBlock* add = cell.InsertGraphBlock(200, {0, 0, 800, 600});
  TGraphBlock* neg = cell.InsertGraphBlock(205, {0, 0, 800, 600});  // one input
  int slot = -1;
  ASSERT_TRUE(add->ChangeWire(TBlock::kConnect, slot, WireFrom(c1->Id(), 0)));
  EXPECT_EQ(slot, 0);
  ASSERT_NE(add->GetInput(0), nullptr);
  EXPECT_EQ(add->GetInput(0)->menuLetter, -1);
  EXPECT_EQ(add->GetInput(0)->connectionKind, 1);
  EXPECT_EQ(add->InputCount(), 1);
  slot = 1;
  ASSERT_TRUE(add->ChangeWire(TBlock::kConnect, slot, WireFrom(c1->Id(), 0)));
  EXPECT_EQ(add->GetInput(1)->menuLetter, 1);
  EXPECT_EQ(add->InputCount(), 2);
  // An input the block does not have: the engine refuses, nothing is stored.
  slot = 1;
  EXPECT_FALSE(neg->ChangeWire(TBlock::kConnect, slot, WireFrom(c1->Id())));
  EXPECT_EQ(neg->GetInput(1), nullptr);
  slot = -1;
  EXPECT_TRUE(neg->ChangeWire(TBlock::kConnect, slot, WireFrom(c1->Id())));
  slot = -1;  // no free input left
  EXPECT_FALSE(neg->ChangeWire(TBlock::kConnect, slot, WireFrom(c1->Id())));
  EXPECT_EQ(neg->InputCount(), 1);
  slot = 0;
  EXPECT_TRUE(add->ChangeWire(TBlock::kSplit, slot, nullptr));
  EXPECT_FALSE(add->ChangeWire(TBlock::kSplit, slot, nullptr));
  EXPECT_EQ(add->InputCount(), 1);
  // The engine input is free again.
  slot = 0;
  EXPECT_TRUE(add->ChangeWire(TBlock::kConnect, slot, WireFrom(c1->Id())));
  auto route = WireFrom(c1->Id());
  route->AddPoint({10, 30});
  EXPECT_TRUE(add->ChangeWire(TBlock::kSet, slot, std::move(route)));
  EXPECT_EQ(add->GetInput(0)->pointCount, 3);
}

TEST_F(EngineFixture, PushToEngineAddsAllBlocksBeforeAnyWire) {
  // The target comes first in the list: its wire can only connect when the
  // source exists already.
  TBlockList cell(3, engine);
  TGraphBlock* add = AddGraph(cell, 1, 200, {200, 0, 240, 20});
  AddGraph(cell, 2, 700, {0, 0, 60, 20})->SetParamText(QStringLiteral("42"));
  AddGraph(cell, 3, 700, {0, 40, 60, 60});
  int slot = 0;
  add->ChangeWire(TBlock::kSet, slot, WireFrom(Id(3, 2)));
  slot = 1;
  add->ChangeWire(TBlock::kSet, slot, WireFrom(Id(3, 3)));
  ASSERT_TRUE(cell.PushToEngine());
  EXPECT_EQ(ui.Count("ErrorBox"), 0);
  EXPECT_STREQ(PlexorGetBlockParam(engine, Id(3, 2)), "42");
  // Both inputs are wired in the engine now.
  EXPECT_EQ(PlexorConnectBlocks(engine, Id(3, 2), Id(3, 1), 0), -1);
  EXPECT_EQ(PlexorConnectBlocks(engine, Id(3, 3), Id(3, 1), 1), -1);
}

TEST_F(EngineFixture, ReconnectWithAnotherKindIsReportedOtherWiresStillConnect) {
  TBlockList cell(3, engine);
  TGraphBlock* add = AddGraph(cell, 1, 200, {200, 0, 240, 20});
  AddGraph(cell, 2, 700, {0, 0, 60, 20});
  int slot = 0;
  add->ChangeWire(TBlock::kSet, slot, WireFrom(Id(3, 2), 2));  // stored kind text, engine says value
  slot = 1;
  add->ChangeWire(TBlock::kSet, slot, WireFrom(Id(3, 2), 1));
  EXPECT_FALSE(cell.PushToEngine());
  ASSERT_EQ(ui.Count("ErrorBox"), 1);
  EXPECT_EQ(ui.Texts("ErrorBox")[0], QStringLiteral("Fehler bei PlexorConnectBlocks!"));
  EXPECT_EQ(PlexorConnectBlocks(engine, Id(3, 2), Id(3, 1), 1), -1);  // slot 1 is wired
}

TEST_F(EngineFixture, AssignBlocksCopiesIntoThisCellAndPushes) {
  ASSERT_NE(PlexorAddPage(engine, 4, 3), 0);
  TBlockList source(3, nullptr);
  TGraphBlock* add = AddGraph(source, 1, 200, {200, 0, 240, 20});
  AddGraph(source, 2, 700, {0, 0, 60, 20});
  auto* comment = static_cast<TTextBlock*>(source.Items(source.Add(std::make_unique<TTextBlock>(Id(3, 3), nullptr))));
  comment->SetText(QStringLiteral("Hallo"));
  auto w = WireFrom(Id(3, 2));
  w->hidden = true;
  int slot = 0;
  add->ChangeWire(TBlock::kSet, slot, std::move(w));

  TBlockList target(4, engine);
  target.AssignBlocks(source);
  ASSERT_EQ(target.Count(), 3);
  auto* copy = static_cast<TGraphBlock*>(target.Items(0));
  EXPECT_EQ(copy->Id(), Id(4, 1));
  EXPECT_EQ(copy->TypeId(), 200);
  ASSERT_NE(copy->GetInput(0), nullptr);
  EXPECT_EQ(copy->GetInput(0)->source, Id(4, 2));
  EXPECT_FALSE(copy->GetInput(0)->hidden);
  EXPECT_EQ(static_cast<TTextBlock*>(target.Items(2))->Text(), QStringLiteral("Hallo"));
  EXPECT_EQ(PlexorConnectBlocks(engine, Id(4, 2), Id(4, 1), 0), -1);  // wired by the push

  TTextBlock other(1, nullptr);
  EXPECT_THROW(add->AssignTo(other), BlockEditError);
}

TEST_F(BlockEditTest, DropDanglingWiresAndRemoveInputsFrom) {
  TBlockList cell(1, nullptr);
  TGraphBlock* add = AddGraph(cell, 1, 200, {});
  TGraphBlock* c = AddGraph(cell, 2, 700, {});
  int slot = 0;
  add->ChangeWire(TBlock::kSet, slot, WireFrom(Id(1, 2)));
  slot = 1;
  add->ChangeWire(TBlock::kSet, slot, WireFrom(Id(1, 7)));
  cell.DropDanglingWires();
  EXPECT_NE(add->GetInput(0), nullptr);
  EXPECT_EQ(add->GetInput(1), nullptr);
  EXPECT_EQ(add->InputCount(), 1);
  EXPECT_TRUE(add->HasInputFrom({c}));
  EXPECT_TRUE(add->RemoveInputsFrom({c}));
  EXPECT_EQ(add->InputCount(), 0);
  EXPECT_FALSE(add->HasInputFrom({c}));
}

TEST_F(EngineFixture, RestoreBlockRecreatesAMissingBlockOnly) {
  TBlockList cell(3, engine);
  TGraphBlock* c = cell.InsertGraphBlock(700, {0, 0, 800, 600});
  c->SetData(0, QStringLiteral("17"));
  const QStringList single = TBlockList::WriteSingleBlock(*c);
  EXPECT_EQ(single[0], QStringLiteral("GraphBlock"));
  TRect bounds;
  EXPECT_FALSE(cell.RestoreBlock(single, bounds));  // number exists
  ASSERT_TRUE(cell.DeleteBlock(c->Id()));
  EXPECT_EQ(PlexorGetBlockParam(engine, Id(3, 1)), nullptr);
  ASSERT_TRUE(cell.RestoreBlock(single, bounds));
  EXPECT_EQ(bounds, (TRect{5, 5, 65, 25}));
  EXPECT_NE(PlexorGetBlockParam(engine, Id(3, 1)), nullptr);
  ui.Clear();
  EXPECT_FALSE(cell.RestoreBlock({QStringLiteral("FooBlock"), QStringLiteral("ID=196615")}, bounds));
  EXPECT_EQ(ui.Texts("ErrorBox"), QStringList{QStringLiteral("Unbekannter Blocktyp FooBlock!")});
}

TEST_F(BlockEditTest, DataOfBlocksAndTheInternalErrors) {
  TTextBlock t(1, nullptr);
  EXPECT_EQ(t.Text(), QStringLiteral("Kommentar"));
  EXPECT_TRUE(t.HasData(0));
  EXPECT_FALSE(t.HasData(1));
  EXPECT_FALSE(t.SetData(0, QStringLiteral("no line break")));
  EXPECT_TRUE(t.SetData(0, QStringLiteral("Neu\r\nFont=Arial,10,255,1,0,1,0")));
  EXPECT_EQ(t.Text(), QStringLiteral("Neu"));
  EXPECT_EQ(t.Font(), (TCommentFont{QStringLiteral("Arial"), 10, 255, TCommentFont::kBold | TCommentFont::kUnderline}));
  EXPECT_EQ(t.GetData(0), QStringLiteral("Neu\r\nFont=Arial,10,255,1,0,1,0"));
  EXPECT_THROW(t.GetData(1), BlockEditError);
  EXPECT_THROW(t.SetData(2, QString()), BlockEditError);
  TGraphBlock g(1, nullptr);
  EXPECT_THROW(g.GetData(2), BlockEditError);
  EXPECT_THROW(g.SetData(-1, QString()), BlockEditError);
  t.ShowHelp();
  g.SetType(200);
  g.ShowHelp();
  EXPECT_EQ(ui.Texts("ShowHelp"), (QStringList{QStringLiteral("7000"), QStringLiteral("200")}));
}

TEST_F(BlockEditTest, CommentDialogTakesOnlyRealChanges) {
  TTextBlock t(1, nullptr);
  const TRect before = t.Bounds();
  bool appearance = true;
  ui.replies.push_back({});  // cancel
  EXPECT_FALSE(t.EditData(0, appearance));
  EXPECT_FALSE(appearance);
  RecordingUserInterface::Reply same;
  same.accept = true;
  same.text = t.Text();
  same.hasFont = true;
  same.font = t.Font();
  same.font.name = same.font.name.toUpper();  // the name compares without case
  ui.replies.push_back(same);
  EXPECT_FALSE(t.EditData(0, appearance));
  RecordingUserInterface::Reply longer = same;
  longer.text = QStringLiteral("Ein viel längerer Kommentar");
  ui.replies.push_back(longer);
  EXPECT_TRUE(t.EditData(0, appearance));
  EXPECT_TRUE(appearance);
  EXPECT_GT(t.Bounds().right, before.right);
}
