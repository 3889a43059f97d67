#include "TRecoveryList.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

QString TRecoveryEntry::ProjectName() const {
  if (header.projectFile.isEmpty()) return QStringLiteral("Unbenannte Programmdatei");
  return QFileInfo(header.projectFile).completeBaseName();
}

QString TRecoveryEntry::FileStateText() const {
  switch (fileState) {
    case FileState::Unchanged: return QStringLiteral("unverändert");
    case FileState::Changed: return QStringLiteral("geändert");
    case FileState::Missing: return QStringLiteral("fehlt");
    case FileState::NeverSaved: return QStringLiteral("nie gespeichert");
  }
  return {};
}

QString TRecoveryEntry::TimeText() const {
  return QDateTime::fromMSecsSinceEpoch(header.time).toLocalTime().toString(QStringLiteral("dd.MM.yyyy hh:mm:ss"));
}

namespace recovery {

TRecoveryEntry ReadEntry(const QString& path) {
  TRecoveryEntry entry;
  entry.path = path;
  TRecoveryCopy copy;
  if (!TRecoveryCopy::Read(path, copy, entry.problem) && entry.problem.isEmpty())
    entry.problem = QStringLiteral("Die Kopie ist nicht lesbar.");
  entry.header = copy.header;
  // A copy whose header did not read names no process; it is not anyone's
  // copy in the making (those are written under another name) and is listed.
  entry.running = entry.header.writer.pid > 0 && entry.header.writer.IsRunning();
  if (entry.header.projectFile.isEmpty()) {
    entry.fileState = TRecoveryEntry::FileState::NeverSaved;
  } else {
    int64_t time = -1, size = -1;
    TRecoveryHeader::FileState(entry.header.projectFile, time, size);
    if (time < 0)
      entry.fileState = TRecoveryEntry::FileState::Missing;
    else
      entry.fileState = time == entry.header.fileTime && size == entry.header.fileSize
                            ? TRecoveryEntry::FileState::Unchanged
                            : TRecoveryEntry::FileState::Changed;
  }
  return entry;
}

std::vector<TRecoveryEntry> List(const QString& directory, bool withRunning) {
  std::vector<TRecoveryEntry> entries;
  const QDir dir(directory);
  const QStringList names = dir.entryList({QStringLiteral("*") + QString::fromLatin1(TRecoveryCopy::kSuffix)},
                                          QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
  for (const QString& name : names) {
    TRecoveryEntry entry = ReadEntry(dir.filePath(name));
    if (entry.running && !withRunning) continue;
    entries.push_back(std::move(entry));
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TRecoveryEntry& a, const TRecoveryEntry& b) { return a.header.time < b.header.time; });
  return entries;
}

bool SaveProject(const QString& copyPath, const QString& target, QString& problem) {
  TRecoveryCopy copy;
  if (!TRecoveryCopy::Read(copyPath, copy, problem)) {
    problem = QStringLiteral("%1: %2").arg(copyPath, problem);
    return false;
  }
  QSaveFile file(target);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(copy.body) != copy.body.size() ||
      !file.commit()) {
    problem = QStringLiteral("Die Projektdatei %1 konnte nicht gespeichert werden:\r%2").arg(target, file.errorString());
    return false;
  }
  return true;
}

}  // namespace recovery
