// TStationSettings: every value the station keeps between runs, as a plain
// value type with its default. TSettingsStore loads and saves it; Apply()
// hands the parts other subsystems need to their process-wide records.
// The section and value names, defaults and limits live in the tables below
// so the store, the dialogs and the tests all read the same list.
#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>

#include "TColorValue.h"
#include "TRect.h"

// A placement that was never saved: all four coordinates -1, i.e. empty.
inline constexpr TRect kNoPlacement{-1, -1, -1, -1};

// A font as the settings keep it. The style bits differ from the cell body's
// (TCommentFont): here bit 0 is italic and bit 1 bold.
struct TStoredFont {
  enum Style : uint8_t { kItalic = 1, kBold = 2 };

  QString name;
  int32_t size = 10;  // points
  uint8_t style = 0;

  friend bool operator==(const TStoredFont&, const TStoredFont&) = default;
};

// Placement of one document or tool window; `visible` is kept for the
// simulator panels only (a panel saved as visible is created at start-up).
struct TWindowPlacement {
  TRect rect = kNoPlacement;
  bool visible = false;

  friend bool operator==(const TWindowPlacement&, const TWindowPlacement&) = default;
};

struct TStationSettings {
  enum Window {
    kWatchWindow,
    kTerminalWindow,
    kEEPROMWindow,
    kDigitalPortWindow,
    kAnalogPortWindow,
    kKeyboardLEDWindow,
    kWindowCount
  };

  enum Color {
    kWatchBackgnd,
    kWatchText,
    kWatchInvalid,
    kWatchChanged,
    kDataBackgnd,
    kDataText,
    kDataIndex,
    kDataChanged,
    kTerminalBackgnd,
    kTerminalText,
    kCellComment,
    kCellBackgnd,
    kCellGridColor,
    kLineColorInt,
    kLineColorText,
    kLineColorTime,
    kLineColorDate,
    kIndexColor,
    kIndexBackgnd,
    kTableBackgnd,
    kTableText,
    kGenericAnalogIn,
    kAnalogInBackgnd,
    kTemperatureAnalogIn,
    kVoltageAnalogIn,
    kFrequencyIn,
    kColorCount
  };

  enum Font { kCellCommentFont, kTableFont, kWatchFont, kTerminalFont, kDataFont, kFontCount };

  static constexpr int kMruMax = 8;
  static constexpr int kComPorts = 4;
  static constexpr int kAnalogInputs = 8;
  // Stands in for the width the window layout gives the project tree; the
  // main window passes its own through the defaults handed to Load().
  static constexpr int32_t kDefaultProjectWindowWidth = 185;

  // "MainWindow"
  TRect mainWindow = kNoPlacement;  // normal placement; empty = none saved
  int32_t windowState = 0;          // 0 normal, 1 minimised, 2 maximised
  bool statusBar = true;
  bool toolBars = true;
  int32_t projectWindowWidth = kDefaultProjectWindowWidth;
  bool showTipsOfDay = true;
  int32_t nextTipOfDay = 0;
  bool cellAlignAtGrid = true;
  bool cellGridVisible = true;
  bool blockIndicesVisible = false;
  bool checkBeforeCompile = true;  // program checks before each compile
  QString bitmapPath;  // Defaults() fills both from the program directory
  QString tablePath;
  // Seconds between recovery copies of an unsaved project; 0 = none.
  static constexpr int32_t kMaxRecoveryInterval = 3600;
  int32_t recoveryInterval = 30;

  // "MRUList": newest first, at most kMruMax names.
  QStringList mruFiles;

  // "ProjectWindow"
  bool autoExpandCells = true;
  bool autoExpandTables = false;
  bool autoOpenFirstCell = true;
  bool autoSynchronize = false;

  // "Simulator"
  bool autoTiming = true;
  // "VirtualTime": the run mode "Zeitraffer" instead of "Echtzeit".
  bool virtualTime = false;
  int32_t com = -1;  // 1..4; below 1 = none chosen
  uint16_t fixedDigitalIn = 0x0F00;
  // "COM1Device".."COM4Device": device overriding /dev/ttyS0..3; empty = none.
  std::array<QString, kComPorts> comDevices;

  // "AnalogPortWindow" (the values only while adValuesSaved is set)
  bool adValuesSaved = true;
  std::array<uint8_t, kAnalogInputs> adValues{64, 128, 192, 255, 96, 92, 100, 200};
  uint16_t frequency = 4200;

  // The window sections; read only when mainWindow was saved.
  std::array<TWindowPlacement, kWindowCount> windows{};
  int32_t watchNameColWidth = 100;  // "WatchWindow" "NameColWidth"
  bool dataHexOutput = false;       // "EEPROMWindow" "HexOutput"

  // "Colors", indexed by Color.
  std::array<TColor, kColorCount> colors = DefaultColors();
  // "Fonts", indexed by Font.
  std::array<TStoredFont, kFontCount> fonts = DefaultFonts();

  // All defaults, with BitmapPath and TablePath below the program directory.
  static TStationSettings Defaults(const QString& programDir);
  static std::array<TColor, kColorCount> DefaultColors();
  static std::array<TStoredFont, kFontCount> DefaultFonts();

  // The settings the running station uses: the frame loads them at start-up
  // and saves them at shut-down, the option dialogs change them, windows read
  // their colours, fonts and placements from here.
  static TStationSettings& Current();

  friend bool operator==(const TStationSettings&, const TStationSettings&) = default;
};

// Names of the window sections and whether each keeps a "Visible" flag.
struct TWindowSectionInfo {
  const char* section;
  bool hasVisible;
};
inline constexpr std::array<TWindowSectionInfo, TStationSettings::kWindowCount> kWindowSections{{
    {"WatchWindow", false},
    {"TerminalWindow", false},
    {"EEPROMWindow", false},
    {"DigitalPortWindow", true},
    {"AnalogPortWindow", true},
    {"KeyboardLEDWindow", true},
}};

// Value names and defaults of the colours ("Colors").
struct TColorInfo {
  const char* name;
  TColor defaultValue;
};
inline constexpr std::array<TColorInfo, TStationSettings::kColorCount> kColorSettings{{
    {"WatchBackgnd", static_cast<TColor>(0x8000000Fu)},   // button face
    {"WatchText", static_cast<TColor>(0x80000012u)},      // button text
    {"WatchInvalid", static_cast<TColor>(0x80000010u)},   // button shadow
    {"WatchChanged", 0x0000FF},                           // red
    {"DataBackgnd", static_cast<TColor>(0x8000000Fu)},
    {"DataText", static_cast<TColor>(0x80000012u)},
    {"DataIndex", static_cast<TColor>(0x80000010u)},
    {"DataChanged", 0x0000FF},
    {"TerminalBackgnd", 0x000000},                        // black
    {"TerminalText", 0x00FF00},                           // lime
    {"CellComment", static_cast<TColor>(0x80000008u)},    // window text
    {"CellBackgnd", static_cast<TColor>(0x80000005u)},    // window
    {"CellGridColor", static_cast<TColor>(0x80000008u)},
    {"LineColorInt", 0xFF0000},                           // blue
    {"LineColorText", 0x008000},                          // green
    {"LineColorTime", 0x0000FF},                          // red
    {"LineColorDate", 0x0000FF},
    {"IndexColor", 0xFFFFFF},                             // white
    {"IndexBackgnd", 0x808080},                           // grey
    {"TableBackgnd", static_cast<TColor>(0x80000005u)},
    {"TableText", static_cast<TColor>(0x80000008u)},
    {"GenericAnalogIn", 0x808000},                        // teal
    {"AnalogInBackgnd", static_cast<TColor>(0x8000000Fu)},
    {"TemperatureAnalogIn", 0x800080},                    // purple
    {"VoltageAnalogIn", 0x800000},                        // navy
    {"FrequencyIn", 0x808080},                            // grey
}};

// Value name prefixes and defaults of the fonts ("Fonts"): the prefix is
// followed by "FontName", "FontSize" and "FontStyle".
struct TFontInfo {
  const char* prefix;
  const char* defaultName;
  int32_t defaultSize;
};
inline constexpr std::array<TFontInfo, TStationSettings::kFontCount> kFontSettings{{
    {"CellComment", "MS Sans Serif", 8},
    {"Table", "Courier New", 10},
    {"Watch", "Courier New", 10},
    {"Terminal", "Courier New", 10},
    {"Data", "Courier New", 10},
}};
