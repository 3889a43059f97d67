// Conversions at the engine boundary: engine texts are Windows-1252 bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "cp1252.h"

namespace enginetext {

inline QString ToQString(std::string_view bytes) {
  const std::u16string text = cp1252::ToUtf16(bytes);
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString ToQString(const char* bytes) { return bytes ? ToQString(std::string_view(bytes)) : QString(); }

inline std::string ToBytes(const QString& text) {
  return cp1252::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
}

}  // namespace enginetext
