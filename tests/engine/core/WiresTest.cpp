#include <gtest/gtest.h>

#include <string>

#include "Block.h"
#include "EngineFixture.h"
#include "Plexor.h"

namespace {

using vt::Add;
using vt::Bid;
using vt::Engine;
using vt::Wire;

class Wires : public ::testing::Test {
 protected:
  void SetUp() override { PlexorAddPage(e, 1, 0); }
  CBlock* B(int32_t id) { return e.get()->FindBlock(id); }
  Engine e;
};

TEST_F(Wires, ConnectReportsKindAndIndexAndCounts) {
  int32_t v = Add(e, 700, 1, 1);
  int32_t t = Add(e, 702, 1, 2);
  int32_t tm = Add(e, 703, 1, 3);
  int32_t d = Add(e, 704, 1, 4);
  int32_t add = Add(e, 200, 1, 5);
  int32_t cmp = Add(e, 400, 1, 6);
  int32_t print = Add(e, 900, 1, 7);
  EXPECT_EQ(Wire(e, v, add), 0x00000001);
  EXPECT_EQ(Wire(e, v, add), 0x00010001);
  EXPECT_EQ(Wire(e, v, add), 0x00020001);  // first free input: 2
  EXPECT_EQ(B(add)->WiredInputs, 3);
  EXPECT_EQ(B(v)->Consumers, 3);
  EXPECT_EQ(Wire(e, t, print), 0x00000002);
  EXPECT_EQ(Wire(e, tm, cmp, 1), 0x00010003);
  EXPECT_EQ(Wire(e, d, cmp, 0), 0x00000004);
  int32_t end = Add(e, 1007, 1, 8);
  EXPECT_EQ(Wire(e, end, add) & 0xFFFF, 0);  // kind 0: "other"
}

TEST_F(Wires, BadConnectsAreRefusedAndChangeNothing) {
  int32_t v = Add(e, 700, 1, 1);
  int32_t neg = Add(e, 205, 1, 2);
  EXPECT_EQ(Wire(e, v, neg, 0), 0x1);
  EXPECT_EQ(Wire(e, v, neg, 0), -1);   // occupied
  EXPECT_EQ(Wire(e, v, neg, -1), -1);  // no free input
  EXPECT_EQ(Wire(e, v, neg, 1), -1);   // out of range
  EXPECT_EQ(Wire(e, v, Bid(1, 99)), -1);
  PlexorAddPage(e, 2, 1);
  int32_t other = Add(e, 205, 2, 1);
  EXPECT_EQ(Wire(e, v, other), -1);  // across pages
  EXPECT_EQ(B(v)->Consumers, 1);
  EXPECT_EQ(B(neg)->WiredInputs, 1);
}

TEST_F(Wires, SplitAndRemovalKeepCountersConsistent) {
  int32_t v = Add(e, 700, 1, 1);
  int32_t w = Add(e, 700, 1, 2);
  int32_t sub = Add(e, 201, 1, 3);
  int32_t print = Add(e, 900, 1, 4);
  Wire(e, v, sub, 0);
  Wire(e, v, sub, 1);
  Wire(e, sub, print);
  EXPECT_EQ(B(v)->Consumers, 2);
  PlexorRemoveBlock(e, v);
  EXPECT_EQ(B(sub)->WiredInputs, 0);
  EXPECT_EQ(B(sub)->Inputs[0], nullptr);
  EXPECT_EQ(B(sub)->Inputs[1], nullptr);
  Wire(e, w, sub, 1);
  PlexorSplitBlockConnection(e, sub, 1);
  EXPECT_EQ(B(w)->Consumers, 0);
  EXPECT_EQ(B(sub)->WiredInputs, 0);
  PlexorSplitBlockConnection(e, sub, 1);   // already free
  PlexorSplitBlockConnection(e, sub, 17);  // out of range
  PlexorSplitBlockConnection(e, Bid(1, 99), 0);
  // Removing a block whose inputs are wired frees its sources.
  PlexorRemoveBlock(e, print);
  EXPECT_EQ(B(sub)->Consumers, 0);
  PlexorRemoveBlock(e, Bid(1, 99));
}

TEST_F(Wires, MenuFlagsAndCanConnect) {
  int32_t v = Add(e, 700, 1, 1);
  int32_t tm = Add(e, 703, 1, 2);
  int32_t cmp = Add(e, 400, 1, 3);
  int32_t print = Add(e, 900, 1, 4);
  int32_t text = Add(e, 702, 1, 5);
  int32_t open = Add(e, 800, 1, 6);
  EXPECT_STREQ(PlexorGetBlockInputMenuFlags(e, v, cmp), "  ");
  EXPECT_EQ(PlexorCanConnectBlocks(e, tm, cmp), 1);
  Wire(e, v, cmp, 0);
  EXPECT_STREQ(PlexorGetBlockInputMenuFlags(e, v, cmp), "* ");
  // Asking a wired comparison whether it has an output at all.
  EXPECT_EQ(PlexorCanConnectBlocks(e, cmp, 0), 1);
  EXPECT_EQ(PlexorCanConnectBlocks(e, tm, cmp), 0);  // kinds must match
  EXPECT_EQ(PlexorCanConnectBlocks(e, v, cmp), 1);
  Wire(e, v, cmp, 1);
  EXPECT_EQ(PlexorCanConnectBlocks(e, v, cmp), 0);  // all inputs wired
  EXPECT_EQ(PlexorCanConnectBlocks(e, text, print), 1);
  EXPECT_EQ(PlexorCanConnectBlocks(e, tm, print), 0);  // print takes values and texts
  EXPECT_STREQ(PlexorGetBlockInputMenuFlags(e, tm, print), "*");
  EXPECT_EQ(PlexorCanConnectBlocks(e, v, open), 0);  // no inputs
  EXPECT_STREQ(PlexorGetBlockInputMenuFlags(e, v, open), "");
  EXPECT_EQ(PlexorCanConnectBlocks(e, v, 0), 1);
  EXPECT_EQ(PlexorCanConnectBlocks(e, print, 0), 0);
  EXPECT_EQ(PlexorCanConnectBlocks(e, Bid(1, 50), 0), 0);
  int32_t add = Add(e, 200, 1, 7);
  EXPECT_EQ(std::string(PlexorGetBlockInputMenuFlags(e, v, add)), std::string(20, ' '));
  EXPECT_STREQ(PlexorGetBlockInputMenu(e, cmp), "a\r\nb\r\n");
  EXPECT_STREQ(PlexorGetBlockInputMenu(e, Add(e, 214, 1, 8)), "a\r\nb\r\nc\r\n");
  EXPECT_EQ(PlexorGetBlockInputMenu(e, add), nullptr);
}

TEST_F(Wires, ConnectWithFirstFreeIndexOnAdder) {
  int32_t v = Add(e, 700, 1, 1);
  int32_t add = Add(e, 200, 1, 2);
  Wire(e, v, add, 0);
  Wire(e, v, add, 1);
  EXPECT_EQ(Wire(e, v, add, -1) >> 16, 2);
  PlexorSplitBlockConnection(e, add, 0);
  EXPECT_EQ(Wire(e, v, add, 0xFFFF) >> 16, 0);  // a 16-bit -1 in its slot
}

}  // namespace
