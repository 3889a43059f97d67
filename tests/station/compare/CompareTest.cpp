// The comparison of two project versions, one case per kind of change on a
// small project, read through the project file as a user's versions are.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <functional>

#include "DiffReport.h"
#include "ProjectCompare.h"
#include "SmallProjects.h"
#include "ProjectText.h"
#include "RecordingUserInterface.h"
#include "TTarvixPlusModel.h"

namespace {

void EnsureApp() {
  if (QGuiApplication::instance()) return;
  static int argc = 1;
  static char name[] = "compare_test";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);
}

class Compare : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    ASSERT_TRUE(dir.isValid());
  }
  TProjectSnapshot Load(const small::Project& project, const QString& name) {
    const QString file = dir.filePath(name);
    EXPECT_TRUE(project.Write(file));
    TTarvixPlusModel model;
    EXPECT_TRUE(model.LoadFromFile(file));
    EXPECT_TRUE(model.LoadLosses().isEmpty()) << model.LoadLosses().join('\n').toStdString();
    return TProjectSnapshot::Of(model);
  }
  TProjectDiff Diff(const small::Project& before, const small::Project& after) {
    return CompareProjects(Load(before, "old.tvp"), Load(after, "new.tvp"));
  }
  RecordingUserInterface ui;
  QTemporaryDir dir;
};

// Gives every block of cell 1 the number 10 + its old number, wires with them.
void Renumber(small::Cell& cell) {
  for (small::Block& b : cell.blocks) {
    b.number += 10;
    for (small::Wire& w : b.inputs) w.source += 10;
  }
}

struct Case {
  const char* name;
  std::function<void(small::Project&)> change;
  const char* report;
};

const Case kCases[] = {
    {"identical", [](small::Project&) {}, "Keine Unterschiede.\n"},
    {"block added", [](small::Project& p) { p.cells[0].blocks.push_back({7, 700, 300, 100, "9", {}}); },
     "Zelle 1 \"Zählen\":\n  Block 7 Typ 700 hinzugefügt: \"9\" (300,100)\n"},
    {"block added with an input", [](small::Project& p) { p.cells[0].blocks.push_back({8, 900, 300, 300, "3", {{0, 1}}}); },
     "Zelle 1 \"Zählen\":\n  Block 8 Typ 900 hinzugefügt: \"3\" (300,300)\n"
     "  Verbindung hinzugefügt: Block 1 → Block 8, Eingang 1\n"},
    {"block removed with its inputs",
     [](small::Project& p) {
       p.cells[0].Remove(2);
       p.cells[0].Find(3)->inputs.clear();
     },
     "Zelle 1 \"Zählen\":\n  Block 2 Typ 200 entfernt: (120,20)\n"
     "  Verbindung entfernt: Block 2 → Block 3, Eingang 1\n"
     "  Verbindung entfernt: Block 3 → Block 2, Eingang 1\n"
     "  Verbindung entfernt: Block 1 → Block 2, Eingang 2\n"},
    {"block removed with its wire",
     [](small::Project& p) {
       p.cells[0].Remove(4);
       p.cells[0].Find(5)->inputs.clear();
     },
     "Zelle 1 \"Zählen\":\n  Block 4 Typ 702 entfernt: \"Stand: \" (20,100)\n"
     "  Verbindung entfernt: Block 4 → Block 5, Eingang 1\n"},
    {"block moved", [](small::Project& p) { p.cells[0].Find(3)->x = 260; },
     "Zelle 1 \"Zählen\":\n  Block 3 Typ 602 verschoben: (220,20) → (260,20)\n"},
    {"parameter changed", [](small::Project& p) { p.cells[0].Find(1)->param = "2"; },
     "Zelle 1 \"Zählen\":\n  Block 1 Typ 700 geändert: \"1\" → \"2\"\n"},
    {"parameter changed and moved",
     [](small::Project& p) {
       p.cells[0].Find(5)->param = "2";
       p.cells[0].Find(5)->y = 140;
     },
     "Zelle 1 \"Zählen\":\n  Block 5 Typ 900 geändert: \"1\" → \"2\", verschoben (120,100) → (120,140)\n"},
    {"type changed in place",
     [](small::Project& p) {
       p.cells[0].Find(1)->type = 702;
       p.cells[0].Find(2)->inputs.pop_back();
     },
     "Zelle 1 \"Zählen\":\n  Block 1 Typ 702 geändert: Typ Typ 700 → Typ 702\n"
     "  Verbindung entfernt: Block 1 → Block 2, Eingang 2\n"},
    {"comment block changed", [](small::Project& p) { p.cells[0].Find(6)->param = "Achtung"; },
     "Zelle 1 \"Zählen\":\n  Block 6 Kommentar geändert: \"Hinweis\" → \"Achtung\"\n"},
    {"wire removed", [](small::Project& p) { p.cells[0].Find(2)->inputs.pop_back(); },
     "Zelle 1 \"Zählen\":\n  Verbindung entfernt: Block 1 → Block 2, Eingang 2\n"},
    {"wire from another source", [](small::Project& p) { p.cells[0].Find(3)->inputs = {{0, 1}}; },
     "Zelle 1 \"Zählen\":\n  Verbindung entfernt: Block 2 → Block 3, Eingang 1\n"
     "  Verbindung hinzugefügt: Block 1 → Block 3, Eingang 1\n"},
    {"number reused by a new block elsewhere",
     [](small::Project& p) {
       p.cells[0].Remove(4);
       p.cells[0].Find(5)->inputs.clear();
       p.cells[0].blocks.push_back({4, 700, 400, 300, "3", {}});
     },
     "Zelle 1 \"Zählen\":\n  Block 4 Typ 700 hinzugefügt: \"3\" (400,300)\n"
     "  Block 4 Typ 702 entfernt: \"Stand: \" (20,100)\n"
     "  Verbindung entfernt: Block 4 → Block 5, Eingang 1\n"},
    {"renumbered ids", [](small::Project& p) { Renumber(p.cells[0]); }, "Keine Unterschiede.\n"},
    {"renumbered ids in reverse order",
     [](small::Project& p) {
       for (small::Block& b : p.cells[0].blocks) {
         b.number = 7 - b.number;
         for (small::Wire& w : b.inputs) w.source = 7 - w.source;
       }
     },
     "Keine Unterschiede.\n"},
    {"renumbered, one moved and one changed",
     [](small::Project& p) {
       p.cells[0].Find(3)->y = 60;
       p.cells[0].Find(4)->param = "Neu: ";
       Renumber(p.cells[0]);
     },
     "Zelle 1 \"Zählen\":\n  Block 13 Typ 602 verschoben: (220,20) → (220,60)\n"
     "  Block 14 Typ 702 geändert: \"Stand: \" → \"Neu: \"\n"},
    {"cell renamed and changed at once",
     [](small::Project& p) {
       p.cells[0].name = "Zähler";
       p.cells[0].Find(1)->param = "3";
     },
     "Zelle 1 \"Zähler\":\n  umbenannt, vorher \"Zählen\"\n  Block 1 Typ 700 geändert: \"1\" → \"3\"\n"},
    {"cell added", [](small::Project& p) { p.cells.push_back({3, "Dritte", {{1, 700, 20, 20, "1", {}}}}); },
     "Zelle 3 \"Dritte\" hinzugefügt (1 Block)\n"},
    {"cell removed", [](small::Project& p) { p.cells.erase(p.cells.begin() + 1); }, "Zelle 2 \"Neben\" entfernt (1 Block)\n"},
    {"cell renumbered keeps its name", [](small::Project& p) { p.cells[1].id = 5; }, "Keine Unterschiede.\n"},
    {"table changed", [](small::Project& p) { p.tables[0].data[1] = "4 5 7"; },
     "Tabelle 1 \"Kennlinie\" geändert:\n  - Zeile 2: 4 5 6\n  + Zeile 2: 4 5 7\n"},
    {"table added", [](small::Project& p) { p.tables.push_back({"Zweite", {"1", "2"}}); },
     "Tabelle 2 \"Zweite\" hinzugefügt (intern, 2 Zeilen)\n"},
    {"table removed", [](small::Project& p) { p.tables.clear(); },
     "Tabelle 1 \"Kennlinie\" entfernt (intern, 3 Zeilen)\n"},
    {"comment changed", [](small::Project& p) { p.comment.insert(1, "Neu eingefügt."); },
     "Kommentar geändert:\n  + Zeile 2: Neu eingefügt.\n"},
};

TEST_F(Compare, ReportsEachKindOfChange) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    small::Project after = small::Base();
    c.change(after);
    const TProjectDiff diff = Diff(small::Base(), after);
    EXPECT_EQ(DiffReportText(diff).toStdString(), c.report);
    EXPECT_EQ(diff.Empty(), QByteArray(c.report) == "Keine Unterschiede.\n");
  }
  EXPECT_TRUE(ui.Texts("ErrorBox").isEmpty()) << ui.Texts("ErrorBox").join('\n').toStdString();
}

// Swapping the versions swaps added and removed, so neither side is favoured.
TEST_F(Compare, SwappedVersionsGiveTheInverseDifference) {
  small::Project after = small::Base();
  after.cells[0].Remove(4);
  after.cells[0].Find(5)->inputs.clear();
  after.cells[0].blocks.push_back({9, 700, 300, 300, "4", {}});
  const TProjectDiff forward = Diff(small::Base(), after);
  const TProjectDiff backward = Diff(after, small::Base());
  ASSERT_EQ(forward.cells.size(), 1u);
  ASSERT_EQ(backward.cells.size(), 1u);
  auto count = [](const TCellDiff& c, TChange change) {
    return std::count_if(c.blocks.begin(), c.blocks.end(), [change](const TBlockDiff& b) { return b.change == change; }) +
           std::count_if(c.wires.begin(), c.wires.end(), [change](const TWireDiff& w) { return w.change == change; });
  };
  EXPECT_EQ(count(forward.cells[0], TChange::kAdded), count(backward.cells[0], TChange::kRemoved));
  EXPECT_EQ(count(forward.cells[0], TChange::kRemoved), count(backward.cells[0], TChange::kAdded));
  EXPECT_EQ(count(forward.cells[0], TChange::kAdded), 1);
  EXPECT_EQ(count(forward.cells[0], TChange::kRemoved), 2);
}

TEST_F(Compare, JsonAndSummaryCountTheSameChanges) {
  small::Project after = small::Base();
  after.cells[0].Find(1)->param = "2";
  after.cells[0].Find(3)->x = 300;
  after.cells[0].Find(2)->inputs.pop_back();
  after.cells.push_back({3, "Dritte", {}});
  const TProjectDiff diff = Diff(small::Base(), after);
  EXPECT_EQ(DiffStatLine(diff).toStdString(),
            "Zellen: 1 geändert, 1 hinzugefügt, 0 entfernt; Blöcke: 0 hinzugefügt, 0 entfernt, 1 verschoben, 1 geändert; "
            "Verbindungen: 0 hinzugefügt, 1 entfernt; Tabellen: 0 hinzugefügt, 0 entfernt, 0 geändert; Kommentar gleich");
  QJsonParseError error{};
  const QJsonDocument doc = QJsonDocument::fromJson(DiffJson(diff), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError);
  const QJsonObject root = doc.object();
  EXPECT_FALSE(root["equal"].toBool());
  const QJsonObject cell = root["cells"].toArray()[0].toObject();
  EXPECT_EQ(cell["change"].toString(), "changed");
  EXPECT_EQ(cell["newName"].toString(), "Zählen");
  const QJsonArray blocks = cell["blocks"].toArray();
  ASSERT_EQ(blocks.size(), 2);
  EXPECT_EQ(blocks[0].toObject()["oldText"].toString(), "1");
  EXPECT_EQ(blocks[0].toObject()["newText"].toString(), "2");
  EXPECT_EQ(blocks[1].toObject()["change"].toString(), "moved");
  EXPECT_EQ(blocks[1].toObject()["newBounds"].toArray()[0].toInt(), 300);
  EXPECT_EQ(cell["wires"].toArray()[0].toObject()["input"].toInt(), 2);
  EXPECT_EQ(root["cells"].toArray()[1].toObject()["change"].toString(), "added");
}

// A multi-line parameter and quotes stay on one line of a report.
TEST_F(Compare, TextsStayOnOneLine) {
  EXPECT_EQ(QuoteText("a\r\nb\"c\\").toStdString(), "\"a\\nb\\\"c\\\\\"");
  EXPECT_EQ(QuoteText(QString("x\ty")).toStdString(), "\"x\\x09y\"");
}

TEST_F(Compare, TextFormIgnoresPlacesUnlessAsked) {
  small::Project moved = small::Base();
  moved.cells[0].Find(3)->x = 400;
  const TProjectSnapshot a = Load(small::Base(), "a.tvp");
  const TProjectSnapshot b = Load(moved, "b.tvp");
  EXPECT_EQ(ProjectText(a, false), ProjectText(b, false));
  EXPECT_NE(ProjectText(a, true), ProjectText(b, true));
  const QString text = ProjectText(a, false);
  EXPECT_TRUE(text.contains("Zelle 1 \"Zählen\":\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("     2 Typ 200 (200) ← 1←3, 2←1\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("     5 Typ 900 (900) \"1\" ← 1←4/2\n")) << text.toStdString();
  EXPECT_TRUE(text.contains("Tabelle 1 \"Kennlinie\" (intern):\n  1 2 3\n")) << text.toStdString();
}

}  // namespace
