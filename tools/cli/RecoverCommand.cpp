// vorblen-cli recover --list
// vorblen-cli recover COPY -o PROJECT.tvp
// vorblen-cli recover COPY --discard
#include "RecoverCommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "CliUserInterface.h"
#include "RecoveryDirectory.h"
#include "TRecoveryList.h"

namespace cli {

namespace {

void Out(const QString& text) { std::fputs(text.toUtf8().constData(), stdout); }

int Fail(const QString& text) {
  TCliUserInterface::Print(text);
  return 1;
}

int ListCopies() {
  const QString directory = recovery::StateDirectory();
  const std::vector<TRecoveryEntry> entries = recovery::List(directory);
  if (entries.empty()) {
    Out(QStringLiteral("Keine Wiederherstellungskopien in %1.\n").arg(directory));
    return 0;
  }
  for (const TRecoveryEntry& e : entries) {
    Out(QStringLiteral("%1\n").arg(e.path));
    if (!e.Usable()) {
      Out(QStringLiteral("  beschädigt: %1\n").arg(e.problem));
      continue;
    }
    Out(QStringLiteral("  Projekt: %1\n  Datei: %2\n  Kopie vom: %3\n  Datei seitdem: %4\n")
            .arg(e.ProjectName(),
                 e.header.projectFile.isEmpty() ? QStringLiteral("(keine)") : e.header.projectFile, e.TimeText(),
                 e.FileStateText()));
  }
  return 0;
}

// A copy named with or without its directory.
QString CopyPath(const QString& name) {
  if (name.contains(QLatin1Char('/')) || QFileInfo::exists(name)) return name;
  return QDir(recovery::StateDirectory()).filePath(name);
}

}  // namespace

int Recover(const QStringList& args) {
  if (args == QStringList{QStringLiteral("--list")}) return ListCopies();
  if (args.size() == 3 && args[1] == QStringLiteral("-o")) {
    const QString copy = CopyPath(args[0]);
    QString problem;
    if (!recovery::SaveProject(copy, args[2], problem)) return Fail(problem);
    Out(QStringLiteral("%1 geschrieben; die Kopie %2 bleibt erhalten.\n").arg(args[2], copy));
    return 0;
  }
  if (args.size() == 2 && args[1] == QStringLiteral("--discard")) {
    const QString copy = CopyPath(args[0]);
    const TRecoveryEntry entry = recovery::ReadEntry(copy);
    if (!QFileInfo(copy).isFile() || !copy.endsWith(QString::fromLatin1(TRecoveryCopy::kSuffix)))
      return Fail(QStringLiteral("%1 ist keine Wiederherstellungskopie.").arg(copy));
    if (entry.running) return Fail(QStringLiteral("%1 gehört einer laufenden Station und bleibt.").arg(copy));
    if (!QFile::remove(copy)) return Fail(QStringLiteral("%1 lässt sich nicht löschen.").arg(copy));
    return 0;
  }
  return Fail(QStringLiteral("Aufruf: vorblen-cli recover --list | recover KOPIE -o PROJEKT.tvp | recover KOPIE --discard"));
}

}  // namespace cli
