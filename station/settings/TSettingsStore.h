// TSettingsStore: loads and saves TStationSettings through QSettings, one
// group per section, with the value names the station has always used.
//
// Where: by default the platform's user settings of organisation "Marlix
// Electronic", application "Tarvix/plus Station" (on Linux the file
// ~/.config/Marlix Electronic/Tarvix/plus Station.conf: the slash makes
// "Tarvix" a folder). The environment variable VORBLEN_SETTINGS, or the
// constructor taking a file name, redirects it to an INI file instead (tests,
// portable installations).
//
// Reading never fails: a missing value, one of the wrong type or one outside
// its range yields its default, so a damaged or hand-edited file still starts
// the station. A settings file that exists but is no regular file (a FIFO, a
// device) is neither read nor written: Load gives the defaults, Save false,
// and Problem() says why.
#pragma once

#include <QString>
#include <memory>

#include "TStationSettings.h"

class QSettings;

class TSettingsStore {
 public:
  static constexpr const char* kOrganization = "Marlix Electronic";
  static constexpr const char* kApplication = "Tarvix/plus Station";
  static constexpr const char* kEnvironmentVariable = "VORBLEN_SETTINGS";

  // The user's settings, or the INI file named by VORBLEN_SETTINGS when set.
  TSettingsStore();
  // An INI file of that name (created on the first write).
  explicit TSettingsStore(const QString& iniFile);
  ~TSettingsStore();
  TSettingsStore(const TSettingsStore&) = delete;
  TSettingsStore& operator=(const TSettingsStore&) = delete;

  // The file the settings live in.
  QString Location() const;
  // Why the file is not used, in German; empty when it is.
  const QString& Problem() const { return problem_; }

  // Reads every value; missing ones take theirs from `defaults`. A missing
  // "BitmapPath" or "TablePath" is written back at once. The window sections
  // are read only when a main-window placement was saved; the analog values
  // only while "ADValuesSaved" is set, otherwise they and the frequency are 0.
  TStationSettings Load(const TStationSettings& defaults);
  TStationSettings Load(const QString& programDir) { return Load(TStationSettings::Defaults(programDir)); }

  // Writes every value; with "ADValuesSaved" off the analog values and the
  // frequency are removed instead. False when the store could not be written.
  bool Save(const TStationSettings& settings);

 private:
  void Open(const QString& iniFile);
  bool Usable(const QString& file);

  std::unique_ptr<QSettings> settings_;  // null when the file is not used
  QString location_;
  QString problem_;
};
