// Handing the settings to the cell editor and the simulated inputs, taking
// back what changed at run time, and the serial device behind "COM".
#include "ApplySettings.h"
#include "ComDevice.h"
#include "SettingsTestSupport.h"
#include "TSettingsStore.h"

namespace {

using S = TStationSettings;

TEST(SettingsApply, FillsTheCellEditorSettings) {
  S s = NonDefaultSettings();
  s.fonts[S::kCellCommentFont] = {QStringLiteral("Arial"), 12, TStoredFont::kItalic};
  CellEditorSettings cell;
  TSimulatedInputs inputs;
  Apply(s, cell, inputs);

  EXPECT_FALSE(cell.alignAtGrid);
  EXPECT_FALSE(cell.gridVisible);
  EXPECT_TRUE(cell.blockIndicesVisible);
  EXPECT_EQ(cell.bitmapPath, s.bitmapPath);
  EXPECT_EQ(cell.tablePath, s.tablePath);
  EXPECT_EQ(cell.foregroundColor, s.colors[S::kCellGridColor]);
  EXPECT_EQ(cell.blockBackgroundColor, s.colors[S::kCellBackgnd]);
  // Wires are coloured by connection kind: 1 value, 2 text, 3 time, 4 date.
  EXPECT_EQ(cell.WireColor(1), s.colors[S::kLineColorInt]);
  EXPECT_EQ(cell.WireColor(0), s.colors[S::kLineColorInt]);
  EXPECT_EQ(cell.WireColor(2), s.colors[S::kLineColorText]);
  EXPECT_EQ(cell.WireColor(3), s.colors[S::kLineColorTime]);
  EXPECT_EQ(cell.WireColor(4), s.colors[S::kLineColorDate]);
  EXPECT_EQ(cell.indexTextColor, s.colors[S::kIndexColor]);
  EXPECT_EQ(cell.indexBackgroundColor, s.colors[S::kIndexBackgnd]);
  EXPECT_EQ(cell.defaultCommentFont,
            (TCommentFont{QStringLiteral("Arial"), 12, s.colors[S::kCellComment], TCommentFont::kItalic}));
  // Settings the shell does not keep stay as they were.
  EXPECT_EQ(cell.gridSize, 10);
  EXPECT_EQ(cell.cellArea, (TRect{0, 0, 2000, 2000}));
}

TEST(SettingsApply, FontStyleBitsAreTranslatedForTheCellBody) {
  struct Case {
    uint8_t stored;
    uint8_t comment;
  };
  const Case cases[] = {
      {0, 0},
      {TStoredFont::kItalic, TCommentFont::kItalic},
      {TStoredFont::kBold, TCommentFont::kBold},
      {TStoredFont::kItalic | TStoredFont::kBold, TCommentFont::kItalic | TCommentFont::kBold},
  };
  for (const Case& c : cases) {
    S s;
    s.fonts[S::kCellCommentFont].style = c.stored;
    CellEditorSettings cell;
    TSimulatedInputs inputs;
    Apply(s, cell, inputs);
    EXPECT_EQ(cell.defaultCommentFont.style, c.comment) << int(c.stored);
  }
}

TEST(SettingsApply, DefaultsGiveTheCellEditorItsStartValuesExceptTheIndexBackground) {
  CellEditorSettings cell;
  TSimulatedInputs inputs;
  Apply(S::Defaults(QStringLiteral("/opt/vorblen")), cell, inputs);
  const CellEditorSettings start;
  EXPECT_EQ(cell.foregroundColor, start.foregroundColor);
  EXPECT_EQ(cell.blockBackgroundColor, start.blockBackgroundColor);
  EXPECT_EQ(cell.wireColors, start.wireColors);
  EXPECT_EQ(cell.indexTextColor, start.indexTextColor);
  EXPECT_EQ(cell.defaultCommentFont, start.defaultCommentFont);
  EXPECT_EQ(cell.indexBackgroundColor, 0x808080);  // the stored default is grey
}

TEST(SettingsApply, FillsTheSimulatedInputsAndMarksThemPending) {
  S s = NonDefaultSettings();
  CellEditorSettings cell;
  TSimulatedInputs inputs;
  Apply(s, cell, inputs);
  EXPECT_FALSE(inputs.AutoTiming);
  EXPECT_TRUE(inputs.AutoTimingChanged);
  EXPECT_EQ(inputs.FixedDigitalIn, 0x0A3F);
  EXPECT_TRUE(inputs.FixedDigitalInChanged);
  EXPECT_EQ(inputs.AdcValue, s.adValues);
  EXPECT_EQ(inputs.AdcChanged, (std::array<bool, 8>{true, true, true, true, true, true, true, true}));
  EXPECT_EQ(inputs.Frequency, 30000);
  EXPECT_FALSE(inputs.FrequencyChanged);
  // The ports belong to the running simulation, not to the settings.
  EXPECT_EQ(inputs.PortChanged, (std::array<bool, 16>{}));
}

TEST_F(SettingsFileTest, AStartWithoutKeptAnalogValuesHandsZeroesToTheSimulator) {
  S s = NonDefaultSettings();
  s.adValuesSaved = false;
  TSettingsStore store(Path());
  ASSERT_TRUE(store.Save(s));
  CellEditorSettings cell;
  TSimulatedInputs inputs;  // starts with the built-in values
  Apply(store.Load(QStringLiteral("/opt/vorblen")), cell, inputs);
  EXPECT_EQ(inputs.AdcValue, (std::array<uint8_t, 8>{}));
  EXPECT_EQ(inputs.Frequency, 0);
  // Pending, so the engine learns the zeroes too.
  EXPECT_EQ(inputs.AdcChanged, (std::array<bool, 8>{true, true, true, true, true, true, true, true}));
}

TEST_F(SettingsFileTest, CollectTakesBackRunTimeChangesForTheNextSave) {
  const S loaded = NonDefaultSettings();
  CellEditorSettings cell;
  TSimulatedInputs inputs;
  Apply(loaded, cell, inputs);

  // What the panels, the cell editor and the options dialog change while the program runs.
  inputs.AdcValue[3] = 7;
  inputs.Frequency = 123;
  inputs.FixedDigitalIn = 0x0F15;
  inputs.AutoTiming = true;
  cell.blockIndicesVisible = false;
  cell.gridVisible = true;

  S toSave = loaded;
  Collect(toSave, cell, inputs);
  EXPECT_EQ(toSave.adValues[3], 7);
  EXPECT_EQ(toSave.frequency, 123);
  EXPECT_EQ(toSave.fixedDigitalIn, 0x0F15);
  EXPECT_TRUE(toSave.autoTiming);
  EXPECT_FALSE(toSave.blockIndicesVisible);
  EXPECT_TRUE(toSave.cellGridVisible);
  EXPECT_FALSE(toSave.cellAlignAtGrid);
  // Colours and fonts stay the settings' own.
  EXPECT_EQ(toSave.colors, loaded.colors);
  EXPECT_EQ(toSave.fonts, loaded.fonts);

  TSettingsStore store(Path());
  ASSERT_TRUE(store.Save(toSave));
  EXPECT_EQ(store.Load(QStringLiteral("/opt/vorblen")), toSave);
}

TEST(SettingsApply, ProcessWideRecordsAreFilled) {
  const CellEditorSettings cellBefore = CellEditorSettings::Current();
  const TSimulatedInputs inputsBefore = TSimulatedInputs::Current();

  S s = NonDefaultSettings();
  Apply(s);
  EXPECT_EQ(CellEditorSettings::Current().bitmapPath, s.bitmapPath);
  EXPECT_EQ(CellEditorSettings::Current().indexTextColor, s.colors[S::kIndexColor]);
  EXPECT_EQ(TSimulatedInputs::Current().AdcValue, s.adValues);
  EXPECT_TRUE(TSimulatedInputs::Current().FixedDigitalInChanged);

  TSimulatedInputs::Current().Frequency = 999;
  S back = s;
  Collect(back);
  EXPECT_EQ(back.frequency, 999);

  CellEditorSettings::Current() = cellBefore;
  TSimulatedInputs::Current() = inputsBefore;
}

TEST(ComDeviceMapping, PortsMapToSerialDevicesUnlessOverridden) {
  S s;
  EXPECT_EQ(ComDevice(s, 1), QStringLiteral("/dev/ttyS0"));
  EXPECT_EQ(ComDevice(s, 2), QStringLiteral("/dev/ttyS1"));
  EXPECT_EQ(ComDevice(s, 3), QStringLiteral("/dev/ttyS2"));
  EXPECT_EQ(ComDevice(s, 4), QStringLiteral("/dev/ttyS3"));
  for (int none : {-1, 0, 5, -2147483647 - 1, 2147483647}) EXPECT_TRUE(ComDevice(s, none).isEmpty()) << none;
  EXPECT_TRUE(ComDevice(s).isEmpty());  // no port chosen yet

  s.comDevices[1] = QStringLiteral("/dev/ttyUSB0");
  s.comDevices[3] = QStringLiteral("  /dev/ttyACM1 ");
  EXPECT_EQ(ComDevice(s, 1), QStringLiteral("/dev/ttyS0"));
  EXPECT_EQ(ComDevice(s, 2), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(ComDevice(s, 4), QStringLiteral("/dev/ttyACM1"));
  s.com = 2;
  EXPECT_EQ(ComDevice(s), QStringLiteral("/dev/ttyUSB0"));

  // A name with control characters is no device: no port rather than a wrong one.
  s.comDevices[0] = QStringLiteral("/dev/ttyUSB0\n/dev/ttyS0");
  EXPECT_TRUE(ComDevice(s, 1).isEmpty());
  s.comDevices[0] = QString(QChar(0)) + QStringLiteral("/dev/x");
  EXPECT_TRUE(ComDevice(s, 1).isEmpty());
}

TEST_F(SettingsFileTest, ComDeviceOverridesComeFromTheSimulatorSection) {
  WriteRaw("[Simulator]\nCOM=1\nCOM1Device=/dev/ttyUSB0\nCOM3Device=\n");
  TSettingsStore store(Path());
  S s = store.Load(QStringLiteral("/opt/vorblen"));
  EXPECT_EQ(s.com, 1);
  EXPECT_EQ(ComDevice(s), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(ComDevice(s, 3), QStringLiteral("/dev/ttyS2"));

  // Kept on save; empty overrides are not written.
  ASSERT_TRUE(store.Save(s));
  EXPECT_EQ(StoredValue(QStringLiteral("Simulator/COM1Device")).toString(), QStringLiteral("/dev/ttyUSB0"));
  EXPECT_FALSE(StoredKeys().contains(QStringLiteral("Simulator/COM3Device")));

  // A port number below 1 or beyond 4 means none chosen.
  for (const char* com : {"0", "-7", "5"}) {
    WriteRaw(QByteArray("[Simulator]\nCOM=") + com + "\nCOM1Device=/dev/ttyUSB0\n");
    TSettingsStore edited(Path());
    const S e = edited.Load(QStringLiteral("/opt/vorblen"));
    EXPECT_EQ(e.com, -1) << com;
    EXPECT_TRUE(ComDevice(e).isEmpty()) << com;
  }
}

}  // namespace
