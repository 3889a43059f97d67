// Grid rules, wire attachment, point editing and hit tests with the numbers
// the cell editor is known to use.
#include "BlockEditTestSupport.h"
#include "Grid.h"
#include "TBlockList.h"
#include "TGraphBlock.h"
#include "TInputLine.h"

namespace {

TInputLine Wire(std::initializer_list<QPoint> pts, int8_t letter = -1) {
  TInputLine w;
  w.menuLetter = letter;
  for (QPoint p : pts) w.AddPoint(p);
  return w;
}

}  // namespace

TEST(Grid, NearestAndForwardWithGridTen) {
  EXPECT_EQ(grid::Nearest(12, 10), 15);
  EXPECT_EQ(grid::Nearest(17, 10), 15);
  EXPECT_EQ(grid::Nearest(21, 10), 25);
  EXPECT_EQ(grid::Forward(12, 10), 15);
  EXPECT_EQ(grid::Forward(15, 10), 15);
  EXPECT_EQ(grid::Forward(16, 10), 25);
  EXPECT_EQ(grid::Forward(0, 10), 5);
  EXPECT_EQ(grid::Nearest(40, 0), 40);  // no grid: unchanged
}

TEST_F(BlockEditTest, MovedBlockSnapsItsCornerOnlyWhenAligning) {
  TGraphBlock b(0x30001, nullptr);
  b.SetBounds({0, 0, 60, 20});
  EXPECT_TRUE(b.MoveBy({12, 0}));
  EXPECT_EQ(b.Bounds(), (TRect{15, 5, 75, 25}));
  b.SetBounds({0, 0, 60, 20});
  b.MoveBy({17, 0});
  EXPECT_EQ(b.Bounds().left, 15);
  b.SetBounds({0, 0, 60, 20});
  b.MoveBy({21, 0});
  EXPECT_EQ(b.Bounds().left, 25);
  CellEditorSettings::Current().alignAtGrid = false;
  b.SetBounds({0, 0, 60, 20});
  b.MoveBy({12, 3});
  EXPECT_EQ(b.Bounds(), (TRect{12, 3, 72, 23}));
  EXPECT_FALSE(b.MoveBy({0, 0}));
}

TEST_F(BlockEditTest, SideOfPointDiagonalCountsAsVertical) {
  const QPoint c(100, 100);
  EXPECT_EQ(TInputLine::SideOf({90, 100}, c), TInputLine::kLeft);
  EXPECT_EQ(TInputLine::SideOf({110, 100}, c), TInputLine::kRight);
  EXPECT_EQ(TInputLine::SideOf({100, 90}, c), TInputLine::kTop);
  EXPECT_EQ(TInputLine::SideOf({100, 110}, c), TInputLine::kBottom);
  EXPECT_EQ(TInputLine::SideOf({110, 110}, c), TInputLine::kBottom);  // |dx| = |dy|
  EXPECT_EQ(TInputLine::SideOf({90, 90}, c), TInputLine::kTop);
  EXPECT_EQ(TInputLine::SideOf(c, c), TInputLine::kTop);  // dy = 0 < 1
  const TRect r{0, 0, 60, 20};  // centre (30, 10)
  EXPECT_EQ(TInputLine::AttachPoint(r, {40, 20}, false, 10), QPoint(30, 20));  // diagonal: bottom
  EXPECT_EQ(TInputLine::AttachPoint(r, {20, 0}, false, 10), QPoint(30, 0));    // diagonal: top
  EXPECT_EQ(TInputLine::AttachPoint(r, {200, 12}, false, 10), QPoint(60, 10));
  EXPECT_EQ(TInputLine::AttachPoint(r, {-50, 12}, false, 10), QPoint(0, 10));
  EXPECT_EQ(TInputLine::AttachPoint(r, {200, 12}, true, 10), QPoint(65, 15));  // snapped
}

TEST_F(BlockEditTest, WireBetweenSideBySideBlocksWithoutAligning) {
  CellEditorSettings::Current().alignAtGrid = false;
  const TRect src{0, 0, 60, 20};
  const TRect dst{200, 0, 260, 20};
  TInputLine w = Wire({{30, 10}, {230, 10}}, 0);
  w.RerouteEnd(dst);
  w.RerouteStart(src);
  EXPECT_EQ(w.Point(0), QPoint(60, 10));
  EXPECT_EQ(w.Last(), QPoint(200, 10));
  EXPECT_EQ(w.arrivalSide, TInputLine::kLeft);
  EXPECT_EQ(w.bounds, (TRect{40, -10, 220, 30}));  // inflated by 20 for the letter
  w.menuLetter = -1;
  w.Update();
  EXPECT_EQ(w.bounds, (TRect{56, 6, 204, 14}));
  EXPECT_TRUE(Wire({{1, 1}}).bounds.IsEmpty());
}

TEST_F(BlockEditTest, HitTestTolerances) {
  TInputLine w = Wire({{10, 10}, {100, 10}, {100, 80}});
  EXPECT_TRUE(w.HitTest({103, 13}));  // 3 pixels from the bend point
  EXPECT_EQ(w.hitKind, TInputLine::kHitPoint);
  EXPECT_EQ(w.hitIndex, 1);
  EXPECT_FALSE(w.HitTest({104, 70}));  // beside the vertical segment
  EXPECT_TRUE(w.HitTest({50, 13}));   // 3 below a horizontal segment
  EXPECT_EQ(w.hitKind, TInputLine::kHitSegment);
  EXPECT_EQ(w.hitIndex, 0);
  EXPECT_FALSE(w.HitTest({50, 14}));  // 4 below misses
  EXPECT_EQ(w.hitKind, TInputLine::kHitNone);
  EXPECT_EQ(w.hitIndex, -1);
  EXPECT_TRUE(w.HitTest({97, 50}));
  EXPECT_EQ(w.hitIndex, 1);
  EXPECT_TRUE(w.HitTest({6, 10}));   // rectangle p-3 .. p+4, right/bottom exclusive: 7..13
  EXPECT_EQ(w.hitKind, TInputLine::kHitSegment);  // not the point: 6 is outside 7..13
  EXPECT_TRUE(w.HitTest({7, 7}));
  EXPECT_EQ(w.hitKind, TInputLine::kHitPoint);
  EXPECT_FALSE(w.HitTest({6, 6}));

  TInputLine d = Wire({{0, 0}, {100, 50}});
  EXPECT_TRUE(d.HitTest({50, 27}));  // on the slanted line (y = 25) within 3
  EXPECT_EQ(d.hitKind, TInputLine::kHitSegment);
  EXPECT_FALSE(d.HitTest({50, 35}));
}

TEST_F(BlockEditTest, PointEditingLimitsAndDuplicates) {
  TInputLine w;
  for (int i = 0; i < 25; ++i) w.AddPoint({i * 10, 0});
  EXPECT_EQ(w.pointCount, 21);
  EXPECT_FALSE(w.AddPoint({0, 0}));
  w.hitIndex = 3;
  EXPECT_FALSE(w.InsertBend({1, 1}));

  TInputLine b = Wire({{0, 0}, {50, 0}, {50, 50}});
  b.hitIndex = 0;
  ASSERT_TRUE(b.InsertBend({23, 7}));
  EXPECT_EQ(b.pointCount, 4);
  EXPECT_EQ(b.hitIndex, 1);
  EXPECT_EQ(b.hitKind, TInputLine::kHitPoint);
  EXPECT_EQ(b.Point(1), QPoint(23, 7));  // not snapped
  EXPECT_EQ(b.Point(2), QPoint(50, 0));
  b.hitIndex = 0;
  EXPECT_FALSE(b.DeleteBend());  // end points stay
  b.hitIndex = 3;
  EXPECT_FALSE(b.DeleteBend());
  b.hitIndex = 1;
  EXPECT_TRUE(b.DeleteBend());
  EXPECT_EQ(b.pointCount, 3);

  TInputLine d = Wire({{0, 0}, {0, 0}, {10, 0}, {10, 0}, {10, 0}, {20, 5}});
  d.RemoveDuplicates();
  ASSERT_EQ(d.pointCount, 3);
  EXPECT_EQ(d.Point(0), QPoint(0, 0));
  EXPECT_EQ(d.Point(1), QPoint(10, 0));
  EXPECT_EQ(d.Point(2), QPoint(20, 5));
  TInputLine two = Wire({{4, 4}, {4, 4}});
  two.RemoveDuplicates();
  EXPECT_EQ(two.pointCount, 2);  // a wire keeps its two ends
}

TEST_F(BlockEditTest, SlideEndsKeepsEndsOnTheOutline) {
  CellEditorSettings::Current().alignAtGrid = false;
  const TRect src{0, 0, 60, 40};
  const TRect dst{200, 100, 260, 140};
  // Bend dragged above-right: start stays on the right side, y clamped.
  TInputLine w = Wire({{60, 20}, {40, -80}, {230, -80}, {230, 100}});
  w.SlideEnds(src, dst);
  EXPECT_EQ(w.Point(0), QPoint(60, 0));  // neighbour on top: y = Top, x kept inside Left..Right
  EXPECT_EQ(w.Last(), QPoint(230, 100));
  TInputLine h = Wire({{60, 35}, {150, 110}, {200, 120}});
  h.SlideEnds(src, dst);
  EXPECT_EQ(h.Point(0), QPoint(60, 35));   // right side, y kept inside 0..40
  EXPECT_EQ(h.Last(), QPoint(200, 120));   // left side, y kept
  TInputLine c = Wire({{60, 90}, {150, 90}, {200, 120}});
  c.SlideEnds(src, dst);
  EXPECT_EQ(c.Point(0), QPoint(60, 40));   // y clamped to Bottom
}

TEST_F(BlockEditTest, ShiftAllSnapsEveryPointShiftInnerOnlyInner) {
  TInputLine w = Wire({{5, 5}, {25, 5}, {25, 45}, {55, 45}});
  w.ShiftInner({12, 0});
  EXPECT_EQ(w.Point(0), QPoint(5, 5));
  EXPECT_EQ(w.Point(1), QPoint(35, 5));
  EXPECT_EQ(w.Point(3), QPoint(55, 45));
  w.ShiftAll({10, 10});
  EXPECT_EQ(w.Point(0), QPoint(15, 15));
  EXPECT_EQ(w.Point(3), QPoint(65, 55));
}

TEST_F(BlockEditTest, FollowMovedBlocksReroutesAndShiftsInnerPoints) {
  CellEditorSettings::Current().alignAtGrid = false;
  TBlockList cell(3, nullptr);
  auto* a = static_cast<TGraphBlock*>(cell.Items(cell.Add(std::make_unique<TGraphBlock>(0x30001, nullptr))));
  auto* b = static_cast<TGraphBlock*>(cell.Items(cell.Add(std::make_unique<TGraphBlock>(0x30002, nullptr))));
  a->SetBounds({0, 0, 60, 20});
  b->SetBounds({200, 0, 260, 20});
  auto w = std::make_unique<TInputLine>(Wire({{60, 10}, {130, 10}, {130, 10}, {200, 10}}));
  w->source = a->Id();
  int slot = 0;
  b->ChangeWire(TBlock::kSet, slot, std::move(w));
  // Only the source moves down: the start follows, the inner points stay.
  a->MoveBy({0, 30});
  EXPECT_TRUE(b->FollowMovedBlocks(cell, {a}, {0, 30}));
  const TInputLine* r = b->GetInput(0);
  EXPECT_EQ(r->Point(0), QPoint(60, 40));
  EXPECT_EQ(r->Point(1), QPoint(130, 10));
  // Both move: inner points shift along.
  a->MoveBy({0, 50});
  b->MoveBy({0, 50});
  EXPECT_TRUE(b->FollowMovedBlocks(cell, {a, b}, {0, 50}));
  EXPECT_EQ(r->Point(1), QPoint(130, 60));
  EXPECT_EQ(r->Point(0), QPoint(60, 90));
  EXPECT_EQ(r->Last(), QPoint(200, 60));
  EXPECT_FALSE(a->FollowMovedBlocks(cell, {a, b}, {0, 50}));  // a has no wires
}
