#include "RegularFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>

#include "ErrnoText.h"

namespace regularfile {

bool Read(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& problem) {
  bytes.clear();
  // Non-blocking, so that opening a FIFO without a writer returns at once.
  const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) {
    problem = QStringLiteral("%1 lässt sich nicht öffnen: %2").arg(errnotext::ShortName(path), errnotext::German(errno));
    return false;
  }
  struct stat info {};
  bool ok = ::fstat(fd, &info) == 0;
  if (!ok) {
    problem = QStringLiteral("%1 lässt sich nicht lesen: %2").arg(errnotext::ShortName(path), errnotext::German(errno));
  } else if (!S_ISREG(info.st_mode)) {
    problem = QStringLiteral("%1 ist keine gewöhnliche Datei!").arg(errnotext::ShortName(path));
    ok = false;
  } else if (info.st_size > maxBytes) {
    problem = QStringLiteral("%1 ist zu groß (höchstens %2 Bytes)!").arg(errnotext::ShortName(path)).arg(maxBytes);
    ok = false;
  }
  if (ok) {
    // The size may change while reading; the limit holds all the same.
    bytes.resize(static_cast<qsizetype>(info.st_size));
    qint64 done = 0;
    for (;;) {
      if (done == bytes.size()) {
        if (done > maxBytes) break;
        bytes.resize(static_cast<qsizetype>(std::min<qint64>(maxBytes + 1, done + 65536)));
        if (done == bytes.size()) break;
      }
      const ssize_t n = ::read(fd, bytes.data() + done, static_cast<size_t>(bytes.size() - done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        problem = QStringLiteral("%1 lässt sich nicht lesen: %2").arg(errnotext::ShortName(path), errnotext::German(errno));
        ok = false;
        break;
      }
      if (n == 0) break;
      done += n;
    }
    if (ok && done > maxBytes) {
      problem = QStringLiteral("%1 ist zu groß (höchstens %2 Bytes)!").arg(errnotext::ShortName(path)).arg(maxBytes);
      ok = false;
    }
    bytes.resize(ok ? static_cast<qsizetype>(done) : 0);
  }
  ::close(fd);
  return ok;
}

}  // namespace regularfile
