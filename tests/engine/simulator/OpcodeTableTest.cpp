// The interpreter against the opcode table: for every opcode byte that does
// not jump or stop the step, the interpreter reads exactly the operand bytes
// the table names and moves the shift-register stack as the table says.
#include <gtest/gtest.h>

#include "OpcodeTable.h"
#include "SimTestUtil.h"

namespace {

using st::Asm;

TEST(OpcodeTable, InterpreterReadsTheOperandsAndMovesTheStackAsListed) {
  int checked = 0;
  for (int code = 0; code < 256; ++code) {
    const OpcodeInfo& info = Opcode(static_cast<uint8_t>(code));
    // Opcodes that always leave the straight line or end the step, or whose
    // stack effect depends on their operand, are covered by their own tests.
    if (info.StopsStep || info.Stack == StackEffect::Varies || info.Operand == OperandForm::String) continue;
    if (code == op::JMP || code == op::CALL || code == op::ADDSTBYTEJMP || code == op::ADDSTWORDJMP) continue;
    SCOPED_TRACE(code);
    // Seven distinct words, the opcode with operand bytes that are PRINTNUM,
    // then END and PRINTNUM: reading one operand byte too few or too many
    // runs a PRINTNUM and ends the step with output instead of END.
    Asm a;
    for (int v = 1; v <= 7; ++v) a.Ldi(100 + v);
    a.Op(static_cast<uint8_t>(code));
    for (int i = 0; i < OperandBytes(info.Operand); ++i) a.Byte(op::PRINTNUM);
    a.Op(op::END).Op(op::PRINTNUM);
    vt::Engine e;
    st::Load(e, a);
    PlexorResetProgram(e);
    ASSERT_EQ(PlexorStep(e), st::R(PLEXOR_STEP_END, 0));
    const int16_t* s = e.get()->Unit.Stack;
    // Before the opcode: Stack[k] = 107 - k.
    switch (info.Stack) {
      case StackEffect::Push:
        for (int k = 1; k < 7; ++k) EXPECT_EQ(s[k], 108 - k) << k;
        break;
      case StackEffect::Pop:
        for (int k = 1; k < 6; ++k) EXPECT_EQ(s[k], 107 - (k + 1)) << k;
        EXPECT_EQ(s[6], 101);  // the bottom word is repeated
        break;
      case StackEffect::Replace:
        for (int k = 1; k < 7; ++k) EXPECT_EQ(s[k], 107 - k) << k;
        break;
      case StackEffect::None:
        for (int k = 0; k < 7; ++k) EXPECT_EQ(s[k], 107 - k) << k;
        break;
      case StackEffect::Clear:
        for (int k = 0; k < 7; ++k) EXPECT_EQ(s[k], 0) << k;
        break;
      case StackEffect::Varies:
        break;
    }
    ++checked;
  }
  EXPECT_GT(checked, 150);  // the named instructions and every unnamed byte
}

TEST(OpcodeTable, MnemonicsAreUniqueAndFindTheirOpcode) {
  for (int code = 0; code < 256; ++code) {
    const std::string_view name = Opcode(static_cast<uint8_t>(code)).Mnemonic;
    if (name.empty()) continue;
    EXPECT_EQ(OpcodeOf(name), code) << name;
  }
  EXPECT_EQ(OpcodeOf("EOF"), op::EOFTEST);
  EXPECT_EQ(OpcodeOf("NOPE"), -1);
}

}  // namespace
