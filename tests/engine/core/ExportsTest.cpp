#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>

#include "Block.h"
#include "BlockFactory.h"
#include "EngineFixture.h"
#include "Plexor.h"

extern "C" {
int32_t HeaderInCStepStatus(int32_t result);
int32_t HeaderInCStepArg(int32_t result);
int32_t HeaderInCConnInput(int32_t result);
}

namespace {

using vt::Engine;

TEST(Exports, ErrorTextIsTheHandle) {
  Engine e;
  const char* text = PlexorGetErrorMessage(e);
  EXPECT_EQ(static_cast<const void*>(text), static_cast<const void*>(e.get()));
  EXPECT_STREQ(text, "");
  e.get()->SetError(std::string(400, 'x').c_str());
  EXPECT_EQ(std::strlen(PlexorGetErrorMessage(e)), 255u);
  PlexorDestroy(nullptr);
}

TEST(Exports, ProgressAndBreak) {
  Engine e;
  EXPECT_EQ(PlexorGetProgress(e), 0);
  e.get()->Progress = 3;
  e.get()->ProgressTotal = 7;
  EXPECT_EQ(PlexorGetProgress(e), 42);
  e.get()->ProgressTotal = 0;
  EXPECT_EQ(PlexorGetProgress(e), 0);
  PlexorBreak(e);
  EXPECT_EQ(e.get()->BreakRequested.load(), 1);
}

TEST(Exports, SmallValueExportsOfTheUnit) {
  Engine e;
  EXPECT_EQ(PlexorSetFreq(e, 4200), 4200);
  EXPECT_EQ(PlexorGetFreq(e), 4200);
  EXPECT_EQ(PlexorSetFreq(e, 0x12345), 0x2345);
  EXPECT_EQ(PlexorSetADC(e, 7, 0x1FF), 0xFF);
  EXPECT_EQ(PlexorGetADC(e, 7), 0xFF);
  // Channels outside 0..7 are ignored and read as 0; nothing else changes.
  EXPECT_EQ(PlexorSetADC(e, 8, 5), 0);
  EXPECT_EQ(PlexorSetADC(e, -1, 5), 0);
  EXPECT_EQ(PlexorGetADC(e, 8), 0);
  EXPECT_EQ(e.get()->Unit.AnalogOut[0], 0);
  EXPECT_EQ(PlexorGetDAC(e, 2), 0);
  e.get()->Unit.AnalogOut[1] = 77;
  EXPECT_EQ(PlexorGetDAC(e, 1), 77);
  EXPECT_EQ(PlexorSetInitialPortState(e, 0x10F00), 0x0F00);
  EXPECT_EQ(PlexorGetInitialPortState(e), 0x0F00);
  PlexorSetPort(e, 3, 0x100);  // only the low byte counts
  EXPECT_EQ(PlexorGetPortState(e), 0);
  PlexorSetPort(e, 3, 1);
  PlexorSetPort(e, 16, 1);
  EXPECT_EQ(PlexorGetPortState(e), 8);
  e.get()->Unit.PortOutputs = 0x8001;
  EXPECT_EQ(static_cast<uint32_t>(PlexorGetPortState(e)), 0x80010008u);
  PlexorSetPort(e, 3, 0);
  EXPECT_EQ(PlexorGetPortState(e) & 0xFFFF, 0);
  EXPECT_STREQ(PlexorGetLCD(e), "");
  EXPECT_STREQ(PlexorGetLED(e), "");
}

TEST(Exports, NullHandleAndUnknownIdsNeverCrash) {
  PlexorHandle none = nullptr;
  EXPECT_EQ(PlexorAddPage(none, 1, 0), 0);
  EXPECT_EQ(PlexorAddBlock(none, 700, 1), 0);
  EXPECT_EQ(PlexorGetBlockParam(none, 1), nullptr);
  EXPECT_EQ(PlexorConnectBlocks(none, 1, 2, 0), -1);
  EXPECT_EQ(PlexorGetProgress(none), 0);
  Engine e;
  EXPECT_EQ(PlexorSetBlockParam(e, 5, "1"), 0);
  EXPECT_EQ(PlexorEditBlockParam(e, 5), 0);
  EXPECT_EQ(PlexorGetBlockInputMenuFlags(e, 1, 2), nullptr);
  PlexorAddPage(e, 1, 0);
  int32_t v = vt::Add(e, 700, 1, 1);
  EXPECT_EQ(PlexorSetBlockParam(e, v, nullptr), 1);
  EXPECT_STREQ(PlexorGetBlockParam(e, v), "0");
  // Without registered dialogs there is nothing to confirm.
  EXPECT_EQ(PlexorEditBlockParam(e, v), 0);
}

TEST(Exports, NullHandleResultsAndUnpackingMacros) {
  EXPECT_EQ(PlexorStep(nullptr), PLEXOR_STEP_ERROR);
  EXPECT_EQ(PLEXOR_STEP_ARG(PlexorStep(nullptr)), PLEXOR_RTE_OTHER);
  EXPECT_STREQ(PlexorGetOutputString(nullptr), "");
  EXPECT_EQ(PlexorDownload(nullptr, 0), PLEXOR_DL_NOT_COMPILED);
  EXPECT_EQ(PlexorCompile(nullptr), -1);
  // A division by zero on page 0x8001: status and argument come apart
  // without sign trouble, in C as in C++.
  const int32_t error = static_cast<int32_t>(0x0001FFFFu);
  const int32_t page = static_cast<int32_t>(0x80010001u);
  EXPECT_EQ(PLEXOR_STEP_STATUS(error), PLEXOR_STEP_ERROR);
  EXPECT_EQ(PLEXOR_STEP_ARG(error), PLEXOR_RTE_DIVZERO);
  EXPECT_EQ(HeaderInCStepStatus(page), PLEXOR_STEP_PAGE);
  EXPECT_EQ(HeaderInCStepArg(page), 0x8001);
  Engine e;
  PlexorAddPage(e, 1, 0);
  int32_t wired = PlexorConnectBlocks(e, vt::Add(e, 700, 1, 1), vt::Add(e, 200, 1, 2), 3);
  EXPECT_EQ(PLEXOR_CONN_KIND(wired), PLEXOR_CONN_VALUE);
  EXPECT_EQ(PLEXOR_CONN_INPUT(wired), 3);
  EXPECT_EQ(HeaderInCConnInput(wired), 3);
}

// The input menu flags live in a fixed buffer sized by kMaxBlockInputs.
TEST(Exports, NoBlockTypeHasMoreInputsThanTheFlagBuffer) {
  int16_t most = 0;
  for (int32_t type : KnownBlockTypes()) {
    std::unique_ptr<CBlock> block(CreateBlock(type, 0x10001));
    ASSERT_NE(block, nullptr) << type;
    most = std::max<int16_t>(most, static_cast<int16_t>(block->InputSlots()));
  }
  EXPECT_EQ(most, kMaxBlockInputs);
}

}  // namespace
