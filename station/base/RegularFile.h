// Reading a whole file that the user named: only a regular file is read, and
// only up to a limit, so that a device (/dev/zero), a FIFO or a directory
// given as a project or table file can neither block the station nor fill
// its memory.
#pragma once

#include <QByteArray>
#include <QString>

namespace regularfile {

// Files larger than these are refused.
constexpr qint64 kMaxProjectBytes = 256LL * 1024 * 1024;
constexpr qint64 kMaxTableBytes = 1024LL * 1024;
// A project file of more lines is refused too: every line of a section
// costs a string while it is read, far more than its bytes.
constexpr qint64 kMaxProjectLines = 1'000'000;

// The whole file into bytes; false with a German reason naming the file.
bool Read(const QString& path, qint64 maxBytes, QByteArray& bytes, QString& problem);

}  // namespace regularfile
