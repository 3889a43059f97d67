// Where the bytes of the unit's data file live in the simulated memory.
//
// Programs and the station see the file at the unit's addresses: it starts
// behind the download image named by the header word at address 0, and it
// ends at address 8179. The simulation image in Memory is longer than the
// download image, so the simulator keeps the same file bytes shifted behind
// the simulation image; free space and lengths are still those of the unit.
#pragma once

#include <cstdint>

#include "UnitModel.h"

namespace datafile {

// Unit address of the file for the header now in Memory (16-bit, as the
// unit computes it).
inline uint16_t StartFromHeader(const CUnitModel& unit) {
  return static_cast<uint16_t>(((unit.Memory[0] << 8) | unit.Memory[1]) + 4);
}

inline uint16_t StoredLength(const CUnitModel& unit) {
  return static_cast<uint16_t>((unit.Memory[2] << 8) | unit.Memory[3]);
}

// Index into Memory of the file byte at unit address `address` of a file
// starting at `start`, or -1 when the address lies at or beyond the end of
// the unit's memory.
inline int32_t ByteIndex(const CUnitModel& unit, uint32_t start, uint32_t address) {
  if (address >= static_cast<uint32_t>(kUnitMemorySize)) return -1;
  int32_t image = unit.ImageLength;
  if (image < 0) image = 0;
  if (image > kUnitMemorySize - 4) image = kUnitMemorySize - 4;
  uint32_t imageEnd = static_cast<uint32_t>(image) + 4;
  uint32_t shift = imageEnd > start ? imageEnd - start : 0;
  return static_cast<int32_t>(address + shift);  // < kUnitMemorySize + kFileSpillSize
}

// Free words as LDSYS 11 reports them, truncated toward zero.
inline int32_t FreeWords(const CUnitModel& unit) {
  return (kUnitMemorySize - static_cast<int32_t>(unit.FileStart) - static_cast<int32_t>(unit.FileLength)) / 2;
}

// Copies the file's words (FileLength / 2 of them) into words. Returns the
// last word copied, or the word count when there is none.
int32_t Dump(const CUnitModel& unit, uint16_t* words);

}  // namespace datafile
