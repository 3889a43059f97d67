// The generator's one way to write an instruction: the operand goes out as
// wide as the opcode table says, and an operand that does not fit the
// opcode's form stops the generator before a byte is written.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "OpcodeTable.h"
#include "Opcodes.h"
#include "Plexor.h"
#include "PlexorCompiler.h"

namespace {

constexpr int32_t kNone = CPlexorCompiler::kNoOperand;

// The first byte that is no instruction.
constexpr uint8_t NoInstruction() {
  for (int code = 0; code < 256; ++code)
    if (Opcode(static_cast<uint8_t>(code)).Mnemonic.empty()) return static_cast<uint8_t>(code);
  return 0;
}
static_assert(Opcode(NoInstruction()).Mnemonic.empty(), "the instruction set leaves bytes free");

std::vector<uint8_t> CodeOf(CPlexorCompiler& c) {
  std::vector<uint8_t> bytes;
  for (int32_t i = 0; i < c.Length(); ++i) bytes.push_back(c.Code.at(i));
  return bytes;
}

TEST(Emit, WritesTheOperandAsWideAsItsForm) {
  struct Row {
    uint8_t opcode;
    int32_t operand;
    std::vector<uint8_t> bytes;
  };
  const Row rows[] = {
      {op::ADD, kNone, {op::ADD}},
      {op::PRINTSTR, kNone, {op::PRINTSTR}},  // the text follows
      {op::LDPIN, 0, {op::LDPIN, 0}},
      {op::STSYS, 0xFF, {op::STSYS, 0xFF}},
      {op::LDI, 0, {op::LDI, 0, 0}},
      {op::LDI, 0xFFFF, {op::LDI, 0xFF, 0xFF}},
      {op::PAGEMARK, 0x1234, {op::PAGEMARK, 0x12, 0x34}},
      {op::JZ, 0x0104, {op::JZ, 0x01, 0x04}},
  };
  for (const Row& row : rows) {
    CPlexor engine;
    CPlexorCompiler c(engine, false);
    c.Emit(row.opcode, row.operand);
    EXPECT_EQ(CodeOf(c), row.bytes) << Opcode(row.opcode).Mnemonic;
  }
}

TEST(Emit, RefusesAnOperandThatDoesNotFitAndWritesNothing) {
  struct Row {
    uint8_t opcode;
    int32_t operand;
  };
  const Row rows[] = {
      {op::ADD, 0},             // no operand taken
      {op::PRINTSTR, 'A'},      // a string is not one operand
      {op::LDPIN, kNone},       // byte missing
      {op::LDPIN, 0x100},       // a word where a byte belongs
      {op::STSYS, -2},          //
      {op::LDI, kNone},         // word missing
      {op::LDI, 0x10000},       // wider than a word
      {op::JMP, -2},            //
      {op::LDBYTEJEQ, 0},       // byte and address: not one operand
      {NoInstruction(), kNone},  // no instruction
  };
  for (const Row& row : rows) {
    CPlexor engine;
    CPlexorCompiler c(engine, false);
    EXPECT_THROW(c.Emit(row.opcode, row.operand), std::logic_error) << int(row.opcode) << " " << row.operand;
    EXPECT_EQ(c.Length(), 0);
  }
}

}  // namespace
