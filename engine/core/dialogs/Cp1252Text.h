// Engine texts (Windows-1252 bytes) as QString and back.
//
// Characters that the code page cannot hold become '?'; every byte survives
// the way into a QString and back unchanged.
#pragma once

#include <QString>

#include <string>
#include <string_view>

#include "cp1252.h"

inline QString FromCp1252(std::string_view bytes) {
  return QString::fromStdU16String(cp1252::ToUtf16(bytes));
}

inline QString FromCp1252(const char* bytes) { return FromCp1252(std::string_view(bytes ? bytes : "")); }

inline std::string ToCp1252(const QString& text) {
  return cp1252::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                               static_cast<size_t>(text.size())));
}
