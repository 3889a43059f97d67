#include "MelodyCells.h"

#include "ParamText.h"

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

MelodyCells MelodyToCells(std::string_view melody) {
  MelodyCells cells;
  size_t at = 0;
  for (std::string& cell : cells) {
    while (at < melody.size() && IsBlank(melody[at])) ++at;
    if (at == melody.size()) break;
    size_t end = at;
    while (end < melody.size() && !IsBlank(melody[end])) ++end;
    cell = std::to_string(ReadNumber(std::string(melody.substr(at, end - at)).c_str()));
    at = end;
  }
  return cells;
}

std::string CellsToMelody(const MelodyCells& cells) {
  std::string melody;
  for (const std::string& cell : cells) {
    melody += std::to_string(ReadNumber(cell.c_str()));
    melody += ' ';
  }
  if (melody.size() > kMelodyTextMax) melody.resize(kMelodyTextMax);
  return melody;
}
