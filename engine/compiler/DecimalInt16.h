// DecimalInt16: reading the signed 16-bit decimal numbers of the texts the
// compiler takes in (conversion tables, melodies) as formatted stream input
// reads them.
#pragma once

#include <cstdint>

namespace decimal {

// Blanks between numbers: space, tab, line ends, vertical tab, form feed.
inline bool IsSpace(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// One number at p: an optional sign, then digits up to the first non-digit,
// -32768..32767; p moves past it. An out-of-range number fails like any
// other unreadable word, and p stays.
inline bool ReadInt16(const unsigned char*& p, int16_t& value) {
  const unsigned char* q = p;
  bool negative = false;
  if (*q == '+' || *q == '-') negative = *q++ == '-';
  if (*q < '0' || *q > '9') return false;
  int32_t v = 0;
  for (; *q >= '0' && *q <= '9'; ++q) {
    v = v * 10 + (*q - '0');
    if (v > 32768) return false;
  }
  if (negative) v = -v;
  if (v > 32767) return false;
  value = static_cast<int16_t>(v);
  p = q;
  return true;
}

}  // namespace decimal
