#include <random>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <sys/mount.h>

#include "CellBodyText.h"
#include "CellEditorSettings.h"
#include "ModelTestSupport.h"
#include "ProjectBuilder.h"
#include "RegularFile.h"

namespace {

using mt::EnsureApp;
using mt::ReadFile;
using mt::WriteFile;

class ProjectFile : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    ASSERT_TRUE(dir.isValid());
    old = QDir::currentPath();
    QDir::setCurrent(dir.path());
  }
  void TearDown() override { QDir::setCurrent(old); }
  QString Path(const QString& name) const { return dir.filePath(name); }
  // Loads text given as lines (CR LF added) into a fresh model.
  bool Load(TTarvixPlusModel& m, const QStringList& lines) {
    WriteFile(Path("p.tvp"), cellbody::BytesFromLines(lines));
    return m.Open(Path("p.tvp"));
  }
  QTemporaryDir dir;
  QString old;
  RecordingUserInterface ui;
};

const QStringList kHeader = {"MARLIX Tarvix plus - project file", "Version=1.0", "3", ""};

TEST_F(ProjectFile, RoundTripIsByteForByte) {
  WriteFile(Path("Kurve.tab"), "1 2 3\r\n");
  QByteArray first;
  {
    TTarvixPlusModel m;
    m.InitNew();
    int32_t cell = mt::AddCounterCell(m);
    m.RenameCell(cell, QStringLiteral("Zähler"));
    m.InsertTextBlock(cell, TRect{0, 300, 500, 500});
    m.NewTable(true);
    m.SetTableData(*m.FindTable(1), {"10 20", "30"});
    ui.replies.push_back(mt::WithText(Path("Kurve.tab")));
    ASSERT_TRUE(m.NewTable(false));
    m.NewCell(-1);
    ASSERT_TRUE(m.SaveToFile(Path("a.tvp")));
    first = ReadFile(Path("a.tvp"));
  }
  const QStringList lines = cellbody::LinesFromBytes(first);
  ASSERT_GT(lines.size(), 10);
  EXPECT_EQ(lines.mid(0, 4), (QStringList{"MARLIX Tarvix plus - project file", "Version=1.0", "3", ""}));
  EXPECT_EQ(lines.mid(4, 4), (QStringList{"#COMMENT_START", "Beschreiben Sie hier den Zweck",
                                          "und die Besonderheiten Ihres Programms...", "#COMMENT_END"}));
  EXPECT_TRUE(first.endsWith("#CELL_END\r\n\r\n"));
  EXPECT_TRUE(first.contains("NAME=Z\xE4hler\r\n"));  // Windows-1252 on disk
  EXPECT_TRUE(first.contains("Extern=Kurve.tab\r\n"));

  TTarvixPlusModel m;
  ASSERT_TRUE(m.Open(Path("a.tvp")));
  EXPECT_EQ(ui.Count("ErrorBox"), 0) << ui.Texts("ErrorBox").join("\n").toStdString();
  EXPECT_EQ(m.Cells().size(), 2u);
  EXPECT_EQ(m.Tables().size(), 2u);
  EXPECT_EQ(m.NextTableNumber(), 3);
  EXPECT_EQ(m.Cells()[0]->Name(), QStringLiteral("Zähler"));
  mt::ExpectEngineMatches(m);
  ASSERT_TRUE(m.SaveToFile(Path("b.tvp")));
  EXPECT_EQ(ReadFile(Path("b.tvp")), first);
}

TEST_F(ProjectFile, EmptyProjectsAndCells) {
  {
    TTarvixPlusModel m;
    ASSERT_TRUE(m.SaveToFile(Path("e.tvp")));
  }
  EXPECT_EQ(ReadFile(Path("e.tvp")), QByteArray("MARLIX Tarvix plus - project file\r\nVersion=1.0\r\n1\r\n\r\n"));
  TTarvixPlusModel m;
  ASSERT_TRUE(m.Open(Path("e.tvp")));
  EXPECT_TRUE(m.Cells().empty());
  EXPECT_TRUE(m.Comment().isEmpty());

  TTarvixPlusModel n;
  ASSERT_TRUE(Load(n, kHeader + QStringList{"#CELL_START", "ID=7", "NAME=Leer", "", "#CELL_END", ""}));
  ASSERT_EQ(n.Cells().size(), 1u);
  EXPECT_EQ(n.Cells()[0]->CellId(), 7);
  EXPECT_EQ(n.Cells()[0]->Name(), QStringLiteral("Leer"));
  EXPECT_EQ(n.Cells()[0]->Count(), 0);
  EXPECT_FALSE(n.SaveToFile(QString()));
}

TEST_F(ProjectFile, HeaderAndVersionRules) {
  {
    TTarvixPlusModel m;
    EXPECT_FALSE(Load(m, {"MARLIX Tarvix plus - project", "Version=1.0"}));
    EXPECT_EQ(ui.Texts("ErrorBox").last(), Path("p.tvp") + " ist keine gültige Projektdatei!");
    EXPECT_TRUE(m.FileName().isEmpty());
  }
  for (const char* version : {"Version=1.1", "Version=2.0", "Version=1", "Version=x.0", "Version=1.0.0"}) {
    TTarvixPlusModel m;
    EXPECT_FALSE(Load(m, {"MARLIX Tarvix plus - project file", version})) << version;
    EXPECT_EQ(ui.Texts("ErrorBox").last(), Path("p.tvp") + " hat eine falsche Versionsnummer!");
    EXPECT_EQ(m.FileName(), Path("p.tvp"));
  }
  for (const char* version : {"Version=1.0", "Irgendwas=1.0", "1.0", "V=1.00"}) {
    TTarvixPlusModel m;
    EXPECT_TRUE(Load(m, {"MARLIX Tarvix plus - project file", version, "5", ""})) << version;
    EXPECT_EQ(m.NextTableNumber(), 5);
  }
}

TEST_F(ProjectFile, CommentRules) {
  TTarvixPlusModel m;
  // No table counter: the third line starts the comment.
  ASSERT_TRUE(Load(m, {"MARLIX Tarvix plus - project file", "Version=1.0", "#COMMENT_START", "eins", "",
                       "zwei #COMMENT_END drei", "#CELL_START", "ID=2", "NAME=B", "#CELL_END", ""}));
  EXPECT_EQ(m.NextTableNumber(), 1);
  EXPECT_EQ(m.Comment(), (QStringList{"eins", ""}));
  ASSERT_EQ(m.Cells().size(), 1u);
  EXPECT_EQ(m.Cells()[0]->Name(), QStringLiteral("B"));
}

TEST_F(ProjectFile, SectionErrorsKeepWhatWasRead) {
  {
    TTarvixPlusModel m;
    EXPECT_FALSE(Load(m, kHeader + QStringList{"#TABLE_START", "Name=T", "1", "#TABLE_END", "Unsinn", "", ""}));
    EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("Falscher Zellenbeginn in %1:\rUnsinn").arg(Path("p.tvp")));
    EXPECT_EQ(m.Tables().size(), 1u);
  }
  for (const char* id : {"ID=", "XD=1", "ID=abc", "ID=1x"}) {
    TTarvixPlusModel m;
    EXPECT_FALSE(Load(m, kHeader + QStringList{"#CELL_START", id, "NAME=A", "#CELL_END", ""})) << id;
    EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("Falsche Zellen-ID in %1!").arg(Path("p.tvp")));
  }
  // A non-empty last line is ignored, whatever it holds.
  TTarvixPlusModel m;
  EXPECT_TRUE(Load(m, kHeader + QStringList{"#CELL_START", "ID=1", "NAME=A", "#CELL_END", "Unsinn"}));
  EXPECT_EQ(m.Cells().size(), 1u);
  TTarvixPlusModel n;
  EXPECT_TRUE(Load(n, kHeader + QStringList{"#CELL_START"}));
  EXPECT_TRUE(n.Cells().empty());
}

// A file cut inside a section (a full disk, a broken copy) reads what is
// there, and says that the rest is lost: a station must not save it over
// the file as if it were whole.
TEST_F(ProjectFile, SectionsWithoutTheirEndAreLostContent) {
  const QStringList cell = {"#CELL_START", "ID=1", "NAME=A", "", "#BLOCK_START", "GraphBlock", "ID=65537", "10,10,70,30",
                            "TYPE=112", "#BLOCK_END", ""};
  struct Row {
    QStringList lines;
    const char* detail;  // empty: nothing is lost
    size_t cells;
  } rows[] = {
      {kHeader + cell, "Die Programmzelle 1 endet ohne #CELL_END.", 1},
      {kHeader + QStringList{"#CELL_START", "ID=2"}, "Die Programmzelle 2 endet ohne #CELL_END.", 0},
      {kHeader + QStringList{"#TABLE_START", "Name=T", "1", "2"}, "Die Tabelle 1 endet ohne #TABLE_END.", 0},
      {kHeader + QStringList{"#COMMENT_START", "eins", "zwei"}, "Der Kommentar endet ohne #COMMENT_END.", 0},
      {kHeader + cell + QStringList{"#CELL_END", ""}, "", 1},
  };
  for (const Row& row : rows) {
    TTarvixPlusModel m;
    ui.Clear();
    EXPECT_TRUE(Load(m, row.lines)) << row.detail;
    EXPECT_EQ(m.Cells().size(), row.cells) << row.detail;
    if (*row.detail) {
      EXPECT_EQ(m.LoadLosses(), QStringList{QStringLiteral("Unvollständige Projektdatei %1:\r%2").arg(Path("p.tvp"), QString::fromUtf8(row.detail))});
      EXPECT_EQ(ui.Texts("ErrorBox"), m.LoadLosses());
    } else {
      EXPECT_TRUE(m.LoadLosses().isEmpty());
    }
  }
}

// Beyond the line cap the file is refused with its name, before anything is read.
TEST_F(ProjectFile, TooManyLinesAreRefused) {
  WriteFile(Path("p.tvp"), "MARLIX Tarvix plus - project file\r\nVersion=1.0\r\n" + QByteArray(regularfile::kMaxProjectLines, '\n'));
  TTarvixPlusModel m;
  EXPECT_FALSE(m.Open(Path("p.tvp")));
  ASSERT_FALSE(ui.Texts("ErrorBox").isEmpty());
  EXPECT_TRUE(ui.Texts("ErrorBox").last().contains(Path("p.tvp")));
  EXPECT_TRUE(ui.Texts("ErrorBox").last().contains(QStringLiteral("höchstens %1").arg(regularfile::kMaxProjectLines)));
}

// Damaged cells: each message names its cell; those that lost content are
// listed as load losses, the others (a renumbered cell, a header without a
// name and nothing after it) are not.
TEST_F(ProjectFile, DamagedCellsAreReportedWithTheirCell) {
  const QStringList constant = {"#BLOCK_START", "GraphBlock", "ID=65537", "10,10,70,30", "TYPE=700", "#BLOCK_END", ""};
  auto withLine = [&](int at, const QString& line) {
    QStringList l = constant;
    l[at] = line;
    return l;
  };
  struct Case {
    QStringList cell;  // from the id line on
    QString message;   // empty: none
    bool lost;
  };
  const Case cases[] = {
      {{"ID=4", "NOTNAME=x"}, {}, false},
      {QStringList{"ID=1", "NOTNAME=x", ""} + constant, "Fehler beim Lesen der Programmzelle 1!", true},
      {QStringList{"ID=5", "NAME=F\u00fcnf", "", "#BLOCK_START", "Unbekannt", "#BLOCK_END"},
       "Fehler beim Lesen der Programmzelle 5!\rUnbekannter Blocktyp Unbekannt!", true},
      {QStringList{"ID=1", "NAME=A", ""} + withLine(2, "ID=abc"),
       "Fehler beim Lesen der Programmzelle 1!\rUngültige Block-ID: ID=abc!", true},
      {QStringList{"ID=1", "NAME=A", ""} + constant.mid(0, 4) + QStringList{"IN00=x"} + constant.mid(4),
       "Fehler beim Lesen der Programmzelle 1!\rUngültiger Verbindungseintrag in Zeile 7:\rIN00=x", true},
      {QStringList{"ID=1", "NAME=A", ""} + constant.mid(0, 2), "Fehler beim Lesen der Programmzelle 1!\rUnvollständiger Blockeintrag am Ende des Textes!", true},
      {QStringList{"ID=65537", "NAME=A", ""} + constant,
       "Die Programmzelle 65537 kommt mehrfach vor oder hat eine ungültige Nummer; sie erhält die Nummer 1.", false},
      {QStringList{"ID=-3", "NAME=A", ""} + constant,
       "Die Programmzelle -3 kommt mehrfach vor oder hat eine ungültige Nummer; sie erhält die Nummer 1.", false},
      {QStringList{"ID=1", "NAME=A", ""} + withLine(4, "TYPE=7000"),
       "Fehler beim Lesen der Programmzelle 1!\rBlock 65537 hat den unbekannten Blocktyp 7000.", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cell.join(" | ").toStdString());
    ui.Clear();
    TTarvixPlusModel m;
    ASSERT_TRUE(Load(m, kHeader + QStringList{"#CELL_START"} + c.cell + QStringList{"#CELL_END", ""}));
    EXPECT_EQ(ui.Texts("ErrorBox").join("\n").toStdString(), c.message.toStdString());
    EXPECT_EQ(m.LoadLosses().join("\n").toStdString(), c.lost ? c.message.toStdString() : std::string());
    ASSERT_EQ(m.Cells().size(), 1u);
    EXPECT_GE(m.Cells()[0]->CellId(), 1);
    EXPECT_LE(m.Cells()[0]->CellId(), 0xFFFE);
  }

  // A block of an unknown type stays in its cell and in the saved file, is
  // missing from the engine, and keeps the project from compiling.
  TTarvixPlusModel m;
  ASSERT_TRUE(Load(m, kHeader + QStringList{"#CELL_START", "ID=1", "NAME=A", ""} + withLine(4, "TYPE=262") +
                          QStringList{"#CELL_END", ""}));
  ASSERT_EQ(m.Cells()[0]->Count(), 1);
  EXPECT_EQ(m.FindBlockOutsideEngine(), 65537);
  EXPECT_FALSE(mt::EngineHasBlock(m.Engine(), 65537));
  ui.Clear();
  EXPECT_FALSE(m.LoadTableData());
  EXPECT_EQ(ui.Texts("ErrorBox").join("\n").toStdString(),
            "Block 65537 in Zelle 1 hat den unbekannten Blocktyp 262 und fehlt im Programm; "
            "das Projekt kann so nicht übersetzt werden!");
  EXPECT_EQ(m.ErrorBlockId(), 65537);
  ASSERT_TRUE(m.SaveToFile(Path("again.tvp")));
  EXPECT_TRUE(ReadFile(Path("again.tvp")).contains("\r\nTYPE=262\r\n"));

  // A NUL byte cuts its line, and says where.
  QByteArray bytes = cellbody::BytesFromLines(kHeader + QStringList{"#CELL_START", "ID=1", "NAME=A", ""} + constant.mid(0, 5) +
                                              QStringList{"#DLLDATA_START", "12", "#DLLDATA_END"} + constant.mid(5) +
                                              QStringList{"#CELL_END", ""});
  bytes.replace("\r\n12\r\n", QByteArray("\r\n1\0" "2\r\n", 7));
  WriteFile(Path("nul.tvp"), bytes);
  TTarvixPlusModel n;
  ui.Clear();
  ASSERT_TRUE(n.Open(Path("nul.tvp")));
  EXPECT_EQ(n.LoadLosses().join("\n").toStdString(),
            QStringLiteral("Die Projektdatei %1 enthält in Zeile 15 ein NUL-Zeichen; der Rest der Zeile geht verloren!")
                .arg(Path("nul.tvp"))
                .toStdString());
  ASSERT_EQ(n.Cells()[0]->Count(), 1);
  EXPECT_EQ(static_cast<const TGraphBlock*>(n.Cells()[0]->Items(0))->ParamText(), QStringLiteral("1"));
}

TEST_F(ProjectFile, DuplicateCellIdsGetAFreeId) {
  QStringList body = {"#BLOCK_START", "GraphBlock", "ID=196609", "10,10,70,30", "TYPE=700", "#DLLDATA_START", "5",
                      "#DLLDATA_END", "#BLOCK_END", "",
                      "#BLOCK_START", "GraphBlock", "ID=196610", "100,10,160,30", "IN00=196609,1:70,20,100,20",
                      "TYPE=900", "#BLOCK_END", ""};
  TTarvixPlusModel m;
  ASSERT_TRUE(Load(m, kHeader + QStringList{"#CELL_START", "ID=3", "NAME=A", ""} + body + QStringList{"#CELL_END", ""} +
                          QStringList{"#CELL_START", "ID=3", "NAME=B", ""} + body + QStringList{"#CELL_END", ""}));
  ASSERT_EQ(m.Cells().size(), 2u);
  EXPECT_EQ(m.Cells()[0]->CellId(), 3);
  EXPECT_EQ(m.Cells()[1]->CellId(), 1);
  EXPECT_EQ(m.Cells()[1]->Items(1)->Id(), 0x00010002);
  EXPECT_EQ(m.Cells()[1]->Items(1)->GetInput(0)->source, 0x00010001);
  EXPECT_EQ(ui.Count("ErrorBox"), 1);
  mt::ExpectEngineMatches(m);
  ASSERT_EQ(PlexorCompilerInit(m.Engine()), 1);
  EXPECT_EQ(PlexorCompile(m.Engine()), 0);
}

TEST_F(ProjectFile, MissingFileOpensEmptyUnderItsName) {
  TTarvixPlusModel m;
  EXPECT_TRUE(m.Open(Path("neu.tvp")));
  EXPECT_EQ(m.FileName(), Path("neu.tvp"));
  EXPECT_TRUE(m.Comment().isEmpty());
  EXPECT_EQ(m.DisplayName(), QStringLiteral("neu"));
  m.SetFileName(Path("Projekt.TVP"));
  EXPECT_EQ(m.DisplayName(), QStringLiteral("Projekt"));
  m.SetFileName("C:\\Daten\\x.txt");
  EXPECT_EQ(m.DisplayName(), QStringLiteral("x.txt"));
  m.SetFileName(QString());
  EXPECT_EQ(m.DisplayName(), QStringLiteral("Unbenannte Programmdatei"));
}

TEST_F(ProjectFile, ExternalTablesAreFoundAgain) {
  QDir(dir.path()).mkpath("Tables");
  QDir(dir.path()).mkpath("sub");
  QDir(dir.path()).mkpath("conf");
  WriteFile(Path("hier.tab"), "1");
  WriteFile(Path("Tables/unten.tab"), "2");
  WriteFile(Path("conf/konf.tab"), "3");
  CellEditorSettings::Current().tablePath = Path("conf");
  QStringList file = kHeader;
  for (const char* name : {"hier.tab", "unten.tab", "konf.tab", "fehlt.tab"})
    file << "#TABLE_START" << "Name=" + QString(name) << "Extern=" + QString(name) << "#TABLE_END" << "";
  TTarvixPlusModel m;
  ASSERT_TRUE(Load(m, file));
  EXPECT_EQ(ui.Texts("ErrorBox"), QStringList{"Tabelle fehlt.tab: ungültige externe Tabellendatei:\rfehlt.tab"});
  ASSERT_EQ(m.Tables().size(), 4u);
  EXPECT_FALSE(m.Tables()[3]->Internal);
  // Found from a subdirectory through "../Tables" as well.
  QDir::setCurrent(Path("sub"));
  EXPECT_TRUE(QFileInfo::exists(m.Tables()[1]->ResolvedFile()));
  QDir::setCurrent(dir.path());
  // A missing file stops the loading with a message.
  EXPECT_FALSE(m.LoadTableData());
  EXPECT_TRUE(ui.Texts("ErrorBox").last().startsWith("Fehler beim Laden der externen Tabellendatei:\r" + Path("conf/fehlt.tab") + "\r"));
  m.DeleteTable(4);
  ASSERT_TRUE(m.LoadTableData());
  EXPECT_EQ(TTarvixPlusModel::TableText(*m.Tables()[2]), QStringLiteral("3"));
  m.ReleaseTableData();
  EXPECT_TRUE(m.Tables()[2]->Data.isEmpty());
  // Without a configured directory a missing name has no last candidate
  // (not the name below the file-system root).
  CellEditorSettings::Current().tablePath.clear();
  m.Tables()[2]->ExternalFile = QStringLiteral("fehlt.tab");
  EXPECT_EQ(m.Tables()[2]->ResolvedFile(), QString());
  EXPECT_FALSE(m.LoadTableData());
  EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("Fehler beim Laden der externen Tabellendatei:\rfehlt.tab"));
}

TEST_F(ProjectFile, FailedSaveKeepsTheOldFile) {
  TTarvixPlusModel m;
  mt::AddCounterCell(m);
  m.SetFileName(Path("keep.tvp"));
  WriteFile(Path("keep.tvp"), "old contents");
  QDir(dir.path()).mkpath("isdir.tvp");
  // A save that cannot complete is reported, the project stays modified.
  m.SetFileName(Path("isdir.tvp"));
  EXPECT_FALSE(m.Save());
  EXPECT_TRUE(m.Modified());
  EXPECT_TRUE(ui.Texts("ErrorBox").last().startsWith("Die Projektdatei"));

  // A full disk: the old file stays as it was.
  QDir(dir.path()).mkpath("full");
  if (mount("tmpfs", Path("full").toLocal8Bit().constData(), "tmpfs", 0, "size=8k") != 0)
    GTEST_SKIP() << "no tmpfs here";
  WriteFile(Path("full/p.tvp"), "old contents");
  WriteFile(Path("full/filler"), QByteArray(6000, 'x'));
  for (int i = 0; i < 40; ++i) m.InsertTextBlock(m.Cells()[0]->CellId(), TRect{0, 0, 900, 900});
  m.SetFileName(Path("full/p.tvp"));
  bool saved = m.Save();
  QByteArray after = ReadFile(Path("full/p.tvp"));
  umount(Path("full").toLocal8Bit().constData());
  EXPECT_FALSE(saved);
  EXPECT_EQ(after, QByteArray("old contents"));
  EXPECT_TRUE(m.Modified());
}

// A file that did not read completely (the load stopped or lost content)
// is not saved over unasked: "Nein" (the default) goes to "Speichern
// unter...", and only "Ja" replaces it. A clean file is saved without a question.
TEST_F(ProjectFile, IncompletelyReadFileIsNotSavedOverUnasked) {
  const QStringList cell = {"#CELL_START", "ID=1", "NAME=A", "", "#BLOCK_START", "GraphBlock", "ID=65537",
                            "10,10,70,30", "TYPE=700", "#BLOCK_END", "", "#CELL_END", ""};
  struct Case {
    const char* what;
    QStringList lines;
    bool incomplete;
  };
  const Case cases[] = {
      {"clean", kHeader + cell, false},
      {"version", QStringList{"MARLIX Tarvix plus - project file", "Version=2.0"} + cell, true},
      {"section start", kHeader + QStringList{"Unsinn", ""} + cell, true},
      {"cell id", kHeader + cell + QStringList{"#CELL_START", "ID=x", "#CELL_END", ""}, true},
      {"cell body", kHeader + QStringList{"#CELL_START", "ID=2", "NAME=B", "", "#BLOCK_START", "Unbekannt", "#BLOCK_END", "#CELL_END", ""}, true},
      {"unknown block type", kHeader + QStringList{"#CELL_START", "ID=1", "NAME=A", "", "#BLOCK_START", "GraphBlock",
                                                   "ID=65537", "10,10,70,30", "TYPE=7000", "#BLOCK_END", "", "#CELL_END", ""}, true},
  };
  const QString question = QStringLiteral("p wurde nicht vollständig gelesen. Trotzdem überschreiben?");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TTarvixPlusModel m;
    Load(m, c.lines);
    const QByteArray original = ReadFile(Path("p.tvp"));
    EXPECT_EQ(m.LoadIncomplete(), c.incomplete);
    m.NewCell(-1);
    ui.Clear();
    if (!c.incomplete) {
      EXPECT_TRUE(m.Save());
      EXPECT_EQ(ui.Count("AskYesNoDefaultNo"), 0);
      EXPECT_NE(ReadFile(Path("p.tvp")), original);
      continue;
    }
    // "Nein", then the save dialog cancelled: nothing is written.
    EXPECT_FALSE(m.Save());
    EXPECT_EQ(ui.Texts("AskYesNoDefaultNo"), QStringList{question});
    EXPECT_EQ(ui.Count("SaveFileName"), 1);
    EXPECT_EQ(ReadFile(Path("p.tvp")), original);
    EXPECT_TRUE(m.Modified());
    // "Nein", then a new name: the project goes there and the old file stays.
    ui.replies.push_back(mt::Accept(false));
    ui.replies.push_back(mt::WithText(Path("neu.tvp")));
    EXPECT_TRUE(m.Save());
    EXPECT_EQ(m.FileName(), Path("neu.tvp"));
    EXPECT_EQ(ReadFile(Path("p.tvp")), original);
    EXPECT_FALSE(m.LoadIncomplete());
    // "Ja" replaces the file, once; the next save asks nothing.
    TTarvixPlusModel again;
    Load(again, c.lines);
    again.NewCell(-1);
    ui.Clear();
    ui.replies.push_back(mt::Accept(true));
    EXPECT_TRUE(again.Save());
    EXPECT_NE(ReadFile(Path("p.tvp")), original);
    again.NewCell(-1);
    EXPECT_TRUE(again.Save());
    EXPECT_EQ(ui.Count("AskYesNoDefaultNo"), 1);
    EXPECT_EQ(ui.Count("SaveFileName"), 0);
  }
}

TEST_F(ProjectFile, HostileFilesNeverCrash) {
  std::mt19937 rng(7);
  const QStringList seeds = kHeader + QStringList{"#COMMENT_START", "x", "#COMMENT_END", "#TABLE_START", "Name=T",
                                                  "Extern=", "#TABLE_END", "#CELL_START", "ID=65535", "NAME=A",
                                                  "#BLOCK_START", "GraphBlock", "ID=99999999999", "1,2,3",
                                                  "IN99=1,2:3", "TYPE=99999", "#DLLDATA_START", "#BLOCK_END",
                                                  "#CELL_END", "ID=0", "#BLOCK_START", "TextBlock", "ID=1",
                                                  "0,0,1,1", "Font=a,b", "#BLOCK_END"};
  for (int round = 0; round < 150; ++round) {
    QByteArray bytes;
    int lines = std::uniform_int_distribution<int>(0, 60)(rng);
    for (int i = 0; i < lines; ++i) {
      if (rng() % 5 == 0) {
        QByteArray junk(std::uniform_int_distribution<int>(0, 300)(rng), '\0');
        for (char& c : junk) c = static_cast<char>(rng());
        bytes += junk;
      } else {
        bytes += seeds[static_cast<qsizetype>(rng() % static_cast<unsigned>(seeds.size()))].toLatin1();
      }
      bytes += rng() % 7 ? "\r\n" : "\n";
    }
    if (round % 3 == 0) bytes = "MARLIX Tarvix plus - project file\r\nVersion=1.0\r\n" + bytes;
    WriteFile(Path("h.tvp"), bytes);
    TTarvixPlusModel m;
    m.Open(Path("h.tvp"));
    mt::ExpectEngineMatches(m);
  }
}

}  // namespace
