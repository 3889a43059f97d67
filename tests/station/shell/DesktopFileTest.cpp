// The desktop file: a file written by the station before the frame was split
// reads and writes back byte for byte, values survive a round trip, and cut,
// damaged or hostile files are refused whole without a crash.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QRect>
#include <QTemporaryDir>

#include "TDesktopFile.h"

namespace {

// Written by the frame on closing: project counter.tvp with a breakpoint
// and a watch, a cell editor and a test window (its own data 77, 4711).
QByteArray EarlierFile() {
  return QByteArray::fromHex(
      "564453480000000100000056002f0074006d0070002f0077007400320038002d00640073006b002f006600720061006d"
      "0065005f0074006500730074002d006a00570062005600580051002f0063006f0075006e007400650072002e00740076"
      "00700000000100000001000000010000000e0057004f00520044005b0031005d01010000000000010000000100000000"
      "000000000000000200000020005400500072006f006700720061006d00430065006c006c0046006f0072006d00000000"
      "000000000000027f000001ec0000000000000008000000010000126700000018005400460061006b00650044006f0063"
      "0046006f0072006d000000140000001e0000012c000000c800000000000000080000004d00001267");
}

QByteArray Own(qint32 a, qint32 b) {
  QByteArray own;
  QDataStream out(&own, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << a << b;
  return own;
}

// A header and then the given 32-bit fields and strings, as the writer puts them.
template <typename... T>
QByteArray Stream(const T&... fields) {
  QByteArray bytes;
  QDataStream out(&bytes, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  (out << ... << fields);
  return bytes;
}

}  // namespace

TEST(DesktopFile, EarlierFileReadsAndWritesBackByteForByte) {
  const QByteArray bytes = EarlierFile();
  const auto desktop = TDesktopFile::Parse(bytes);
  ASSERT_TRUE(desktop);
  EXPECT_TRUE(desktop->projectFile.endsWith(QStringLiteral("/counter.tvp")));
  EXPECT_EQ(desktop->breakpoints, std::vector<int32_t>{1});
  ASSERT_EQ(desktop->watches.size(), 1u);
  EXPECT_EQ(desktop->watches[0].name, QStringLiteral("WORD[1]"));
  EXPECT_TRUE(desktop->hasTree);
  EXPECT_FALSE(desktop->cellsExpanded);
  ASSERT_EQ(desktop->windows.size(), 2u);
  EXPECT_EQ(desktop->windows[0].className, QStringLiteral("TProgramCellForm"));
  const TDesktop::Window& fake = desktop->windows[1];
  EXPECT_EQ(fake.className, QStringLiteral("TFakeDocForm"));
  EXPECT_EQ(QRect(fake.left, fake.top, fake.width, fake.height), QRect(20, 30, 300, 200));
  EXPECT_EQ(fake.state, 0);
  EXPECT_EQ(fake.own, Own(77, 4711));
  EXPECT_EQ(TDesktopFile::Write(*desktop), bytes);
}

TEST(DesktopFile, ValuesSurviveARoundTrip) {
  TDesktop full;
  full.projectFile = QStringLiteral("/home/anna/Ampel Süd.tvp");
  full.breakpoints = {3, 7, 1000};
  full.watches = {{QStringLiteral("ZÄHLER"), 4711}, {QString(), -1}};
  full.selected = 0x20005;
  full.tablesExpanded = true;
  full.windows = {{QStringLiteral("TTableEditorForm"), -5, 0, 640, 480, 2, Own(1, 2)},
                  {QStringLiteral("TCommentEditForm"), 10, 20, 300, 200, 1, QByteArray()}};
  TDesktop noProject;  // the lists are kept only with a project file
  noProject.windows = {{QStringLiteral("TTerminalForm"), 1, 2, 3, 4, 0, QByteArray("x")}};
  TDesktop noTree;
  noTree.hasTree = false;
  for (const TDesktop& d : {full, noProject, noTree, TDesktop{}}) {
    const auto back = TDesktopFile::Parse(TDesktopFile::Write(d));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, d);
  }
}

TEST(DesktopFile, CutDamagedAndHostileFilesAreRefusedWhole) {
  const QByteArray bytes = EarlierFile();
  for (qsizetype n = 0; n < bytes.size(); ++n) EXPECT_FALSE(TDesktopFile::Parse(bytes.left(n))) << "cut at " << n;
  // Any single damaged byte: refused or read, never a crash or a hang.
  for (qsizetype i = 0; i < bytes.size(); ++i)
    for (char c : {'\x00', '\x7f', '\xff'}) {
      QByteArray damaged = bytes;
      damaged[i] = c;
      (void)TDesktopFile::Parse(damaged);
    }
  const quint32 magic = TDesktopFile::kMagic;
  const QString project = QStringLiteral("/p.tvp");
  const struct {
    const char* what;
    QByteArray bytes;
  } hostile[] = {
      {"other magic",
       Stream(quint32(0x56445349), qint32(1), QString(), qint32(1), qint32(0), qint32(0), qint32(0), qint32(0))},
      {"other version", Stream(magic, qint32(2), QString(), qint32(1), qint32(0), qint32(0), qint32(0), qint32(0))},
      {"negative breakpoints", Stream(magic, qint32(1), project, qint32(-1))},
      {"too many breakpoints", Stream(magic, qint32(1), project, qint32(TDesktopFile::kListLimit + 1))},
      {"breakpoints beyond the end", Stream(magic, qint32(1), project, qint32(5000), qint32(1))},
      {"negative watches", Stream(magic, qint32(1), project, qint32(0), qint32(-7))},
      {"too many windows", Stream(magic, qint32(1), QString(), qint32(1), qint32(0), qint32(0), qint32(0),
                                  qint32(TDesktopFile::kWindowLimit + 1))},
      {"negative windows", Stream(magic, qint32(1), QString(), qint32(0), qint32(-1))},
      {"a string longer than the file", Stream(magic, qint32(1), quint32(0x7ffffff0))},
      {"own data longer than the file",
       Stream(magic, qint32(1), QString(), qint32(0), qint32(1), QStringLiteral("T"), qint32(0), qint32(0), qint32(1),
              qint32(1), qint32(0), quint32(0x7ffffff0))},
  };
  for (const auto& h : hostile) EXPECT_FALSE(TDesktopFile::Parse(h.bytes)) << h.what;
}

TEST(DesktopFile, LoadAndSaveOnlyWholeRegularFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString name = dir.filePath(QStringLiteral("Vorblen.DSK"));
  QString problem;
  EXPECT_FALSE(TDesktopFile::Load(name, problem));  // missing
  EXPECT_FALSE(problem.isEmpty());

  const auto earlier = TDesktopFile::Parse(EarlierFile());
  ASSERT_TRUE(earlier);
  ASSERT_TRUE(TDesktopFile::Save(name, *earlier, problem)) << problem.toStdString();
  QFile file(name);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), EarlierFile());
  file.close();
  const auto loaded = TDesktopFile::Load(name, problem);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(*loaded, *earlier);

  // Damaged contents: refused without a reason of the file system.
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a desktop file");
  file.close();
  EXPECT_FALSE(TDesktopFile::Load(name, problem));
  EXPECT_TRUE(problem.isEmpty());

  // A FIFO is neither read (it would block) nor replaced; a folder is not written.
  const QString fifo = dir.filePath(QStringLiteral("fifo.DSK"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_FALSE(TDesktopFile::Load(fifo, problem));
  EXPECT_FALSE(problem.isEmpty());
  EXPECT_FALSE(TDesktopFile::Save(fifo, *earlier, problem));
  struct stat info {};
  ASSERT_EQ(::lstat(QFile::encodeName(fifo).constData(), &info), 0);
  EXPECT_TRUE(S_ISFIFO(info.st_mode));
  EXPECT_FALSE(TDesktopFile::Save(dir.path(), *earlier, problem));
  EXPECT_FALSE(problem.isEmpty());
}
