#include <gtest/gtest.h>

#include <string>

#include "CompilerTestUtil.h"

namespace {

using vt::Add;
using vt::Bid;
using vt::Body;
using vt::Bytes;
using vt::Engine;
using vt::Wire;

class CodeGen : public ::testing::Test {
 protected:
  void SetUp() override { PlexorAddPage(e, 1, 0); }
  int32_t B(int32_t type, const char* param = nullptr) { return Add(e, type, 1, ++n, param); }
  int32_t C(int value) { return B(700, std::to_string(value).c_str()); }
  // Prints the value of block b (ending "nichts": PRINTNUM only).
  void Print(int32_t b) { Wire(e, b, B(900, "1")); }
  Bytes Compiled(std::vector<std::pair<std::string, std::string>> tables = {}) {
    int32_t r = vt::CompileAll(e, tables);
    EXPECT_EQ(r, 0) << PlexorGetErrorMessage(e);
    return Body(e);
  }
  Engine e;
  int32_t n = 0;
};

TEST_F(CodeGen, CommutativeFoldSkipsFreeInputs) {
  int32_t add = B(200);
  Wire(e, C(2), add, 0);
  Wire(e, C(3), add, 2);
  Print(add);
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 2, 20, 0, 3, 51, 30}));
}

TEST_F(CodeGen, NandAndNorNegateTheFold) {
  int32_t nand = B(302);
  Wire(e, C(1), nand, 5);
  Print(nand);
  int32_t nor = B(304);
  Wire(e, C(1), nor);
  Wire(e, C(2), nor);
  Print(nor);
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 1, 40, 30, 20, 0, 1, 20, 0, 2, 43, 40, 30}));
}

TEST_F(CodeGen, EveryOperatorOfTheCalculators) {
  struct Row {
    int32_t type;
    int operands;
    Bytes op;
  };
  const Row rows[] = {
      {201, 2, {52}}, {203, 2, {54}}, {204, 2, {55}}, {212, 2, {46}}, {213, 2, {47}},
      {400, 2, {62}}, {401, 2, {63}}, {402, 2, {60}}, {403, 2, {61}}, {404, 2, {64}}, {405, 2, {65}},
      {205, 1, {50}}, {206, 1, {56}}, {207, 1, {66}}, {215, 1, {57}}, {300, 1, {40}},
      {406, 1, {20, 0, 0, 64}}, {407, 1, {20, 0, 0, 65}}, {408, 1, {20, 0, 0, 60}}, {409, 1, {20, 0, 0, 62}},
      {202, 2, {53}}, {210, 2, {59}}, {211, 2, {58}}, {301, 2, {41}}, {303, 2, {43}}, {305, 2, {45}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    Engine f;
    PlexorAddPage(f, 1, 0);
    int32_t calc = Add(f, row.type, 1, 1);
    Wire(f, Add(f, 700, 1, 2, "7"), calc);
    if (row.operands == 2) Wire(f, Add(f, 700, 1, 3, "2"), calc);
    Wire(f, calc, Add(f, 900, 1, 4));
    ASSERT_EQ(vt::CompileAll(f), 0);
    Bytes expected = row.operands == 2 ? Bytes{20, 0, 7, 20, 0, 2} : Bytes{20, 0, 7};
    expected = vt::Concat(vt::Concat(expected, row.op), {30});
    EXPECT_EQ(Body(f), expected);
  }
}

TEST_F(CodeGen, ValueSwitchUsedTwiceGetsTwoLabelPairs) {
  int32_t sw = B(214);
  Wire(e, C(10), sw, 0);
  Wire(e, C(20), sw, 1);
  Wire(e, C(1), sw, 2);
  Print(sw);
  Print(sw);
  // c; JZ A; a; JMP B; A: b; B:
  Bytes one = {20, 0, 1, 4, 0, 16, 20, 0, 10, 3, 0, 19, 20, 0, 20, 30};
  Bytes two = {20, 0, 1, 4, 0, 32, 20, 0, 10, 3, 0, 35, 20, 0, 20, 30};
  EXPECT_EQ(Compiled(), vt::Concat(one, two));
  auto& labels = e.get()->DownloadCompiler->Labels;
  ASSERT_EQ(labels.size(), 4u);
  EXPECT_EQ(labels[0].name, "@A0");
  EXPECT_EQ(labels[1].name, "@B0");
  EXPECT_EQ(labels[2].name, "@A1");
}

TEST_F(CodeGen, TableLookupUsesTheTableLabel) {
  int32_t tab = B(209, "Kennlinie");
  Wire(e, C(3), tab);
  Print(tab);
  EXPECT_EQ(Compiled({{"Kennlinie", "5 6 7 8"}}), (Bytes{20, 0, 3, 27, 0, 12, 30, 255, 0, 5, 0, 6, 0, 7, 0, 8}));
}

TEST_F(CodeGen, SourcesEmitTheirValues) {
  struct Row {
    int32_t type;
    const char* param;
    Bytes code;
  };
  const Row rows[] = {
      {700, "-2", {20, 0xFF, 0xFE}},
      {701, "'A'", {20, 0, 65}},
      {701, "'\xE4'", {20, 0, 0xE4}},
      {703, "12:34", {20, 0x02, 0xF2}},
      {704, "24.12", {20, 0x01, 0x8C}},
      {509, nullptr, {28, 7}},
      {508, nullptr, {28, 1, 20, 0, 31, 53, 28, 2, 51}},
      {503, nullptr, {28, 4, 20, 0, 60, 53, 28, 5, 51}},
      {105, nullptr, {28, 10}},
      {807, nullptr, {28, 11}},
      {806, nullptr, {71}},
      {804, nullptr, {70, 6}},
      {901, nullptr, {34}},
      {903, nullptr, {34}},
      {905, nullptr, {33}},
      {124, nullptr, {16, 0}},
      {127, nullptr, {16, 3}},
      {120, nullptr, {16, 4, 20, 0, 5, 53, 20, 0, 250, 52}},
      {123, nullptr, {16, 7}},
      {112, nullptr, {10, 8, 40}},
      {115, nullptr, {10, 11, 40}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    Engine f;
    PlexorAddPage(f, 1, 0);
    int32_t source = Add(f, row.type, 1, 1, row.param);
    int32_t print = Add(f, 900, 1, 2);
    bool timeOrDate = !PlexorCanConnectBlocks(f, source, print);
    if (!timeOrDate) {
      Wire(f, source, print);
    } else {
      // Times and dates print nothing; they are compared.
      int32_t cmp = Add(f, 400, 1, 3);
      Wire(f, source, cmp);
      Wire(f, source, cmp);
      Wire(f, cmp, print);
    }
    ASSERT_EQ(vt::CompileAll(f), 0);
    Bytes expected = timeOrDate ? vt::Concat(vt::Concat(row.code, row.code), {62}) : row.code;
    EXPECT_EQ(Body(f), vt::Concat(expected, {30}));
  }
}

TEST_F(CodeGen, MemoryBlocksLoadStoreAndFeedback) {
  // A counter: word cell 1 fed by an adder of itself and 1, printed.
  int32_t cell = B(602, "1");
  int32_t add = B(200);
  Wire(e, cell, add);
  Wire(e, C(1), add);
  Wire(e, add, cell);
  Print(cell);
  EXPECT_EQ(Compiled(), (Bytes{23, 0, 20, 0, 1, 51, 26, 0, 30}));
}

TEST_F(CodeGen, MemoryStatementsAndLoads) {
  struct Row {
    int32_t type;
    const char* param;
    Bytes load, store;
  };
  const Row rows[] = {
      {600, "17", {21, 16}, {24, 16}},  {601, "24", {22, 23}, {25, 23}}, {602, "12", {23, 11}, {26, 11}},
      {130, nullptr, {10, 0}, {13, 0}}, {111, nullptr, {10, 7}, {13, 7}}, {119, nullptr, {10, 15}, {13, 15}},
      {507, nullptr, {28, 0}, {29, 0}}, {506, nullptr, {28, 1}, {29, 1}}, {504, nullptr, {28, 2}, {29, 2}},
      {502, nullptr, {28, 4}, {29, 4}}, {501, nullptr, {28, 5}, {29, 5}}, {500, nullptr, {28, 6}, {29, 6}},
      {208, nullptr, {49}, {48}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.type);
    Engine f;
    PlexorAddPage(f, 1, 0);
    // A written memory block nobody reads is a statement of its own.
    int32_t store = Add(f, row.type, 1, 1, row.param);
    Wire(f, Add(f, 700, 1, 2, "9"), store);
    // A read one is loaded by its consumer.
    Wire(f, Add(f, row.type, 1, 3, row.param), Add(f, 900, 1, 4));
    ASSERT_EQ(vt::CompileAll(f), 0);
    EXPECT_EQ(Body(f), vt::Concat(vt::Concat(Bytes{20, 0, 9}, row.store), vt::Concat(row.load, {30})));
  }
}

TEST_F(CodeGen, WordCellFedByConstantAndPrinted) {
  int32_t cell = B(602, "1");
  Wire(e, C(5), cell);
  Print(cell);
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 5, 26, 0, 30}));
}

TEST_F(CodeGen, PrintBlockCases) {
  int32_t value = C(5);
  Wire(e, value, B(900, "4"));
  Wire(e, C(6), B(900, "1"));
  Wire(e, B(702, "Hi"), B(900, "2"));
  Wire(e, B(702, "Tab"), B(900, "4"));
  Wire(e, B(702, "x"), B(900, "1"));
  Wire(e, B(703, "10:00"), B(900, "2"));  // a time prints nothing
  B(900, "2");                            // nothing wired: no statement
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 5, 30, 31, 9, 0,       //
                               20, 0, 6, 30,                 //
                               31, 'H', 'i', 13, 10, 0,      //
                               31, 'T', 'a', 'b', 9, 0,      //
                               31, 'x', 0}));
}

TEST_F(CodeGen, SinksAndStandaloneBlocks) {
  Wire(e, C(65), B(902));
  Wire(e, C(7), B(803));
  Wire(e, C(50), B(1006));
  B(800);
  B(801);
  B(802);
  B(805);
  B(904, "1");
  B(904, "2");
  B(904, "4");
  B(904);
  B(904, "3");
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 65, 32, 20, 0, 7, 70, 5, 20, 0, 50, 2, 70, 2, 70, 3, 70, 1, 70, 4,
                               72, 219, 72, 210, 72, 201, 72, 192, 72}));
}

TEST_F(CodeGen, BeepWithInputsAndWithMelody) {
  int32_t beep = B(108);
  Wire(e, C(478), beep, 1);
  Wire(e, C(3), beep, 2);
  B(108, "440 10 5 0 3 3 880 10 0 7 7");  // the incomplete last group is left out
  B(108, "");
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 0, 29, 8, 20, 1, 222, 2, 20, 0, 0, 29, 8, 20, 0, 3, 2,  //
                               20, 1, 184, 29, 8, 20, 0, 10, 2, 20, 0, 0, 29, 8, 20, 0, 5, 2,   //
                               20, 3, 112, 29, 8, 20, 0, 10, 2, 20, 0, 0, 29, 8, 20, 0, 0, 2}));
}

TEST_F(CodeGen, ControlJumpsAndConditions) {
  PlexorSetPageName(e, 1, "Ziel");
  int32_t go = B(1000, "Ziel");
  Wire(e, C(1), go);
  B(1001, "Ziel");
  int32_t end = B(1007);
  Wire(e, C(0), end);
  B(1002);
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 1, 4, 0, 13, 3, 0, 4,  // conditional goto over the jump
                               5, 0, 4,                       // gosub
                               20, 0, 0, 4, 0, 23, 255,       // conditional end over END
                               6}));
}

TEST_F(CodeGen, OnGotoComparesTheSelectorPerName) {
  PlexorSetPageName(e, 1, "a");
  PlexorAddPage(e, 2, 1);
  PlexorSetPageName(e, 2, "b");
  int32_t on = B(1003, "a\r\n\r\n  b\x01\r\n");
  int32_t sel = C(1);
  Wire(e, sel, on);
  Bytes code = Compiled();
  EXPECT_EQ(code, (Bytes{20, 0, 1, 20, 0, 0, 64, 4, 0, 17, 3, 0, 4,  //
                         20, 0, 1, 20, 0, 1, 64, 4, 0, 30, 3, 0, 30}));
}

TEST_F(CodeGen, OnGotoNameWithUmlautsIsOneName) {
  PlexorAddPage(e, 2, 1);
  PlexorSetPageName(e, 2, "M\xFChle \xC4");
  int32_t on = B(1004, "M\xFChle \xC4\r\n");
  Wire(e, C(0), on);
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 0, 20, 0, 0, 64, 4, 0, 17, 5, 0, 17}));
}

TEST_F(CodeGen, WaitLoopsDifferBetweenTheImages) {
  int32_t wait = B(1005);
  Wire(e, B(905), wait);
  ASSERT_EQ(vt::CompileAll(e), 0);
  EXPECT_EQ(Body(e), (Bytes{33, 4, 0, 4}));
  EXPECT_EQ(vt::Image(e, true), (Bytes{254, 0, 1, 0, 253, 33, 4, 0, 8, 255}));
}

TEST_F(CodeGen, SharedSourceIsEmittedPerUse) {
  int32_t neg = B(205);
  Wire(e, C(4), neg);
  int32_t add = B(200);
  Wire(e, neg, add);
  Wire(e, neg, add);
  Print(add);
  EXPECT_EQ(Compiled(), (Bytes{20, 0, 4, 50, 20, 0, 4, 50, 51, 30}));
}

}  // namespace
