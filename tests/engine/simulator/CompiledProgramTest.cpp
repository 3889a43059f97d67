// Programs compiled from block graphs, run through the exported interface
// the way the station runs them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "EngineFixture.h"
#include "Plexor.h"
#include "SimTestUtil.h"

namespace {

using vt::Add;
using vt::Wire;

uint16_t Status(int32_t r) { return static_cast<uint16_t>(r & 0xFFFF); }
using st::R;

// Block type ids of the catalogue.
enum : int32_t {
  kKey1 = 112, kPort1 = 130, kDiv = 203, kZero = 406, kBit = 600, kWord = 602, kConst = 700, kText = 702,
  kOpenWrite = 800, kWriteFile = 803, kFileFree = 807, kPrint = 900, kGet = 903, kGoto = 1000, kWait = 1005,
};

TEST(CompiledProgram, ConstantPrintedWithLineFeed) {
  vt::Engine e;
  ASSERT_EQ(PlexorAddPage(e, 1, 0), 1);
  int32_t c = Add(e, kConst, 1, 1, "5");
  int32_t p = Add(e, kPrint, 1, 2, "2");
  Wire(e, c, p);
  ASSERT_EQ(vt::CompileAll(e), 0);
  PlexorResetProgram(e);
  st::ExpectPrintsFiveWithLineFeed(e);
}

TEST(CompiledProgram, KeysCellsAndPortOutputs) {
  vt::Engine e;
  PlexorAddPage(e, 7, 0);
  int32_t key = Add(e, kKey1, 7, 1);  // key 1 = port 9, read inverted
  int32_t bit = Add(e, kBit, 7, 2, "1");
  Wire(e, key, bit);
  int32_t one = Add(e, kConst, 7, 3, "1");
  int32_t port = Add(e, kPort1, 7, 4);
  Wire(e, one, port);
  ASSERT_EQ(vt::CompileAll(e), 0);
  PlexorSetInitialPortState(e, 0x0100);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorGetPortState(e), 256);
  EXPECT_EQ(PlexorStep(e), R(1, 7));
  EXPECT_EQ(PlexorStep(e), R(0, 7));
  const int32_t cell = PlexorGetMapCode(e, bit);
  EXPECT_EQ(PlexorGetValue(e, cell), 0);  // port 9 high: key released
  EXPECT_EQ(static_cast<uint32_t>(PlexorGetPortState(e)), 0x00010101u);
  EXPECT_EQ(PlexorGetValue(e, PlexorGetMapCode(e, port)), 1);
  // Pressing the key pulls port 9 low.
  PlexorSetPort(e, 8, 0);
  PlexorStep(e);
  PlexorStep(e);
  EXPECT_EQ(PlexorGetValue(e, cell), -1);
  // The watch list may write the cell; the program overwrites it again.
  EXPECT_EQ(PlexorSetValue(e, cell, 0), 1);
  EXPECT_EQ(PlexorGetValue(e, cell), 0);
}

TEST(CompiledProgram, SerialInputIntoAWordCell) {
  vt::Engine e;
  PlexorAddPage(e, 1, 0);
  int32_t get = Add(e, kGet, 1, 1);
  int32_t word = Add(e, kWord, 1, 2, "3");
  Wire(e, get, word);
  ASSERT_EQ(vt::CompileAll(e), 0);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(1, 1));
  EXPECT_EQ(PlexorStep(e), R(2, 1));
  EXPECT_EQ(PlexorStep(e), R(2, 1));
  PlexorSetInputValue(e, 0x1FF);
  EXPECT_EQ(PlexorStep(e), R(0, 1));
  EXPECT_EQ(PlexorGetValue(e, PlexorGetMapCode(e, word)), 0xFF);  // GETB takes the low byte
}

TEST(CompiledProgram, DivisionByZeroOnTheFirstPageFailsEveryStep) {
  vt::Engine e;
  PlexorAddPage(e, 1, 0);
  int32_t a = Add(e, kConst, 1, 1, "1");
  int32_t b = Add(e, kConst, 1, 2, "0");
  int32_t div = Add(e, kDiv, 1, 3);
  int32_t word = Add(e, kWord, 1, 4, "1");
  Wire(e, a, div, 0);
  Wire(e, b, div, 1);
  Wire(e, div, word);
  ASSERT_EQ(vt::CompileAll(e), 0);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(1, 1));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(PlexorStep(e), R(0xFFFF, 1));
}

TEST(CompiledProgram, WaitBlockPassesUntilTheKeyIsPressed) {
  vt::Engine e;
  PlexorAddPage(e, 2, 0);
  int32_t key = Add(e, kKey1, 2, 1);
  int32_t wait = Add(e, kWait, 2, 2);
  Wire(e, key, wait);
  ASSERT_EQ(vt::CompileAll(e), 0);
  PlexorSetInitialPortState(e, 0x0100);
  PlexorResetProgram(e);
  EXPECT_EQ(PlexorStep(e), R(1, 2));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(PlexorStep(e), R(4, 2));
  PlexorSetPort(e, 8, 0);
  EXPECT_EQ(PlexorStep(e), R(0, 2));
}

// Page "A" opens the file; page "B" writes a word per pass until the free
// space reported by the unit is used up, then goes to page "C", which
// prints a text. The simulation image is longer than the download image,
// so the unit's file start lies inside the simulated program.
TEST(CompiledProgram, LoggingUntilMemoryIsFullKeepsTheProgramIntact) {
  vt::Engine e;
  PlexorAddPage(e, 1, 0);
  PlexorAddPage(e, 2, 1);
  PlexorAddPage(e, 3, 2);
  PlexorSetPageName(e, 1, "A");
  PlexorSetPageName(e, 2, "B");
  PlexorSetPageName(e, 3, "C");
  Add(e, kOpenWrite, 1, 1);
  int32_t free = Add(e, kFileFree, 2, 1);
  int32_t zero = Add(e, kZero, 2, 2);
  Wire(e, free, zero);
  int32_t toC = Add(e, kGoto, 2, 3, "C");
  Wire(e, zero, toC);
  int32_t value = Add(e, kConst, 2, 4, "4660");
  int32_t write = Add(e, kWriteFile, 2, 5);
  Wire(e, value, write);
  Add(e, kGoto, 2, 6, "B");
  int32_t text = Add(e, kText, 3, 1, "VOLL");
  int32_t print = Add(e, kPrint, 3, 2, "1");
  Wire(e, text, print);
  ASSERT_EQ(vt::CompileAll(e), 0);

  CUnitModel& u = e.get()->Unit;
  const int download = (u.Memory[0] << 8) | u.Memory[1];
  ASSERT_GT(u.ImageLength, download);
  std::vector<uint8_t> image(u.Memory + 4, u.Memory + 4 + u.ImageLength);

  PlexorResetProgram(e);
  std::string output;
  int32_t r = R(PLEXOR_STEP_PAGE, 0);
  int fileSteps = 0;
  for (int i = 0; i < 20000 && Status(r) != PLEXOR_STEP_END; ++i) {
    r = PlexorStep(e);
    ASSERT_NE(Status(r), PLEXOR_STEP_ERROR);
    if (Status(r) == PLEXOR_STEP_OUTPUT) output += PlexorGetOutputString(e);
    if (Status(r) == PLEXOR_STEP_FILE) ++fileSteps;
  }
  EXPECT_EQ(r, R(0, 3));
  EXPECT_EQ(output, "VOLL");
  EXPECT_EQ(std::memcmp(u.Memory + 4, image.data(), image.size()), 0);
  const int words = (8180 - download - 4) / 2;
  EXPECT_EQ(fileSteps, words);
  EXPECT_EQ(PlexorGetFileLength(e), words);
  std::vector<uint16_t> dump(static_cast<size_t>(words));
  EXPECT_EQ(PlexorDumpFile(e, dump.data()), 4660);
  for (uint16_t w : dump) ASSERT_EQ(w, 4660);
}

}  // namespace
