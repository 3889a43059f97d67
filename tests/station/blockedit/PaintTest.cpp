// Pixel checks on cells painted into images.
#include "BlockEditTestSupport.h"
#include "TBlockList.h"
#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TTextBlock.h"

namespace {

constexpr int32_t Id(int32_t cell, int32_t n) { return (cell << 16) | n; }

QImage Canvas() {
  QImage image(400, 300, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

void PaintCell(const TBlockList& cell, QImage& image) {
  QPainter p(&image);
  const TRect all{0, 0, image.width(), image.height()};
  cell.PaintBlocks(p, all);
  cell.PaintWires(p, all);
}

QRgb Rgb(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

int CountColor(const QImage& image, QRect r, QRgb color) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += Rgb(image, x, y) == color;
  return n;
}

TGraphBlock* AddGraph(TBlockList& cell, int32_t number, int32_t type, TRect r) {
  auto b = std::make_unique<TGraphBlock>(Id(cell.CellId(), number), nullptr);
  b->SetType(type);
  b->SetBounds(r);
  return static_cast<TGraphBlock*>(cell.Items(cell.Add(std::move(b))));
}

}  // namespace

TEST_F(BlockEditTest, BlockWithoutPictureIsAYellowBoxWithItsLabel) {
  TBlockList cell(1, nullptr);
  TGraphBlock* b = AddGraph(cell, 1, 700, {10, 10, 70, 30});
  QImage image = Canvas();
  PaintCell(cell, image);
  EXPECT_EQ(Rgb(image, 10, 10), 0xFFFFFFu);  // the outline is inside by one pixel
  EXPECT_EQ(Rgb(image, 11, 11), 0x000000u);
  EXPECT_EQ(Rgb(image, 13, 13), 0xFFFF00u);
  EXPECT_EQ(Rgb(image, 66, 26), 0xFFFF00u);
  EXPECT_EQ(Rgb(image, 67, 27), 0xFFFF00u);
  EXPECT_EQ(Rgb(image, 68, 28), 0x000000u);  // (11, 11, 69, 29) with right and bottom exclusive
  EXPECT_EQ(Rgb(image, 69, 29), 0xFFFFFFu);
  // "???" in navy somewhere in the middle.
  QImage labelled = image;
  EXPECT_GT(CountColor(labelled, QRect(12, 12, 55, 15), 0x000080), 3);

  // A long parameter is cut: the navy text stays inside the box.
  b->SetParamText(QStringLiteral("Ein sehr langer Parametertext, der nicht passt"));
  QImage cut = Canvas();
  PaintCell(cell, cut);
  EXPECT_EQ(CountColor(cut, QRect(0, 0, 10, 40), 0x000080), 0);
  EXPECT_EQ(CountColor(cut, QRect(71, 0, 100, 40), 0x000080), 0);
  EXPECT_GT(CountColor(cut, QRect(12, 12, 55, 15), 0x000080), 10);
}

TEST_F(BlockEditTest, PictureMagentaTakesTheBackgroundColour) {
  CellEditorSettings::Current().blockBackgroundColor = tcolor::FromRgb(0, 200, 200);
  TBlockList cell(1, nullptr);
  TGraphBlock* b = AddGraph(cell, 1, 200, {});
  b->SetBounds({100, 100, 140, 120});
  QImage image = Canvas();
  PaintCell(cell, image);
  EXPECT_EQ(Rgb(image, 101, 101), 0x00C8C8u);
  EXPECT_EQ(Rgb(image, 120, 110), 0x006400u);
  EXPECT_EQ(Rgb(image, 99, 99), 0xFFFFFFu);
}

TEST_F(BlockEditTest, MissingPictureIsReportedAndReplaced) {
  TGraphBlock b(1, nullptr);
  b.SetType(300);
  ASSERT_EQ(ui.Count("ErrorBox"), 1);
  EXPECT_EQ(ui.Texts("ErrorBox")[0], QStringLiteral("Interner Fehler:\r\nKonnte Bitmap BMP_MISSING nicht finden!"));
  ASSERT_NE(b.Bitmap(), nullptr);
  EXPECT_EQ(b.Bounds().Width(), 40);  // the station's error picture
  EXPECT_EQ(b.Bounds().Height(), 20);
  TGraphBlock again(2, nullptr);
  again.SetType(300);
  EXPECT_EQ(ui.Count("ErrorBox"), 1);  // loaded once, shared
  EXPECT_EQ(again.Bitmap(), b.Bitmap());
}

TEST_F(BlockEditTest, ErrorMarkIsARedCrossOnTheBlock) {
  TBlockList cell(1, nullptr);
  AddGraph(cell, 1, 700, {100, 100, 160, 120});
  QImage image = Canvas();
  {
    QPainter p(&image);
    cell.PaintErrorMark(p, Id(2, 1));  // another cell: nothing
  }
  EXPECT_EQ(CountColor(image, image.rect(), 0xFF0000), 0);
  {
    QPainter p(&image);
    cell.PaintErrorMark(p, Id(1, 1));
  }
  EXPECT_EQ(Rgb(image, 97, 97), 0xFF0000u);
  EXPECT_EQ(Rgb(image, 163, 123), 0xFF0000u);
  EXPECT_EQ(Rgb(image, 97, 123), 0xFF0000u);
  EXPECT_EQ(Rgb(image, 130, 110), 0xFF0000u);  // the crossing
  EXPECT_EQ(Rgb(image, 130, 100), 0xFFFFFFu);
}

TEST_F(BlockEditTest, ArrowheadPointsAlongTheLastSegment) {
  CellEditorSettings::Current().alignAtGrid = false;
  TBlockList cell(1, nullptr);
  TGraphBlock* target = AddGraph(cell, 1, 700, {300, 50, 360, 70});
  auto right = std::make_unique<TInputLine>();
  right->connectionKind = 2;  // green
  right->menuLetter = 0;
  right->AddPoint({100, 60});
  right->AddPoint({300, 60});
  int slot = 0;
  target->ChangeWire(TBlock::kSet, slot, std::move(right));
  auto down = std::make_unique<TInputLine>();
  down->connectionKind = 3;  // red
  down->AddPoint({330, 150});
  down->AddPoint({330, 250});
  slot = 1;
  target->ChangeWire(TBlock::kSet, slot, std::move(down));
  QImage image = Canvas();
  PaintCell(cell, image);
  image.save(QStringLiteral("/tmp/blockedit_arrows.png"));
  const QRgb green = 0x008000, red = 0xFF0000;
  // Rightward: wide behind the tip, nothing beyond it.
  EXPECT_EQ(Rgb(image, 150, 60), green);
  EXPECT_EQ(Rgb(image, 291, 62), green);
  EXPECT_EQ(Rgb(image, 291, 58), green);
  EXPECT_NE(Rgb(image, 291, 66), green);
  EXPECT_EQ(CountColor(image, QRect(302, 55, 10, 10), green), 0);
  // Downward: the head opens upward from the end point.
  EXPECT_EQ(Rgb(image, 332, 241), red);
  EXPECT_EQ(Rgb(image, 328, 241), red);
  EXPECT_EQ(CountColor(image, QRect(320, 252, 20, 10), red), 0);
  // The letter "a" lies right-aligned just below the head's base (x <= 290).
  EXPECT_GT(CountColor(image, QRect(270, 66, 21, 14), 0x000000), 0);
  EXPECT_EQ(CountColor(image, QRect(292, 66, 6, 14), 0x000000), 0);
}

TEST_F(BlockEditTest, HiddenWiresAndWiresOutsideTheClipAreNotPainted) {
  TBlockList cell(1, nullptr);
  TGraphBlock* target = AddGraph(cell, 1, 700, {300, 50, 360, 70});
  auto w = std::make_unique<TInputLine>();
  w->AddPoint({100, 60});
  w->AddPoint({300, 60});
  int slot = 0;
  target->ChangeWire(TBlock::kSet, slot, std::move(w));
  QImage image = Canvas();
  {
    QPainter p(&image);
    cell.PaintWires(p, {0, 200, 50, 250});
  }
  EXPECT_EQ(CountColor(image, image.rect(), 0x0000FF), 0);
  target->GetInput(0)->hidden = true;
  PaintCell(cell, image);
  EXPECT_EQ(CountColor(image, image.rect(), 0x0000FF), 0);
  target->GetInput(0)->hidden = false;
  PaintCell(cell, image);
  EXPECT_GT(CountColor(image, image.rect(), 0x0000FF), 150);
}

TEST_F(BlockEditTest, CommentIsDrawnOverABlock) {
  TBlockList cell(1, nullptr);
  auto comment = std::make_unique<TTextBlock>(Id(1, 1), nullptr);
  comment->SetFont({QStringLiteral("Arial"), 12, tcolor::kRed, TCommentFont::kBold});
  comment->SetText(QStringLiteral("XXXX"));
  comment->SetBounds({20, 20, 0, 0});
  comment->UpdateExtent();
  cell.Add(std::move(comment));  // first in the list, painted last
  AddGraph(cell, 2, 700, {10, 10, 110, 50});
  QImage image = Canvas();
  PaintCell(cell, image);
  image.save(QStringLiteral("/tmp/blockedit_comment.png"));
  EXPECT_GT(CountColor(image, QRect(20, 20, 40, 16), 0xFF0000), 20);
}

TEST_F(BlockEditTest, CellImageSizeAndTitle) {
  TBlockList cell(5, nullptr);
  cell.SetName(QStringLiteral("Pumpe"));
  AddGraph(cell, 1, 700, {240, 100, 300, 170});
  const QImage image = cell.RenderImage();
  EXPECT_EQ(image.width(), 600);
  EXPECT_EQ(image.height(), 200);
  EXPECT_GT(CountColor(image, QRect(0, 0, 150, 25), 0x000000), 50);  // the title
  EXPECT_EQ(Rgb(image, 250, 135), 0xFFFF00u);                          // block moved 30 down
  image.save(QStringLiteral("/tmp/blockedit_cell.png"));
  TBlockList wide(5, nullptr);
  AddGraph(wide, 1, 700, {700, 10, 760, 30});
  EXPECT_EQ(wide.RenderImage().width(), 760);
}
