// Source blocks: deliver a value and take no inputs. Constants keep their
// parameter text; port sources know their port or channel.
#pragma once

#include "Block.h"

class CSourceBlock : public CBlock {
 public:
  CSourceBlock(int32_t id, uint8_t outputKind, bool userBitmap = false)
      : CBlock(id, outputKind, 0, nullptr, userBitmap) {}
  void Emit(CPlexorCompiler& c) override { EmitValue(c); }
  virtual void EmitValue(CPlexorCompiler& c) = 0;
};

class CConstValueBlock : public CSourceBlock {
 public:
  explicit CConstValueBlock(int32_t id) : CSourceBlock(id, 1) { CConstValueBlock::SetParam("0"); }
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Text; }
  void EmitValue(CPlexorCompiler& c) override;
  int16_t Value = 0;
  char Text[10] = {};
};

class CConstCharBlock : public CSourceBlock {
 public:
  explicit CConstCharBlock(int32_t id) : CSourceBlock(id, 1) { CConstCharBlock::SetParam("'C'"); }
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Text; }
  void EmitValue(CPlexorCompiler& c) override;
  char Text[4] = {};
};

class CConstTextBlock : public CSourceBlock {
 public:
  explicit CConstTextBlock(int32_t id) : CSourceBlock(id, 2) { CConstTextBlock::SetParam("TEXT"); }
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Text; }
  void EmitValue(CPlexorCompiler& c) override;
  char Text[81] = {};
};

class CConstTimeBlock : public CSourceBlock {
 public:
  explicit CConstTimeBlock(int32_t id) : CSourceBlock(id, 4) { CConstTimeBlock::SetParam("00:00"); }
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Text; }
  void EmitValue(CPlexorCompiler& c) override;
  uint8_t Hour = 0;
  uint8_t Minute = 0;
  char Text[10] = {};
};

class CConstDateBlock : public CSourceBlock {
 public:
  explicit CConstDateBlock(int32_t id) : CSourceBlock(id, 8) { CConstDateBlock::SetParam("01.01"); }
  bool EditParam() override;
  bool SetParam(const char* text) override;
  const char* GetParam() const override { return Text; }
  void EmitValue(CPlexorCompiler& c) override;
  uint8_t Month = 0;
  uint8_t Day = 0;
  char Text[10] = {};
};

class CFreqBlock : public CSourceBlock {
 public:
  explicit CFreqBlock(int32_t id) : CSourceBlock(id, 1, true) {}
  void EmitValue(CPlexorCompiler& c) override;
  std::string GetSymbolicName() const override { return "FREQ [Hz]"; }
  int32_t GetMapCode() const override;
};

// Keys read low when pressed, so the value is the inverted port bit.
class CFKeyBlock : public CSourceBlock {
 public:
  CFKeyBlock(int32_t id, uint8_t port) : CSourceBlock(id, 1, true), Port(port) {}
  void EmitValue(CPlexorCompiler& c) override;
  std::string GetSymbolicName() const override;
  int32_t GetMapCode() const override;
  uint8_t Port;
};

class CADPortBlock : public CSourceBlock {
 public:
  CADPortBlock(int32_t id, uint8_t port, bool userBitmap = true) : CSourceBlock(id, 1, userBitmap), Port(port) {}
  void EmitValue(CPlexorCompiler& c) override;
  std::string GetSymbolicName() const override;
  int32_t GetMapCode() const override;
  uint8_t Port;
};

// Temperature channel: value × 5 - 250.
class CTempPortBlock : public CADPortBlock {
 public:
  CTempPortBlock(int32_t id, uint8_t port) : CADPortBlock(id, port, false) {}
  void EmitValue(CPlexorCompiler& c) override;
  std::string GetSymbolicName() const override;
};

class CUPortBlock : public CADPortBlock {
 public:
  CUPortBlock(int32_t id, uint8_t port) : CADPortBlock(id, port, false) {}
  std::string GetSymbolicName() const override;
};

class CTimerBlock : public CSourceBlock {
 public:
  explicit CTimerBlock(int32_t id) : CSourceBlock(id, 1) {}
  void EmitValue(CPlexorCompiler& c) override;
};

class CTimeInfoBlock : public CSourceBlock {
 public:
  explicit CTimeInfoBlock(int32_t id) : CSourceBlock(id, 4) {}
  void EmitValue(CPlexorCompiler& c) override;
};

class CDateInfoBlock : public CSourceBlock {
 public:
  explicit CDateInfoBlock(int32_t id) : CSourceBlock(id, 8) {}
  void EmitValue(CPlexorCompiler& c) override;
};

class CInputBlock : public CSourceBlock {
 public:
  explicit CInputBlock(int32_t id) : CSourceBlock(id, 1) {}
  void EmitValue(CPlexorCompiler& c) override;
};

class CGetBlock : public CSourceBlock {
 public:
  explicit CGetBlock(int32_t id) : CSourceBlock(id, 1) {}
  void EmitValue(CPlexorCompiler& c) override;
};

class CRXDBlock : public CSourceBlock {
 public:
  explicit CRXDBlock(int32_t id) : CSourceBlock(id, 1) {}
  void EmitValue(CPlexorCompiler& c) override;
};

class CReadFileBlock : public CSourceBlock {
 public:
  explicit CReadFileBlock(int32_t id) : CSourceBlock(id, 1) {}
  void EmitValue(CPlexorCompiler& c) override;
};

class CFileEOFBlock : public CSourceBlock {
 public:
  explicit CFileEOFBlock(int32_t id) : CSourceBlock(id, 1) {}
  void EmitValue(CPlexorCompiler& c) override;
};

class CFileFreeBlock : public CSourceBlock {
 public:
  explicit CFileFreeBlock(int32_t id) : CSourceBlock(id, 1) {}
  void EmitValue(CPlexorCompiler& c) override;
  std::string GetSymbolicName() const override { return "FILEFREE"; }
  int32_t GetMapCode() const override;
};
