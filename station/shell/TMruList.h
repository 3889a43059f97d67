// TMruList: the most-recently-used project files of the File menu: newest
// first, at most eight kept and five shown. It holds the recently closed
// projects: a closed project's name is added, an opened one's removed.
#pragma once

#include <QString>
#include <QStringList>

class TMruList {
 public:
  static constexpr int kKept = 8;
  static constexpr int kShown = 5;
  // Names of this length or more are shortened in the menu.
  static constexpr int kLongName = 53;

  const QStringList& Names() const { return names_; }
  void SetNames(const QStringList& names);
  // Moves the name to the top (removing an equal entry), keeps eight.
  void Add(const QString& name);
  void Remove(const QString& name);

  // The menu caption of entry index (0-based): "&1 name", a long name cut
  // to its first folder, "..." and its last part.
  static QString Caption(int index, const QString& name);

 private:
  QStringList names_;
};
