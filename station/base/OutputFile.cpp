#include "OutputFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "ErrnoText.h"

namespace outputfile {
namespace {

QString Reason(const QString& path, const char* what, int error) {
  return QStringLiteral("%1 %2: %3").arg(errnotext::ShortName(path), QString::fromUtf8(what), errnotext::German(error));
}

// Every byte, through short writes and interruptions; errno on failure.
bool WriteAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    done += n;
  }
  return true;
}

bool WriteDirectly(const QString& path, const QByteArray& bytes, QString& problem) {
  // Non-blocking open: a FIFO without a reader fails with ENXIO instead of
  // waiting for ever; the writes themselves block as usual.
  const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    problem = Reason(path, "lässt sich nicht öffnen", errno);
    return false;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  bool ok = flags >= 0 && ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) == 0 && WriteAll(fd, bytes);
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (!ok) problem = Reason(path, "lässt sich nicht schreiben", error);
  return ok;
}

bool WriteReplacing(const QString& target, mode_t mode, const QByteArray& bytes, QString& problem) {
  QByteArray name = QFile::encodeName(target) + ".XXXXXX";
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) {
    problem = Reason(target, "lässt sich nicht anlegen", errno);
    return false;
  }
  bool ok = ::fchmod(fd, mode) == 0 && WriteAll(fd, bytes) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(name.constData(), QFile::encodeName(target).constData()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    ::unlink(name.constData());
    problem = Reason(target, "lässt sich nicht schreiben", error);
  }
  return ok;
}

// The descriptor a name of the process's own streams stands for
// (/dev/stdout, /dev/fd/1, /proc/self/fd/1), or -1. Written through that
// descriptor, a report lands where the stream goes, after what it already
// holds, even when the stream is a redirected regular file.
int OwnDescriptor(const QString& path) {
  if (path == QLatin1String("/dev/stdout")) return STDOUT_FILENO;
  if (path == QLatin1String("/dev/stderr")) return STDERR_FILENO;
  for (const QLatin1String prefix : {QLatin1String("/dev/fd/"), QLatin1String("/proc/self/fd/")}) {
    if (!path.startsWith(prefix)) continue;
    bool ok = false;
    const int fd = path.mid(prefix.size()).toInt(&ok, 10);
    return ok && fd >= 0 && ::fcntl(fd, F_GETFD) >= 0 ? fd : -1;
  }
  return -1;
}

}  // namespace

bool Write(const QString& path, const QByteArray& bytes, QString& problem) {
  const QByteArray encoded = QFile::encodeName(path);
  if (encoded.isEmpty()) {
    problem = QStringLiteral("Es fehlt der Dateiname.");
    return false;
  }
  if (const int own = OwnDescriptor(path); own >= 0) {
    if (WriteAll(own, bytes)) return true;
    problem = Reason(path, "lässt sich nicht schreiben", errno);
    return false;
  }
  struct stat info {};
  if (::stat(encoded.constData(), &info) != 0) {
    if (errno != ENOENT) {
      problem = Reason(path, "lässt sich nicht schreiben", errno);
      return false;
    }
    // A new file, as the user's mask allows.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return WriteReplacing(path, 0666 & ~mask, bytes, problem);
  }
  if (S_ISCHR(info.st_mode) || S_ISFIFO(info.st_mode)) return WriteDirectly(path, bytes, problem);
  if (!S_ISREG(info.st_mode)) {
    problem = QStringLiteral("%1 ist keine gewöhnliche Datei!").arg(errnotext::ShortName(path));
    return false;
  }
  // The link stays a link: its target is what gets replaced.
  char resolved[PATH_MAX];
  if (!::realpath(encoded.constData(), resolved)) {
    problem = Reason(path, "lässt sich nicht schreiben", errno);
    return false;
  }
  return WriteReplacing(QFile::decodeName(resolved), info.st_mode & 07777, bytes, problem);
}

bool SameFile(const QString& a, const QString& b) {
  struct stat x {}, y {};
  return ::stat(QFile::encodeName(a).constData(), &x) == 0 && ::stat(QFile::encodeName(b).constData(), &y) == 0 &&
         x.st_dev == y.st_dev && x.st_ino == y.st_ino;
}

}  // namespace outputfile
