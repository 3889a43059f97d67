#include <gtest/gtest.h>

#include "MelodyCells.h"

namespace {

TEST(MelodyCells, FillsRowsInOrderAndLeavesTheRestEmpty) {
  MelodyCells cells = MelodyToCells("478 100 20 426 200 ");
  EXPECT_EQ(cells[0], "478");
  EXPECT_EQ(cells[2], "20");
  EXPECT_EQ(cells[3], "426");  // row 2
  EXPECT_EQ(cells[4], "200");
  for (size_t i = 5; i < kMelodyCells; ++i) EXPECT_TRUE(cells[i].empty()) << i;
}

TEST(MelodyCells, WordsAreReadAsNumbers) {
  MelodyCells cells = MelodyToCells("  +12   x 7y -3\t99999999999999999999999 ");
  EXPECT_EQ(cells[0], "12");
  EXPECT_EQ(cells[1], "0");
  EXPECT_EQ(cells[2], "7");
  EXPECT_EQ(cells[3], "-3");
  EXPECT_FALSE(cells[4].empty());  // saturated, not wrapped into garbage
  EXPECT_NE(cells[4][0], '-');
}

TEST(MelodyCells, RebuildsAllCellsWithZeroForEmptyOnes) {
  std::string melody = CellsToMelody(MelodyToCells("478 100 20 426 200"));
  std::string expected = "478 100 20 426 200 ";
  for (int i = 0; i < 82; ++i) expected += "0 ";
  EXPECT_EQ(melody, expected);
  // Unchanged on a second round.
  EXPECT_EQ(CellsToMelody(MelodyToCells(melody)), melody);
}

TEST(MelodyCells, CutAtTheBlocksLimitAndExtraWordsDropped) {
  std::string many;
  for (int i = 0; i < 200; ++i) many += "-1234567 ";
  MelodyCells cells = MelodyToCells(many);
  EXPECT_EQ(cells[kMelodyCells - 1], "-1234567");
  std::string melody = CellsToMelody(cells);
  EXPECT_EQ(melody.size(), kMelodyTextMax);
  EXPECT_EQ(melody.substr(0, 18), "-1234567 -1234567 ");
}

}  // namespace
