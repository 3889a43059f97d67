#include "TStationSettings.h"

#include <QDir>

TStationSettings TStationSettings::Defaults(const QString& programDir) {
  TStationSettings s;
  const QDir dir(programDir);
  s.bitmapPath = dir.filePath(QStringLiteral("BITMAPS"));
  s.tablePath = dir.filePath(QStringLiteral("TABLES"));
  return s;
}

std::array<TColor, TStationSettings::kColorCount> TStationSettings::DefaultColors() {
  std::array<TColor, kColorCount> colors{};
  for (int i = 0; i < kColorCount; ++i) colors[i] = kColorSettings[i].defaultValue;
  return colors;
}

std::array<TStoredFont, TStationSettings::kFontCount> TStationSettings::DefaultFonts() {
  std::array<TStoredFont, kFontCount> fonts{};
  for (int i = 0; i < kFontCount; ++i)
    fonts[i] = {QString::fromLatin1(kFontSettings[i].defaultName), kFontSettings[i].defaultSize, 0};
  return fonts;
}

TStationSettings& TStationSettings::Current() {
  static TStationSettings current = Defaults(QString());
  return current;
}
