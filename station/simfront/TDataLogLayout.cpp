#include "TDataLogLayout.h"

#include <algorithm>

int TDataLogLayout::ValuesPerRow() const {
  const int unit = std::max(1, charWidth) * ValueWidth();
  return std::max(1, (clientWidth - 4 * charWidth - 10) / unit);
}

int TDataLogLayout::Rows() const {
  const int n = ValuesPerRow();
  return std::max(1, (length + n - 1) / n);
}

QString TDataLogLayout::FormatIndex(int index) { return QString::asprintf("%4d", index); }

QString TDataLogLayout::FormatValue(uint16_t value, bool hex) {
  return hex ? QString::asprintf("%5.4x", static_cast<unsigned>(value)) : QString::asprintf("%7d", static_cast<int>(value));
}
