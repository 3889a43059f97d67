// vorblen-cli check as CI runs it: the line format, the exit codes, and the
// JSON and SARIF 2.1.0 documents checked against their structure.
#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include "CellBodyText.h"

namespace {

struct Result {
  int exitCode = -1;
  QByteArray out;
  QString err;
};

class CliCheck : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }
  Result Run(const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(VORBLEN_CLI), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
  }
  static QString Example(const char* name) { return QStringLiteral(VORBLEN_EXAMPLES "/%1").arg(QLatin1String(name)); }
  QString Write(const char* name, const QStringList& lines) {
    const QString path = dir.filePath(QLatin1String(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(cellbody::BytesFromLines(lines));
    return path;
  }
  // One cell holding a constant that goes nowhere: a warning, no error.
  QString WarningOnly() {
    return Write("w.tvp", {"MARLIX Tarvix plus - project file", "Version=1.0", "1", "", "#CELL_START", "ID=1", "NAME=A", "",
                           "#BLOCK_START", "GraphBlock", "ID=65537", "10,10,70,30", "TYPE=700", "#DLLDATA_START", "5",
                           "#DLLDATA_END", "#BLOCK_END", "", "#CELL_END", ""});
  }
  QTemporaryDir dir;
};

QStringList Lines(const QByteArray& out) { return QString::fromUtf8(out).split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

TEST_F(CliCheck, OneLinePerFindingInTheDocumentedForm) {
  const QString project = Example("mistakes.tvp");
  const Result r = Run({"check", project});
  EXPECT_EQ(r.exitCode, 1) << "the division by zero is an error";
  const QStringList lines = Lines(r.out);
  const QRegularExpression form(QStringLiteral("^%1: (cell \"[^\"]*\"(, block \\d+)?: )?(Fehler|Warnung|Hinweis) [EWH]1\\d\\d: \\S.*$")
                                    .arg(QRegularExpression::escape(project)));
  for (const QString& line : lines) EXPECT_TRUE(form.match(line).hasMatch()) << line.toStdString();
  EXPECT_TRUE(lines.contains(project + QStringLiteral(": cell \"Start\", block 3: Warnung W103: WORD[2] wird gelesen, aber "
                                                      "nirgends geschrieben; der Wert ist immer 0.")))
      << r.out.toStdString();
  EXPECT_TRUE(lines.contains(project + QStringLiteral(": cell \"Nie\": Warnung W102: Keine Zelle springt hierher oder ruft "
                                                      "diese Zelle auf, und die Zelle davor läuft nicht hinein.")));
  EXPECT_TRUE(r.err.contains(QStringLiteral("1 Fehler, 6 Warnungen, 2 Hinweise"))) << r.err.toStdString();
}

TEST_F(CliCheck, ExitCodes) {
  struct Row {
    QStringList args;
    int exitCode;
  };
  std::vector<Row> rows = {
      {{"check", Example("counter.tvp")}, 0},
      {{"check", Example("traffic.tvp"), "--werror"}, 0},  // hints never fail
      {{"check", WarningOnly()}, 0},
      {{"check", WarningOnly(), "--werror"}, 1},
      {{"check", WarningOnly(), "--format", "json", "--werror"}, 1},
      {{"check", Example("mistakes-compile.tvp")}, 1},
      {{"check", dir.filePath("missing.tvp")}, 2},
      {{"check", Write("bad.tvp", {"kein Projekt"})}, 2},
      {{"check", Example("counter.tvp"), "--format", "xml"}, 2},
      {{"check", Example("counter.tvp"), "--strict"}, 2},
  };
  for (const Row& row : rows) {
    const Result r = Run(row.args);
    EXPECT_EQ(r.exitCode, row.exitCode) << row.args.join(' ').toStdString() << "\n" << r.err.toStdString();
  }
}

// The compiler stops at the first fault; the check names every one.
TEST_F(CliCheck, NamesEveryCompileFaultWhereTheCompilerNamesOne) {
  const Result compile = Run({"compile", Example("mistakes-compile.tvp")});
  EXPECT_EQ(compile.exitCode, 1);
  const Result r = Run({"check", Example("mistakes-compile.tvp")});
  QStringList codes;
  const QRegularExpression code(QStringLiteral("(Fehler|Warnung|Hinweis) ([EWH]1\\d\\d): "));
  for (const QString& line : Lines(r.out)) codes << code.match(line).captured(2);
  codes.sort();
  EXPECT_EQ(codes, QStringList({"E101", "E101", "E102", "E103", "E104", "E105"})) << r.out.toStdString();
}

TEST_F(CliCheck, JsonListsTheSameFindings) {
  const Result text = Run({"check", Example("mistakes.tvp")});
  const Result r = Run({"check", Example("mistakes.tvp"), "--format=json"});
  QJsonParseError error;
  const QJsonObject doc = QJsonDocument::fromJson(r.out, &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError) << r.out.toStdString();
  const QJsonArray findings = doc.value("findings").toArray();
  EXPECT_EQ(findings.size(), Lines(text.out).size());
  EXPECT_EQ(doc.value("errors").toInt(), 1);
  EXPECT_EQ(doc.value("warnings").toInt(), 6);
  EXPECT_EQ(doc.value("hints").toInt(), 2);
  for (const QJsonValue& v : findings) {
    const QJsonObject f = v.toObject();
    EXPECT_TRUE(QRegularExpression("^[EWH]1\\d\\d$").match(f.value("code").toString()).hasMatch());
    EXPECT_TRUE(QStringList({"Fehler", "Warnung", "Hinweis"}).contains(f.value("severity").toString()));
    EXPECT_FALSE(f.value("text").toString().isEmpty());
    EXPECT_GT(f.value("cell").toInt(), 0);
  }
}

// The parts of SARIF 2.1.0 that code-hosting sites read, checked against the
// structure the schema prescribes (no schema file is installed here).
TEST_F(CliCheck, SarifFollowsTheSchemaStructure) {
  const QString project = Example("mistakes.tvp");
  const Result r = Run({"check", project, "--format", "sarif"});
  EXPECT_EQ(r.exitCode, 1);
  QJsonParseError error;
  const QJsonObject log = QJsonDocument::fromJson(r.out, &error).object();
  ASSERT_EQ(error.error, QJsonParseError::NoError);
  EXPECT_EQ(log.value("version").toString(), "2.1.0");
  EXPECT_TRUE(log.value("$schema").toString().contains("sarif-2.1.0"));
  const QJsonArray runs = log.value("runs").toArray();
  ASSERT_EQ(runs.size(), 1);
  const QJsonObject driver = runs[0].toObject().value("tool").toObject().value("driver").toObject();
  EXPECT_EQ(driver.value("name").toString(), "vorblen-cli");
  const QJsonArray rules = driver.value("rules").toArray();
  QSet<QString> ids;
  for (const QJsonValue& v : rules) {
    const QJsonObject rule = v.toObject();
    EXPECT_FALSE(ids.contains(rule.value("id").toString()));
    ids.insert(rule.value("id").toString());
    EXPECT_FALSE(rule.value("shortDescription").toObject().value("text").toString().isEmpty());
    EXPECT_FALSE(rule.value("fullDescription").toObject().value("text").toString().isEmpty());
  }
  QFile file(project);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList fileLines = cellbody::LinesFromBytes(file.readAll());
  const QJsonArray results = runs[0].toObject().value("results").toArray();
  EXPECT_EQ(results.size(), 9);
  for (const QJsonValue& v : results) {
    const QJsonObject result = v.toObject();
    const QString ruleId = result.value("ruleId").toString();
    ASSERT_TRUE(ids.contains(ruleId)) << ruleId.toStdString();
    const int index = result.value("ruleIndex").toInt(-1);
    ASSERT_GE(index, 0);
    EXPECT_EQ(rules[index].toObject().value("id").toString(), ruleId);
    EXPECT_TRUE(QStringList({"error", "warning", "note"}).contains(result.value("level").toString()));
    EXPECT_FALSE(result.value("message").toObject().value("text").toString().isEmpty());
    const QJsonObject physical =
        result.value("locations").toArray().at(0).toObject().value("physicalLocation").toObject();
    EXPECT_EQ(physical.value("artifactLocation").toObject().value("uri").toString(), project);
    // The region is the record of the block (or cell) in the project file.
    const int line = physical.value("region").toObject().value("startLine").toInt();
    ASSERT_GE(line, 1);
    ASSERT_LE(line, fileLines.size());
    EXPECT_TRUE(fileLines[line - 1].startsWith("ID=")) << fileLines[line - 1].toStdString();
  }
}

}  // namespace
