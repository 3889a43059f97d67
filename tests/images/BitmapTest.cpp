// The pictures: every name in the catalogue answers a PNG of the size its
// use needs, magenta marks the transparent part, the block pictures show the
// inputs on the left and the output on the right as the engine defines them.

#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <string>

#include "Block.h"
#include "BlockFactory.h"
#include "ImagesText.h"

using namespace images_test;

namespace {

constexpr QRgb kMagenta = 0xFF00FF;

QImage Load(const std::string& name) {
  int32_t size = -1;
  const unsigned char* data = GetPlexorBitmap(name.c_str(), &size);
  if (data == nullptr) {
    EXPECT_EQ(size, 0) << name;
    return {};
  }
  EXPECT_GT(size, 8) << name;
  return QImage::fromData(data, size, "PNG").convertToFormat(QImage::Format_RGB32);
}

bool IsMagenta(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == kMagenta; }

int MagentaCount(const QImage& img, QRect r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) n += IsMagenta(img, x, y);
  return n;
}

}  // namespace

TEST(ImagesBitmap, GroupBitmapsAre16x16WithTransparentRim) {
  for (const std::string& line : Lines(GetPlexorBlockGroups())) {
    const std::string key = Fields(line)[0];
    const QImage img = Load(key);
    ASSERT_FALSE(img.isNull()) << key;
    EXPECT_EQ(img.size(), QSize(16, 16)) << key;
    EXPECT_TRUE(IsMagenta(img, 0, 0)) << key;
    EXPECT_FALSE(IsMagenta(img, 8, 8)) << key;
  }
}

TEST(ImagesBitmap, GlyphsShowNormalAndDisabledSideBySide) {
  for (const TypeLine& t : AllTypes()) {
    const QImage img = Load(t.glyph);
    ASSERT_FALSE(img.isNull()) << t.glyph;
    ASSERT_EQ(img.size(), QSize(48, 24)) << t.glyph;
    int coloured = 0;
    for (int y = 0; y < 24; ++y) {
      for (int x = 0; x < 24; ++x) {
        // Both halves have the same outline; the disabled one is grey only.
        EXPECT_EQ(IsMagenta(img, x, y), IsMagenta(img, x + 24, y)) << t.glyph << " " << x << "," << y;
        const QRgb d = img.pixel(x + 24, y);
        if (!IsMagenta(img, x + 24, y)) {
          EXPECT_TRUE(qRed(d) == qGreen(d) && qGreen(d) == qBlue(d)) << t.glyph;
        }
        const QRgb n = img.pixel(x, y);
        coloured += !IsMagenta(img, x, y) && !(qRed(n) == qGreen(n) && qGreen(n) == qBlue(n));
      }
    }
    EXPECT_GT(coloured, 0) << t.glyph << " normal image has no colour";
    EXPECT_GT(MagentaCount(img, QRect(0, 0, 24, 24)), 0) << t.glyph;
  }
}

TEST(ImagesBitmap, PicturesFitTheGridAndMatchTheBlockSides) {
  for (const TypeLine& t : AllTypes()) {
    if (t.picture.empty()) continue;
    const QImage img = Load(t.picture);
    ASSERT_FALSE(img.isNull()) << t.picture;
    // Sizes in multiples of 20: a block placed on a grid point (grid 10) has
    // the middles of its sides, where wires attach, on grid points too.
    EXPECT_EQ(img.width() % 20, 0) << t.picture;
    EXPECT_EQ(img.height() % 20, 0) << t.picture;
    EXPECT_GT(MagentaCount(img, img.rect()), 0) << t.picture;
    EXPECT_TRUE(IsMagenta(img, 0, 0)) << t.picture;

    std::unique_ptr<CBlock> block(CreateBlock(t.typeId, 0x00010001));
    ASSERT_NE(block, nullptr);
    const int mid = img.height() / 2, right = img.width() - 1;
    const bool inputStub = !IsMagenta(img, 0, mid) && !IsMagenta(img, 0, mid - 1);
    const bool outputStub = !IsMagenta(img, right, mid) && !IsMagenta(img, right, mid - 1);
    EXPECT_EQ(inputStub, block->InputSlots() > 0) << t.picture;
    EXPECT_EQ(outputStub, block->OutputKind != 0) << t.picture;
    if (!outputStub) continue;
    // The output takes the colour of the wire it feeds: blue for a value,
    // green for a text, red for a time or a date.
    const QRgb c = img.pixel(right, mid);
    switch (block->OutputKind) {
      case 1: EXPECT_GT(qBlue(c), qRed(c) + 64) << t.picture; break;
      case 2: EXPECT_GT(qGreen(c), qRed(c) + 64) << t.picture; break;
      default: EXPECT_GT(qRed(c), qBlue(c) + 64) << t.picture; break;
    }
  }
}

TEST(ImagesBitmap, UnknownNamesAnswerNull) {
  const char* unknown[] = {"", "BLOCK_", "BLOCK_99999", "BLOCK_700", "BLOCK_200 ", "GLYPH_200X",
                           "GROUP", "\xFF", "BLOCK_200\r\n"};
  for (const char* name : unknown) {
    int32_t size = 77;
    EXPECT_EQ(GetPlexorBitmap(name, &size), nullptr) << name;
    EXPECT_EQ(size, 0) << name;
  }
  int32_t size = 77;
  EXPECT_EQ(GetPlexorBitmap(nullptr, &size), nullptr);
  EXPECT_EQ(size, 0);
  const std::string huge(100000, 'B');
  EXPECT_EQ(GetPlexorBitmap(huge.c_str(), &size), nullptr);
  // A caller that does not want the size may pass none.
  EXPECT_NE(GetPlexorBitmap("BLOCK_200", nullptr), nullptr);
  EXPECT_EQ(GetPlexorBitmap("nothing", nullptr), nullptr);
}

TEST(ImagesBitmap, NamesCompareWithoutCase) {
  int32_t upper = 0, lower = 0;
  const unsigned char* a = GetPlexorBitmap("GLYPH_1007", &upper);
  const unsigned char* b = GetPlexorBitmap("glyph_1007", &lower);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a, b);
  EXPECT_EQ(upper, lower);
}
