#include "Block.h"

CBlock::CBlock(int32_t id, uint8_t outputKind, int16_t inputCount, const char* inputMenu, bool userBitmap)
    : Id(id), OutputKind(outputKind), InputCount(inputCount), InputMenu(inputMenu),
      Inputs(static_cast<size_t>(std::abs(inputCount)), nullptr), UserBitmap(userBitmap) {}

uint8_t CBlock::InputKinds(int) const { return 0; }

std::string CBlock::MenuFlags(const CBlock& source) const {
  std::string flags(static_cast<size_t>(InputSlots()), '*');
  for (int i = 0; i < InputSlots(); ++i)
    if (!Inputs[i] && (InputKinds(i) & source.OutputKind)) flags[i] = ' ';
  return flags;
}

bool CBlock::CanConnect(const CBlock* source) const {
  if (!source) return OutputKind != 0;
  if (InputCount == 0 || WiredInputs >= InputSlots()) return false;
  return MenuFlags(*source).find(' ') != std::string::npos;
}

void CBlock::ConnectInput(int index, CBlock* source) {
  Inputs[index] = source;
  ++WiredInputs;
  ++source->Consumers;
}

void CBlock::SplitInput(int index) {
  CBlock* source = Inputs[index];
  if (!source) return;
  --source->Consumers;
  Inputs[index] = nullptr;
  --WiredInputs;
}
