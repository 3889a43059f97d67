// vorblen-cli against hostile inputs and outputs: device nodes and links
// named as reports or pictures, projects and scenarios that would fill the
// memory or block, full disks, control characters, numbers the scenario
// grammar does not name. Every case is one row: what is prepared, the
// command, the exit code, a message, and what must hold afterwards.
//
// Device nodes are only ever FIFOs and ptys made here; /dev/null is only
// written through.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <csignal>
#include <functional>

#include "CellBodyText.h"

namespace {

const QString kCounter = QStringLiteral(VORBLEN_EXAMPLES "/counter.tvp");

struct Result {
  int exitCode = -1;
  QByteArray out;
  QString err;
};

// The place of one case: a scratch directory and what the case made in it.
struct Place {
  QTemporaryDir dir;
  QString Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)); }
  void Write(const char* name, const QByteArray& bytes) const {
    QFile f(Path(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
  }
  QByteArray Read(const char* name) const {
    QFile f(Path(name));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }
  void Fifo(const char* name) const { ASSERT_EQ(::mkfifo(QFile::encodeName(Path(name)).constData(), 0600), 0); }
  mode_t Type(const char* name) const {
    struct stat info {};
    return ::lstat(QFile::encodeName(Path(name)).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
  }
  QStringList Entries() const { return QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot); }
  int fileSizeLimit = 0;  // bytes a written file may have (RLIMIT_FSIZE), 0 for none
  int readerFd = -1;      // a reader held open on a FIFO while the tool runs
  QString stdoutFile;     // standard output redirected to this file
  int ptyFd = -1;
  ~Place() {
    if (readerFd >= 0) ::close(readerFd);
    if (ptyFd >= 0) ::close(ptyFd);
  }
};

Result RunCli(Place& place, const QStringList& args) {
  QProcess p;
  p.setWorkingDirectory(place.dir.path());
  const int limit = place.fileSizeLimit;
  // A small file size limit plays a full disk: writes beyond it fail with EFBIG.
  p.setChildProcessModifier([limit] {
    if (limit <= 0) return;
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit r{static_cast<rlim_t>(limit), static_cast<rlim_t>(limit)};
    ::setrlimit(RLIMIT_FSIZE, &r);
  });
  if (!place.stdoutFile.isEmpty()) p.setStandardOutputFile(place.stdoutFile);
  p.start(QStringLiteral(VORBLEN_CLI), args);
  // Generous: a hang shows as a failed wait, not as a slow test.
  EXPECT_TRUE(p.waitForFinished(60000)) << args.join(' ').toStdString();
  if (p.state() != QProcess::NotRunning) {
    p.kill();
    p.waitForFinished();
  }
  return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
}

QStringList ProjectLines(const QStringList& sections) {
  return QStringList{"MARLIX Tarvix plus - project file", "Version=1.0", "1", ""} + sections;
}

QStringList Block(int32_t id, int32_t type, const char* place = "10,10,70,30") {
  return {"#BLOCK_START", "GraphBlock", QStringLiteral("ID=%1").arg(id), place, QStringLiteral("TYPE=%1").arg(type), "#BLOCK_END", ""};
}

QStringList Cell(int id, const QString& name, const QStringList& blocks) {
  return QStringList{"#CELL_START", QStringLiteral("ID=%1").arg(id), "NAME=" + name, ""} + blocks + QStringList{"#CELL_END", ""};
}

const QByteArray kScenario = "run 10 steps\nexpect status running\n";

bool ValidXml(const QByteArray& bytes) {
  QXmlStreamReader xml(bytes);
  while (!xml.atEnd()) xml.readNext();
  return !xml.hasError() && bytes.contains("<testsuites");
}

struct Case {
  const char* name;
  std::function<void(Place&)> prepare;
  std::function<QStringList(Place&)> args;
  int exitCode;
  const char* message;  // part of standard error ("" for none expected)
  std::function<void(Place&, const Result&)> check;
};

void Play(const Case& c) {
  SCOPED_TRACE(c.name);
  Place place;
  ASSERT_TRUE(place.dir.isValid());
  c.prepare(place);
  const Result r = RunCli(place, c.args(place));
  EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains(QString::fromUtf8(c.message))) << r.err.toStdString();
  if (c.check) c.check(place, r);
  // No temporary file is ever left behind.
  for (const QString& entry : place.Entries()) EXPECT_FALSE(entry.contains(".XXXX") || entry.contains(".tmp")) << entry.toStdString();
}

auto Nothing = [](Place&) {};

TEST(CliHostile, ReportsNeverReplaceWhatIsNoRegularFile) {
  const Case cases[] = {
      {"FIFO without a reader: refused at once, stays a FIFO",
       [](Place& p) {
         p.Write("s", kScenario);
         p.Fifo("report");
       },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", p.Path("report")}; }, 2,
       "Gerät oder Adresse nicht vorhanden (errno 6)", [](Place& p, const Result&) { EXPECT_EQ(p.Type("report"), S_IFIFO); }},
      {"FIFO with a reader: written through",
       [](Place& p) {
         p.Write("s", kScenario);
         p.Fifo("report");
         p.readerFd = ::open(QFile::encodeName(p.Path("report")).constData(), O_RDONLY | O_NONBLOCK);
         ASSERT_GE(p.readerFd, 0);
       },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", p.Path("report")}; }, 0, "",
       [](Place& p, const Result&) {
         EXPECT_EQ(p.Type("report"), S_IFIFO);
         QByteArray got(65536, '\0');
         const ssize_t n = ::read(p.readerFd, got.data(), static_cast<size_t>(got.size()));
         ASSERT_GT(n, 0);
         EXPECT_TRUE(ValidXml(got.left(n)));
       }},
      {"a link to a FIFO stays a link to a FIFO",
       [](Place& p) {
         p.Write("s", kScenario);
         p.Fifo("node");
         ASSERT_TRUE(QFile::link(p.Path("node"), p.Path("report")));
       },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", p.Path("report")}; }, 2, "",
       [](Place& p, const Result&) {
         EXPECT_EQ(p.Type("report"), S_IFLNK);
         EXPECT_EQ(p.Type("node"), S_IFIFO);
       }},
      {"/dev/null is written through",
       [](Place& p) { p.Write("s", kScenario); },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", "/dev/null"}; }, 0, "",
       [](Place&, const Result&) {
         struct stat info {};
         ASSERT_EQ(::stat("/dev/null", &info), 0);
         EXPECT_TRUE(S_ISCHR(info.st_mode));
       }},
      {"/dev/stdout redirected to a file: the report follows the summary",
       [](Place& p) {
         p.Write("s", kScenario);
         p.stdoutFile = p.Path("out.txt");
       },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", "/dev/stdout"}; }, 0, "",
       [](Place& p, const Result&) {
         const QByteArray out = p.Read("out.txt");
         EXPECT_TRUE(out.startsWith("PASS ")) << out.toStdString();
         EXPECT_TRUE(ValidXml(out.mid(out.indexOf("<?xml")))) << out.toStdString();
       }},
      {"a pty is written through",
       [](Place& p) {
         p.Write("s", kScenario);
         p.ptyFd = ::posix_openpt(O_RDWR | O_NOCTTY);
         ASSERT_GE(p.ptyFd, 0);
         ASSERT_EQ(::grantpt(p.ptyFd), 0);
         ASSERT_EQ(::unlockpt(p.ptyFd), 0);
         ASSERT_TRUE(QFile::link(QString::fromLocal8Bit(::ptsname(p.ptyFd)), p.Path("report")));
       },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", p.Path("report")}; }, 0, "",
       [](Place& p, const Result&) { EXPECT_EQ(p.Type("report"), S_IFLNK); }},
      {"a directory is refused",
       [](Place& p) {
         p.Write("s", kScenario);
         ASSERT_TRUE(QDir(p.dir.path()).mkdir("report"));
       },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", p.Path("report")}; }, 2,
       "ist keine gewöhnliche Datei", [](Place& p, const Result&) { EXPECT_EQ(p.Type("report"), S_IFDIR); }},
      {"a link to a regular file stays a link; its target gets the report",
       [](Place& p) {
         p.Write("s", kScenario);
         p.Write("target.xml", "alt");
         ASSERT_TRUE(QFile::link(p.Path("target.xml"), p.Path("report")));
       },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", p.Path("report")}; }, 0, "",
       [](Place& p, const Result&) {
         EXPECT_EQ(p.Type("report"), S_IFLNK);
         EXPECT_TRUE(ValidXml(p.Read("target.xml")));
       }},
      {"the report naming the scenario is refused",
       [](Place& p) { p.Write("s", kScenario); },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", p.Path("s")}; }, 2, "überschreiben",
       [](Place& p, const Result&) { EXPECT_EQ(p.Read("s"), kScenario); }},
      {"the report naming the project is refused",
       [](Place& p) {
         p.Write("s", kScenario);
         QFile::copy(kCounter, p.Path("p.tvp"));
       },
       [](Place& p) { return QStringList{"test", p.Path("p.tvp"), p.Path("s"), "--junit", p.Path("p.tvp")}; }, 2,
       "überschreiben", [](Place& p, const Result&) { EXPECT_TRUE(p.Read("p.tvp").startsWith("MARLIX")); }},
      {"control characters in output, steps and file names make valid XML",
       [](Place& p) { p.Write("s\x1b\x07", "run 10 steps\nexpect output contains \"\x07\x1b\"\n"); },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s\x1b\x07"), "--junit", p.Path("report.xml")}; }, 1, "",
       [](Place& p, const Result&) {
         const QByteArray xml = p.Read("report.xml");
         EXPECT_TRUE(ValidXml(xml)) << xml.toStdString();
         EXPECT_TRUE(xml.contains("\\x07")) << xml.toStdString();
       }},
  };
  for (const Case& c : cases) Play(c);
}

TEST(CliHostile, InputsThatWouldFillTheMemoryOrBlockAreRefused) {
  const Case cases[] = {
      {"a project of more lines than the reader takes",
       [](Place& p) { p.Write("p.tvp", "MARLIX Tarvix plus - project file\r\nVersion=1.0\r\n" + QByteArray(1'000'001, '\n')); },
       [](Place& p) { return QStringList{"compile", p.Path("p.tvp")}; }, 1, "Zeilen (höchstens 1000000)",
       [](Place& p, const Result&) { EXPECT_FALSE(QFile::exists(p.Path("CODE.TXT"))); }},
      {"a scenario that is a FIFO", [](Place& p) { p.Fifo("s"); },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s")}; }, 2, "ist keine gewöhnliche Datei", {}},
      {"a scenario that is a character device",
       [](Place& p) {
         p.ptyFd = ::posix_openpt(O_RDWR | O_NOCTTY);
         ASSERT_GE(p.ptyFd, 0);
         ASSERT_EQ(::grantpt(p.ptyFd), 0);
         ASSERT_EQ(::unlockpt(p.ptyFd), 0);
         ASSERT_TRUE(QFile::link(QString::fromLocal8Bit(::ptsname(p.ptyFd)), p.Path("s")));
       },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s")}; }, 2, "ist keine gewöhnliche Datei", {}},
      {"a scenario beyond the size cap",
       [](Place& p) { p.Write("s", kScenario + "#" + QByteArray(1024 * 1024, 'x') + "\n"); },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s")}; }, 2, "ist zu groß", {}},
      {"a long run keeps a bounded window and quotes a short tail",
       [](Place& p) { p.Write("s", "run 3000000 steps\nexpect output contains \"nie\"\n"); },
       [](Place& p) { return QStringList{"test", kCounter, p.Path("s"), "--junit", p.Path("r.xml")}; }, 1, "",
       [](Place& p, const Result& r) {
         EXPECT_TRUE(QString::fromUtf8(r.out).contains(QStringLiteral("geprüft wurden die letzten"))) << r.out.left(2000).toStdString();
         EXPECT_LT(r.out.size(), 4000);
         EXPECT_LT(p.Read("r.xml").size(), 4000);
       }},
      {"a missing scenario, in German with the number",
       Nothing, [](Place& p) { return QStringList{"test", kCounter, p.Path("fehlt")}; }, 2,
       "Datei oder Verzeichnis nicht gefunden (errno 2)", {}},
  };
  for (const Case& c : cases) Play(c);
}

TEST(CliHostile, CutFilesAreNeverPassedOffAsDone) {
  // A project cut inside its cell.
  auto cut = [](Place& p) {
    QFile f(kCounter);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    p.Write("p.tvp", bytes.left(bytes.indexOf("#CELL_END") - 40));
  };
  const Case cases[] = {
      {"a project cut inside a cell is lost content", cut, [](Place& p) { return QStringList{"compile", p.Path("p.tvp")}; }, 1,
       "Unvollständige Projektdatei",
       [](Place& p, const Result& r) {
         EXPECT_FALSE(QFile::exists(p.Path("CODE.TXT")));
         EXPECT_FALSE(r.out.contains("Programml"));
       }},
      {"SVG on a full disk", Nothing,
       [](Place& p) {
         p.fileSizeLimit = 2000;
         return QStringList{"render", kCounter, "-o", p.Path("c.svg")};
       },
       1, "Datei zu groß (errno 27)", [](Place& p, const Result&) { EXPECT_TRUE(p.Entries().isEmpty()) << p.Entries().join(' ').toStdString(); }},
      {"PNG on a full disk", Nothing,
       [](Place& p) {
         p.fileSizeLimit = 2000;
         return QStringList{"render", kCounter, "-o", p.Path("c.png")};
       },
       1, "errno 27", [](Place& p, const Result&) { EXPECT_TRUE(p.Entries().isEmpty()); }},
      {"PDF on a full disk", Nothing,
       [](Place& p) {
         p.fileSizeLimit = 2000;
         return QStringList{"render", kCounter, "-o", p.Path("c.pdf")};
       },
       1, "errno 27", [](Place& p, const Result&) { EXPECT_TRUE(p.Entries().isEmpty()); }},
      {"cells whose file names come out alike get a picture each",
       [](Place& p) {
         p.Write("p.tvp", cellbody::BytesFromLines(ProjectLines(Cell(1, "A/B", Block(65537, 112)) + Cell(2, "A_B", Block(131073, 112)) +
                                                                Cell(3, "A_B-2", Block(196609, 112)) + Cell(4, "Zähler", Block(262145, 112)))));
       },
       [](Place& p) { return QStringList{"render", p.Path("p.tvp"), "-o", p.Path("c.svg")}; }, 0, "",
       [](Place& p, const Result& r) {
         EXPECT_EQ(r.out.count('\n'), 4);
         EXPECT_EQ(QDir(p.dir.path()).entryList({"c-*.svg"}).size(), 4) << p.Entries().join(' ').toStdString();
         EXPECT_TRUE(QFile::exists(p.Path("c-Zaehler.svg")));
       }},
      {"one selected cell writes exactly the file named",
       Nothing, [](Place& p) { return QStringList{"render", kCounter, "--cell", "Zählen", "-o", p.Path("genau.png")}; }, 0, "",
       [](Place& p, const Result&) {
         EXPECT_EQ(p.Entries(), QStringList{"genau.png"});
         // Twice the cell's size by default, so the text is readable.
         EXPECT_GE(QImage(p.Path("genau.png")).width(), 1200);
       }},
      {"a block far outside the cell area makes no huge picture, and is named",
       [](Place& p) {
         p.Write("p.tvp", cellbody::BytesFromLines(ProjectLines(
                              Cell(1, "A", Block(65537, 112) + Block(65538, 112, "999000,999000,999060,999020")))));
       },
       [](Place& p) { return QStringList{"render", p.Path("p.tvp"), "--scale", "1", "-o", p.Path("c.png")}; }, 0,
       "Block 65538 liegt außerhalb der Zellfläche",
       [](Place& p, const Result&) {
         const QImage image(p.Path("c.png"));
         EXPECT_FALSE(image.isNull());
         EXPECT_LE(image.width(), 2000);
         EXPECT_LE(image.height(), 2030);
       }},
  };
  for (const Case& c : cases) Play(c);
}

TEST(CliHostile, ScenarioNumbersAreDecimalOrHexOnly) {
  struct Row {
    const char* step;
    int exitCode;
  };
  const Row rows[] = {
      {"run 010 steps", 0},                       // decimal ten, not octal eight
      {"run 09 steps", 0},                        // decimal, as 010
      {"run 0x10 steps", 0},
      {"run 0b11 steps", 2},
      {"run 1e3 steps", 2},
      {"run 0x steps", 2},
      {"expect value 0x101010000 = 0", 2},        // a map code beyond 32 bits is no map code
      {"set adc 1 = 0x1F", 0},
      {"set adc 1 = 0o7", 2},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.step);
    Place place;
    place.Write("s", QByteArray(row.step) + "\n");
    const Result r = RunCli(place, {"test", kCounter, place.Path("s")});
    EXPECT_EQ(r.exitCode, row.exitCode) << r.err.toStdString();
  }
}

}  // namespace
