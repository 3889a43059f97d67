// Helpers shared by the settings tests: a settings file in a temporary
// folder, raw access to it, and a settings value with nothing at its default.
#pragma once

#include <QFile>
#include <QSettings>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "TStationSettings.h"

class SettingsFileTest : public ::testing::Test {
 protected:
  QString Path() const { return dir_.filePath(QStringLiteral("station-%1.ini").arg(generation_)); }

  // Writes a new file: QSettings caches files by name, size and time stamp,
  // so rewriting the same one within a millisecond could go unseen.
  void WriteRaw(const QByteArray& text) {
    ++generation_;
    QFile f(Path());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
  }

  QByteArray ReadRaw() const {
    QFile f(Path());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  // The file as any QSettings reader sees it, "Section/Value" keys.
  QStringList StoredKeys() const {
    QSettings s(Path(), QSettings::IniFormat);
    QStringList keys = s.allKeys();
    keys.sort();
    return keys;
  }

  QVariant StoredValue(const QString& key) const {
    QSettings s(Path(), QSettings::IniFormat);
    return s.value(key);
  }

  QTemporaryDir dir_;
  int generation_ = 0;
};

// Every value different from its default, texts with characters an INI file
// must escape.
inline TStationSettings NonDefaultSettings() {
  TStationSettings s = TStationSettings::Defaults(QStringLiteral("/opt/vorblen"));
  s.mainWindow = {-4, 12, 1024, 700};
  s.windowState = 2;
  s.statusBar = false;
  s.toolBars = false;
  s.projectWindowWidth = 321;
  s.showTipsOfDay = false;
  s.nextTipOfDay = 17;
  s.cellAlignAtGrid = false;
  s.cellGridVisible = false;
  s.blockIndicesVisible = true;
  s.checkBeforeCompile = false;
  s.recoveryInterval = 5;
  s.bitmapPath = QStringLiteral("@C:\\Tarvix Daten\\Bilder, alt;=\"x\"");
  s.tablePath = QString::fromUtf8("/home/jörg/Tabellen [neu]");
  s.mruFiles = {QStringLiteral("/p/eins.tvp"), QStringLiteral("/p/zwei, drei.tvp"), QString::fromUtf8("/p/vier ü.tvp"),
                QStringLiteral("/p/5.tvp"), QStringLiteral("/p/6.tvp"), QStringLiteral("/p/7.tvp"),
                QStringLiteral("/p/8.tvp")};
  s.autoExpandCells = false;
  s.autoExpandTables = true;
  s.autoOpenFirstCell = false;
  s.autoSynchronize = true;
  s.autoTiming = false;
  s.virtualTime = true;
  s.com = 3;
  s.fixedDigitalIn = 0x0A3F;
  s.comDevices = {QString(), QStringLiteral("/dev/ttyUSB0"), QString(), QStringLiteral("/dev/serial/by-id/usb-x")};
  s.adValuesSaved = true;
  s.adValues = {0, 1, 2, 3, 250, 251, 254, 255};
  s.frequency = 30000;
  for (int w = 0; w < TStationSettings::kWindowCount; ++w)
    s.windows[w] = {{10 * w, 20 * w + 1, 10 * w + 200, 20 * w + 150}, kWindowSections[w].hasVisible};
  s.watchNameColWidth = 140;
  s.dataHexOutput = true;
  for (int i = 0; i < TStationSettings::kColorCount; ++i)
    s.colors[i] = (i % 3 == 0) ? static_cast<TColor>(0x80000000u + static_cast<uint32_t>(i)) : 0x010203 * (i + 1);
  for (int i = 0; i < TStationSettings::kFontCount; ++i)
    s.fonts[i] = {QStringLiteral("DejaVu Sans Mono %1").arg(i), 11 + i, static_cast<uint8_t>(i % 3 + 1)};
  return s;
}
