// The unit's instruction set: one opcode byte, then at most one operand
// (a byte, a big-endian word or a zero-terminated string). The mnemonic,
// operand form and stack effect of each opcode are in OpcodeTable.h.
#pragma once

#include <cstdint>

namespace op {
enum : uint8_t {
  PAD = 0, CLRSTK = 1, PAUSE = 2, JMP = 3, JZ = 4, CALL = 5, RET = 6, NOP = 7,
  SKIP8 = 8, SKIP9 = 9,
  LDPIN = 10, LDPORTB = 11, LDPORTW = 12, STPIN = 13, STPORTB = 14, STPORTW = 15,
  LDADC = 16, STDAC = 17,
  LDI = 20, LDBIT = 21, LDBYTE = 22, LDWORD = 23, STBIT = 24, STBYTE = 25, STWORD = 26,
  LOOKUP = 27, LDSYS = 28, STSYS = 29,
  PRINTNUM = 30, PRINTSTR = 31, PUTCH = 32, RXREADY = 33, GETB = 34, GETW = 35,
  SKIP36 = 36, PUSHTRUE = 37,
  NOT = 40, AND = 41, NAND = 42, OR = 43, NOR = 44, XOR = 45, SHL = 46, SHR = 47,
  RANDSEED = 48, RAND = 49,
  NEG = 50, ADD = 51, SUB = 52, MUL = 53, DIV = 54, MOD = 55, ABS = 56, SQRT = 57,
  MAX = 58, MIN = 59, GT = 60, GE = 61, LT = 62, LE = 63, EQ = 64, NE = 65, SGN = 66,
  FILE = 70, EOFTEST = 71, BAUD = 72, SKIP73 = 73,
  LDBYTEJEQ = 74, LDWORDJEQ = 75, ADDSTBYTEJMP = 76, ADDSTWORDJMP = 77,
  TGLPIN = 80, OUTPIN = 81, INPIN = 82, INPORTB = 83, INPORTW = 84,
  WAITMARK = 253, PAGEMARK = 254, END = 255,
};
}  // namespace op

// Operands of FILE.
namespace fileop {
enum : uint8_t { OPEN_READ = 1, OPEN_WRITE = 2, OPEN_APPEND = 3, CLOSE = 4, WRITE = 5, READ = 6 };
}

// System registers of LDSYS and STSYS.
namespace sysreg {
enum : uint8_t {
  YEAR = 0, MONTH = 1, DAY = 2, WEEKDAY = 3, HOUR = 4, MINUTE = 5, SECOND = 6,
  TIMER = 7, SOUND = 8, SPARE = 9, FREQUENCY = 10, FILE_FREE = 11, FILE_LENGTH = 12,
};
}
