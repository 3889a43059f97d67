// What every block family emits. A block compiles its sources through
// Compile, which leaves their value on the stack; a source feeding several
// inputs is therefore emitted once per use.
#include <cstring>
#include <initializer_list>

#include "CalculatorBlocks.h"
#include "ControlBlocks.h"
#include "DecimalInt16.h"
#include "MemoryBlocks.h"
#include "OpcodeTable.h"
#include "PlexorCompiler.h"
#include "SinkBlocks.h"
#include "SourceBlocks.h"
#include "StandaloneBlocks.h"

// ---- generation with path and input checks -----------------------------------

void CBlock::Compile(CPlexorCompiler& c) {
  if (OnPath) throw CompileError{Id, compile_msg::kRecursion};
  if (!InputsComplete()) throw CompileError{Id, compile_msg::kMissingInput};
  CPlexorCompiler::PathScope scope(c, *this);
  Emit(c);
}

// A memory block met again on its own path closes a feedback loop: it reads
// the stored value instead of recursing.
void CMemoryBlock::Compile(CPlexorCompiler& c) {
  if (OnPath) {
    EmitLoad(c);
    return;
  }
  CPlexorCompiler::PathScope scope(c, *this);
  if (WiredInputs == 0) {
    EmitLoad(c);
    return;
  }
  for (int i = 0; i < InputSlots(); ++i) c.CompileInput(*this, i);
  EmitStore(c);
}

// ---- calculators ------------------------------------------------------------

void CCalculatorBlock::Emit(CPlexorCompiler& c) {
  if (WiredInputs == 0) return;
  CompileOperands(c);
  EmitOperator(c);
}

void CCalculatorBlock::CompileOperands(CPlexorCompiler& c) {
  for (int i = 0; i < InputSlots(); ++i) c.CompileInput(*this, i);
}

// The operator bytes are whole instructions: each opcode takes as many
// operand bytes as the opcode table gives its form.
void CCalculatorBlock::EmitOperator(CPlexorCompiler& c) {
  for (int i = 0; i < OpLength;) {
    const uint8_t opcode = Op[i++];
    const int width = OperandBytes(Opcode(opcode).Operand);
    if (width == 0) {
      c.Emit(opcode);
      continue;
    }
    int32_t operand = 0;
    for (int k = 0; k < width && i < OpLength; ++k) operand = operand << 8 | Op[i++];
    c.Emit(opcode, operand);
  }
}

void CCommutativBlock::Emit(CPlexorCompiler& c) {
  bool first = true;
  for (int i = 0; i < InputSlots(); ++i) {
    if (!Inputs[i]) continue;
    c.CompileInput(*this, i);
    if (!first) EmitOperator(c);
    first = false;
  }
  if (!first && Negate) c.Emit(op::NOT);
}

void CValueSwitchBlock::Emit(CPlexorCompiler& c) {
  std::string labelA, labelB;
  c.NewSwitchLabels(labelA, labelB);
  c.CompileInput(*this, 2);
  c.AppendJump(op::JZ, labelA);
  c.CompileInput(*this, 0);
  c.AppendJump(op::JMP, labelB);
  c.DefineLabel(labelA, c.Length());
  c.CompileInput(*this, 1);
  c.DefineLabel(labelB, c.Length());
}

void CTabBlock::Emit(CPlexorCompiler& c) {
  if (Name[0] == 0) throw CompileError{Id, compile_msg::kMissingParam};
  c.CompileInput(*this, 0);
  c.AppendJump(op::LOOKUP, Name);
}

// ---- sources ----------------------------------------------------------------

void CConstValueBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::LDI, static_cast<uint16_t>(Value)); }

void CConstCharBlock::EmitValue(CPlexorCompiler& c) {
  c.Emit(op::LDI, static_cast<uint8_t>(Text[1]));
}

void CConstTimeBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::LDI, static_cast<uint16_t>(Hour * 60 + Minute)); }

void CConstDateBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::LDI, static_cast<uint16_t>(Month * 31 + Day)); }

// Only the print block reads a text; it frames these bytes itself.
void CConstTextBlock::EmitValue(CPlexorCompiler& c) {
  for (const char* p = Text; *p; ++p) c.Append(static_cast<uint8_t>(*p));
}

void CTimerBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::LDSYS, sysreg::TIMER); }

void CDateInfoBlock::EmitValue(CPlexorCompiler& c) {
  c.Emit(op::LDSYS, sysreg::MONTH);
  c.Emit(op::LDI, 31);
  c.Emit(op::MUL);
  c.Emit(op::LDSYS, sysreg::DAY);
  c.Emit(op::ADD);
}

void CTimeInfoBlock::EmitValue(CPlexorCompiler& c) {
  c.Emit(op::LDSYS, sysreg::HOUR);
  c.Emit(op::LDI, 60);
  c.Emit(op::MUL);
  c.Emit(op::LDSYS, sysreg::MINUTE);
  c.Emit(op::ADD);
}

void CFreqBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::LDSYS, sysreg::FREQUENCY); }
void CFileFreeBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::LDSYS, sysreg::FILE_FREE); }
void CFileEOFBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::EOFTEST); }
void CReadFileBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::FILE, fileop::READ); }
void CInputBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::GETB); }
void CGetBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::GETB); }
void CRXDBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::RXREADY); }
void CADPortBlock::EmitValue(CPlexorCompiler& c) { c.Emit(op::LDADC, static_cast<uint8_t>(Port - 1)); }

void CTempPortBlock::EmitValue(CPlexorCompiler& c) {
  CADPortBlock::EmitValue(c);
  c.Emit(op::LDI, 5);
  c.Emit(op::MUL);
  c.Emit(op::LDI, 250);
  c.Emit(op::SUB);
}

void CFKeyBlock::EmitValue(CPlexorCompiler& c) {
  c.Emit(op::LDPIN, static_cast<uint8_t>(Port - 1));
  c.Emit(op::NOT);
}

// ---- memory -----------------------------------------------------------------

void CDigiPortBlock::EmitLoad(CPlexorCompiler& c) { c.Emit(op::LDPIN, static_cast<uint8_t>(Port - 1)); }
void CDigiPortBlock::EmitStore(CPlexorCompiler& c) { c.Emit(op::STPIN, static_cast<uint8_t>(Port - 1)); }
void CTimeOrDateInfoBlock::EmitLoad(CPlexorCompiler& c) { c.Emit(op::LDSYS, Register); }
void CTimeOrDateInfoBlock::EmitStore(CPlexorCompiler& c) { c.Emit(op::STSYS, Register); }
void CRandBlock::EmitLoad(CPlexorCompiler& c) { c.Emit(op::RAND); }
void CRandBlock::EmitStore(CPlexorCompiler& c) { c.Emit(op::RANDSEED); }
void CUserVariableBlock::EmitLoad(CPlexorCompiler& c) { c.Emit(LoadOp, static_cast<uint8_t>(Cell - 1)); }
void CUserVariableBlock::EmitStore(CPlexorCompiler& c) { c.Emit(StoreOp, static_cast<uint8_t>(Cell - 1)); }

// ---- sinks ------------------------------------------------------------------

void CSinkBlock::Emit(CPlexorCompiler& c) {
  CompileInputs(c);
  EmitStatement(c);
}

void CSinkBlock::CompileInputs(CPlexorCompiler& c) {
  for (int i = 0; i < InputSlots(); ++i) c.CompileInput(*this, i);
}

void CPutBlock::EmitStatement(CPlexorCompiler& c) { c.Emit(op::PUTCH); }
void CWriteFileBlock::EmitStatement(CPlexorCompiler& c) { c.Emit(op::FILE, fileop::WRITE); }
void CPauseBlock::EmitStatement(CPlexorCompiler& c) { c.Emit(op::PAUSE); }

void CPrintBlock::Emit(CPlexorCompiler& c) {
  const CBlock* source = Input(0);
  if (!source) return;
  if (source->OutputKind == 1) {
    c.CompileInput(*this, 0);
    c.Emit(op::PRINTNUM);
    if (Ending == 2) {
      c.Emit(op::PRINTSTR);
      for (uint8_t b : std::initializer_list<uint8_t>{13, 10, 0}) c.Append(b);
    } else if (Ending == 4) {
      c.Emit(op::PRINTSTR);
      for (uint8_t b : std::initializer_list<uint8_t>{9, 0}) c.Append(b);
    }
  } else if (source->OutputKind == 2) {
    c.Emit(op::PRINTSTR);
    c.CompileInput(*this, 0);
    if (Ending == 2) {
      c.Append(13);
      c.Append(10);
    } else if (Ending == 4) {
      c.Append(9);
    }
    c.Append(0);
  }
}

namespace {

// Reads the next number of a melody text.
bool NextMelodyNumber(const unsigned char*& p, int16_t& value) {
  while (decimal::IsSpace(*p)) ++p;
  return decimal::ReadInt16(p, value);
}

}  // namespace

void CBeepBlock::Emit(CPlexorCompiler& c) {
  if (WiredInputs > 0) {
    if (Inputs[0]) c.CompileInput(*this, 0);
    else c.Emit(op::LDI, 0);
    c.Emit(op::STSYS, sysreg::SOUND);
    if (Inputs[1]) {
      c.CompileInput(*this, 1);
      c.Emit(op::PAUSE);
      c.Emit(op::LDI, 0);
      c.Emit(op::STSYS, sysreg::SOUND);
    }
    if (Inputs[2]) {
      c.CompileInput(*this, 2);
      c.Emit(op::PAUSE);
    }
    return;
  }
  // The melody: groups of pitch, duration and pause; a silent group is skipped.
  const unsigned char* p = reinterpret_cast<const unsigned char*>(Melody);
  int16_t pitch, duration, pause;
  while (NextMelodyNumber(p, pitch) && NextMelodyNumber(p, duration) && NextMelodyNumber(p, pause)) {
    if (pitch == 0) continue;
    c.Emit(op::LDI, static_cast<uint16_t>(pitch));
    c.Emit(op::STSYS, sysreg::SOUND);
    c.Emit(op::LDI, static_cast<uint16_t>(duration));
    c.Emit(op::PAUSE);
    c.Emit(op::LDI, 0);
    c.Emit(op::STSYS, sysreg::SOUND);
    c.Emit(op::LDI, static_cast<uint16_t>(pause));
    c.Emit(op::PAUSE);
  }
}

// ---- standalone blocks --------------------------------------------------------

void CFileOperationBlock::Emit(CPlexorCompiler& c) { c.Emit(op::FILE, Operation); }

void CBaudBlock::Emit(CPlexorCompiler& c) {
  switch (Rate) {
    case 1: c.Emit(op::BAUD, 219); break;
    case 2: c.Emit(op::BAUD, 210); break;
    case 4: c.Emit(op::BAUD, 201); break;
    case 8: c.Emit(op::BAUD, 192); break;
    // An unknown rate has always emitted the opcode alone; stored images
    // depend on it, so it bypasses the operand check.
    default: c.Append(op::BAUD); break;
  }
}

// ---- control ------------------------------------------------------------------

void CGotoBlock::Emit(CPlexorCompiler& c) {
  if (Names[0] == 0) throw CompileError{Id, compile_msg::kMissingParam};
  if (Inputs[0]) {
    c.CompileInput(*this, 0);
    // Jump over the following jump: JZ w and the jump take 3 bytes each.
    c.Emit(op::JZ, c.UnitAddress(c.Length() + 6));
  }
  c.AppendJump(JumpOpcode(), Names);
}

void COnGotoBlock::Emit(CPlexorCompiler& c) {
  if (Names[0] == 0) throw CompileError{Id, compile_msg::kMissingParam};
  // A missing selector would compare garbage: report it like a missing input.
  if (!Inputs[0]) throw CompileError{Id, compile_msg::kMissingInput};
  const unsigned char* p = reinterpret_cast<const unsigned char*>(Names);
  for (uint16_t k = 0;; ++k) {
    while (*p >= 1 && *p <= 32) ++p;
    if (*p == 0) break;
    const unsigned char* start = p;
    while (*p >= 32) ++p;
    std::string name(reinterpret_cast<const char*>(start), static_cast<size_t>(p - start));
    c.CompileInput(*this, 0);
    c.Emit(op::LDI, k);
    c.Emit(op::EQ);
    c.Emit(op::JZ, c.UnitAddress(c.Length() + 6));
    c.AppendJump(JumpOpcode(), name);
  }
}

void CReturnBlock::Emit(CPlexorCompiler& c) {
  if (Inputs[0]) {
    c.CompileInput(*this, 0);
    // Jump over the single END or RET byte behind the JZ.
    c.Emit(op::JZ, c.UnitAddress(c.Length() + 4));
  }
  c.Emit(JumpOpcode());
}

// In the simulation image the loop starts with a wait marker, so every pass
// that ends in the JZ stops the step. The PAD keeps a JZ executed just before
// the loop from counting as a pass.
void CWaitBlock::Emit(CPlexorCompiler& c) {
  if (!Inputs[0]) throw CompileError{Id, compile_msg::kMissingInput};
  if (c.EmitMarkers) c.Emit(op::PAD);
  uint16_t loop = c.UnitAddress(c.Length());
  if (c.EmitMarkers) c.Emit(op::WAITMARK);
  c.CompileInput(*this, 0);
  c.Emit(op::JZ, loop);
}
