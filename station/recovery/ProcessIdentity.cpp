#include "ProcessIdentity.h"

#include <signal.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>

namespace {

QByteArray ReadSmallFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  return file.read(4096);
}

QString CurrentBootId() {
  return QString::fromLatin1(ReadSmallFile(QStringLiteral("/proc/sys/kernel/random/boot_id")).trimmed());
}

// Field 22 of /proc/PID/stat; the command name (field 2) may hold spaces and
// parentheses, so the count starts after its last ')'.
uint64_t StartTicks(int64_t pid) {
  const QByteArray stat = ReadSmallFile(QStringLiteral("/proc/%1/stat").arg(pid));
  const qsizetype close = stat.lastIndexOf(')');
  if (close < 0) return 0;
  const QList<QByteArray> fields = stat.mid(close + 1).simplified().split(' ');
  constexpr qsizetype kStartTime = 22 - 3;  // fields after ')' begin with field 3
  if (fields.size() <= kStartTime) return 0;
  bool ok = false;
  const qulonglong ticks = fields[kStartTime].toULongLong(&ok);
  return ok ? ticks : 0;
}

}  // namespace

TProcessIdentity TProcessIdentity::Self() {
  TProcessIdentity self;
  self.pid = static_cast<int64_t>(::getpid());
  self.bootId = CurrentBootId();
  self.startTicks = StartTicks(self.pid);
  return self;
}

bool TProcessIdentity::IsRunning() const {
  if (pid <= 0 || pid > INT32_MAX) return false;
  if (!bootId.isEmpty()) {
    const QString now = CurrentBootId();
    if (!now.isEmpty() && now != bootId) return false;
  }
  if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno != EPERM) return false;
  if (startTicks != 0) {
    const uint64_t now = StartTicks(pid);
    if (now != 0 && now != startTicks) return false;
  }
  return true;
}
