// Memory blocks: storage places that can be read and written — ports, clock
// registers, the random generator and the user cells. Writing leaves the value
// on the stack, and a memory block is the only block that may close a loop.
#pragma once

#include "Block.h"
#include "Opcodes.h"

class CMemoryBlock : public CBlock {
 public:
  CMemoryBlock(int32_t id, bool userBitmap) : CBlock(id, 1, 1, nullptr, userBitmap) {}
  uint8_t InputKinds(int) const override { return 1; }
  bool IsStatement() const override { return WiredInputs > 0 && Consumers == 0; }
  void Compile(CPlexorCompiler& c) override;
  virtual void EmitLoad(CPlexorCompiler& c) = 0;
  virtual void EmitStore(CPlexorCompiler& c) = 0;
};

class CDigiPortBlock : public CMemoryBlock {
 public:
  CDigiPortBlock(int32_t id, uint8_t port, bool userBitmap = true) : CMemoryBlock(id, userBitmap), Port(port) {}
  void EmitLoad(CPlexorCompiler& c) override;
  void EmitStore(CPlexorCompiler& c) override;
  std::string GetSymbolicName() const override;
  int32_t GetMapCode() const override;
  uint8_t Port;
};

class CRelaisPortBlock : public CDigiPortBlock {
 public:
  CRelaisPortBlock(int32_t id, uint8_t port) : CDigiPortBlock(id, port, true) {}
  std::string GetSymbolicName() const override;
};

class CLEDPortBlock : public CDigiPortBlock {
 public:
  CLEDPortBlock(int32_t id, uint8_t port) : CDigiPortBlock(id, port, false) {}
  std::string GetSymbolicName() const override;
};

// A clock register of the unit (system registers 0..6).
class CTimeOrDateInfoBlock : public CMemoryBlock {
 public:
  CTimeOrDateInfoBlock(int32_t id, uint8_t reg, const char* name) : CMemoryBlock(id, false), Register(reg), Name(name) {}
  void EmitLoad(CPlexorCompiler& c) override;
  void EmitStore(CPlexorCompiler& c) override;
  std::string GetSymbolicName() const override { return Name; }
  int32_t GetMapCode() const override;
  uint8_t Register;
  const char* Name;
};

#define VORBLEN_CLOCK_BLOCK(Class, reg, name) \
  class Class : public CTimeOrDateInfoBlock { \
   public: \
    explicit Class(int32_t id) : CTimeOrDateInfoBlock(id, reg, name) {} \
  }
VORBLEN_CLOCK_BLOCK(CYearBlock, sysreg::YEAR, "YEAR");
VORBLEN_CLOCK_BLOCK(CMonthBlock, sysreg::MONTH, "MONTH");
VORBLEN_CLOCK_BLOCK(CDayBlock, sysreg::DAY, "DAY");
VORBLEN_CLOCK_BLOCK(CHourBlock, sysreg::HOUR, "HOUR");
VORBLEN_CLOCK_BLOCK(CMinuteBlock, sysreg::MINUTE, "MIN");
VORBLEN_CLOCK_BLOCK(CSecBlock, sysreg::SECOND, "SEC");
#undef VORBLEN_CLOCK_BLOCK

// Reading draws the next random number; writing seeds the generator.
class CRandBlock : public CMemoryBlock {
 public:
  explicit CRandBlock(int32_t id) : CMemoryBlock(id, false) {}
  void EmitLoad(CPlexorCompiler& c) override;
  void EmitStore(CPlexorCompiler& c) override;
};

// A numbered cell chosen from 1 to a limit.
class CExMemoryBlock : public CMemoryBlock {
 public:
  CExMemoryBlock(int32_t id, int32_t limit) : CMemoryBlock(id, false), CellLimit(limit) {}
  bool EditParam() override;
  // A cell number outside 1..CellLimit is refused and changes nothing, so the
  // block always holds a cell the compiler and the simulator can use.
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Text; }
  const char* GetIndexDescription() const override { return GetParam(); }

  int32_t CellLimit;
  const char* Prompt = "W\xE4hlen Sie die Speicherzelle aus:";
  char Text[5] = {};
  int32_t Cell = 1;
};

// The user memory of 24 bytes seen as bits, bytes or words.
class CUserVariableBlock : public CExMemoryBlock {
 public:
  CUserVariableBlock(int32_t id, int32_t limit, uint8_t width, uint8_t loadOp, uint8_t storeOp, const char* pattern)
      : CExMemoryBlock(id, limit), Width(width), LoadOp(loadOp), StoreOp(storeOp), Pattern(pattern) {
    CUserVariableBlock::SetParam("1");
  }
  void EmitLoad(CPlexorCompiler& c) override;
  void EmitStore(CPlexorCompiler& c) override;
  std::string GetSymbolicName() const override;
  int32_t GetMapCode() const override;
  uint8_t Width, LoadOp, StoreOp;
  const char* Pattern;
};

class CUserBitBlock : public CUserVariableBlock {
 public:
  explicit CUserBitBlock(int32_t id) : CUserVariableBlock(id, 192, 3, op::LDBIT, op::STBIT, "BIT[%d]") {}
};
class CUserByteBlock : public CUserVariableBlock {
 public:
  explicit CUserByteBlock(int32_t id) : CUserVariableBlock(id, 24, 2, op::LDBYTE, op::STBYTE, "BYTE[%d]") {}
};
class CUserWordBlock : public CUserVariableBlock {
 public:
  explicit CUserWordBlock(int32_t id) : CUserVariableBlock(id, 12, 1, op::LDWORD, op::STWORD, "WORD[%d]") {}
};
