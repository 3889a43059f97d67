#include "ParamText.h"

#include <cstring>
#include <limits>

int64_t ReadNumberN(const char* text, size_t len) {
  if (!text) return 0;
  size_t i = 0;
  while (i < len && text[i] != 0 && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < len && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  constexpr int64_t kLimit = std::numeric_limits<int64_t>::max() / 10 - 10;
  for (; i < len && text[i] >= '0' && text[i] <= '9'; ++i)
    if (value < kLimit) value = value * 10 + (text[i] - '0');
  return negative ? -value : value;
}

int64_t ReadNumber(const char* text) { return ReadNumberN(text, static_cast<size_t>(-1)); }

void KeepAtMost(char* field, size_t fieldSize, const char* text, size_t k) {
  std::memset(field, 0, fieldSize);
  if (!text) return;
  if (k >= fieldSize) k = fieldSize - 1;
  size_t n = strnlen(text, k);
  std::memcpy(field, text, n);
}
