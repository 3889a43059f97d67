// The unit's instruction set as one table: for every opcode byte its
// mnemonic, the form of its operand and its effect on the shift-register
// stack. The interpreter checks its dispatch against it, the code listing
// and the tests' assembler read and write mnemonics through it.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "Opcodes.h"

// What follows the opcode byte.
enum class OperandForm : uint8_t {
  None,
  Byte,         // one byte
  Word,         // a big-endian word that is a number
  Address,      // a big-endian word that is a unit address
  String,       // bytes up to and including a terminating 0
  ByteAddress,  // a byte, then a big-endian unit address
};

// Effect on the expression stack (A on top, B below; the stack is a shift
// register, so no effect can overflow or underflow it).
enum class StackEffect : uint8_t {
  None,     // the stack stays as it is (A may be read)
  Push,     // one word pushed
  Replace,  // A := f(A)
  Pop,      // A := f(B, A), the rest moves up one word
  Clear,    // every word set to 0
  Varies,   // depends on the operand (LDSYS, FILE)
};

struct OpcodeInfo {
  std::string_view Mnemonic;  // empty: no instruction (runs as PAD)
  OperandForm Operand = OperandForm::None;
  StackEffect Stack = StackEffect::None;
  // Ends a step of the simulator (handled by the step, not by an effect).
  bool StopsStep = false;
};

namespace opcode_table {

constexpr std::array<OpcodeInfo, 256> Build() {
  using F = OperandForm;
  using S = StackEffect;
  std::array<OpcodeInfo, 256> t{};
  auto set = [&t](uint8_t code, std::string_view name, F form = F::None, S stack = S::None, bool stops = false) {
    t[code] = OpcodeInfo{name, form, stack, stops};
  };
  set(op::PAD, "PAD");
  set(op::CLRSTK, "CLRSTK", F::None, S::Clear);
  set(op::PAUSE, "PAUSE");
  set(op::JMP, "JMP", F::Address);
  set(op::JZ, "JZ", F::Address);
  set(op::CALL, "CALL", F::Address);
  set(op::RET, "RET");
  set(op::NOP, "NOP");
  set(op::SKIP8, "SKIP8", F::Word);
  set(op::SKIP9, "SKIP9", F::Byte);
  set(op::LDPIN, "LDPIN", F::Byte, S::Push);
  set(op::LDPORTB, "LDPORTB", F::Byte, S::Push);
  set(op::LDPORTW, "LDPORTW", F::None, S::Push);
  set(op::STPIN, "STPIN", F::Byte);
  set(op::STPORTB, "STPORTB", F::Byte);
  set(op::STPORTW, "STPORTW");
  set(op::LDADC, "LDADC", F::Byte, S::Push);
  set(op::STDAC, "STDAC", F::Byte);
  set(op::LDI, "LDI", F::Word, S::Push);
  set(op::LDBIT, "LDBIT", F::Byte, S::Push);
  set(op::LDBYTE, "LDBYTE", F::Byte, S::Push);
  set(op::LDWORD, "LDWORD", F::Byte, S::Push);
  set(op::STBIT, "STBIT", F::Byte);
  set(op::STBYTE, "STBYTE", F::Byte);
  set(op::STWORD, "STWORD", F::Byte);
  set(op::LOOKUP, "LOOKUP", F::Address, S::Push);
  set(op::LDSYS, "LDSYS", F::Byte, S::Varies);
  set(op::STSYS, "STSYS", F::Byte);
  set(op::PRINTNUM, "PRINTNUM", F::None, S::None, true);
  set(op::PRINTSTR, "PRINTSTR", F::String, S::None, true);
  set(op::PUTCH, "PUTCH", F::None, S::None, true);
  set(op::RXREADY, "RXREADY", F::None, S::Push);
  set(op::GETB, "GETB", F::None, S::Push, true);
  set(op::GETW, "GETW", F::None, S::Push, true);
  set(op::SKIP36, "SKIP36", F::Byte);
  set(op::PUSHTRUE, "PUSHTRUE", F::None, S::Push);
  set(op::NOT, "NOT", F::None, S::Replace);
  set(op::AND, "AND", F::None, S::Pop);
  set(op::NAND, "NAND", F::None, S::Pop);
  set(op::OR, "OR", F::None, S::Pop);
  set(op::NOR, "NOR", F::None, S::Pop);
  set(op::XOR, "XOR", F::None, S::Pop);
  set(op::SHL, "SHL", F::None, S::Pop);
  set(op::SHR, "SHR", F::None, S::Pop);
  set(op::RANDSEED, "RANDSEED");
  set(op::RAND, "RAND", F::None, S::Push);
  set(op::NEG, "NEG", F::None, S::Replace);
  set(op::ADD, "ADD", F::None, S::Pop);
  set(op::SUB, "SUB", F::None, S::Pop);
  set(op::MUL, "MUL", F::None, S::Pop);
  set(op::DIV, "DIV", F::None, S::Pop);
  set(op::MOD, "MOD", F::None, S::Pop);
  set(op::ABS, "ABS", F::None, S::Replace);
  set(op::SQRT, "SQRT", F::None, S::Replace);
  set(op::MAX, "MAX", F::None, S::Pop);
  set(op::MIN, "MIN", F::None, S::Pop);
  set(op::GT, "GT", F::None, S::Pop);
  set(op::GE, "GE", F::None, S::Pop);
  set(op::LT, "LT", F::None, S::Pop);
  set(op::LE, "LE", F::None, S::Pop);
  set(op::EQ, "EQ", F::None, S::Pop);
  set(op::NE, "NE", F::None, S::Pop);
  set(op::SGN, "SGN", F::None, S::Replace);
  set(op::FILE, "FILE", F::Byte, S::Varies);
  set(op::EOFTEST, "EOF", F::None, S::Push);
  set(op::BAUD, "BAUD", F::Byte);
  set(op::SKIP73, "SKIP73", F::Word);
  set(op::LDBYTEJEQ, "LDBYTEJEQ", F::ByteAddress, S::Push);
  set(op::LDWORDJEQ, "LDWORDJEQ", F::ByteAddress, S::Push);
  set(op::ADDSTBYTEJMP, "ADDSTBYTEJMP", F::ByteAddress, S::Pop);
  set(op::ADDSTWORDJMP, "ADDSTWORDJMP", F::ByteAddress, S::Pop);
  set(op::TGLPIN, "TGLPIN", F::Byte);
  set(op::OUTPIN, "OUTPIN", F::Byte);
  set(op::INPIN, "INPIN", F::Byte);
  set(op::INPORTB, "INPORTB", F::Byte);
  set(op::INPORTW, "INPORTW");
  set(op::WAITMARK, "WAITMARK", F::None, S::None, true);
  set(op::PAGEMARK, "PAGEMARK", F::Word, S::None, true);
  set(op::END, "END", F::None, S::None, true);
  return t;
}

}  // namespace opcode_table

inline constexpr std::array<OpcodeInfo, 256> kOpcodeTable = opcode_table::Build();

constexpr const OpcodeInfo& Opcode(uint8_t code) { return kOpcodeTable[code]; }

// Operand bytes of a fixed-size form; a string's length depends on its text.
constexpr int OperandBytes(OperandForm form) {
  switch (form) {
    case OperandForm::Byte:
      return 1;
    case OperandForm::Word:
    case OperandForm::Address:
      return 2;
    case OperandForm::ByteAddress:
      return 3;
    default:
      return 0;
  }
}

// The opcode of a mnemonic, or -1 when no instruction has it.
constexpr int OpcodeOf(std::string_view mnemonic) {
  for (int code = 0; code < 256; ++code)
    if (!kOpcodeTable[code].Mnemonic.empty() && kOpcodeTable[code].Mnemonic == mnemonic) return code;
  return -1;
}
