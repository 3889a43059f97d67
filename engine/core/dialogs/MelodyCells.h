// The melody text of the tone block as the 29 x 3 cells of its grid (tone,
// duration, pause per row) and back. Plain byte texts, no Qt.
#pragma once

#include <array>
#include <string>
#include <string_view>

inline constexpr int kMelodyRows = 29;
inline constexpr int kMelodyColumns = 3;
inline constexpr size_t kMelodyCells = kMelodyRows * kMelodyColumns;
// The longest melody text the block keeps.
inline constexpr size_t kMelodyTextMax = 599;

using MelodyCells = std::array<std::string, kMelodyCells>;

// Cells in row order from the blank-separated words of a melody text, each
// read as a number and written in decimal; cells without a word stay empty.
MelodyCells MelodyToCells(std::string_view melody);

// Every cell read as a number (an empty cell gives 0), in decimal and followed
// by one blank, cut at kMelodyTextMax characters.
std::string CellsToMelody(const MelodyCells& cells);
