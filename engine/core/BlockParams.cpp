// Parameter texts, parameter dialogs, symbolic names and map codes of the
// block classes.
#include <cstdio>
#include <cstring>

#include "CalculatorBlocks.h"
#include "ControlBlocks.h"
#include "MemoryBlocks.h"
#include "ParamDialogs.h"
#include "ParamText.h"
#include "SinkBlocks.h"
#include "SourceBlocks.h"
#include "StandaloneBlocks.h"
#include "plexor.h"

namespace {

IParamDialogs* g_dialogs = nullptr;

IParamDialogs* Dialogs() {
  IParamDialogs* d = GetParamDialogs();
  return d && d->Available() ? d : nullptr;
}

// Free-text dialog (mode 0) feeding SetParam on "Ok".
bool EditAsText(CBlock& block, int mode, const char* prompt) {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  std::string text = block.GetParam() ? block.GetParam() : "";
  if (!d->MaskInput(mode, prompt, text)) return false;
  block.SetParam(text.c_str());
  return true;
}

std::string Format(const char* pattern, int value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, pattern, value);
  return buffer;
}

}  // namespace

IParamDialogs* GetParamDialogs() { return g_dialogs; }
void SetParamDialogs(IParamDialogs* dialogs) { g_dialogs = dialogs; }

// ---- calculators ---------------------------------------------------------

bool CCalculatorBlock::InputsComplete() const {
  if (Consumers == 0) return true;
  if (InputCount < 0) return WiredInputs == InputSlots();
  return WiredInputs > 0;
}

bool CComparatorBlock::CanConnect(const CBlock* source) const {
  // Without a source the question is only whether the block has an output.
  if (!source) return CBlock::CanConnect(nullptr);
  if (!CBlock::CanConnect(source)) return false;
  for (int i = 0; i < 2; ++i)
    if (Inputs[i] && Inputs[i]->OutputKind != source->OutputKind) return false;
  return true;
}

bool CTabBlock::SetParam(const char* text) {
  KeepAtMost(Name, sizeof Name, text, 99);
  return true;
}

bool CTabBlock::EditParam() { return EditAsText(*this, 0, "Geben Sie den Bezeichner einer Tabelle ein:"); }

// ---- constants -----------------------------------------------------------

bool CConstValueBlock::SetParam(const char* text) {
  KeepAtMost(Text, sizeof Text, text, 9);
  Value = static_cast<int16_t>(static_cast<uint16_t>(ReadNumber(Text)));
  std::snprintf(Text, sizeof Text, "%d", Value);
  return true;
}

bool CConstValueBlock::EditParam() { return EditAsText(*this, 1, nullptr); }

bool CConstCharBlock::SetParam(const char* text) {
  KeepAtMost(Text, sizeof Text, text, 3);
  return true;
}

bool CConstCharBlock::EditParam() {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  std::string ch = Text[0] && Text[1] ? std::string(1, Text[1]) : std::string();
  if (!d->InputChar(ch)) return false;
  char c = ch.empty() ? ' ' : ch[0];
  if (std::strlen(Text) >= 3) {
    Text[1] = c;
  } else {
    char fresh[4] = {'\'', c, '\'', 0};
    SetParam(fresh);
  }
  return true;
}

bool CConstTextBlock::SetParam(const char* text) {
  KeepAtMost(Text, sizeof Text, text, 80);
  return true;
}

bool CConstTextBlock::EditParam() { return EditAsText(*this, 0, nullptr); }

bool CConstTimeBlock::SetParam(const char* text) {
  KeepAtMost(Text, sizeof Text, text, 9);
  Hour = static_cast<uint8_t>(ReadNumberN(Text, 2));
  Minute = std::strlen(Text) > 3 ? static_cast<uint8_t>(ReadNumberN(Text + 3, 2)) : 0;
  return true;
}

bool CConstTimeBlock::EditParam() {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  char shown[8];
  std::snprintf(shown, sizeof shown, "%02d:%02d", Hour, Minute);
  std::string text = shown;
  if (!d->MaskInput(2, nullptr, text)) return false;
  SetParam(text.c_str());
  return true;
}

bool CConstDateBlock::SetParam(const char* text) {
  KeepAtMost(Text, sizeof Text, text, 9);
  Day = static_cast<uint8_t>(ReadNumberN(Text, 2));
  Month = std::strlen(Text) > 3 ? static_cast<uint8_t>(ReadNumberN(Text + 3, 2)) : 0;
  return true;
}

bool CConstDateBlock::EditParam() {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  char shown[8];
  std::snprintf(shown, sizeof shown, "%02d.%02d", Day, Month);
  std::string text = shown;
  if (!d->MaskInput(3, nullptr, text)) return false;
  SetParam(text.c_str());
  return true;
}

// ---- ports and registers ---------------------------------------------------

int32_t CFreqBlock::GetMapCode() const { return PLEXOR_MAPCODE(1, 5, sysreg::FREQUENCY); }
int32_t CFileFreeBlock::GetMapCode() const { return PLEXOR_MAPCODE(1, 5, sysreg::FILE_FREE); }

std::string CFKeyBlock::GetSymbolicName() const { return Format("F%d", Port - 8); }
int32_t CFKeyBlock::GetMapCode() const { return PLEXOR_MAPCODE(3, 2, Port - 1); }

std::string CADPortBlock::GetSymbolicName() const { return Format("AD%d", Port); }
int32_t CADPortBlock::GetMapCode() const { return PLEXOR_MAPCODE(2, 3, Port - 1); }
std::string CTempPortBlock::GetSymbolicName() const { return Format("T%d", Port - 4); }
std::string CUPortBlock::GetSymbolicName() const { return Format("U%d", Port - 6); }

std::string CDigiPortBlock::GetSymbolicName() const { return Format("P%d", Port); }
int32_t CDigiPortBlock::GetMapCode() const { return PLEXOR_MAPCODE(3, 2, Port - 1); }
std::string CRelaisPortBlock::GetSymbolicName() const { return Format("K%d", Port - 6); }
std::string CLEDPortBlock::GetSymbolicName() const { return Format("LED%d", Port - 12); }

int32_t CTimeOrDateInfoBlock::GetMapCode() const { return PLEXOR_MAPCODE(2, 5, Register); }

// ---- user cells -----------------------------------------------------------

bool CExMemoryBlock::SetParam(const char* text) {
  char field[5];
  KeepAtMost(field, sizeof field, text, 4);
  int64_t cell = ReadNumber(field);
  if (cell < 1 || cell > CellLimit) return false;
  std::memcpy(Text, field, sizeof Text);
  Cell = static_cast<int32_t>(cell);
  return true;
}

bool CExMemoryBlock::EditParam() {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  std::string text = Text;
  if (!d->SelectNumber(Prompt, CellLimit, text)) return false;
  SetParam(text.c_str());
  return true;
}

std::string CUserVariableBlock::GetSymbolicName() const { return Format(Pattern, Cell); }
int32_t CUserVariableBlock::GetMapCode() const { return PLEXOR_MAPCODE(Width, 1, Cell - 1); }

// ---- sinks and standalone blocks -------------------------------------------

bool CPrintBlock::SetParam(const char* text) {
  KeepAtMost(Text, sizeof Text, text, 9);
  Ending = static_cast<int32_t>(ReadNumber(Text));
  return true;
}

bool CPrintBlock::EditParam() {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  int radio = Ending == 2 ? 2 : Ending == 4 ? 3 : 1;
  if (!d->PrintEnding(radio)) return false;
  SetParam(radio == 1 ? "1" : radio == 2 ? "2" : "4");
  return true;
}

bool CBeepBlock::SetParam(const char* text) {
  KeepAtMost(Melody, sizeof Melody, text, 599);
  return true;
}

bool CBeepBlock::EditParam() {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  std::string melody = Melody;
  if (!d->Melody(melody)) return false;
  SetParam(melody.c_str());
  return true;
}

bool CBaudBlock::SetParam(const char* text) {
  KeepAtMost(Text, sizeof Text, text, 9);
  Rate = static_cast<int32_t>(ReadNumber(Text));
  return true;
}

bool CBaudBlock::EditParam() {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  int radio = Rate == 1 ? 1 : Rate == 2 ? 2 : Rate == 4 ? 3 : 4;
  if (!d->BaudRate(radio)) return false;
  static const char* const kCodes[] = {"1", "2", "4", "8"};
  SetParam(kCodes[radio >= 1 && radio <= 4 ? radio - 1 : 3]);
  return true;
}

// ---- control -------------------------------------------------------------

bool CGotoBlock::SetParam(const char* text) {
  KeepAtMost(Names, sizeof Names, text, 99);
  return true;
}

bool CGotoBlock::EditParam() { return EditAsText(*this, 0, "Geben Sie den Bezeichner einer Zelle ein:"); }

bool COnGotoBlock::EditParam() {
  IParamDialogs* d = Dialogs();
  if (!d) return false;
  std::string text = Names;
  if (!d->InputStrList("Geben Sie zeilenweise die Bezeichner der Zellen ein, zu denen verzweigt werden soll:", text))
    return false;
  SetParam(text.c_str());
  return true;
}
