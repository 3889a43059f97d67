// vorblen-cli as a user runs it: exit codes, standard output and error,
// CODE.TXT, on the example projects and on projects written for the tests.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "CellBodyText.h"

namespace {

struct Result {
  int exitCode = -1;
  QByteArray out;
  QString err;
};

class Cli : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  Result Run(const QStringList& args, int timeoutMs = 60000) {
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(VORBLEN_CLI), args);
    EXPECT_TRUE(p.waitForFinished(timeoutMs));
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
  }
  static QString Example(const char* name) { return QStringLiteral(VORBLEN_EXAMPLES "/%1").arg(QLatin1String(name)); }
  // A project file written by hand: a header and cells given as body lines.
  QString Project(const QStringList& sections) {
    QStringList lines = {"MARLIX Tarvix plus - project file", "Version=1.0", "1", ""};
    lines << sections;
    QString name = dir.filePath("t.tvp");
    QFile f(name);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(cellbody::BytesFromLines(lines));
    return name;
  }
  bool HasListing() const { return QFile::exists(dir.filePath("CODE.TXT")); }
  QTemporaryDir dir;
};

// A block record of the cell body.
QStringList Block(int32_t id, int32_t type, const QString& param = {}, const QStringList& wires = {}) {
  QStringList l = {"#BLOCK_START", "GraphBlock", QStringLiteral("ID=%1").arg(id), "10,10,70,30"};
  l << wires << QStringLiteral("TYPE=%1").arg(type);
  if (!param.isEmpty()) l << "#DLLDATA_START" << param.split("\r\n") << "#DLLDATA_END";
  l << "#BLOCK_END" << "";
  return l;
}

QStringList CellSection(int id, const QString& name, const QStringList& blocks) {
  return QStringList{"#CELL_START", QStringLiteral("ID=%1").arg(id), "NAME=" + name, ""} + blocks + QStringList{"#CELL_END", ""};
}

QString In(int slot, int32_t source, int kind = 1) {
  return QStringLiteral("IN%1=%2,%3:0,0,1,1").arg(slot, 2, 10, QLatin1Char('0')).arg(source).arg(kind);
}

TEST_F(Cli, CompilesTheExamples) {
  for (const char* name : {"counter.tvp", "traffic.tvp", "logger.tvp"}) {
    SCOPED_TRACE(name);
    Result r = Run({"compile", Example(name)});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("Programml\xC3\xA4nge ")) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith(" bytes\n"));
    EXPECT_TRUE(HasListing());
  }
}

TEST_F(Cli, RunsTheExamples) {
  Result counter = Run({"run", Example("counter.tvp"), "--steps", "40"});
  EXPECT_EQ(counter.exitCode, 0);
  EXPECT_TRUE(counter.out.startsWith("Z\xE4hlerstand: 1\r\nZ\xE4hlerstand: 2\r\n")) << counter.out.toStdString();
  Result logger = Run({"run", Example("logger.tvp"), "--steps", "100000", "--adc", "1=100"});
  EXPECT_EQ(logger.exitCode, 0);
  EXPECT_EQ(logger.out.count("Temperatur [0,1 \xB0" "C]: 300\r\n"), 10);
  EXPECT_TRUE(logger.out.endsWith("Messung beendet\r\n"));
  Result traffic = Run({"run", Example("traffic.tvp"), "--steps", "200"});
  EXPECT_EQ(traffic.exitCode, 0);
  EXPECT_EQ(traffic.out, QByteArray("Rot\r\n"));  // the timer stands still without --realtime
}

TEST_F(Cli, CompileFailuresExitOneWithoutListing) {
  // A subtractor missing its second input, used by a print block.
  QString p = Project(CellSection(1, "A", Block(65537, 700, "1") + Block(65538, 201, {}, {In(0, 65537)}) +
                                              Block(65539, 900, "1", {In(0, 65538)})));
  Result r = Run({"compile", p});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.isEmpty());
  EXPECT_EQ(r.err, QStringLiteral("fehlende Eingangsverbindung (Block 65538 in Zelle 1 \"A\")\n"));
  EXPECT_FALSE(HasListing());

  p = Project(CellSection(1, "A", Block(65537, 1000, "Nirgends")));
  r = Run({"compile", p});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, QStringLiteral("Sprungziel/Tabelle nicht definiert: Nirgends\n"));
  EXPECT_FALSE(HasListing());

  p = Project(QStringList{"#TABLE_START", "Name=T", "1 zwei 3", "#TABLE_END", ""} + CellSection(1, "A", {}));
  r = Run({"compile", p});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, QStringLiteral("Tabelle T: Fehler in Tabelle\n"));

  p = Project(QStringList{"#TABLE_START", "Name=T", "Extern=fehlt.tab", "#TABLE_END", ""} + CellSection(1, "A", {}));
  r = Run({"compile", p, "--keep-going"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.contains("Fehler beim Laden der externen Tabellendatei:\nfehlt.tab")) << r.err.toStdString();

  QFile bad(dir.filePath("bad.tvp"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("kein Projekt\r\n");
  bad.close();
  r = Run({"compile", dir.filePath("bad.tvp")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.endsWith(" ist keine g\u00fcltige Projektdatei!\n")) << r.err.toStdString();
  r = Run({"compile"});
  EXPECT_EQ(r.exitCode, 1);
  r = Run({"frobnicate", p});
  EXPECT_EQ(r.exitCode, 1);
}

// Hostile and damaged files: every one ends quickly with its message; a load
// that lost content compiles nothing unless --keep-going is given; reports
// that lose nothing do not stop the compile.
TEST_F(Cli, HostileFilesEndWithTheirMessage) {
  const QStringList good = Block(131073, 700, "7") + Block(131074, 900, "2", {In(0, 131073)});
  auto file = [&](const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return dir.filePath(name);
  };
  auto project = [&](const QString& name, const QStringList& sections) {
    return file(name, cellbody::BytesFromLines(QStringList{"MARLIX Tarvix plus - project file", "Version=1.0", "1", ""} +
                                               sections + CellSection(2, "B", good)));
  };
  const QString fifo = dir.filePath("fifo.tab");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  QByteArray nul = cellbody::BytesFromLines(QStringList{"MARLIX Tarvix plus - project file", "Version=1.0", "1", ""} +
                                            CellSection(1, "A", Block(65537, 702, "ab")) + CellSection(2, "B", good));
  nul.replace("\r\nab\r\n", QByteArray("\r\na\0b\r\n", 7));
  struct Case {
    QString project;
    QString message;     // in standard error
    int exitCode;        // without --keep-going
    int keepGoingExit;   // with it
  };
  const Case cases[] = {
      {"/dev/zero", "/dev/zero ist keine gew\u00f6hnliche Datei!", 1, 1},
      {fifo, "fifo.tab ist keine gew\u00f6hnliche Datei!", 1, 1},
      {project("body.tvp", CellSection(1, "A", {"#BLOCK_START", "Fremd", "#BLOCK_END", ""})),
       "Fehler beim Lesen der Programmzelle 1!\nUnbekannter Blocktyp Fremd!\n", 1, 0},
      {project("cut.tvp", CellSection(1, "A", {"#BLOCK_START", "GraphBlock"})),
       "Fehler beim Lesen der Programmzelle 1!\nUnvollst\u00e4ndiger Blockeintrag am Ende des Textes!\n", 1, 0},
      {project("wire.tvp", CellSection(1, "A", Block(65537, 900, "2", {In(0, 65599)}))), "Fehler bei PlexorConnectBlocks!", 1, 0},
      {project("type.tvp", CellSection(1, "A", Block(65537, 262))),
       "Fehler beim Lesen der Programmzelle 1!\nBlock 65537 hat den unbekannten Blocktyp 262.\n", 1, 1},
      {project("zero.tvp", {"#TABLE_START", "Name=Z", "Extern=/dev/zero", "#TABLE_END", ""}),
       "Tabelle Z: ung\u00fcltige externe Tabellendatei:\n/dev/zero\n", 1, 1},
      {project("pipe.tvp", {"#TABLE_START", "Name=P", "Extern=fifo.tab", "#TABLE_END", ""}),
       "Tabelle P: ung\u00fcltige externe Tabellendatei:\nfifo.tab\n", 1, 1},
      {file("nul.tvp", nul), "enth\u00e4lt in Zeile 15 ein NUL-Zeichen", 1, 0},
      {project("big.tvp", {"#TABLE_START", "Name=G", "Extern=" + QFileInfo(file("big.tab", QByteArray(1100000, ' '))).fileName(),
                           "#TABLE_END", ""}),
       "big.tab ist zu gro\u00df (h\u00f6chstens 1048576 Bytes)!", 1, 1},
      // Nothing lost: a duplicate cell id is renumbered, a missing picture is only said.
      {project("twice.tvp", CellSection(2, "C", {})), "erh\u00e4lt die Nummer 1.", 0, 0},
      {project("picture.tvp", CellSection(1, "A", Block(65537, 700, "1").mid(0, 5) + QStringList{"BmpFile=fehlt.bmp", "#BLOCK_END", ""})),
       "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.project.toStdString());
    QFile::remove(dir.filePath("CODE.TXT"));
    Result r = Run({"compile", c.project}, 20000);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(c.message)) << r.err.toStdString();
    EXPECT_EQ(HasListing(), c.exitCode == 0);
    if (c.exitCode != c.keepGoingExit) {  // stopped by the load, not by the compile
      EXPECT_TRUE(r.err.contains("--keep-going")) << r.err.toStdString();
    }
    r = Run({"compile", c.project, "--keep-going"}, 20000);
    EXPECT_EQ(r.exitCode, c.keepGoingExit) << r.err.toStdString();
    EXPECT_EQ(r.out.isEmpty(), c.keepGoingExit != 0);
    EXPECT_EQ(HasListing(), c.keepGoingExit == 0);
  }
  // With --keep-going, a block of an unknown type still refuses the compile,
  // naming the block; run of it does not print "Zählerstand: 0" for ever.
  Result r = Run({"run", dir.filePath("type.tvp"), "--keep-going"}, 20000);
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.isEmpty());
  EXPECT_TRUE(r.err.contains("Block 65537 in Zelle 1 hat den unbekannten Blocktyp 262")) << r.err.toStdString();
}

// run needs no listing: it works where it cannot write (even as root, /proc
// takes no new files) and leaves an existing CODE.TXT alone.
TEST_F(Cli, RunNeedsNoListing) {
  QProcess p;
  p.setWorkingDirectory(QStringLiteral("/proc"));
  p.start(QStringLiteral(VORBLEN_CLI), {"run", Example("counter.tvp"), "--steps", "40"});
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
  EXPECT_TRUE(p.readAllStandardOutput().startsWith("Z\xE4hlerstand: 1\r\n"));
  QFile old(dir.filePath("CODE.TXT"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("alt");
  old.close();
  EXPECT_EQ(Run({"run", Example("counter.tvp"), "--steps", "40"}).exitCode, 0);
  ASSERT_TRUE(old.open(QIODevice::ReadOnly));
  EXPECT_EQ(old.readAll(), QByteArray("alt"));
}

TEST_F(Cli, TablesGotoAndInput) {
  QString p = Project(QStringList{"#TABLE_START", "Name=Quadrat", "0 1 4 9", "16 25  ", "#TABLE_END", ""} +
                      CellSection(1, "Start",
                                  Block(65537, 901) + Block(65538, 209, "Quadrat", {In(0, 65537)}) +
                                      Block(65539, 900, "2", {In(0, 65538)}) + Block(65540, 1000, "Weiter")) +
                      CellSection(2, "Weiter", Block(131073, 702, "fertig") + Block(131074, 900, "2", {In(0, 131073, 2)}) +
                                                   Block(131075, 1007)));
  Result r = Run({"run", p, "--input", "5", "--input", "3"});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, QByteArray("25\r\nfertig\r\n"));
  // Without values left the run stops with exit 3.
  r = Run({"run", p});
  EXPECT_EQ(r.exitCode, 3);
  EXPECT_TRUE(r.out.isEmpty());
  EXPECT_FALSE(r.err.isEmpty());
}

TEST_F(Cli, RuntimeErrorsAndInputsOfTheUnit) {
  QString p = Project(CellSection(1, "A", Block(65537, 124) + Block(65538, 700, "0") +
                                              Block(65539, 203, {}, {In(0, 65537), In(1, 65538)}) +
                                              Block(65540, 900, "2", {In(0, 65539)})));
  Result r = Run({"run", p});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, QStringLiteral("Es trat ein Simulationsfehler auf:\nDivision durch Null!\n"));

  // AD1, the key F1 on port 9 and the frequency, each printed once.
  p = Project(CellSection(1, "A", Block(65537, 124) + Block(65538, 900, "4", {In(0, 65537)}) + Block(65539, 112) +
                                      Block(65540, 900, "4", {In(0, 65539)}) + Block(65541, 105) +
                                      Block(65542, 900, "2", {In(0, 65541)}) + Block(65543, 1007)));
  r = Run({"run", p, "--adc", "1=200", "--port", "9=0", "--freq", "4711"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out, QByteArray("200\t-1\t4711\r\n"));
  r = Run({"run", p});
  EXPECT_EQ(r.out, QByteArray("0\t0\t0\r\n"));  // at rest: inputs 0, keys released
  const std::pair<const char*, const char*> bad[] = {{"--adc", "9=1"}, {"--adc", "1=256"}, {"--port", "17=1"},
                                                     {"--port", "1=2"}, {"--freq", "65536"}, {"--steps", "-5"},
                                                     {"--input", "x"}, {"--wozu", "1"}};
  for (const auto& [option, value] : bad) {
    r = Run({"run", p, option, value});
    EXPECT_EQ(r.exitCode, 1) << option << " " << value;
    EXPECT_TRUE(r.out.isEmpty());
  }
}

TEST_F(Cli, StepLimitEndsEndlessPrograms) {
  // A wait for a key that nobody presses.
  QString p = Project(CellSection(1, "A", Block(65537, 112) + Block(65538, 1005, {}, {In(0, 65537)})));
  Result r = Run({"run", p, "--steps", "5000"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.isEmpty());
}

TEST_F(Cli, DownloadsToTheEmulatedUnit) {
  QProcess unit;
  unit.start(QStringLiteral(VORBLEN_UNIT), {"--once", "--save", dir.filePath("got.bin")});
  ASSERT_TRUE(unit.waitForReadyRead(10000));
  const QString tty = QString::fromUtf8(unit.readLine()).trimmed();
  ASSERT_TRUE(tty.startsWith("/dev/")) << tty.toStdString();
  Result r = Run({"download", Example("counter.tvp"), "--device", tty});
  EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, QByteArray("36 bytes \xC3\xBC" "bertragen\n"));
  // 0 % until the first byte, not the compile's 100 %, then up to 100 %.
  EXPECT_TRUE(r.err.startsWith("\r[------------------------------]   0%")) << r.err.toStdString();
  EXPECT_TRUE(r.err.contains("100%"));
  ASSERT_TRUE(unit.waitForFinished(10000));
  QFile listing(dir.filePath("CODE.TXT"));
  ASSERT_TRUE(listing.open(QIODevice::ReadOnly));
  QFile got(dir.filePath("got.bin"));
  ASSERT_TRUE(got.open(QIODevice::ReadOnly));
  QStringList numbers;
  for (char c : got.readAll()) numbers << QString::number(static_cast<uint8_t>(c));
  EXPECT_EQ(QString::fromLatin1(listing.readAll()), numbers.join(' ') + ' ');

  r = Run({"download", Example("counter.tvp"), "--device", dir.filePath("nichts")});
  EXPECT_EQ(r.exitCode, 1);
  r = Run({"download", Example("counter.tvp")});
  EXPECT_EQ(r.exitCode, 1);
}

TEST(CliHelp, ExplainsEveryCommand) {
  QProcess p;
  p.start(QStringLiteral(VORBLEN_CLI), {"--help"});
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_EQ(p.exitCode(), 0);
  QString text = QString::fromUtf8(p.readAllStandardOutput());
  for (const char* word : {"compile", "run", "download", "--steps", "--input", "--adc", "--port", "--freq", "--realtime", "--device",
                           "--keep-going"})
    EXPECT_TRUE(text.contains(word)) << word;
}

}  // namespace
