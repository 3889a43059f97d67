// vorblen-cli test, render and list as a user runs them: scenario results
// and exit codes, failure reports, JUnit XML, determinism, pictures.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "CellBodyText.h"

// Readable failure output of texts.
void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
void PrintTo(const QStringList& list, std::ostream* os) {
  for (const QString& text : list) *os << "\n  \"" << text.toStdString() << '"';
}

namespace {

struct Result {
  int exitCode = -1;
  QString out;
  QString err;
};

// A block record of the cell body.
QStringList Block(int32_t id, int32_t type, const QString& param = {}, const QStringList& wires = {}) {
  QStringList l = {"#BLOCK_START", "GraphBlock", QStringLiteral("ID=%1").arg(id), "10,10,70,30"};
  l << wires << QStringLiteral("TYPE=%1").arg(type);
  if (!param.isEmpty()) l << "#DLLDATA_START" << param << "#DLLDATA_END";
  l << "#BLOCK_END" << "";
  return l;
}

QStringList CellSection(int id, const QString& name, const QStringList& blocks) {
  return QStringList{"#CELL_START", QStringLiteral("ID=%1").arg(id), "NAME=" + name, ""} + blocks + QStringList{"#CELL_END", ""};
}

// A wire record; kind is the connection kind the engine answers (1 value, 2 text).
QString In(int slot, int32_t source, int kind = 1) {
  return QStringLiteral("IN%1=%2,%3:0,0,1,1").arg(slot, 2, 10, QLatin1Char('0')).arg(source).arg(kind);
}

class CliScenario : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  Result Run(const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(VORBLEN_CLI), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()), QString::fromUtf8(p.readAllStandardError())};
  }
  static QString Example(const char* name) { return QStringLiteral(VORBLEN_EXAMPLES "/%1").arg(QLatin1String(name)); }
  QString Write(const QString& name, const QByteArray& bytes) {
    QFile f(dir.filePath(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return f.fileName();
  }
  QString Project(const QString& name, const QStringList& sections) {
    QStringList lines = {"MARLIX Tarvix plus - project file", "Version=1.0", "1", ""};
    return Write(name, cellbody::BytesFromLines(lines + sections));
  }
  QTemporaryDir dir;
};

TEST_F(CliScenario, FailingExpectationsShowExpectedAndActual) {
  struct Case {
    QByteArray scenario;
    const char* report;  // what follows "FAIL sN.scenario:"
  };
  const QByteArray three = "run until output contains \"Z\xC3\xA4hlerstand: 2\\r\\n\" within 1000 steps\n";
  const Case cases[] = {
      {three + "expect output \"Z\xC3\xA4hlerstand: 1\\r\\nZ\xC3\xA4hlerstand: 3\\r\\n\"",
       "2: expect output \"Zählerstand: 1\\r\\nZählerstand: 3\\r\\n\"\n"
       "    Die Ausgabe weicht ab Byte 29 ab\n"
       "    erwartet: ...\"rstand: 1\\r\\nZählerstand: 3\\r\\n\"\n"
       "    erhalten: ...\"rstand: 1\\r\\nZählerstand: 2\\r\\n\"\n"},
      {three + "expect output \"Z\xC3\xA4hlerstand: 1\\r\\nZ\xC3\xA4hlerstand: 2\\r\\nmehr\"",
       "2: expect output \"Zählerstand: 1\\r\\nZählerstand: 2\\r\\nmehr\"\n"
       "    Die Ausgabe endet nach 32 Bytes\n"
       "    erwartet: ...\"and: 1\\r\\nZählerstand: 2\\r\\nmehr\"\n"
       "    erhalten: ...\"and: 1\\r\\nZählerstand: 2\\r\\n\"\n"},
      {three + "expect output \"Z\xC3\xA4hlerstand: 1\\r\\n\"",
       "2: expect output \"Zählerstand: 1\\r\\n\"\n"
       "    Die Ausgabe ist länger als erwartet (ab Byte 16)\n"
       "    erwartet: \"Zählerstand: 1\\r\\n\"\n"
       "    erhalten: \"Zählerstand: 1\\r\\nZählerstand: 2\\r\\n\"\n"},
      {three + "expect output contains \"Stand: 2\"",
       "2: expect output contains \"Stand: 2\"\n"
       "    Die Ausgabe enthält den Text nicht\n"
       "    erwartet: \"Stand: 2\"\n"
       "    erhalten: \"Zählerstand: 1\\r\\nZählerstand: 2\\r\\n\"\n"},
      {three + "expect port 13 = 1", "2: expect port 13 = 1\n    erwartet: 1\n    erhalten: 0\n"},
      {three + "expect value WORD[1] = 7", "2: expect value WORD[1] = 7\n    erwartet: 7\n    erhalten: 2\n"},
      {three + "expect dac 1 = 5", "2: expect dac 1 = 5\n    erwartet: 5\n    erhalten: 0\n"},
      {three + "expect file length = 3", "2: expect file length = 3\n    erwartet: 3\n    erhalten: 0\n"},
      {three + "expect file 1 = 3", "2: expect file 1 = 3\n    Die Datendatei hat nur 0 Wörter\n"},
      {three + "expect status end", "2: expect status end\n    erwartet: end\n    erhalten: running\n"},
      {"expect status running", "1: expect status running\n    erwartet: running\n    erhalten: ready\n"},
      {"run until output contains \"nie\" within 6 steps",
       "1: run until output contains \"nie\" within 6 steps\n"
       "    Die Ausgabe enthält \"nie\" nicht innerhalb von 6 Schritten (Status running)\n"
       "    erhalten: \"Zählerstand: 1\\r\\nZählerstand: \"\n"},
  };
  QStringList args = {"test", Example("counter.tvp")};
  QString expected;
  int n = 0;
  for (const Case& c : cases) {
    const QString name = QStringLiteral("s%1.scenario").arg(++n);
    args << Write(name, c.scenario + "  # with a comment\n");
    expected += QStringLiteral("FAIL %1:").arg(dir.filePath(name)) + QString::fromUtf8(c.report);
  }
  args << Example("counter.scenario");
  Result r = Run(args);
  EXPECT_EQ(r.exitCode, 1) << r.err.toStdString();
  EXPECT_EQ(r.out, expected + QStringLiteral("PASS %1\n1 passed, %2 failed\n").arg(Example("counter.scenario")).arg(n));
  // The same call again gives the same bytes: nothing depends on the clock.
  EXPECT_EQ(Run(args).out, r.out);
}

TEST_F(CliScenario, InputsKeysErrorsAndReset) {
  // AD1, the key F1 (port 9) and the frequency, printed once.
  const QString inputs = Project("inputs.tvp", CellSection(1, "A", Block(65537, 124) + Block(65538, 900, "4", {In(0, 65537)}) +
                                                                   Block(65539, 112) + Block(65540, 900, "4", {In(0, 65539)}) +
                                                                   Block(65541, 105) + Block(65542, 900, "2", {In(0, 65541)}) +
                                                                   Block(65543, 1007)));
  const QString ok = Write("ok.scenario",
                           "set adc 1 = 200\nset port 9 = 0\nset freq = 4711\nset realtime off\n"
                           "run 100 steps\nexpect output \"200\\t-1\\t4711\\r\\n\"\nexpect status end\n"
                           "reset\nexpect status ready\n");
  Result r = Run({"test", inputs, ok});
  EXPECT_EQ(r.exitCode, 0) << r.out.toStdString() << r.err.toStdString();

  // An input value squared through a table, then a jump to the end cell.
  const QString table = Project(
      "table.tvp", QStringList{"#TABLE_START", "Name=Quadrat", "0 1 4 9 16 25", "#TABLE_END", ""} +
                       CellSection(1, "Start", Block(65537, 901) + Block(65538, 209, "Quadrat", {In(0, 65537)}) +
                                                   Block(65539, 900, "2", {In(0, 65538)}) + Block(65540, 1000, "Weiter")) +
                       CellSection(2, "Weiter", Block(131073, 702, "fertig") + Block(131074, 900, "2", {In(0, 131073, 2)}) +
                                                    Block(131075, 1007)));
  const QString given = Write("given.scenario", "input 5\nrun 100 steps\nexpect output \"25\\r\\nfertig\\r\\n\"\nexpect status end\n");
  const QString late = Write("late.scenario",
                             "run 100 steps\nexpect status input\nexpect output \"\"\n"
                             "input 3\nrun 100 steps\nexpect output \"9\\r\\nfertig\\r\\n\"\nexpect status end\n");
  r = Run({"test", table, given, late});
  EXPECT_EQ(r.out, QStringLiteral("PASS %1\nPASS %2\n2 passed, 0 failed\n").arg(given, late)) << r.err.toStdString();
  EXPECT_EQ(r.exitCode, 0);

  // Division by zero: the status says error, a wrong guess names the error.
  const QString division = Project("div.tvp", CellSection(1, "A", Block(65537, 124) + Block(65538, 700, "0") +
                                                                       Block(65539, 203, {}, {In(0, 65537), In(1, 65538)}) +
                                                                       Block(65540, 900, "2", {In(0, 65539)})));
  const QString error = Write("error.scenario", "run 100 steps\nexpect status error\n");
  const QString end = Write("end.scenario", "run 100 steps\nexpect status end\n");
  r = Run({"test", division, error, end});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, QStringLiteral("PASS %1\nFAIL %2:2: expect status end\n    erwartet: end\n    erhalten: error "
                                  "(Division durch Null!)\n1 passed, 1 failed\n")
                       .arg(error, end));

  // A port the program drives cannot be set.
  const QString output = Write("output.scenario", "run 20 steps\nset port 1 = 0\n");
  r = Run({"test", Example("traffic.tvp"), output});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.contains("Port 1 ist ein Ausgang des Programms und lässt sich nicht setzen")) << r.out.toStdString();
}

TEST_F(CliScenario, UnreadableInputExitsTwoBeforeAnythingRuns) {
  QString good = Example("counter.scenario");
  const QString bad = Write("bad.scenario", "run 10 steps\nset port 17 = 1\n");
  Result r = Run({"test", Example("counter.tvp"), good, bad});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.out.isEmpty());
  EXPECT_EQ(r.err, bad + ":2: Der Port muss eine Zahl von 1 bis 16 sein, nicht 17\n");

  const QString unknown = Write("unknown.scenario", "run 10 steps\n\nexpect value M7 = 1\n");
  r = Run({"test", Example("counter.tvp"), unknown});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_EQ(r.err, unknown + ":3: Die Variable M7 gibt es im Projekt nicht (vorblen-cli list zeigt die Variablen)\n");

  const QString unbounded = Write("unbounded.scenario", "run\n");
  r = Run({"test", Example("counter.tvp"), unbounded});
  EXPECT_EQ(r.exitCode, 2);
  EXPECT_TRUE(r.err.startsWith(unbounded + ":1: Ein run braucht eine Grenze")) << r.err.toStdString();

  EXPECT_EQ(Run({"test", Example("counter.tvp"), dir.filePath("missing.scenario")}).exitCode, 2);
  EXPECT_EQ(Run({"test", dir.filePath("missing.tvp"), good}).exitCode, 2);
  EXPECT_EQ(Run({"test", Example("counter.tvp")}).exitCode, 2);
  EXPECT_EQ(Run({"test", Example("counter.tvp"), good, "--junit"}).exitCode, 2);
  EXPECT_EQ(Run({"test", Example("counter.tvp"), good, "--junit", dir.filePath("no/such/dir/j.xml")}).exitCode, 2);

  // A program that does not compile fails every scenario.
  const QString broken = Project("broken.tvp", CellSection(1, "A", Block(65537, 1000, "Nirgends")));
  good = Write("plain.scenario", "run 10 steps\n");
  r = Run({"test", broken, good});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, QStringLiteral("FAIL %1: Das Projekt lässt sich nicht übersetzen.\n0 passed, 1 failed\n").arg(good));
  EXPECT_TRUE(r.err.contains("Nirgends"));
}

TEST_F(CliScenario, JUnitReportMatchesTheSchema) {
  const QString fail = Write("fail.scenario", "run 5 steps\nexpect output \"<&>\"\n");
  const QString xml = dir.filePath("report.xml");
  Result r = Run({"test", Example("logger.tvp"), Example("logger.scenario"), fail, "--junit", xml});
  EXPECT_EQ(r.exitCode, 1);

  QFile file(xml);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QXmlStreamReader reader(&file);
  QStringList seen;
  while (!reader.atEnd()) {
    if (!reader.readNext() || !reader.isStartElement()) continue;
    QString entry = reader.name().toString();
    for (const auto& a : reader.attributes()) entry += QStringLiteral(" %1=%2").arg(a.name(), a.value());
    if (reader.name() == QLatin1String("failure")) entry += QStringLiteral(" [%1]").arg(reader.readElementText());
    seen << entry;
  }
  EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
  EXPECT_EQ(seen, (QStringList{
                      "testsuites name=vorblen-cli test tests=2 failures=1 errors=0",
                      "testsuite name=logger tests=2 failures=1 errors=0 skipped=0",
                      "testcase classname=logger name=" + Example("logger.scenario"),
                      "testcase classname=logger name=" + fail,
                      "failure message=" + fail + ":2: expect output \"<&>\" type=expect [Die Ausgabe weicht ab Byte 0 ab\n"
                      "erwartet: \"<&>\"\nerhalten: \"Temperatur [0,1 °C]: -20\"...]",
                  }));

  const QString xmllint = QStandardPaths::findExecutable(QStringLiteral("xmllint"));
  if (xmllint.isEmpty()) GTEST_SKIP() << "xmllint is not installed; the structure was checked above";
  QProcess lint;
  lint.start(xmllint, {"--noout", "--schema", QStringLiteral(VORBLEN_JUNIT_XSD), xml});
  ASSERT_TRUE(lint.waitForFinished(30000));
  EXPECT_EQ(lint.exitCode(), 0) << lint.readAllStandardError().toStdString();
}

TEST_F(CliScenario, ListNamesCellsTablesAndVariables) {
  Result r = Run({"list", Example("logger.tvp")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_EQ(r.out,
            "Zellen:\n  1  \"Start\"  4 Blöcke\n  2  \"Messen\"  19 Blöcke\n  3  \"Ende\"  5 Blöcke\n"
            "Tabellen:\n  1  \"Kennlinie\"  intern\n"
            "Variablen:\n  \"WORD[2]\"  0x01010001  Block 65540 in Zelle 1\n"
            "  \"AD1\"  0x02030000  Block 131074 in Zelle 2\n  \"WORD[1]\"  0x01010000  Block 131076 in Zelle 2\n");
  r = Run({"list", Example("counter.tvp")});
  EXPECT_EQ(r.out, "Zellen:\n  1  \"Zählen\"  10 Blöcke\nTabellen:\n  (keine)\n"
                   "Variablen:\n  \"WORD[1]\"  0x01010000  Block 65538 in Zelle 1\n");
  r = Run({"list", Example("traffic.tvp")});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.contains("  4  \"Gelb\"  20 Blöcke\n"));
  EXPECT_TRUE(r.out.contains("  \"K1\"  0x03020006  Block 65545 in Zelle 1\n"));
  EXPECT_EQ(Run({"list", dir.filePath("missing.tvp")}).exitCode, 1);
  EXPECT_EQ(Run({"list", Example("counter.tvp"), "--wozu"}).exitCode, 1);
}

TEST_F(CliScenario, RendersCellsAsSvgPngAndPdf) {
  // Drawing the SVG back needs fonts, and with them an application.
  static int argc = 1;
  static char name[] = "cli_scenario_test";
  static char* argv[] = {name, nullptr};
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication* app = QGuiApplication::instance() ? nullptr : new QGuiApplication(argc, argv);
  (void)app;

  // One cell as PNG: the size of the cell picture, a white page, the black
  // title and the yellow constant block at the top left.
  Result r = Run({"render", Example("traffic.tvp"), "--cell", "Rot", "--scale", "1", "-o", dir.filePath("rot.png")});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  EXPECT_EQ(r.out, dir.filePath("rot.png") + "\n");
  QImage png(dir.filePath("rot.png"));
  ASSERT_EQ(png.size(), QSize(685, 355));
  // By default twice as many pixels, so the texts are readable.
  ASSERT_EQ(Run({"render", Example("traffic.tvp"), "--cell", "Rot", "-o", dir.filePath("rot2.png")}).exitCode, 0);
  EXPECT_EQ(QImage(dir.filePath("rot2.png")).size(), QSize(1370, 710));
  for (const char* scale : {"0", "5", "x"})
    EXPECT_EQ(Run({"render", Example("traffic.tvp"), "--scale", scale, "-o", dir.filePath("x.png")}).exitCode, 1) << scale;
  EXPECT_EQ(png.pixel(680, 5), qRgb(255, 255, 255));
  bool titleInk = false;
  for (int x = 0; x < 100 && !titleInk; ++x)
    for (int y = 0; y < 25 && !titleInk; ++y) titleInk = qGray(png.pixel(x, y)) < 64;
  EXPECT_TRUE(titleInk);
  EXPECT_EQ(png.pixel(30, 103), qRgb(255, 255, 0));

  // The same cell by id as SVG: a vector drawing that paints like the PNG.
  r = Run({"render", Example("traffic.tvp"), "--cell", "1", "-o", dir.filePath("rot.svg")});
  ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
  QSvgRenderer svg(dir.filePath("rot.svg"));
  ASSERT_TRUE(svg.isValid());
  EXPECT_EQ(svg.viewBox(), QRect(0, 0, 685, 355));
  QImage drawn(685, 355, QImage::Format_RGB32);
  drawn.fill(Qt::black);
  QPainter painter(&drawn);
  svg.render(&painter);
  painter.end();
  EXPECT_EQ(drawn.pixel(680, 5), qRgb(255, 255, 255));
  EXPECT_EQ(drawn.pixel(30, 103), qRgb(255, 255, 0));

  // Several cells: one file each, named after the cell.
  r = Run({"render", Example("logger.tvp"), "-o", dir.filePath("log.svg")});
  ASSERT_EQ(r.exitCode, 0);
  for (const char* cell : {"Start", "Messen", "Ende"})
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("log-%1.svg").arg(QLatin1String(cell))))) << cell;

  // PDF: one page per cell, each the size of its cell.
  r = Run({"render", Example("logger.tvp"), "-o", dir.filePath("log.pdf")});
  ASSERT_EQ(r.exitCode, 0);
  QFile pdf(dir.filePath("log.pdf"));
  ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
  const QByteArray bytes = pdf.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "), 3);
  r = Run({"render", Example("logger.tvp"), "--cell", "Ende", "-o", dir.filePath("ende.pdf")});
  QFile one(dir.filePath("ende.pdf"));
  ASSERT_TRUE(one.open(QIODevice::ReadOnly));
  const QByteArray oneBytes = one.readAll();
  EXPECT_EQ(oneBytes.count("/Type /Page\n") + oneBytes.count("/Type /Page\r") + oneBytes.count("/Type /Page "), 1);

  EXPECT_EQ(Run({"render", Example("logger.tvp"), "--cell", "Nirgends", "-o", dir.filePath("x.png")}).exitCode, 1);
  EXPECT_EQ(Run({"render", Example("logger.tvp"), "-o", dir.filePath("x.gif")}).exitCode, 1);
  EXPECT_EQ(Run({"render", Example("logger.tvp")}).exitCode, 1);
  EXPECT_EQ(Run({"render", Example("logger.tvp"), "-o", dir.filePath("no/such/dir/x.png")}).exitCode, 1);
  EXPECT_FALSE(QFile::exists(dir.filePath("x.png")));
}

}  // namespace
