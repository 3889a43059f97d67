#include "RecoveryDirectory.h"

#include <QDir>
#include <QFile>

namespace recovery {

QString StateDirectory() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (base.isEmpty() || !QDir::isAbsolutePath(base)) base = QDir::homePath() + QStringLiteral("/.local/state");
  return QDir::cleanPath(base + QStringLiteral("/vorblen/recovery"));
}

bool MakeStateDirectory(const QString& directory, QString& problem) {
  if (!QDir().mkpath(directory)) {
    problem = QStringLiteral("Das Verzeichnis %1 lässt sich nicht anlegen.").arg(directory);
    return false;
  }
  // The copies hold the user's programs: nobody else reads them.
  QFile::setPermissions(directory, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  return true;
}

}  // namespace recovery
