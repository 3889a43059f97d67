// The file search for block bitmaps and external tables: the name as given,
// then below "Bitmaps" (or "Tables"), then below "../Bitmaps" (or
// "../Tables"), then in the configured directory. Stored names may use '\'
// or '/' as separator.
#pragma once

#include <QString>

class TFileSearch {
 public:
  // The existing file that a stored name stands for, or empty.
  static QString FindBitmap(const QString& name);
  static QString FindTable(const QString& name);
  static QString Find(const QString& name, const QString& folder, const QString& directory);

  // The name to store for a chosen file: the bare file name when the file
  // lies in the configured directory, else the name unchanged.
  static QString StoredName(const QString& path, const QString& directory);
  // A stored name with '/' as separator.
  static QString Normalized(const QString& name);
};
