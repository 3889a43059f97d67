// Writing a whole file that the user named, without ever replacing what is
// not a regular file.
//
// A missing file or a regular one (also behind a symbolic link, which stays)
// is written through a temporary file beside it and renamed over it only
// once every byte and the close have succeeded, so a full disk leaves the
// old file and no cut one. A character device or a FIFO (/dev/null,
// /dev/stdout, a pipe) is written directly; a FIFO without a reader is
// refused at once instead of blocking. /dev/stdout, /dev/stderr, /dev/fd/N
// and /proc/self/fd/N are written through the process's own descriptor, so
// they work whatever the stream is. Anything else (a directory, a block
// device, a socket) is refused. Running as root must not replace a device
// node with a regular file.
#pragma once

#include <QByteArray>
#include <QString>

namespace outputfile {

// False with a German reason naming the file; nothing is left behind then.
bool Write(const QString& path, const QByteArray& bytes, QString& problem);

// Whether two names are the same file (after links); false when either is missing.
bool SameFile(const QString& a, const QString& b);

}  // namespace outputfile
