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
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 2", "LDI 3", "ADD", "PRINTNUM"})));
}

TEST_F(CodeGen, NandAndNorNegateTheFold) {
  int32_t nand = B(302);
  Wire(e, C(1), nand, 5);
  Print(nand);
  int32_t nor = B(304);
  Wire(e, C(1), nor);
  Wire(e, C(2), nor);
  Print(nor);
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 1", "NOT", "PRINTNUM", "LDI 1", "LDI 2", "OR", "NOT", "PRINTNUM"})));
}

TEST_F(CodeGen, EveryOperatorOfTheCalculators) {
  struct Row {
    int32_t type;
    int operands;
    Bytes op;
  };
  const Row rows[] = {
      {201, 2, vt::Asm({"SUB"})},         {203, 2, vt::Asm({"DIV"})},         {204, 2, vt::Asm({"MOD"})},
      {212, 2, vt::Asm({"SHL"})},         {213, 2, vt::Asm({"SHR"})},         {400, 2, vt::Asm({"LT"})},
      {401, 2, vt::Asm({"LE"})},          {402, 2, vt::Asm({"GT"})},          {403, 2, vt::Asm({"GE"})},
      {404, 2, vt::Asm({"EQ"})},          {405, 2, vt::Asm({"NE"})},          {205, 1, vt::Asm({"NEG"})},
      {206, 1, vt::Asm({"ABS"})},         {207, 1, vt::Asm({"SGN"})},         {215, 1, vt::Asm({"SQRT"})},
      {300, 1, vt::Asm({"NOT"})},         {406, 1, vt::Asm({"LDI 0", "EQ"})}, {407, 1, vt::Asm({"LDI 0", "NE"})},
      {408, 1, vt::Asm({"LDI 0", "GT"})}, {409, 1, vt::Asm({"LDI 0", "LT"})}, {202, 2, vt::Asm({"MUL"})},
      {210, 2, vt::Asm({"MIN"})},         {211, 2, vt::Asm({"MAX"})},         {301, 2, vt::Asm({"AND"})},
      {303, 2, vt::Asm({"OR"})},          {305, 2, vt::Asm({"XOR"})},
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
    Bytes expected = row.operands == 2 ? vt::Asm({"LDI 7", "LDI 2"}) : vt::Asm({"LDI 7"});
    expected = vt::Concat(vt::Concat(expected, row.op), vt::Asm({"PRINTNUM"}));
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
  Bytes one = vt::Asm({"LDI 1", "JZ 0x0010", "LDI 10", "JMP 0x0013", "LDI 20", "PRINTNUM"});
  Bytes two = vt::Asm({"LDI 1", "JZ 0x0020", "LDI 10", "JMP 0x0023", "LDI 20", "PRINTNUM"});
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
  EXPECT_EQ(Compiled({{"Kennlinie", "5 6 7 8"}}),
            (vt::Asm({"LDI 3", "LOOKUP 0x000C", "PRINTNUM", "END", "DW 5, 6, 7, 8"})));
}

TEST_F(CodeGen, SourcesEmitTheirValues) {
  struct Row {
    int32_t type;
    const char* param;
    Bytes code;
  };
  const Row rows[] = {
      {700, "-2", vt::Asm({"LDI -2"})},
      {701, "'A'", vt::Asm({"LDI 65"})},
      {701, "'\xE4'", vt::Asm({"LDI 228"})},
      {703, "12:34", vt::Asm({"LDI 754"})},
      {704, "24.12", vt::Asm({"LDI 396"})},
      {509, nullptr, vt::Asm({"LDSYS 7"})},
      {508, nullptr, vt::Asm({"LDSYS 1", "LDI 31", "MUL", "LDSYS 2", "ADD"})},
      {503, nullptr, vt::Asm({"LDSYS 4", "LDI 60", "MUL", "LDSYS 5", "ADD"})},
      {105, nullptr, vt::Asm({"LDSYS 10"})},
      {807, nullptr, vt::Asm({"LDSYS 11"})},
      {806, nullptr, vt::Asm({"EOF"})},
      {804, nullptr, vt::Asm({"FILE 6"})},
      {901, nullptr, vt::Asm({"GETB"})},
      {903, nullptr, vt::Asm({"GETB"})},
      {905, nullptr, vt::Asm({"RXREADY"})},
      {124, nullptr, vt::Asm({"LDADC 0"})},
      {127, nullptr, vt::Asm({"LDADC 3"})},
      {120, nullptr, vt::Asm({"LDADC 4", "LDI 5", "MUL", "LDI 250", "SUB"})},
      {123, nullptr, vt::Asm({"LDADC 7"})},
      {112, nullptr, vt::Asm({"LDPIN 8", "NOT"})},
      {115, nullptr, vt::Asm({"LDPIN 11", "NOT"})},
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
    Bytes expected = timeOrDate ? vt::Concat(vt::Concat(row.code, row.code), vt::Asm({"LT"})) : row.code;
    EXPECT_EQ(Body(f), vt::Concat(expected, vt::Asm({"PRINTNUM"})));
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
  EXPECT_EQ(Compiled(), (vt::Asm({"LDWORD 0", "LDI 1", "ADD", "STWORD 0", "PRINTNUM"})));
}

TEST_F(CodeGen, MemoryStatementsAndLoads) {
  struct Row {
    int32_t type;
    const char* param;
    Bytes load, store;
  };
  const Row rows[] = {
      {600, "17", vt::Asm({"LDBIT 16"}), vt::Asm({"STBIT 16"})},
      {601, "24", vt::Asm({"LDBYTE 23"}), vt::Asm({"STBYTE 23"})},
      {602, "12", vt::Asm({"LDWORD 11"}), vt::Asm({"STWORD 11"})},
      {130, nullptr, vt::Asm({"LDPIN 0"}), vt::Asm({"STPIN 0"})},
      {111, nullptr, vt::Asm({"LDPIN 7"}), vt::Asm({"STPIN 7"})},
      {119, nullptr, vt::Asm({"LDPIN 15"}), vt::Asm({"STPIN 15"})},
      {507, nullptr, vt::Asm({"LDSYS 0"}), vt::Asm({"STSYS 0"})},
      {506, nullptr, vt::Asm({"LDSYS 1"}), vt::Asm({"STSYS 1"})},
      {504, nullptr, vt::Asm({"LDSYS 2"}), vt::Asm({"STSYS 2"})},
      {502, nullptr, vt::Asm({"LDSYS 4"}), vt::Asm({"STSYS 4"})},
      {501, nullptr, vt::Asm({"LDSYS 5"}), vt::Asm({"STSYS 5"})},
      {500, nullptr, vt::Asm({"LDSYS 6"}), vt::Asm({"STSYS 6"})},
      {208, nullptr, vt::Asm({"RAND"}), vt::Asm({"RANDSEED"})},
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
    EXPECT_EQ(Body(f),
              vt::Concat(vt::Concat(vt::Asm({"LDI 9"}), row.store), vt::Concat(row.load, vt::Asm({"PRINTNUM"}))));
  }
}

TEST_F(CodeGen, WordCellFedByConstantAndPrinted) {
  int32_t cell = B(602, "1");
  Wire(e, C(5), cell);
  Print(cell);
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 5", "STWORD 0", "PRINTNUM"})));
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
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 5", "PRINTNUM", R"(PRINTSTR "\t")", "LDI 6", "PRINTNUM", R"(PRINTSTR "Hi\r\n")",
                                  R"(PRINTSTR "Tab\t")", R"(PRINTSTR "x")"})));
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
  B(904, "3");  // no rate of the unit: the opcode alone
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 65", "PUTCH", "LDI 7", "FILE 5", "LDI 50", "PAUSE", "FILE 2", "FILE 3", "FILE 1",
                                  "FILE 4", "BAUD 219", "BAUD 210", "BAUD 201", "BAUD 192", "DB 72"})));
}

TEST_F(CodeGen, BeepWithInputsAndWithMelody) {
  int32_t beep = B(108);
  Wire(e, C(478), beep, 1);
  Wire(e, C(3), beep, 2);
  B(108, "440 10 5 0 3 3 880 10 0 7 7");  // the incomplete last group is left out
  B(108, "");
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 0",   "STSYS 8", "LDI 478", "PAUSE", "LDI 0", "STSYS 8", "LDI 3", "PAUSE",
                                  "LDI 440", "STSYS 8", "LDI 10",  "PAUSE", "LDI 0", "STSYS 8", "LDI 5", "PAUSE",
                                  "LDI 880", "STSYS 8", "LDI 10",  "PAUSE", "LDI 0", "STSYS 8", "LDI 0", "PAUSE"})));
}

TEST_F(CodeGen, ControlJumpsAndConditions) {
  PlexorSetPageName(e, 1, "Ziel");
  int32_t go = B(1000, "Ziel");
  Wire(e, C(1), go);
  B(1001, "Ziel");
  int32_t end = B(1007);
  Wire(e, C(0), end);
  B(1002);
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 1", "JZ 0x000D", "JMP 0x0004",  // conditional goto over the jump
                                  "CALL 0x0004",                       // gosub
                                  "LDI 0", "JZ 0x0017", "END",         // conditional end over END
                                  "RET"})));
}

TEST_F(CodeGen, OnGotoComparesTheSelectorPerName) {
  PlexorSetPageName(e, 1, "a");
  PlexorAddPage(e, 2, 1);
  PlexorSetPageName(e, 2, "b");
  int32_t on = B(1003, "a\r\n\r\n  b\x01\r\n");
  int32_t sel = C(1);
  Wire(e, sel, on);
  Bytes code = Compiled();
  EXPECT_EQ(code, (vt::Asm({"LDI 1", "LDI 0", "EQ", "JZ 0x0011", "JMP 0x0004", "LDI 1", "LDI 1", "EQ", "JZ 0x001E",
                            "JMP 0x001E"})));
}

TEST_F(CodeGen, OnGotoNameWithUmlautsIsOneName) {
  PlexorAddPage(e, 2, 1);
  PlexorSetPageName(e, 2, "M\xFChle \xC4");
  int32_t on = B(1004, "M\xFChle \xC4\r\n");
  Wire(e, C(0), on);
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 0", "LDI 0", "EQ", "JZ 0x0011", "CALL 0x0011"})));
}

TEST_F(CodeGen, WaitLoopsDifferBetweenTheImages) {
  int32_t wait = B(1005);
  Wire(e, B(905), wait);
  ASSERT_EQ(vt::CompileAll(e), 0);
  EXPECT_EQ(Body(e), (vt::Asm({"RXREADY", "JZ 0x0004"})));
  EXPECT_EQ(vt::Image(e, true), (vt::Asm({"PAGEMARK 1", "PAD", "WAITMARK", "RXREADY", "JZ 0x0008", "END"})));
}

TEST_F(CodeGen, SharedSourceIsEmittedPerUse) {
  int32_t neg = B(205);
  Wire(e, C(4), neg);
  int32_t add = B(200);
  Wire(e, neg, add);
  Wire(e, neg, add);
  Print(add);
  EXPECT_EQ(Compiled(), (vt::Asm({"LDI 4", "NEG", "LDI 4", "NEG", "ADD", "PRINTNUM"})));
}

}  // namespace
