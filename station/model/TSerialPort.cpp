#include "TSerialPort.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include "ErrnoText.h"

bool TSerialPort::Open(const QString& device) {
  Close();
  error_ = 0;
  const QByteArray path = QFile::encodeName(device);
  if (path.isEmpty()) {
    error_ = ENOENT;
    return false;
  }
  // Non-blocking so that a port without carrier does not hang the open.
  const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error_ = errno;
    return false;
  }
  auto fail = [&](int error) {
    ::close(fd);
    error_ = error;
    return false;
  };
  if (!::isatty(fd)) return fail(ENOTTY);
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return fail(errno == EWOULDBLOCK ? EBUSY : errno);
  if (::ioctl(fd, TIOCEXCL) != 0) return fail(errno);
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    const int error = errno;
    ::ioctl(fd, TIOCNXCL);
    return fail(error);
  }
  fd_ = fd;
  return true;
}

void TSerialPort::Close() {
  if (fd_ < 0) return;
  // The exclusive mode belongs to the tty, not to this descriptor: it would
  // outlive the close while anyone else keeps the line open.
  ::ioctl(fd_, TIOCNXCL);
  ::close(fd_);
  fd_ = -1;
}

QString TSerialPort::Explain(int error, const QString& name) {
  // A name of thousands of characters would make the message box wider than the screen.
  const QString device = errnotext::ShortName(name);
  switch (error) {
    case ENOENT:
      return QStringLiteral("Das Gerät %1 gibt es nicht.").arg(device);
    case ENXIO:
    case ENODEV:
    case EIO:
      return QStringLiteral("Das Gerät %1 ist nicht angeschlossen.").arg(device);
    case EACCES:
    case EPERM:
      return QStringLiteral("Keine Berechtigung für %1 (Mitglied der Gruppe dialout?).").arg(device);
    case EBUSY:
      return QStringLiteral("%1 wird bereits von einem anderen Programm benutzt.").arg(device);
    case ENOTTY:
    case EISDIR:
    case ENOTDIR:
      return QStringLiteral("%1 ist keine serielle Schnittstelle.").arg(device);
    default:
      return QStringLiteral("%1: %2").arg(device, errnotext::German(error));
  }
}
