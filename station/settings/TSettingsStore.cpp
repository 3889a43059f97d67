#include "TSettingsStore.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QMetaType>
#include <QSettings>
#include <QVariant>
#include <algorithm>
#include <limits>
#include <optional>

#include "ErrnoText.h"

namespace {

// Window coordinates and pixel sizes beyond these are not placements any
// screen could show; such a value is treated as never saved.
constexpr int64_t kCoordinateLimit = 1'000'000;
constexpr int64_t kSizeLimit = 100'000;
constexpr int32_t kMaxFrequency = 30000;
constexpr int32_t kFontSizeMin = 1;  // the range the font mapper accepts
constexpr int32_t kFontSizeMax = 200;
constexpr int kFontNameMax = 255;
constexpr int kLastSystemColor = 30;

QString Key(const char* name) { return QString::fromLatin1(name); }
QString Key(const char* prefix, const char* suffix) { return QString::fromLatin1(prefix) + QString::fromLatin1(suffix); }

// The number a stored value holds: an integer, or text that is a decimal
// integer ("true" and "false" count as 1 and 0). Anything else holds none.
std::optional<int64_t> ToNumber(const QVariant& v) {
  switch (v.typeId()) {
    case QMetaType::QString: {
      const QString text = v.toString().trimmed();
      bool ok = false;
      const qlonglong n = text.toLongLong(&ok, 10);
      if (ok) return n;
      if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return 1;
      if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return 0;
      return std::nullopt;
    }
    case QMetaType::Bool:
      return v.toBool() ? 1 : 0;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
      return v.toLongLong();
    case QMetaType::ULongLong:
      if (v.toULongLong() > static_cast<qulonglong>(std::numeric_limits<int64_t>::max())) return std::nullopt;
      return static_cast<int64_t>(v.toULongLong());
    default:
      return std::nullopt;
  }
}

// A colour is a direct 0x00BBGGRR value or 0x80000000 plus a system colour
// index the platform knows.
bool IsColorValue(uint32_t v) {
  if (v & 0x80000000u) return (v & 0x7FFFFFFFu) <= kLastSystemColor;
  return v <= 0xFFFFFFu;
}

// Reads the values of one section; every accessor falls back to the given
// default when the value is missing or unusable.
class SectionReader {
 public:
  SectionReader(QSettings& s, const char* section) : s_(s) { s_.beginGroup(Key(section)); }
  ~SectionReader() { s_.endGroup(); }

  bool Has(const QString& key) const { return s_.contains(key); }

  // A number within lo..hi, else def.
  int32_t Int(const QString& key, int32_t def, int64_t lo, int64_t hi) const {
    const auto n = ToNumber(s_.value(key));
    return n && *n >= lo && *n <= hi ? static_cast<int32_t>(*n) : def;
  }
  int32_t Int(const char* key, int32_t def, int64_t lo, int64_t hi) const { return Int(Key(key), def, lo, hi); }

  // A number clamped into lo..hi (as the simulator panels clamp their bars).
  int32_t Clamped(const QString& key, int32_t def, int32_t lo, int32_t hi) const {
    const auto n = ToNumber(s_.value(key));
    return n ? static_cast<int32_t>(std::clamp<int64_t>(*n, lo, hi)) : def;
  }

  // Any number: nonzero is on.
  bool Flag(const char* key, bool def) const {
    const auto n = ToNumber(s_.value(Key(key)));
    return n ? *n != 0 : def;
  }

  // Text as stored; an unquoted text with commas comes back as a list,
  // which is joined again. A missing value gives def.
  QString Text(const QString& key, const QString& def) const {
    const QVariant v = s_.value(key);
    switch (v.typeId()) {
      case QMetaType::QString: return v.toString();
      case QMetaType::QStringList: return v.toStringList().join(QLatin1String(", "));
      case QMetaType::QByteArray: return QString::fromUtf8(v.toByteArray());
      case QMetaType::UnknownType: return def;
      default: return v.canConvert<QString>() ? v.toString() : def;
    }
  }
  QString Text(const char* key, const QString& def) const { return Text(Key(key), def); }

  // The four coordinates; when any is unusable the whole placement is.
  TRect Rect(const TRect& def) const {
    static constexpr const char* kNames[4] = {"Left", "Top", "Right", "Bottom"};
    int32_t c[4];
    for (int i = 0; i < 4; ++i) {
      const auto n = ToNumber(s_.value(Key(kNames[i])));
      if (!n || *n < -kCoordinateLimit || *n > kCoordinateLimit) return def;
      c[i] = static_cast<int32_t>(*n);
    }
    return {c[0], c[1], c[2], c[3]};
  }

  // A colour, stored as the unsigned 32-bit number (older files may hold it
  // signed).
  TColor Color(const char* key, TColor def) const {
    const auto n = ToNumber(s_.value(Key(key)));
    if (!n || *n < std::numeric_limits<int32_t>::min() || *n > std::numeric_limits<uint32_t>::max()) return def;
    const uint32_t v = static_cast<uint32_t>(*n);
    return IsColorValue(v) ? static_cast<TColor>(v) : def;
  }

 private:
  QSettings& s_;
};

class SectionWriter {
 public:
  SectionWriter(QSettings& s, const char* section) : s_(s) { s_.beginGroup(Key(section)); }
  ~SectionWriter() { s_.endGroup(); }

  void Int(const QString& key, int32_t v) { s_.setValue(key, v); }
  void Int(const char* key, int32_t v) { Int(Key(key), v); }
  void Flag(const char* key, bool v) { s_.setValue(Key(key), v ? 1 : 0); }
  void Text(const QString& key, const QString& v) { s_.setValue(key, v); }
  void Text(const char* key, const QString& v) { Text(Key(key), v); }
  void Color(const char* key, TColor v) { s_.setValue(Key(key), static_cast<uint32_t>(v)); }
  void Remove(const QString& key) { s_.remove(key); }
  void Rect(const TRect& r) {
    Int("Left", r.left);
    Int("Top", r.top);
    Int("Right", r.right);
    Int("Bottom", r.bottom);
  }

 private:
  QSettings& s_;
};

QString FileKey(int i) { return QStringLiteral("File%1").arg(i); }
QString AdKey(int i) { return QStringLiteral("AD%1").arg(i); }
QString ComDeviceKey(int i) { return QStringLiteral("COM%1Device").arg(i); }

}  // namespace

TSettingsStore::TSettingsStore() {
  const QString file = qEnvironmentVariable(kEnvironmentVariable);
  if (!file.isEmpty()) {
    Open(file);
    return;
  }
  // Where QSettings keeps them on this platform, checked before it opens the file.
  location_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
              QString::fromLatin1(kOrganization) + QLatin1Char('/') + QString::fromLatin1(kApplication) +
              QStringLiteral(".conf");
  if (Usable(location_))
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QString::fromLatin1(kOrganization), QString::fromLatin1(kApplication));
}

TSettingsStore::TSettingsStore(const QString& iniFile) { Open(iniFile); }

TSettingsStore::~TSettingsStore() = default;

void TSettingsStore::Open(const QString& iniFile) {
  location_ = iniFile;
  if (Usable(iniFile)) settings_ = std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
}

bool TSettingsStore::Usable(const QString& file) {
  // QSettings would block for ever opening a FIFO, and would replace a
  // device node by a regular file when saving: only a missing or regular
  // file (also behind a link) is used.
  struct stat info {};
  if (::stat(QFile::encodeName(file).constData(), &info) != 0 || S_ISREG(info.st_mode)) return true;
  problem_ = QStringLiteral("Die Einstellungsdatei %1 ist keine gewöhnliche Datei; die Station startet mit den "
                            "Vorgaben und speichert ihre Einstellungen nicht.")
                 .arg(errnotext::ShortName(file));
  return false;
}

QString TSettingsStore::Location() const { return settings_ ? settings_->fileName() : location_; }

TStationSettings TSettingsStore::Load(const TStationSettings& d) {
  if (!settings_) return d;
  QSettings& s = *settings_;
  TStationSettings r = d;
  bool writePaths = false;  // a directory was missing: written back at once

  {
    SectionReader in(s, "MainWindow");
    r.mainWindow = in.Rect(d.mainWindow);
    r.windowState = in.Int("WindowState", d.windowState, 0, 2);
    r.statusBar = in.Flag("Statusbar", d.statusBar);
    r.toolBars = in.Flag("Toolbars", d.toolBars);
    r.projectWindowWidth = in.Int("ProjectWindowWidth", d.projectWindowWidth, 0, kSizeLimit);
    r.showTipsOfDay = in.Flag("ShowTipsOfDay", d.showTipsOfDay);
    r.nextTipOfDay = in.Int("NextTipOfDay", d.nextTipOfDay, 0, std::numeric_limits<int32_t>::max());
    r.cellAlignAtGrid = in.Flag("CellAlignAtGrid", d.cellAlignAtGrid);
    r.cellGridVisible = in.Flag("CellGridVisible", d.cellGridVisible);
    r.blockIndicesVisible = in.Flag("BlockIndicesVisible", d.blockIndicesVisible);
    r.checkBeforeCompile = in.Flag("CheckBeforeCompile", d.checkBeforeCompile);
    r.recoveryInterval = in.Int("RecoveryInterval", d.recoveryInterval, 0, TStationSettings::kMaxRecoveryInterval);
    // An empty directory would only repeat the search in the current one, so
    // it counts as missing and gets the default written back.
    r.bitmapPath = in.Text("BitmapPath", QString());
    r.tablePath = in.Text("TablePath", QString());
    writePaths = r.bitmapPath.isEmpty() || r.tablePath.isEmpty();
    if (r.bitmapPath.isEmpty()) r.bitmapPath = d.bitmapPath;
    if (r.tablePath.isEmpty()) r.tablePath = d.tablePath;
  }

  {
    SectionReader in(s, "MRUList");
    const int count = in.Clamped(QStringLiteral("Count"), 0, 0, TStationSettings::kMruMax);
    if (in.Has(QStringLiteral("Count"))) {
      r.mruFiles.clear();
      for (int i = 1; i <= count; ++i) {
        const QString name = in.Text(FileKey(i), QString());
        if (!name.isEmpty() && !r.mruFiles.contains(name)) r.mruFiles.append(name);
      }
    }
  }

  {
    SectionReader in(s, "ProjectWindow");
    r.autoExpandCells = in.Flag("AutoExpandCells", d.autoExpandCells);
    r.autoExpandTables = in.Flag("AutoExpandTables", d.autoExpandTables);
    r.autoOpenFirstCell = in.Flag("AutoOpenFirstCell", d.autoOpenFirstCell);
    r.autoSynchronize = in.Flag("AutoSynchronize", d.autoSynchronize);
  }

  {
    SectionReader in(s, "Simulator");
    r.autoTiming = in.Flag("AutoTiming", d.autoTiming);
    r.virtualTime = in.Flag("VirtualTime", d.virtualTime);
    // Any number outside 1..4 means no port chosen.
    const int32_t com = in.Int("COM", d.com, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
    r.com = com >= 1 && com <= TStationSettings::kComPorts ? com : -1;
    r.fixedDigitalIn = static_cast<uint16_t>(in.Int("FixedDigitalIn", d.fixedDigitalIn, 0, 0xFFFF));
    for (int i = 0; i < TStationSettings::kComPorts; ++i)
      r.comDevices[i] = in.Text(ComDeviceKey(i + 1), d.comDevices[i]).trimmed();
  }

  {
    SectionReader in(s, "AnalogPortWindow");
    r.adValuesSaved = in.Flag("ADValuesSaved", d.adValuesSaved);
    if (r.adValuesSaved) {
      for (int i = 0; i < TStationSettings::kAnalogInputs; ++i)
        r.adValues[i] = static_cast<uint8_t>(in.Clamped(AdKey(i + 1), d.adValues[i], 0, 255));
      r.frequency = static_cast<uint16_t>(in.Clamped(QStringLiteral("Frequency"), d.frequency, 0, kMaxFrequency));
    } else {
      // The values were deleted when the option was switched off: start at 0.
      r.adValues.fill(0);
      r.frequency = 0;
    }
  }

  // Panel placements only make sense once the main window has one.
  if (!r.mainWindow.IsEmpty()) {
    for (int w = 0; w < TStationSettings::kWindowCount; ++w) {
      SectionReader in(s, kWindowSections[w].section);
      r.windows[w].rect = in.Rect(d.windows[w].rect);
      if (kWindowSections[w].hasVisible) r.windows[w].visible = in.Flag("Visible", d.windows[w].visible);
    }
    {
      SectionReader in(s, "WatchWindow");
      r.watchNameColWidth = in.Int("NameColWidth", d.watchNameColWidth, 0, kSizeLimit);
    }
    {
      SectionReader in(s, "EEPROMWindow");
      r.dataHexOutput = in.Flag("HexOutput", d.dataHexOutput);
    }
  }

  {
    SectionReader in(s, "Colors");
    for (int i = 0; i < TStationSettings::kColorCount; ++i)
      r.colors[i] = in.Color(kColorSettings[i].name, d.colors[i]);
  }

  {
    SectionReader in(s, "Fonts");
    for (int i = 0; i < TStationSettings::kFontCount; ++i) {
      const char* prefix = kFontSettings[i].prefix;
      TStoredFont& f = r.fonts[i];
      const QString name = in.Text(Key(prefix, "FontName"), d.fonts[i].name).trimmed();
      f.name = name.isEmpty() || name.size() > kFontNameMax ? d.fonts[i].name : name;
      f.size = in.Int(Key(prefix, "FontSize"), d.fonts[i].size, kFontSizeMin, kFontSizeMax);
      f.style = static_cast<uint8_t>(in.Int(Key(prefix, "FontStyle"), d.fonts[i].style, 0,
                                            TStoredFont::kItalic | TStoredFont::kBold));
    }
  }

  // Written at once so the directories stay put even if the station never
  // gets to save.
  if (writePaths) {
    {
      SectionWriter out(s, "MainWindow");
      out.Text("BitmapPath", r.bitmapPath);
      out.Text("TablePath", r.tablePath);
    }
    s.sync();
  }
  return r;
}

bool TSettingsStore::Save(const TStationSettings& v) {
  if (!settings_) return false;
  QSettings& s = *settings_;

  {
    SectionWriter out(s, "MainWindow");
    out.Rect(v.mainWindow);
    out.Int("WindowState", v.windowState);
    out.Flag("Statusbar", v.statusBar);
    out.Flag("Toolbars", v.toolBars);
    out.Int("ProjectWindowWidth", v.projectWindowWidth);
    out.Int("ShowTipsOfDay", v.showTipsOfDay ? 1 : 0);
    out.Int("NextTipOfDay", v.nextTipOfDay);
    out.Flag("CellAlignAtGrid", v.cellAlignAtGrid);
    out.Flag("CellGridVisible", v.cellGridVisible);
    out.Flag("BlockIndicesVisible", v.blockIndicesVisible);
    out.Flag("CheckBeforeCompile", v.checkBeforeCompile);
    out.Int("RecoveryInterval", v.recoveryInterval);
    out.Text("BitmapPath", v.bitmapPath);
    out.Text("TablePath", v.tablePath);
  }

  {
    SectionWriter out(s, "MRUList");
    const int count = static_cast<int>(std::min<qsizetype>(v.mruFiles.size(), TStationSettings::kMruMax));
    out.Int("Count", count);
    for (int i = 1; i <= TStationSettings::kMruMax; ++i) out.Text(FileKey(i), i <= count ? v.mruFiles[i - 1] : QString());
  }

  {
    SectionWriter out(s, "ProjectWindow");
    out.Flag("AutoExpandCells", v.autoExpandCells);
    out.Flag("AutoExpandTables", v.autoExpandTables);
    out.Flag("AutoOpenFirstCell", v.autoOpenFirstCell);
    out.Flag("AutoSynchronize", v.autoSynchronize);
  }

  {
    SectionWriter out(s, "Simulator");
    out.Flag("AutoTiming", v.autoTiming);
    out.Flag("VirtualTime", v.virtualTime);
    out.Int("COM", v.com >= 1 && v.com <= TStationSettings::kComPorts ? v.com : -1);
    out.Int("FixedDigitalIn", v.fixedDigitalIn);
    for (int i = 0; i < TStationSettings::kComPorts; ++i) {
      const QString device = v.comDevices[i].trimmed();
      if (device.isEmpty())
        out.Remove(ComDeviceKey(i + 1));
      else
        out.Text(ComDeviceKey(i + 1), device);
    }
  }

  {
    SectionWriter out(s, "AnalogPortWindow");
    out.Flag("ADValuesSaved", v.adValuesSaved);
    for (int i = 0; i < TStationSettings::kAnalogInputs; ++i) {
      if (v.adValuesSaved)
        out.Int(AdKey(i + 1), v.adValues[i]);
      else
        out.Remove(AdKey(i + 1));
    }
    if (v.adValuesSaved)
      out.Int("Frequency", v.frequency);
    else
      out.Remove(QStringLiteral("Frequency"));
  }

  for (int w = 0; w < TStationSettings::kWindowCount; ++w) {
    SectionWriter out(s, kWindowSections[w].section);
    out.Rect(v.windows[w].rect);
    if (kWindowSections[w].hasVisible) out.Flag("Visible", v.windows[w].visible);
  }
  {
    SectionWriter out(s, "WatchWindow");
    out.Int("NameColWidth", v.watchNameColWidth);
  }
  {
    SectionWriter out(s, "EEPROMWindow");
    out.Flag("HexOutput", v.dataHexOutput);
  }

  {
    SectionWriter out(s, "Colors");
    for (int i = 0; i < TStationSettings::kColorCount; ++i) out.Color(kColorSettings[i].name, v.colors[i]);
  }

  {
    SectionWriter out(s, "Fonts");
    for (int i = 0; i < TStationSettings::kFontCount; ++i) {
      const char* prefix = kFontSettings[i].prefix;
      out.Text(Key(prefix, "FontName"), v.fonts[i].name);
      out.Int(Key(prefix, "FontSize"), v.fonts[i].size);
      out.Int(Key(prefix, "FontStyle"), v.fonts[i].style);
    }
  }

  s.sync();
  // A file QSettings found damaged keeps reporting that (and would hide a
  // later access error), though sync has rewritten it from what it could
  // read; then the file itself must be writable.
  switch (s.status()) {
    case QSettings::NoError: return true;
    case QSettings::FormatError: {
      const QFileInfo info(Location());
      return info.isFile() && info.isWritable();
    }
    default: return false;
  }
}
