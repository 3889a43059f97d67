#include "SerialDevices.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

// Orders names that differ only in a trailing number by that number.
bool NaturalLess(const QString& a, const QString& b) {
  auto split = [](const QString& s) {
    qsizetype digits = s.size();
    while (digits > 0 && s[digits - 1].isDigit()) --digits;
    bool ok = false;
    const qulonglong number = s.mid(digits).toULongLong(&ok);
    return std::make_pair(s.left(digits), ok ? number : 0ULL);
  };
  const auto [prefixA, numberA] = split(a);
  const auto [prefixB, numberB] = split(b);
  if (prefixA != prefixB) return prefixA < prefixB;
  if (numberA != numberB) return numberA < numberB;
  return a < b;
}

QStringList Entries(const QString& dir, const QString& pattern) {
  QStringList names = QDir(dir).entryList({pattern}, QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot);
  std::sort(names.begin(), names.end(), NaturalLess);
  QStringList paths;
  for (const QString& name : names) paths << QDir(dir).filePath(name);
  return paths;
}

}  // namespace

QStringList SerialDevices(const QString& root) {
  QStringList devices = Entries(QDir(root).filePath(QStringLiteral("serial/by-id")), QStringLiteral("*"));
  for (const char* pattern : {"ttyUSB*", "ttyACM*", "ttyS*"}) devices << Entries(root, QString::fromLatin1(pattern));
  return devices;
}
