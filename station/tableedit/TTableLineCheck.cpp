#include "TTableLineCheck.h"

namespace {

bool IsSpace(QChar c) { return c == QLatin1Char(' ') || (c.unicode() >= '\t' && c.unicode() <= '\r'); }
bool IsDigit(QChar c) { return c.unicode() >= '0' && c.unicode() <= '9'; }

}  // namespace

std::vector<TTableLineError> TTableLineCheck::Check(const QString& line) {
  std::vector<TTableLineError> errors;
  const int n = static_cast<int>(line.size());
  int p = 0;
  while (p < n) {
    if (IsSpace(line[p])) {
      ++p;
      continue;
    }
    const int start = p;
    int q = p;
    bool negative = false;
    if (line[q] == QLatin1Char('+') || line[q] == QLatin1Char('-')) negative = line[q++] == QLatin1Char('-');
    if (q < n && IsDigit(line[q])) {
      int64_t value = 0;
      while (q < n && IsDigit(line[q])) {
        if (value <= 100000) value = value * 10 + (line[q].unicode() - '0');
        ++q;
      }
      if (negative) value = -value;
      if (value >= -32768 && value <= 32767) {
        p = q;  // the next value may follow without a blank, as the compiler reads it
        continue;
      }
      errors.push_back({start, q - start, QStringLiteral("Zahl außerhalb des Bereichs -32768 bis 32767")});
      p = q;
      continue;
    }
    while (q < n && !IsSpace(line[q])) ++q;
    errors.push_back({start, q - start, QStringLiteral("Keine ganze Zahl: \"%1\"").arg(line.mid(start, q - start))});
    p = q;
  }
  return errors;
}
