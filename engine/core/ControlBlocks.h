// Control blocks: program flow. Always compiled; the optional input is the
// condition (or, for the "On" blocks, the selector).
#pragma once

#include "Block.h"
#include "Opcodes.h"

class CControlBlock : public CBlock {
 public:
  CControlBlock(int32_t id, int16_t inputCount, uint8_t jumpOpcode)
      : CBlock(id, 0, inputCount, nullptr, false), Jump(jumpOpcode) {}
  uint8_t InputKinds(int) const override { return 1; }
  bool IsStatement() const override { return true; }
  virtual uint8_t JumpOpcode() const { return Jump; }
  uint8_t Jump;
};

// Jumps to (or calls) the cell named by the parameter.
class CGotoBlock : public CControlBlock {
 public:
  explicit CGotoBlock(int32_t id, int16_t inputCount = 1, uint8_t opcode = op::JMP) : CControlBlock(id, inputCount, opcode) {}
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Names; }
  void Emit(CPlexorCompiler& c) override;
  char Names[100] = {};
};

class CGosubBlock : public CGotoBlock {
 public:
  explicit CGosubBlock(int32_t id) : CGotoBlock(id, 1, op::CALL) {}
};

// Selector value k jumps to the k-th cell name of the parameter's lines.
class COnGotoBlock : public CGotoBlock {
 public:
  explicit COnGotoBlock(int32_t id, uint8_t opcode = op::JMP) : CGotoBlock(id, -1, opcode) {}
  bool EditParam() override;
  void Emit(CPlexorCompiler& c) override;
};

class COnGosubBlock : public COnGotoBlock {
 public:
  explicit COnGosubBlock(int32_t id) : COnGotoBlock(id, op::CALL) {}
};

class CReturnBlock : public CControlBlock {
 public:
  explicit CReturnBlock(int32_t id, uint8_t opcode = op::RET) : CControlBlock(id, 1, opcode) {}
  void Emit(CPlexorCompiler& c) override;
};

class CEndBlock : public CReturnBlock {
 public:
  explicit CEndBlock(int32_t id) : CReturnBlock(id, op::END) {}
};

// Loops until its condition is true.
class CWaitBlock : public CControlBlock {
 public:
  explicit CWaitBlock(int32_t id) : CControlBlock(id, -1, 0) {}
  void Emit(CPlexorCompiler& c) override;
};
