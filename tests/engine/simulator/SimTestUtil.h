// Helpers for simulator tests: a tiny assembler for hand-made byte images
// and a loader that puts them into the unit as a compile would.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "Opcodes.h"
#include "Plexor.h"
#include "UnitClock.h"

namespace st {

// Byte-code builder; Here() is the unit address of the next byte.
class Asm {
 public:
  Asm& Op(uint8_t code) { b.push_back(code); return *this; }
  Asm& Byte(int v) { b.push_back(static_cast<uint8_t>(v)); return *this; }
  Asm& Word(int v) { b.push_back(static_cast<uint8_t>((v >> 8) & 0xFF)); b.push_back(static_cast<uint8_t>(v & 0xFF)); return *this; }
  Asm& Op(uint8_t code, int byte) { return Op(code).Byte(byte); }
  Asm& OpW(uint8_t code, int word) { return Op(code).Word(word); }
  Asm& Ldi(int v) { return OpW(op::LDI, v); }
  Asm& Str(const std::string& s) { Op(op::PRINTSTR); for (char c : s) Byte(c); return Byte(0); }
  Asm& Bytes(std::initializer_list<int> list) { for (int v : list) Byte(v); return *this; }
  int Here() const { return 4 + static_cast<int>(b.size()); }
  std::vector<uint8_t> b;
};

// Puts code at address 4 with the header of a fresh compile. The header's
// download length defaults to the code length.
inline void Load(PlexorHandle e, const std::vector<uint8_t>& code, int downloadLength = -1) {
  CUnitModel& u = e->Unit;
  int length = downloadLength < 0 ? static_cast<int>(code.size()) : downloadLength;
  u.Memory[0] = static_cast<uint8_t>(length >> 8);
  u.Memory[1] = static_cast<uint8_t>(length);
  u.Memory[2] = u.Memory[3] = 0;
  for (size_t i = 0; i < code.size() && i + 4 < static_cast<size_t>(kUnitMemorySize); ++i) u.Memory[4 + i] = code[i];
  u.ImageLength = static_cast<int32_t>(code.size());
}
inline void Load(PlexorHandle e, const Asm& a, int downloadLength = -1) { Load(e, a.b, downloadLength); }

inline uint16_t Status(int32_t r) { return static_cast<uint16_t>(r & 0xFFFF); }
inline uint16_t Info(int32_t r) { return static_cast<uint16_t>(static_cast<uint32_t>(r) >> 16); }
inline int32_t R(int status, int info) { return static_cast<int32_t>((static_cast<uint32_t>(info) << 16) | static_cast<uint32_t>(status)); }

// A clock whose time the test sets; sleeping only records and advances it.
class ScriptedClock : public CUnitClock {
 public:
  uint32_t Milliseconds() override { return ms; }
  CLocalTime LocalTime() override { return time; }
  void Sleep(uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    ms += milliseconds;
  }
  uint32_t ms = 0;
  CLocalTime time;
  std::vector<uint32_t> sleeps;
};

// After a reset, the program "constant 5 printed with CR LF" on page 1
// steps through a page marker, two outputs and END, then starts again.
inline void ExpectPrintsFiveWithLineFeed(PlexorHandle e) {
  EXPECT_EQ(PlexorStep(e), R(1, 1));
  EXPECT_EQ(PlexorStep(e), R(3, 1));
  EXPECT_STREQ(PlexorGetOutputString(e), "5");
  EXPECT_EQ(PlexorStep(e), R(3, 1));
  EXPECT_STREQ(PlexorGetOutputString(e), "\r\n");
  EXPECT_EQ(PlexorStep(e), R(0, 1));
  EXPECT_EQ(e->Unit.PC, 4);
  EXPECT_EQ(PlexorStep(e), R(1, 1));
}

}  // namespace st
