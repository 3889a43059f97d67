// The data file in the unit's memory: FILE operations, EOF, the file
// registers, the dump export, and its place behind the simulation image.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "SimTestUtil.h"

namespace {

using st::Asm;
using st::Load;
using st::R;
using st::Status;

std::vector<uint16_t> Dump(PlexorHandle e) {
  std::vector<uint16_t> words(static_cast<size_t>(PlexorGetFileLength(e)) + 1, 0xEEEE);
  PlexorDumpFile(e, words.data());
  EXPECT_EQ(words.back(), 0xEEEE);  // nothing beyond the reported length
  words.pop_back();
  return words;
}

TEST(DataFile, WriteCloseAppendAndReadAcrossResets) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  Asm w;
  w.Op(op::FILE, fileop::OPEN_WRITE);
  for (int v : {11, -22, 33}) w.Ldi(v).Op(op::FILE, fileop::WRITE);
  w.Op(op::FILE, fileop::CLOSE).Op(op::LDSYS, sysreg::FILE_LENGTH).Op(op::LDSYS, sysreg::FILE_FREE).Op(op::END);
  Load(e, w);
  PlexorResetProgram(e);
  // Opening an empty file for writing changes no length; each write does.
  for (int i = 0; i < 3; ++i) EXPECT_EQ(PlexorStep(e), R(6, 0));
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(u.Stack[1], 3);
  const int start = 4 + static_cast<int>(w.b.size());
  EXPECT_EQ(u.Stack[0], (8180 - start - 6) / 2);
  EXPECT_EQ(u.Memory[2], 0);
  EXPECT_EQ(u.Memory[3], 6);
  EXPECT_EQ(PlexorGetFileLength(e), 3);
  EXPECT_EQ(Dump(e), (std::vector<uint16_t>{11, 0xFFEA, 33}));
  std::vector<uint16_t> words(3);
  EXPECT_EQ(PlexorDumpFile(e, words.data()), 33);
  EXPECT_EQ(PlexorGetValue(e, PLEXOR_MAPCODE(1, 5, 12)), 6);  // bytes through value access

  // Reset keeps the memory; appending continues behind the three words.
  Asm a;
  a.Op(op::FILE, fileop::OPEN_APPEND).Ldi(44).Op(op::FILE, fileop::WRITE).Op(op::FILE, fileop::CLOSE).Op(op::END);
  Load(e, a, static_cast<int>(w.b.size()));
  u.Memory[3] = 6;  // Load wrote a fresh header; the stored length stays as closed
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorGetFileLength(e), 0);
  EXPECT_EQ(PlexorStep(e), R(6, 0));  // append sets the length
  EXPECT_EQ(PlexorStep(e), R(6, 0));
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(Dump(e), (std::vector<uint16_t>{11, 0xFFEA, 33, 44}));

  // Reading: EOF false until the last word has been read, then true; reads
  // beyond the length go on without complaint.
  Asm r;
  r.Op(op::FILE, fileop::OPEN_READ);
  for (int i = 0; i < 5; ++i) r.Op(op::EOFTEST).Op(op::FILE, fileop::READ);
  r.Op(op::EOFTEST).Op(op::END);
  Load(e, r, static_cast<int>(w.b.size()));
  u.Memory[3] = 8;
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(6, 0));  // open for reading loads the length
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  // Shift register: the first reads fell off; the last EOFs and words remain.
  EXPECT_EQ(u.Stack[0], -1);
  EXPECT_EQ(u.Stack[2], -1);  // EOF before the fifth read
  EXPECT_EQ(u.Stack[3], 44);
  EXPECT_EQ(u.Stack[4], 0);   // EOF before the fourth read
  EXPECT_EQ(u.Stack[5], 33);
  EXPECT_EQ(u.FilePosition, 10);
}

TEST(DataFile, EmptyFileIsAtItsEndAtOnce) {
  vt::Engine e;
  Load(e, Asm().Op(op::FILE, fileop::OPEN_READ).Op(op::EOFTEST).Op(op::FILE, 0).Op(op::FILE, 99).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  EXPECT_EQ(e.get()->Unit.Stack[0], -1);
  std::vector<uint16_t> none(1, 0xEEEE);
  EXPECT_EQ(PlexorDumpFile(e, none.data()), 0);
  EXPECT_EQ(none[0], 0xEEEE);
  EXPECT_EQ(PlexorDumpFile(e, nullptr), 0);
}

// The header names a download image three bytes shorter than the image in
// memory (its page marker), so the unit's file start lies inside the tail
// of the simulated program.
Asm LoggingProgram() {
  Asm a;
  a.Op(op::FILE, fileop::OPEN_WRITE);
  int loop = a.Here();
  a.OpW(op::PAGEMARK, 1).Op(op::LDSYS, sysreg::FILE_FREE).OpW(op::JZ, 0);
  size_t fixup = a.b.size() - 2;
  a.Ldi(0x5A5A).Op(op::FILE, fileop::WRITE).OpW(op::JMP, loop);
  int full = a.Here();
  a.b[fixup] = static_cast<uint8_t>(full >> 8);
  a.b[fixup + 1] = static_cast<uint8_t>(full);
  a.Str("full").Op(op::END);
  return a;
}

TEST(DataFile, LoggingUntilMemoryIsFullNeverTouchesTheProgram) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  Asm a = LoggingProgram();
  const int download = static_cast<int>(a.b.size()) - 3;
  Load(e, a, download);
  PlexorResetProgram(e);
  int steps = 0;
  int32_t r = 0;
  while (Status(r = PlexorStep(e)) != PLEXOR_STEP_OUTPUT && steps < 20000) {
    ASSERT_TRUE(Status(r) == PLEXOR_STEP_PAGE || Status(r) == PLEXOR_STEP_FILE) << std::hex << r;
    ++steps;
  }
  EXPECT_STREQ(PlexorGetOutputString(e), "full");
  EXPECT_EQ(std::memcmp(u.Memory + 4, a.b.data(), a.b.size()), 0);
  EXPECT_EQ(PlexorStep(e), R(0, 1));
  // The unit's view: the file starts behind the download image and fills
  // the memory up to its end.
  const int words = (8180 - (download + 4)) / 2;
  EXPECT_EQ(PlexorGetFileLength(e), words);
  EXPECT_EQ(PlexorGetValue(e, PLEXOR_MAPCODE(1, 5, 11)), 0);
  std::vector<uint16_t> dump = Dump(e);
  ASSERT_EQ(static_cast<int>(dump.size()), words);
  for (uint16_t w : dump) ASSERT_EQ(w, 0x5A5A);
}

TEST(DataFile, WriteThatReachesTheEndOfMemoryFails) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  // Download length 8175: the file starts at 8179, room for one byte only.
  Asm a;
  a.Op(op::FILE, fileop::OPEN_WRITE).Ldi(0x1234).Op(op::FILE, fileop::WRITE).Op(op::END);
  Load(e, a, 8175);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorGetValue(e, PLEXOR_MAPCODE(1, 5, 11)), 4090);
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 2));
  EXPECT_EQ(u.FileLength, 0);
  EXPECT_EQ(u.Stack[0], 0);
  EXPECT_EQ(u.Memory[8179], 0x12);  // the byte below the end was written
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 2));
}

TEST(DataFile, HostileHeadersStayInsideTheUnit) {
  vt::Engine e;
  CUnitModel& u = e.get()->Unit;
  Asm a;
  a.Op(op::FILE, fileop::OPEN_APPEND).Ldi(0x7777).Op(op::FILE, fileop::WRITE).Op(op::END);
  std::vector<uint8_t> program = a.b;
  // A stored length that would wrap the 16-bit address back onto the code.
  Load(e, a);
  u.Memory[2] = 0xFF;
  u.Memory[3] = 0xFE;
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(6, 0));
  EXPECT_EQ(PlexorStep(e), R(0xFFFF, 2));
  EXPECT_EQ(std::memcmp(u.Memory + 4, program.data(), program.size()), 0);
  // The dump of such a file stops at the end of memory.
  std::vector<uint16_t> words(static_cast<size_t>(PlexorGetFileLength(e)), 0);
  EXPECT_EQ(PlexorGetFileLength(e), 0x7FFF);
  PlexorDumpFile(e, words.data());

  // A header whose download length wraps the file start around.
  for (int length : {0xFFFC, 0xFFFF, 8176, 8180, 0x8000}) {
    Load(e, Asm().Op(op::FILE, fileop::OPEN_WRITE).Ldi(1).Op(op::FILE, fileop::WRITE)
                 .Op(op::FILE, fileop::READ).Op(op::FILE, fileop::CLOSE).Op(op::END), length);
    std::vector<uint8_t> code(u.Memory + 4, u.Memory + 4 + u.ImageLength);
    PlexorResetProgram(e);
    for (int i = 0; i < 4; ++i) PlexorStep(e);
    EXPECT_EQ(std::memcmp(u.Memory + 4, code.data(), code.size()), 0) << length;
    std::vector<uint16_t> dump(static_cast<size_t>(PlexorGetFileLength(e)) + 1);
    PlexorDumpFile(e, dump.data());
  }
}

TEST(DataFile, RegistersBeforeAnyOpen) {
  vt::Engine e;
  Load(e, Asm().Op(op::LDSYS, sysreg::FILE_FREE).Op(op::LDSYS, sysreg::FILE_LENGTH).Op(op::EOFTEST).Op(op::END));
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(0, 0));
  const CUnitModel& u = e.get()->Unit;
  EXPECT_EQ(u.Stack[2], 4090);
  EXPECT_EQ(u.Stack[1], 0);
  EXPECT_EQ(u.Stack[0], -1);
}

}  // namespace
