// Windows-1252 <-> UTF-16 without loss.
//
// Texts crossing the engine interface and the project files are 8-bit
// Windows-1252. The five bytes the code page leaves undefined (0x81, 0x8D,
// 0x8F, 0x90, 0x9D) map to the C1 control of the same value and back, so
// every byte sequence survives a round trip through Unicode unchanged.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace cp1252 {

// UTF-16 code units of bytes 0x80..0x9F.
inline constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

inline char16_t ToUnicode(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHigh[byte - 0x80] : static_cast<char16_t>(byte);
}

// The byte for a code unit, or '?' when Windows-1252 has none.
inline unsigned char FromUnicode(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<unsigned char>(unit);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == unit) return static_cast<unsigned char>(0x80 + i);
  return '?';
}

inline std::u16string ToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char c : bytes) out.push_back(ToUnicode(static_cast<unsigned char>(c)));
  return out;
}

inline std::string FromUtf16(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t u : text) out.push_back(static_cast<char>(FromUnicode(u)));
  return out;
}

}  // namespace cp1252
