// Sink blocks: consume values and deliver none. A sink is compiled for its
// own sake as soon as something is wired to it.
#pragma once

#include "Block.h"

class CSinkBlock : public CBlock {
 public:
  CSinkBlock(int32_t id, int16_t inputCount, const char* menu = nullptr) : CBlock(id, 0, inputCount, menu, false) {}
  uint8_t InputKinds(int) const override { return 1; }
  bool IsStatement() const override { return WiredInputs > 0; }
  void Emit(CPlexorCompiler& c) override;
  virtual void EmitStatement(CPlexorCompiler& c) = 0;
  virtual void CompileInputs(CPlexorCompiler& c);
};

// Prints a value or a text on the serial line, with an optional ending.
class CPrintBlock : public CSinkBlock {
 public:
  explicit CPrintBlock(int32_t id) : CSinkBlock(id, 1) { CPrintBlock::SetParam("1"); }
  uint8_t InputKinds(int) const override { return 3; }
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Text; }
  void Emit(CPlexorCompiler& c) override;
  void EmitStatement(CPlexorCompiler&) override {}
  char Text[10] = {};
  int32_t Ending = 1;  // 1 nothing, 2 CR LF, 4 TAB
};

class CPutBlock : public CSinkBlock {
 public:
  explicit CPutBlock(int32_t id) : CSinkBlock(id, 1) {}
  void EmitStatement(CPlexorCompiler& c) override;
};

class CWriteFileBlock : public CSinkBlock {
 public:
  explicit CWriteFileBlock(int32_t id) : CSinkBlock(id, -1) {}
  void EmitStatement(CPlexorCompiler& c) override;
};

class CPauseBlock : public CSinkBlock {
 public:
  explicit CPauseBlock(int32_t id) : CSinkBlock(id, -1) {}
  void EmitStatement(CPlexorCompiler& c) override;
};

// Tone output: pitch, duration and pause from its inputs, or a melody text.
class CBeepBlock : public CSinkBlock {
 public:
  explicit CBeepBlock(int32_t id) : CSinkBlock(id, 3, kMenuABC) {}
  bool IsStatement() const override { return true; }
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Melody; }
  void Emit(CPlexorCompiler& c) override;
  void EmitStatement(CPlexorCompiler&) override {}
  char Melody[600] = {};
};
