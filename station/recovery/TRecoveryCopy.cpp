#include "TRecoveryCopy.h"

#include <QFileInfo>
#include <QList>

#include "RegularFile.h"

namespace {

uint64_t Checksum(const QByteArray& bytes) {
  uint64_t hash = 0xcbf29ce484222325ULL;
  for (const char c : bytes) {
    hash ^= static_cast<uint8_t>(c);
    hash *= 0x100000001b3ULL;
  }
  return hash;
}

constexpr qsizetype kMaxHeaderBytes = 64 * 1024;

bool ToInt64(const QByteArray& text, int64_t& value) {
  bool ok = false;
  const qlonglong v = text.toLongLong(&ok);
  if (ok) value = v;
  return ok;
}

}  // namespace

void TRecoveryHeader::FileState(const QString& projectFile, int64_t& fileTime, int64_t& fileSize) {
  fileTime = -1;
  fileSize = -1;
  if (projectFile.isEmpty()) return;
  const QFileInfo info(projectFile);
  if (!info.exists()) return;
  fileTime = info.lastModified().toMSecsSinceEpoch();
  fileSize = info.size();
}

QByteArray TRecoveryCopy::Encode() const {
  QByteArray out;
  out.reserve(body.size() + 512);
  out += kMagic;
  out += '\n';
  out += "project=" + header.projectFile.toUtf8().toPercentEncoding("/") + '\n';
  out += "time=" + QByteArray::number(static_cast<qlonglong>(header.time)) + '\n';
  out += "pid=" + QByteArray::number(static_cast<qlonglong>(header.writer.pid)) + '\n';
  out += "boot=" + header.writer.bootId.toLatin1().toPercentEncoding() + '\n';
  out += "start=" + QByteArray::number(static_cast<qulonglong>(header.writer.startTicks)) + '\n';
  out += "filetime=" + QByteArray::number(static_cast<qlonglong>(header.fileTime)) + '\n';
  out += "filesize=" + QByteArray::number(static_cast<qlonglong>(header.fileSize)) + '\n';
  out += "length=" + QByteArray::number(body.size()) + '\n';
  out += "checksum=" + QByteArray::number(static_cast<qulonglong>(Checksum(body)), 16).rightJustified(16, '0') + '\n';
  out += '\n';
  out += body;
  return out;
}

bool TRecoveryCopy::Decode(const QByteArray& bytes, TRecoveryCopy& copy, QString& problem) {
  copy = TRecoveryCopy{};
  const qsizetype end = bytes.indexOf("\n\n");
  if (!bytes.startsWith(QByteArray(kMagic) + '\n') || end < 0 || end > kMaxHeaderBytes) {
    problem = QStringLiteral("Die Kopie hat keinen gültigen Kopf.");
    return false;
  }
  int64_t length = -1;
  QByteArray checksum;
  bool pidSeen = false;
  const QList<QByteArray> lines = bytes.left(end).split('\n');
  for (qsizetype i = 1; i < lines.size(); ++i) {
    const QByteArray& line = lines[i];
    const qsizetype eq = line.indexOf('=');
    if (eq <= 0) continue;
    const QByteArray key = line.left(eq), value = line.mid(eq + 1);
    bool ok = true;
    if (key == "project") {
      copy.header.projectFile = QString::fromUtf8(QByteArray::fromPercentEncoding(value));
    } else if (key == "time") {
      ok = ToInt64(value, copy.header.time);
    } else if (key == "pid") {
      ok = pidSeen = ToInt64(value, copy.header.writer.pid);
    } else if (key == "boot") {
      copy.header.writer.bootId = QString::fromLatin1(QByteArray::fromPercentEncoding(value));
    } else if (key == "start") {
      copy.header.writer.startTicks = value.toULongLong(&ok);
    } else if (key == "filetime") {
      ok = ToInt64(value, copy.header.fileTime);
    } else if (key == "filesize") {
      ok = ToInt64(value, copy.header.fileSize);
    } else if (key == "length") {
      ok = ToInt64(value, length);
    } else if (key == "checksum") {
      checksum = value;
    }
    if (!ok) {
      problem = QStringLiteral("Der Kopf der Kopie ist beschädigt (%1).").arg(QString::fromLatin1(key));
      return false;
    }
  }
  if (!pidSeen || length < 0 || checksum.size() != 16) {
    problem = QStringLiteral("Der Kopf der Kopie ist unvollständig.");
    return false;
  }
  const qsizetype bodyStart = end + 2;
  const qsizetype present = bytes.size() - bodyStart;
  if (present < length) {
    problem = QStringLiteral("Die Kopie ist abgeschnitten (%1 von %2 Bytes).").arg(present).arg(length);
    return false;
  }
  if (present > length) {
    problem = QStringLiteral("Die Kopie hat %1 Bytes mehr als angegeben.").arg(present - length);
    return false;
  }
  copy.body = bytes.mid(bodyStart);
  if (QByteArray::number(static_cast<qulonglong>(Checksum(copy.body)), 16).rightJustified(16, '0') != checksum.toLower()) {
    copy.body.clear();
    problem = QStringLiteral("Die Kopie ist beschädigt (Prüfsumme falsch).");
    return false;
  }
  return true;
}

bool TRecoveryCopy::Read(const QString& path, TRecoveryCopy& copy, QString& problem) {
  QByteArray bytes;
  if (!regularfile::Read(path, kMaxBytes, bytes, problem)) {
    copy = TRecoveryCopy{};
    return false;
  }
  return Decode(bytes, copy, problem);
}
