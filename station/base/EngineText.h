// Conversions at the engine boundary: engine texts are Windows-1252 bytes.
#pragma once

#include <QString>
#include <string>
#include <string_view>

#include "cp1252.h"

namespace enginetext {

// Straight into the string's own storage: one allocation, no copy.
inline QString ToQString(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char c : bytes) *out++ = QChar(cp1252::ToUnicode(static_cast<unsigned char>(c)));
  return text;
}

inline QString ToQString(const char* bytes) { return bytes ? ToQString(std::string_view(bytes)) : QString(); }

inline std::string ToBytes(const QString& text) {
  return cp1252::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
}

}  // namespace enginetext
