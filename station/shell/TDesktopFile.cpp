#include "TDesktopFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QFileInfo>

#include "OutputFile.h"
#include "RegularFile.h"

QString TDesktopFile::DefaultName() {
  QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  if (program.isEmpty()) program = QStringLiteral("Vorblen");
  return QDir::current().filePath(program + QStringLiteral(".DSK"));
}

QByteArray TDesktopFile::Write(const TDesktop& d) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QDataStream out(&buffer);
  out.setVersion(QDataStream::Qt_6_0);
  out << static_cast<quint32>(kMagic) << static_cast<qint32>(kVersion) << d.projectFile;
  if (!d.projectFile.isEmpty()) {
    out << static_cast<qint32>(d.breakpoints.size());
    for (int32_t id : d.breakpoints) out << static_cast<qint32>(id);
    out << static_cast<qint32>(d.watches.size());
    for (const TDesktop::Watch& w : d.watches) out << w.name << static_cast<qint32>(w.mapCode);
  }
  out << qint32(d.hasTree ? 1 : 0);
  if (d.hasTree)
    out << static_cast<qint32>(d.selected) << qint32(d.tablesExpanded ? 1 : 0) << qint32(d.cellsExpanded ? 1 : 0);
  out << static_cast<qint32>(d.windows.size());
  for (const TDesktop::Window& w : d.windows)
    out << w.className << static_cast<qint32>(w.left) << static_cast<qint32>(w.top) << static_cast<qint32>(w.width)
        << static_cast<qint32>(w.height) << static_cast<qint32>(w.state) << w.own;
  return out.status() == QDataStream::Ok ? bytes : QByteArray();
}

std::optional<TDesktop> TDesktopFile::Parse(const QByteArray& bytes) {
  QDataStream in(bytes);
  in.setVersion(QDataStream::Qt_6_0);
  auto ok = [&in] { return in.status() == QDataStream::Ok; };
  auto count = [&](int32_t limit) -> std::optional<int32_t> {
    qint32 n = 0;
    in >> n;
    if (!ok() || n < 0 || n > limit) return std::nullopt;
    return n;
  };
  quint32 magic = 0;
  qint32 version = 0;
  in >> magic >> version;
  if (!ok() || magic != kMagic || version != kVersion) return std::nullopt;
  TDesktop d;
  in >> d.projectFile;
  if (!ok()) return std::nullopt;
  if (!d.projectFile.isEmpty()) {
    const auto breakpoints = count(kListLimit);
    if (!breakpoints) return std::nullopt;
    for (int32_t i = 0; i < *breakpoints && ok(); ++i) {
      qint32 id = 0;
      in >> id;
      d.breakpoints.push_back(id);
    }
    const auto watches = ok() ? count(kListLimit) : std::nullopt;
    if (!watches) return std::nullopt;
    for (int32_t i = 0; i < *watches && ok(); ++i) {
      TDesktop::Watch w;
      qint32 mapCode = 0;
      in >> w.name >> mapCode;
      w.mapCode = mapCode;
      d.watches.push_back(std::move(w));
    }
    if (!ok()) return std::nullopt;
  }
  qint32 hasTree = 0;
  in >> hasTree;
  if (!ok()) return std::nullopt;
  d.hasTree = hasTree != 0;
  if (d.hasTree) {
    qint32 selected = 0, tables = 0, cells = 0;
    in >> selected >> tables >> cells;
    d.selected = selected;
    d.tablesExpanded = tables != 0;
    d.cellsExpanded = cells != 0;
  }
  const auto windows = ok() ? count(kWindowLimit) : std::nullopt;
  if (!windows) return std::nullopt;
  for (int32_t i = 0; i < *windows && ok(); ++i) {
    TDesktop::Window w;
    qint32 left = 0, top = 0, width = 0, height = 0, state = 0;
    in >> w.className >> left >> top >> width >> height >> state >> w.own;
    w.left = left;
    w.top = top;
    w.width = width;
    w.height = height;
    w.state = state;
    d.windows.push_back(std::move(w));
  }
  if (!ok()) return std::nullopt;
  return d;
}

std::optional<TDesktop> TDesktopFile::Load(const QString& fileName, QString& problem) {
  // Read like a project: a regular file only (a FIFO would block the start
  // for ever), and not without bound.
  QByteArray bytes;
  problem.clear();
  if (!regularfile::Read(fileName, kFileLimit, bytes, problem)) return std::nullopt;
  return Parse(bytes);
}

bool TDesktopFile::Save(const QString& fileName, const TDesktop& desktop, QString& problem) {
  // Written into memory first: the file (or the device node a link names)
  // is then written whole, never replaced by something cut or by a regular file.
  problem.clear();
  const QByteArray bytes = Write(desktop);
  return !bytes.isEmpty() && outputfile::Write(fileName, bytes, problem);
}
