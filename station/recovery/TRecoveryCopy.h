// TRecoveryCopy: one recovery copy as it lies on disk. A short text header
// names the project file, the time of the copy, the writing process and the
// project file's state at that time; the body that follows is exactly what
// saving the project would have written. The header carries the body's
// length and checksum, so a truncated or damaged copy is recognised and never
// loaded half.
//
//   VORBLEN RECOVERY 1
//   project=<project file, UTF-8, percent-encoded; empty for a new project>
//   time=<milliseconds since 1970, UTC>
//   pid=<process id>  boot=<boot id>  start=<start ticks>   (one per line)
//   filetime=<project file's modification time in ms, -1 if none>
//   filesize=<its size, -1 if none>
//   length=<body bytes>
//   checksum=<FNV-1a 64 of the body, 16 hex digits>
//   <empty line>
//   <body>
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "ProcessIdentity.h"

struct TRecoveryHeader {
  QString projectFile;
  int64_t time = 0;
  TProcessIdentity writer;
  int64_t fileTime = -1;
  int64_t fileSize = -1;

  // The project file's state now, in the header's terms.
  static void FileState(const QString& projectFile, int64_t& fileTime, int64_t& fileSize);
};

struct TRecoveryCopy {
  static constexpr const char* kMagic = "VORBLEN RECOVERY 1";
  static constexpr const char* kSuffix = ".vrc";
  // Larger files are not read at all (a project file may have 256 MiB).
  static constexpr qint64 kMaxBytes = 256LL * 1024 * 1024 + 65536;

  TRecoveryHeader header;
  QByteArray body;

  QByteArray Encode() const;
  // False with a German reason when the bytes are not a whole, undamaged
  // copy; the header is filled as far as it could be read.
  static bool Decode(const QByteArray& bytes, TRecoveryCopy& copy, QString& problem);
  // Reads and decodes a file.
  static bool Read(const QString& path, TRecoveryCopy& copy, QString& problem);
};
