#include "MaskInputModes.h"

#include <string>

#include "ParamText.h"

namespace {

constexpr MaskInputMode kModes[] = {
    {nullptr, nullptr},
    {"Geben Sie einen konstanten Wert von -32768 bis +32767 ein:", "!#99999;0; "},
    {"Geben Sie eine Uhrzeit an:", "00:00;1; "},
    {"Geben Sie ein Datum an:", "00.00;1; "},
};

// February always allows the 29th: the unit has no year with a date constant.
constexpr int kMonthLength[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

int64_t Field(const std::string& text, size_t from) {
  return from < text.size() ? ReadNumberN(text.c_str() + from, 2) : 0;
}

}  // namespace

const MaskInputMode& GetMaskInputMode(int mode) { return kModes[mode >= 0 && mode <= 3 ? mode : 0]; }

bool MaskEntryAcceptable(int mode, std::string_view entry) {
  const std::string text(entry);  // the number readers want a terminated text
  switch (mode) {
    case 1: {
      int64_t value = ReadNumber(text.c_str());
      return value >= -32768 && value <= 32767;
    }
    case 2:
      return Field(text, 0) >= 0 && Field(text, 0) <= 23 && Field(text, 3) >= 0 && Field(text, 3) <= 59;
    case 3: {
      int64_t day = Field(text, 0), month = Field(text, 3);
      return month >= 1 && month <= 12 && day >= 1 && day <= kMonthLength[month - 1];
    }
    default:
      return true;
  }
}
