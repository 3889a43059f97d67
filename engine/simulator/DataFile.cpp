#include "DataFile.h"

namespace datafile {

int32_t Dump(const CUnitModel& unit, uint16_t* words) {
  const uint32_t start = StartFromHeader(unit);
  const int32_t count = unit.FileLength / 2;
  int32_t last = count;
  for (int32_t i = 0; i < count; ++i) {
    uint32_t address = start + 2u * static_cast<uint32_t>(i);
    int32_t hi = ByteIndex(unit, start, address);
    int32_t lo = ByteIndex(unit, start, address + 1);
    // A file never reaches past the end of memory; a hostile length stops here.
    if (hi < 0 || lo < 0) break;
    words[i] = static_cast<uint16_t>((unit.Memory[hi] << 8) | unit.Memory[lo]);
    last = words[i];
  }
  return last;
}

}  // namespace datafile
