// The settings store: first start, round trips with the exact section and
// value names, the window-section rule, the analog values, colours, the
// store's location and damaged files.
#include <QDir>
#include <QFile>
#include <cstdlib>
#include <sys/stat.h>

#include "SettingsTestSupport.h"
#include "TSettingsStore.h"

namespace {

const QString kProgramDir = QStringLiteral("/opt/vorblen");

using S = TStationSettings;

TEST_F(SettingsFileTest, FirstStartUsesDefaultsAndWritesTheDirectoriesOnly) {
  ASSERT_FALSE(QFile::exists(Path()));
  TSettingsStore store(Path());
  const S loaded = store.Load(kProgramDir);

  const S defaults = S::Defaults(kProgramDir);
  EXPECT_EQ(loaded, defaults);
  EXPECT_EQ(loaded.bitmapPath, QStringLiteral("/opt/vorblen/BITMAPS"));
  EXPECT_EQ(loaded.tablePath, QStringLiteral("/opt/vorblen/TABLES"));
  EXPECT_TRUE(loaded.mainWindow.IsEmpty());
  EXPECT_EQ(loaded.com, -1);
  EXPECT_EQ(loaded.fixedDigitalIn, 0x0F00);
  EXPECT_EQ(loaded.adValues, (std::array<uint8_t, 8>{64, 128, 192, 255, 96, 92, 100, 200}));
  EXPECT_EQ(loaded.frequency, 4200);
  EXPECT_EQ(loaded.fonts[S::kCellCommentFont], (TStoredFont{QStringLiteral("MS Sans Serif"), 8, 0}));
  EXPECT_EQ(loaded.fonts[S::kTerminalFont], (TStoredFont{QStringLiteral("Courier New"), 10, 0}));
  for (const TWindowPlacement& w : loaded.windows) EXPECT_EQ(w, TWindowPlacement{});

  // Written at once, before any Save, and nothing else.
  EXPECT_EQ(StoredKeys(), (QStringList{QStringLiteral("MainWindow/BitmapPath"), QStringLiteral("MainWindow/TablePath")}));

  // Once written, the directories no longer follow the program directory.
  TSettingsStore again(Path());
  const S moved = again.Load(QStringLiteral("/elsewhere"));
  EXPECT_EQ(moved.bitmapPath, QStringLiteral("/opt/vorblen/BITMAPS"));
  EXPECT_EQ(moved.tablePath, QStringLiteral("/opt/vorblen/TABLES"));
}

TEST_F(SettingsFileTest, EmptyDirectoryCountsAsMissingAndIsWrittenBack) {
  WriteRaw("[MainWindow]\nBitmapPath=\nTablePath=/data/tab\n");
  TSettingsStore store(Path());
  const S loaded = store.Load(kProgramDir);
  EXPECT_EQ(loaded.bitmapPath, QStringLiteral("/opt/vorblen/BITMAPS"));
  EXPECT_EQ(loaded.tablePath, QStringLiteral("/data/tab"));
  EXPECT_EQ(StoredValue(QStringLiteral("MainWindow/BitmapPath")).toString(), QStringLiteral("/opt/vorblen/BITMAPS"));
}

TEST_F(SettingsFileTest, EveryValueRoundTrips) {
  const S original = NonDefaultSettings();
  const S defaults = S::Defaults(kProgramDir);
  // The round trip proves nothing for a value that stayed at its default.
  for (int i = 0; i < S::kColorCount; ++i) EXPECT_NE(original.colors[i], defaults.colors[i]) << kColorSettings[i].name;
  for (int i = 0; i < S::kFontCount; ++i) EXPECT_NE(original.fonts[i], defaults.fonts[i]) << kFontSettings[i].prefix;
  for (int w = 0; w < S::kWindowCount; ++w) EXPECT_NE(original.windows[w].rect, defaults.windows[w].rect);

  {
    TSettingsStore store(Path());
    ASSERT_TRUE(store.Save(original));
  }
  TSettingsStore store(Path());
  const S loaded = store.Load(kProgramDir);
  EXPECT_EQ(loaded, original);
  EXPECT_EQ(loaded.bitmapPath, original.bitmapPath);
  EXPECT_EQ(loaded.mruFiles, original.mruFiles);
  EXPECT_EQ(loaded.colors, original.colors);
  EXPECT_EQ(loaded.fonts, original.fonts);
  EXPECT_EQ(loaded.windows, original.windows);

  // Saving what was loaded changes nothing in the file.
  const QByteArray first = ReadRaw();
  ASSERT_TRUE(store.Save(loaded));
  EXPECT_EQ(ReadRaw(), first);
}

TEST_F(SettingsFileTest, SectionAndValueNamesAreExactlyTheStationsOwn) {
  TSettingsStore store(Path());
  ASSERT_TRUE(store.Save(NonDefaultSettings()));

  QStringList expected;
  auto add = [&](const char* section, std::initializer_list<const char*> names) {
    for (const char* n : names) expected << QStringLiteral("%1/%2").arg(QLatin1String(section), QLatin1String(n));
  };
  add("MainWindow", {"Left", "Top", "Right", "Bottom", "WindowState", "Statusbar", "Toolbars", "ProjectWindowWidth",
                     "ShowTipsOfDay", "NextTipOfDay", "CellAlignAtGrid", "CellGridVisible", "BlockIndicesVisible",
                     "CheckBeforeCompile", "BitmapPath", "TablePath", "RecoveryInterval"});
  add("MRUList", {"Count", "File1", "File2", "File3", "File4", "File5", "File6", "File7", "File8"});
  add("ProjectWindow", {"AutoExpandCells", "AutoExpandTables", "AutoOpenFirstCell", "AutoSynchronize"});
  add("Simulator", {"AutoTiming", "VirtualTime", "COM", "FixedDigitalIn", "COM2Device", "COM4Device"});
  add("AnalogPortWindow", {"ADValuesSaved", "AD1", "AD2", "AD3", "AD4", "AD5", "AD6", "AD7", "AD8", "Frequency",
                           "Left", "Top", "Right", "Bottom", "Visible"});
  add("WatchWindow", {"Left", "Top", "Right", "Bottom", "NameColWidth"});
  add("TerminalWindow", {"Left", "Top", "Right", "Bottom"});
  add("EEPROMWindow", {"Left", "Top", "Right", "Bottom", "HexOutput"});
  add("DigitalPortWindow", {"Left", "Top", "Right", "Bottom", "Visible"});
  add("KeyboardLEDWindow", {"Left", "Top", "Right", "Bottom", "Visible"});
  add("Colors", {"WatchBackgnd", "WatchText", "WatchInvalid", "WatchChanged", "DataBackgnd", "DataText", "DataIndex",
                 "DataChanged", "TerminalBackgnd", "TerminalText", "CellComment", "CellBackgnd", "CellGridColor",
                 "LineColorInt", "LineColorText", "LineColorTime", "LineColorDate", "IndexColor", "IndexBackgnd",
                 "TableBackgnd", "TableText", "GenericAnalogIn", "AnalogInBackgnd", "TemperatureAnalogIn",
                 "VoltageAnalogIn", "FrequencyIn"});
  add("Fonts", {"CellCommentFontName", "TableFontName", "WatchFontName", "TerminalFontName", "DataFontName",
                "CellCommentFontSize", "TableFontSize", "WatchFontSize", "TerminalFontSize", "DataFontSize",
                "CellCommentFontStyle", "TableFontStyle", "WatchFontStyle", "TerminalFontStyle", "DataFontStyle"});
  expected.sort();
  EXPECT_EQ(StoredKeys(), expected);

  // Integers and flags as plain numbers.
  const QByteArray raw = ReadRaw();
  EXPECT_TRUE(raw.contains("\nStatusbar=0\n")) << raw.constData();
  EXPECT_TRUE(raw.contains("\nLeft=-4\n"));
  EXPECT_TRUE(raw.contains("\nFixedDigitalIn=2623\n"));
  EXPECT_TRUE(raw.contains("\nCOM=3\n"));
}

TEST_F(SettingsFileTest, MruListKeepsEightAndWritesEmptyNamesBeyondCount) {
  S s = S::Defaults(kProgramDir);
  for (int i = 1; i <= 10; ++i) s.mruFiles << QStringLiteral("/p/%1.tvp").arg(i);
  TSettingsStore store(Path());
  ASSERT_TRUE(store.Save(s));
  EXPECT_EQ(store.Load(kProgramDir).mruFiles, s.mruFiles.mid(0, 8));

  s.mruFiles = {QStringLiteral("/p/a.tvp"), QStringLiteral("/p/b.tvp")};
  ASSERT_TRUE(store.Save(s));
  EXPECT_EQ(StoredValue(QStringLiteral("MRUList/Count")).toInt(), 2);
  EXPECT_EQ(StoredValue(QStringLiteral("MRUList/File3")), QVariant(QString()));
  EXPECT_EQ(StoredValue(QStringLiteral("MRUList/File8")), QVariant(QString()));
  EXPECT_EQ(store.Load(kProgramDir).mruFiles, s.mruFiles);
}

// The panels' sections only count once the main window had a placement.
TEST_F(SettingsFileTest, WindowSectionsAreReadOnlyAfterAMainWindowPlacement) {
  S saved = NonDefaultSettings();
  const S defaults = S::Defaults(kProgramDir);
  struct Case {
    TRect mainWindow;
    bool read;
  };
  const Case cases[] = {
      {kNoPlacement, false},
      {{100, 100, 100, 500}, false},  // no width
      {{100, 500, 600, 400}, false},  // upside down
      {{0, 0, 1, 1}, true},
      {{-20, -20, 800, 600}, true},
  };
  for (const Case& c : cases) {
    saved.mainWindow = c.mainWindow;
    TSettingsStore store(Path());
    ASSERT_TRUE(store.Save(saved));
    const S loaded = store.Load(kProgramDir);
    SCOPED_TRACE(testing::Message() << c.mainWindow.left << "," << c.mainWindow.top << "," << c.mainWindow.right
                                    << "," << c.mainWindow.bottom);
    EXPECT_EQ(loaded.mainWindow, c.mainWindow);
    if (c.read) {
      EXPECT_EQ(loaded.windows, saved.windows);
      EXPECT_EQ(loaded.watchNameColWidth, saved.watchNameColWidth);
      EXPECT_EQ(loaded.dataHexOutput, saved.dataHexOutput);
    } else {
      EXPECT_EQ(loaded.windows, defaults.windows);
      EXPECT_EQ(loaded.watchNameColWidth, 100);
      EXPECT_FALSE(loaded.dataHexOutput);
    }
    // The analog values share a section with the analog panel but are read anyway.
    EXPECT_EQ(loaded.adValues, saved.adValues);
    EXPECT_EQ(loaded.frequency, saved.frequency);
  }
}

TEST_F(SettingsFileTest, AnalogValuesAreDeletedWhenNotKeptAndTheNextStartBeginsAtZero) {
  S s = NonDefaultSettings();
  s.adValuesSaved = false;
  TSettingsStore store(Path());
  ASSERT_TRUE(store.Save(s));

  for (const QString& key : StoredKeys()) {
    EXPECT_FALSE(key.startsWith(QLatin1String("AnalogPortWindow/AD")) && key != QLatin1String("AnalogPortWindow/ADValuesSaved"))
        << key.toStdString();
    EXPECT_NE(key, QStringLiteral("AnalogPortWindow/Frequency"));
  }
  EXPECT_EQ(StoredValue(QStringLiteral("AnalogPortWindow/ADValuesSaved")).toInt(), 0);

  const S loaded = store.Load(kProgramDir);
  EXPECT_FALSE(loaded.adValuesSaved);
  EXPECT_EQ(loaded.adValues, (std::array<uint8_t, 8>{}));
  EXPECT_EQ(loaded.frequency, 0);

  // Values left in a hand-edited file are not read while the option is off.
  WriteRaw("[AnalogPortWindow]\nADValuesSaved=0\nAD1=77\nFrequency=1234\n");
  TSettingsStore edited(Path());
  const S fromEdited = edited.Load(kProgramDir);
  EXPECT_EQ(fromEdited.adValues[0], 0);
  EXPECT_EQ(fromEdited.frequency, 0);

  // Switched on again, the values of this run are kept.
  S on = fromEdited;
  on.adValuesSaved = true;
  on.adValues = {8, 7, 6, 5, 4, 3, 2, 1};
  on.frequency = 50;
  ASSERT_TRUE(edited.Save(on));
  const S reloaded = edited.Load(kProgramDir);
  EXPECT_EQ(reloaded.adValues, on.adValues);
  EXPECT_EQ(reloaded.frequency, 50);

  // Kept but never written: the built-in defaults.
  WriteRaw("[AnalogPortWindow]\nADValuesSaved=1\n");
  TSettingsStore fresh(Path());
  EXPECT_EQ(fresh.Load(kProgramDir).adValues, S{}.adValues);
}

TEST_F(SettingsFileTest, ColoursAreStoredAsUnsignedNumbersWithSystemColourReferences) {
  const S defaults = S::Defaults(kProgramDir);
  const auto& c = defaults.colors;
  EXPECT_EQ(static_cast<uint32_t>(c[S::kWatchBackgnd]), 0x8000000Fu);
  EXPECT_EQ(static_cast<uint32_t>(c[S::kWatchText]), 0x80000012u);
  EXPECT_EQ(static_cast<uint32_t>(c[S::kWatchInvalid]), 0x80000010u);
  EXPECT_EQ(c[S::kTerminalBackgnd], 0);
  EXPECT_EQ(c[S::kTerminalText], 0xFF00);
  EXPECT_EQ(static_cast<uint32_t>(c[S::kCellGridColor]), 0x80000008u);
  EXPECT_EQ(static_cast<uint32_t>(c[S::kCellBackgnd]), 0x80000005u);
  EXPECT_EQ(c[S::kLineColorInt], 0xFF0000);
  EXPECT_EQ(c[S::kLineColorText], 0x8000);
  EXPECT_EQ(c[S::kIndexBackgnd], 0x808080);
  EXPECT_EQ(c[S::kTemperatureAnalogIn], 0x800080);
  EXPECT_EQ(c[S::kVoltageAnalogIn], 0x800000);

  // Red in the low byte; system colours resolve through the platform table.
  EXPECT_EQ(tcolor::ToQColor(c[S::kWatchChanged]), QColor(255, 0, 0));
  EXPECT_EQ(tcolor::ToQColor(c[S::kLineColorInt]), QColor(0, 0, 255));
  EXPECT_EQ(tcolor::ToQColor(c[S::kCellBackgnd]), tcolor::SystemColor(5));

  TSettingsStore store(Path());
  ASSERT_TRUE(store.Save(defaults));
  const QByteArray raw = ReadRaw();
  EXPECT_TRUE(raw.contains("\nWatchBackgnd=2147483663\n")) << raw.constData();
  EXPECT_TRUE(raw.contains("\nLineColorInt=16711680\n"));

  // A value written as a signed number reads the same; values that are no
  // colour fall back to the default.
  WriteRaw("[Colors]\n"
           "WatchBackgnd=-2147483633\n"   // 0x8000000F signed
           "WatchText=2147483678\n"       // system colour 30, the last one
           "WatchInvalid=2147483679\n"    // system colour 31 does not exist
           "WatchChanged=16777216\n"      // above 0xFFFFFF
           "DataBackgnd=4294967296\n"     // beyond 32 bits
           "DataText=-1\n"
           "DataIndex=0\n");
  TSettingsStore edited(Path());
  const S loaded = edited.Load(kProgramDir);
  EXPECT_EQ(static_cast<uint32_t>(loaded.colors[S::kWatchBackgnd]), 0x8000000Fu);
  EXPECT_EQ(static_cast<uint32_t>(loaded.colors[S::kWatchText]), 0x8000001Eu);
  EXPECT_EQ(loaded.colors[S::kWatchInvalid], c[S::kWatchInvalid]);
  EXPECT_EQ(loaded.colors[S::kWatchChanged], c[S::kWatchChanged]);
  EXPECT_EQ(loaded.colors[S::kDataBackgnd], c[S::kDataBackgnd]);
  EXPECT_EQ(loaded.colors[S::kDataText], c[S::kDataText]);
  EXPECT_EQ(loaded.colors[S::kDataIndex], 0);
}

TEST_F(SettingsFileTest, DamagedValuesLoadAsSensibleValues) {
  const QByteArray longName(300, 'X');
  WriteRaw("[MainWindow]\n"
           "Left=abc\nTop=10\nRight=500\nBottom=400\n"
           "WindowState=7\n"
           "Statusbar=yes\n"
           "Toolbars=false\n"
           "ProjectWindowWidth=-50\n"
           "ShowTipsOfDay=12\n"
           "NextTipOfDay=-3\n"
           "CellAlignAtGrid=99999999999999999999999\n"
           "CellGridVisible=@Rect(1 2 3 4)\n"
           "BitmapPath=a, b\n"
           "TablePath=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10Nonsense)\n"
           "[MRUList]\n"
           "Count=1000000\n"
           "File1=/p/a.tvp\nFile2=\nFile3=/p/a.tvp\nFile4=/p/b.tvp\n"
           "[Simulator]\n"
           "COM=99\n"
           "FixedDigitalIn=70000\n"
           "AutoTiming=\n"
           "COM1Device=  /dev/ttyUSB0  \n"
           "[AnalogPortWindow]\n"
           "ADValuesSaved=1\n"
           "AD1=1000\nAD2=-5\nAD3=abc\nAD4= 17 \nAD5=1e3\n"
           "Frequency=999999\n"
           "[Colors]\n"
           "WatchText=\n"
           "[Fonts]\n"
           "CellCommentFontName=\n"
           "CellCommentFontSize=-8\n"
           "TableFontName=   \n"
           "TableFontSize=100000\n"
           "WatchFontStyle=255\n"
           "DataFontStyle=-1\n"
           "TerminalFontName=" +
           longName +
           "\n"
           "TerminalFontStyle=3\n");
  TSettingsStore store(Path());
  const S d = S::Defaults(kProgramDir);
  const S s = store.Load(kProgramDir);

  EXPECT_EQ(s.mainWindow, kNoPlacement);  // one unusable coordinate spoils the placement
  EXPECT_EQ(s.windowState, 0);
  EXPECT_TRUE(s.statusBar);
  EXPECT_FALSE(s.toolBars);
  EXPECT_EQ(s.projectWindowWidth, S::kDefaultProjectWindowWidth);
  EXPECT_TRUE(s.showTipsOfDay);
  EXPECT_EQ(s.nextTipOfDay, 0);
  EXPECT_TRUE(s.cellAlignAtGrid);
  EXPECT_TRUE(s.cellGridVisible);
  EXPECT_EQ(s.bitmapPath, QStringLiteral("a, b"));  // an unquoted comma is still one path
  EXPECT_FALSE(s.tablePath.isEmpty());
  EXPECT_EQ(s.mruFiles, (QStringList{QStringLiteral("/p/a.tvp"), QStringLiteral("/p/b.tvp")}));
  EXPECT_EQ(s.com, -1);
  EXPECT_EQ(s.fixedDigitalIn, 0x0F00);
  EXPECT_TRUE(s.autoTiming);
  EXPECT_EQ(s.comDevices[0], QStringLiteral("/dev/ttyUSB0"));
  EXPECT_EQ(s.adValues[0], 255);
  EXPECT_EQ(s.adValues[1], 0);
  EXPECT_EQ(s.adValues[2], d.adValues[2]);
  EXPECT_EQ(s.adValues[3], 17);
  EXPECT_EQ(s.adValues[4], d.adValues[4]);
  EXPECT_EQ(s.frequency, 30000);
  EXPECT_EQ(s.colors, d.colors);
  EXPECT_EQ(s.fonts[S::kCellCommentFont], d.fonts[S::kCellCommentFont]);
  EXPECT_EQ(s.fonts[S::kTableFont], d.fonts[S::kTableFont]);
  EXPECT_EQ(s.fonts[S::kWatchFont].style, 0);
  EXPECT_EQ(s.fonts[S::kDataFont].style, 0);
  EXPECT_EQ(s.fonts[S::kTerminalFont].name, QStringLiteral("Courier New"));
  EXPECT_EQ(s.fonts[S::kTerminalFont].style, 3);

  // What was loaded saves into a clean file that loads the same.
  ASSERT_TRUE(store.Save(s));
  TSettingsStore again(Path());
  EXPECT_EQ(again.Load(kProgramDir), s);
}

TEST_F(SettingsFileTest, HugeCoordinatesAndSizesAreNotTakenAsPlacements) {
  // Its width would not even fit 32 bits.
  WriteRaw("[MainWindow]\nLeft=-2147483648\nTop=0\nRight=2147483647\nBottom=100\n");
  {
    TSettingsStore store(Path());
    EXPECT_EQ(store.Load(kProgramDir).mainWindow, kNoPlacement);
  }

  WriteRaw("[MainWindow]\nLeft=0\nTop=0\nRight=800\nBottom=600\n"
           "[WatchWindow]\nLeft=-2147483648\nTop=0\nRight=2147483647\nBottom=100\nNameColWidth=-5\n"
           "[TerminalWindow]\nLeft=0\nTop=0\nRight=10\nBottom=10\n"
           "[DigitalPortWindow]\nLeft=1\nTop=2\nRight=3\nBottom=4\nVisible=-1\n"
           "[KeyboardLEDWindow]\nLeft=1\nTop=2\nRight=3\nBottom=99999999999\nVisible=0\n"
           "[EEPROMWindow]\nHexOutput=2\n");
  TSettingsStore store(Path());
  const S s = store.Load(kProgramDir);
  EXPECT_EQ(s.mainWindow, (TRect{0, 0, 800, 600}));
  EXPECT_EQ(s.windows[S::kWatchWindow].rect, kNoPlacement);
  EXPECT_EQ(s.watchNameColWidth, 100);
  EXPECT_EQ(s.windows[S::kTerminalWindow].rect, (TRect{0, 0, 10, 10}));
  EXPECT_EQ(s.windows[S::kDigitalPortWindow], (TWindowPlacement{{1, 2, 3, 4}, true}));
  EXPECT_EQ(s.windows[S::kKeyboardLEDWindow].rect, kNoPlacement);
  EXPECT_TRUE(s.dataHexOutput);
}

TEST_F(SettingsFileTest, GarbageFilesLoadWithoutHarmAndAreReplacedOnSave) {
  // Bytes a broken disk or another program could leave behind.
  QByteArray garbage;
  uint32_t x = 12345;
  for (int i = 0; i < 4096; ++i) {
    x = x * 1103515245u + 12345u;
    garbage.append(static_cast<char>(x >> 24));
  }
  static const char kNuls[] = "\0\0\0[Colors]\0WatchText=5\n";
  const QByteArray variants[] = {
      garbage,
      QByteArray("[MainWindow\nLeft=1\n[[[\n=\n==\n\\\n\"unterminated\n"),
      QByteArray(kNuls, sizeof kNuls - 1),
      QByteArray("[MainWindow]\nLeft=1\nLeft=2\nLeft=\"3\nTop=@Invalid()\n"),
  };
  for (const QByteArray& bytes : variants) {
    WriteRaw(bytes);
    TSettingsStore store(Path());
    const S s = store.Load(kProgramDir);
    EXPECT_GE(s.windowState, 0);
    EXPECT_LE(s.windowState, 2);
    EXPECT_LE(s.mruFiles.size(), S::kMruMax);
    EXPECT_LE(s.frequency, 30000);
    for (const TStoredFont& f : s.fonts) {
      EXPECT_FALSE(f.name.isEmpty());
      EXPECT_GE(f.size, 1);
    }
    // Saving replaces the damage with a file every reader understands.
    S fixed = s;
    fixed.mainWindow = {1, 2, 300, 400};
    EXPECT_TRUE(store.Save(fixed));
    TSettingsStore again(Path());
    EXPECT_EQ(again.Load(kProgramDir), fixed);
  }
}

TEST_F(SettingsFileTest, UnwritableLocationReportsFailureAndStillLoadsDefaults) {
  WriteRaw("not a folder");
  const QString inside = Path() + QStringLiteral("/sub/station.ini");
  TSettingsStore store(inside);
  EXPECT_EQ(store.Load(kProgramDir), S::Defaults(kProgramDir));
  EXPECT_FALSE(store.Save(NonDefaultSettings()));
  EXPECT_EQ(ReadRaw(), QByteArray("not a folder"));
}

TEST_F(SettingsFileTest, EnvironmentVariableRedirectsTheDefaultStore) {
  const QByteArray file = Path().toLocal8Bit();
  ASSERT_EQ(setenv(TSettingsStore::kEnvironmentVariable, file.constData(), 1), 0);
  {
    TSettingsStore store;
    EXPECT_EQ(store.Location(), Path());
    S s = S::Defaults(kProgramDir);
    s.com = 2;
    ASSERT_TRUE(store.Save(s));
  }
  EXPECT_EQ(StoredValue(QStringLiteral("Simulator/COM")).toInt(), 2);

  // Unset, the store is the user's own: organisation folder, then the
  // application name, whose slash makes "Tarvix" a folder of its own. Only
  // looked at, never written.
  ASSERT_EQ(unsetenv(TSettingsStore::kEnvironmentVariable), 0);
  TSettingsStore user;
  EXPECT_TRUE(user.Location().endsWith(QStringLiteral("/Marlix Electronic/Tarvix/plus Station.conf")))
      << user.Location().toStdString();
}

}  // namespace

namespace {

// A settings file that is a FIFO (or, through a link, any node that is no
// regular file) blocked the start in open and would be replaced by a
// regular file on saving: it is neither read nor written.
TEST_F(SettingsFileTest, ANodeThatIsNoRegularFileIsNeitherReadNorReplaced) {
  const QString fifo = Path() + QStringLiteral(".fifo");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString link = Path() + QStringLiteral(".link");
  ASSERT_TRUE(QFile::link(fifo, link));
  for (const QString& name : {fifo, link}) {
    TSettingsStore store(name);
    EXPECT_TRUE(store.Problem().contains(QStringLiteral("keine gewöhnliche Datei"))) << store.Problem().toStdString();
    EXPECT_EQ(store.Load(kProgramDir), S::Defaults(kProgramDir));
    S changed = S::Defaults(kProgramDir);
    changed.com = 2;
    EXPECT_FALSE(store.Save(changed));
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(name).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & S_IFMT, name == fifo ? S_IFIFO : S_IFLNK);
  }
  EXPECT_TRUE(TSettingsStore(Path()).Problem().isEmpty());
}

}  // namespace
