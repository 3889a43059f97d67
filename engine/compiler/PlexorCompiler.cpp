#include "PlexorCompiler.h"

#include <cstdio>
#include <stdexcept>

#include "Block.h"
#include "DecimalInt16.h"
#include "OpcodeTable.h"
#include "Opcodes.h"
#include "Plexor.h"

CPlexorCompiler* NewPlexorCompiler(CPlexor& engine, bool emitMarkers) { return new CPlexorCompiler(engine, emitMarkers); }
void DeletePlexorCompiler(CPlexorCompiler* compiler) { delete compiler; }

CPlexorCompiler::CPlexorCompiler(CPlexor& engine, bool emitMarkers) : Engine(engine), EmitMarkers(emitMarkers) {}

void CPlexorCompiler::Init() {
  Code.clear();
  Labels.clear();
  Fixups.clear();
  CodeEnd = 0;
  switchSerial_ = 0;
  depth_ = 0;
}

void CPlexorCompiler::CompilePages() {
  try {
    for (auto* node = Engine.Pages.firstNode(); node; node = node->next) {
      if (Engine.BreakRequested.load(std::memory_order_relaxed))
        throw CompileError{-1, compile_msg::kAborted};
      CPlexorPage& page = *node->item;
      if (page.hasName) DefineLabel(page.name, Length());
      if (EmitMarkers) Emit(op::PAGEMARK, static_cast<uint16_t>(node->key));
      CompilePageStatements(page);
      Engine.Progress.fetch_add(1, std::memory_order_relaxed);
    }
    Emit(op::END);
    CodeEnd = Length();
  } catch (const BufferFull&) {
    throw CompileError{-1, compile_msg::kTooLong};
  }
}

void CPlexorCompiler::CompilePageStatements(CPlexorPage& page) {
  for (auto* node = page.blocks.firstNode(); node; node = node->next)
    if (node->item->IsStatement()) node->item->Compile(*this);
}

void CPlexorCompiler::LoadTable(const char* name, const char* text) {
  DefineLabel(name ? name : "", Length());
  const unsigned char* p = reinterpret_cast<const unsigned char*>(text ? text : "");
  try {
    while (decimal::IsSpace(*p)) ++p;
    for (int count = 0; *p && count < 256; ++count) {
      int16_t value;
      if (!decimal::ReadInt16(p, value)) throw CompileError{-1, compile_msg::kBadTable};
      AppendWord(static_cast<uint16_t>(value));
      while (decimal::IsSpace(*p)) ++p;
    }
  } catch (const BufferFull&) {
    throw CompileError{-1, compile_msg::kTooLong};
  }
}

void CPlexorCompiler::ResolveFixups() {
  for (const Label& fixup : Fixups) {
    const Label* target = nullptr;
    for (const Label& label : Labels)
      if (label.name == fixup.name) {
        target = &label;
        break;
      }
    if (!target) throw CompileError{-1, std::string(compile_msg::kUndefined) + ": " + fixup.name};
    uint16_t address = UnitAddress(target->offset);
    Code.at(fixup.offset) = static_cast<uint8_t>(address >> 8);
    Code.at(fixup.offset + 1) = static_cast<uint8_t>(address & 0xFF);
  }
}

void CPlexorCompiler::Emit(uint8_t opcode, int32_t operand) {
  const OpcodeInfo& info = Opcode(opcode);
  const bool none = operand == kNoOperand;
  bool fits = false;
  switch (info.Operand) {
    case OperandForm::None:
    case OperandForm::String:
      fits = none;
      break;
    case OperandForm::Byte:
      fits = operand >= 0 && operand <= 0xFF;
      break;
    case OperandForm::Word:
    case OperandForm::Address:
      fits = operand >= 0 && operand <= 0xFFFF;
      break;
    case OperandForm::ByteAddress:
      break;  // the generator emits none of these
  }
  if (info.Mnemonic.empty() || !fits)
    throw std::logic_error("operand does not fit opcode " + std::to_string(opcode) + ": " + std::to_string(operand));
  Append(opcode);
  if (none) return;
  if (OperandBytes(info.Operand) == 1) Append(static_cast<uint8_t>(operand));
  else AppendWord(static_cast<uint16_t>(operand));
}

void CPlexorCompiler::AppendJump(uint8_t opcode, const std::string& label) {
  Emit(opcode, 0);
  AddFixup(label, Length() - 2);
}

void CPlexorCompiler::NewSwitchLabels(std::string& a, std::string& b) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "@A%X", switchSerial_);
  a = buffer;
  std::snprintf(buffer, sizeof buffer, "@B%X", switchSerial_);
  b = buffer;
  ++switchSerial_;
}

void CPlexorCompiler::CompileInput(const CBlock& block, int index) {
  if (CBlock* source = block.Input(index)) source->Compile(*this);
}

CPlexorCompiler::PathScope::PathScope(CPlexorCompiler& c, CBlock& block) : c_(c), block_(block) {
  if (c_.depth_ >= kMaxGenerationDepth) throw CompileError{block.Id, compile_msg::kTooLong};
  ++c_.depth_;
  block_.OnPath = true;
}

CPlexorCompiler::PathScope::~PathScope() {
  block_.OnPath = false;
  --c_.depth_;
}
