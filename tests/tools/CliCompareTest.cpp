// vorblen-cli diff, textconv and render --compare as a user and git run
// them: exit codes, the report's forms, stable text, the compare picture.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QProcess>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <functional>

#include "SmallProjects.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

struct Result {
  int exitCode = -1;
  QByteArray out;
  QString err;
};

class CliCompare : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QGuiApplication::instance()) {
      static int argc = 1;
      static char name[] = "cli_compare_test";
      static char* argv[] = {name, nullptr};
      new QGuiApplication(argc, argv);
    }
    ASSERT_TRUE(dir.isValid());
  }
  Result Run(const QStringList& args) {
    QProcess p;
    p.setWorkingDirectory(dir.path());
    p.start(QStringLiteral(VORBLEN_CLI), args);
    EXPECT_TRUE(p.waitForFinished(60000));
    return {p.exitCode(), p.readAllStandardOutput(), QString::fromUtf8(p.readAllStandardError())};
  }
  QString Write(const small::Project& project, const QString& name) {
    const QString file = dir.filePath(name);
    EXPECT_TRUE(project.Write(file));
    return file;
  }
  static QString Example(const char* name) { return QStringLiteral(VORBLEN_EXAMPLES "/%1").arg(QLatin1String(name)); }
  QTemporaryDir dir;
};

struct DiffCase {
  const char* name;
  std::function<void(small::Project&)> change;
  int exitCode;
  const char* stat;
};

const DiffCase kDiffCases[] = {
    {"identical", [](small::Project&) {}, 0, "Keine Unterschiede."},
    {"renumbered", [](small::Project& p) {
       for (small::Block& b : p.cells[0].blocks) {
         b.number += 20;
         for (small::Wire& w : b.inputs) w.source += 20;
       }
     }, 0, "Keine Unterschiede."},
    {"one parameter", [](small::Project& p) { p.cells[0].Find(1)->param = "2"; }, 1,
     "Zellen: 1 geändert, 0 hinzugefügt, 0 entfernt; Blöcke: 0 hinzugefügt, 0 entfernt, 0 verschoben, 1 geändert; "
     "Verbindungen: 0 hinzugefügt, 0 entfernt; Tabellen: 0 hinzugefügt, 0 entfernt, 0 geändert; Kommentar gleich"},
    {"cell renamed, table and comment changed",
     [](small::Project& p) {
       p.cells[1].name = "Seite";
       p.tables[0].data.removeLast();
       p.comment.clear();
     },
     1,
     "Zellen: 1 geändert, 0 hinzugefügt, 0 entfernt; Blöcke: 0 hinzugefügt, 0 entfernt, 0 verschoben, 0 geändert; "
     "Verbindungen: 0 hinzugefügt, 0 entfernt; Tabellen: 0 hinzugefügt, 0 entfernt, 1 geändert; Kommentar geändert"},
};

TEST_F(CliCompare, DiffExitCodesAndSummary) {
  const QString before = Write(small::Base(), "old.tvp");
  for (const DiffCase& c : kDiffCases) {
    SCOPED_TRACE(c.name);
    small::Project after = small::Base();
    c.change(after);
    const QString file = Write(after, "new.tvp");
    const Result stat = Run({"diff", before, file, "--stat"});
    EXPECT_EQ(stat.exitCode, c.exitCode) << stat.err.toStdString();
    EXPECT_EQ(stat.out.toStdString(), std::string(c.stat) + "\n");
    const Result report = Run({"diff", before, file});
    EXPECT_EQ(report.exitCode, c.exitCode);
    const Result json = Run({"diff", before, file, "--format", "json"});
    EXPECT_EQ(json.exitCode, c.exitCode);
    EXPECT_EQ(QJsonDocument::fromJson(json.out).object()["equal"].toBool(), c.exitCode == 0) << json.out.toStdString();
  }
}

TEST_F(CliCompare, ReportNamesTypesAndTexts) {
  small::Project after = small::Base();
  after.cells[0].Find(1)->param = "7";
  const Result r = Run({"diff", Write(small::Base(), "a.tvp"), Write(after, "b.tvp")});
  EXPECT_EQ(r.exitCode, 1);
  // The catalogue names the type; old and new parameter are both given.
  EXPECT_EQ(QString::fromUtf8(r.out).toStdString(), "Zelle 1 \"Zählen\":\n  Block 1 Zahl geändert: \"1\" → \"7\"\n");
}

TEST_F(CliCompare, UnreadableFilesAndWrongCallsExitTwo) {
  const QString good = Write(small::Base(), "good.tvp");
  QFile bad(dir.filePath("bad.tvp"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write("no project at all\n");
  bad.close();
  const std::vector<QStringList> calls = {
      {"diff", good, dir.filePath("missing.tvp")},
      {"diff", dir.filePath("missing.tvp"), good},
      {"diff", good, bad.fileName()},
      {"diff", good, dir.path()},
      {"diff", good},
      {"diff", good, good, "--format", "xml"},
      {"textconv", bad.fileName()},
      {"textconv", good, "--bogus"},
  };
  for (const QStringList& call : calls) {
    SCOPED_TRACE(call.join(' ').toStdString());
    const Result r = Run(call);
    EXPECT_EQ(r.exitCode, 2);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_FALSE(r.err.isEmpty());
  }
}

// git diff compares the text of two saves: saving the same project again,
// or after a round through the model, must not change a line.
TEST_F(CliCompare, TextconvIsStableUnderSavingTwice) {
  TSilentUserInterface silent;
  TUserInterface::SetCurrent(&silent);
  for (const char* example : {"counter.tvp", "traffic.tvp", "logger.tvp"}) {
    SCOPED_TRACE(example);
    const Result original = Run({"textconv", Example(example)});
    ASSERT_EQ(original.exitCode, 0) << original.err.toStdString();
    QStringList texts;
    QString source = Example(example);
    for (int round = 0; round < 2; ++round) {
      TTarvixPlusModel model;
      ASSERT_TRUE(model.LoadFromFile(source));
      source = dir.filePath(QStringLiteral("save%1.tvp").arg(round));
      ASSERT_TRUE(model.SaveToFile(source));
      const Result r = Run({"textconv", source});
      ASSERT_EQ(r.exitCode, 0);
      EXPECT_EQ(r.out, original.out);
    }
    EXPECT_TRUE(original.out.contains("Zelle 1 \"")) << original.out.toStdString();
    EXPECT_FALSE(original.out.contains("@")) << "coordinates without --positions";
    EXPECT_TRUE(Run({"textconv", Example(example), "--positions"}).out.contains(" @"));
  }
  TUserInterface::SetCurrent(nullptr);
}

char Colour(QRgb p) {
  const int r = qRed(p), g = qGreen(p), b = qBlue(p);
  if (r > 240 && g > 240 && b > 240) return 'w';
  if (g > 120 && r < 80 && b < 80) return 'g';
  if (r > 180 && g < 60 && b < 60) return 'r';
  if (r > 200 && g > 120 && g < 210 && b < 80) return 'a';
  return '?';
}

// Added blocks framed green, removed ones red, moved ones amber; untouched
// blocks carry no mark, and an unchanged cell gives no picture.
TEST_F(CliCompare, ComparePictureMarksTheChanges) {
  small::Project after = small::Base();
  after.cells[0].blocks.push_back({7, 700, 300, 200, "9", {}});
  after.cells[0].Remove(4);
  after.cells[0].Find(5)->inputs.clear();
  after.cells[0].Find(3)->x = 300;
  const QString before = Write(small::Base(), "old.tvp");
  const QString file = Write(after, "new.tvp");
  constexpr int kTitle = 30;
  struct Probe {
    int x, y;
    char colour;
  };
  // Left frame edges lie 3 pixels left of the block; the title is above.
  const Probe probes[] = {{297, 200 + 5 + kTitle, 'g'}, {17, 100 + 5 + kTitle, 'r'}, {297, 20 + 5 + kTitle, 'a'},
                          {17, 20 + 5 + kTitle, 'w'}, {117, 20 + 5 + kTitle, 'w'}};
  for (const char* format : {"svg", "png"}) {
    SCOPED_TRACE(format);
    const QString out = dir.filePath(QStringLiteral("cmp.%1").arg(QLatin1String(format)));
    const Result r = Run({"render", "--compare", before, file, "-o", out});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed().toStdString(), out.toStdString()) << "only the changed cell";
    QImage image;
    if (QLatin1String(format) == QLatin1String("svg")) {
      QSvgRenderer svg(out);
      ASSERT_TRUE(svg.isValid());
      // The view box is in cell pixels; the default size goes through millimetres.
      image = QImage(svg.viewBox().size(), QImage::Format_RGB32);
      image.fill(Qt::white);
      QPainter painter(&image);
      svg.render(&painter);
    } else {
      ASSERT_TRUE(image.load(out));
    }
    for (const Probe& p : probes)
      EXPECT_EQ(Colour(image.pixel(p.x, p.y)), p.colour) << p.x << "," << p.y << " " << std::hex << image.pixel(p.x, p.y);
  }
  const Result same = Run({"render", "--compare", before, before, "-o", dir.filePath("same.svg")});
  EXPECT_EQ(same.exitCode, 0);
  EXPECT_FALSE(QFile::exists(dir.filePath("same.svg")));
}

}  // namespace
