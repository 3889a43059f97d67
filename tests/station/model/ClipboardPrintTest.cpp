#include <random>
#include <QPrinter>
#include <QTemporaryDir>

#include "CellBodyText.h"
#include "ModelTestSupport.h"
#include "ProjectBuilder.h"
#include "TClipboard.h"

namespace {

using mt::EnsureApp;

class Clipboard : public ::testing::Test {
 protected:
  void SetUp() override { EnsureApp(); }
  RecordingUserInterface ui;
  TTarvixPlusModel m;
};

TEST_F(Clipboard, CellsTravelWithoutTheirHeader) {
  int32_t cell = mt::AddCounterCell(m);
  m.RenameCell(cell, QStringLiteral("Quelle"));
  m.CopyCell(cell);
  QStringList lines;
  ASSERT_TRUE(TClipboard::Get(TClipboard::kCell, lines));
  EXPECT_EQ(lines.first(), QStringLiteral("#BLOCK_START"));
  ASSERT_TRUE(m.PasteCell(0));
  const TBlockList& pasted = *m.Cells()[0];
  EXPECT_EQ(pasted.CellId(), 2);
  EXPECT_EQ(pasted.Name(), QStringLiteral("Zelle 2"));
  EXPECT_EQ(pasted.Count(), 4);
  EXPECT_EQ(pasted.Items(0)->Id(), 0x00020001);
  mt::ExpectEngineMatches(m);
  EXPECT_EQ(mt::CompileProject(m.Engine()), 0);
  m.Undo();
  EXPECT_EQ(m.Cells().size(), 1u);
}

TEST_F(Clipboard, PastedBlocksGoBelowWithFreeNumbers) {
  int32_t cell = mt::AddCounterCell(m);
  TBlockList& c = *m.FindCell(cell);
  // Copy the adder and the constant: the adder's wire from the word cell is not pasted.
  m.CopyBlocks(cell, TBlockSelection{c.FindBlock(0x10003), c.FindBlock(0x10002)});
  TBlockSelection pasted;
  int32_t lowest = 0;
  for (int i = 0; i < c.Count(); ++i) lowest = std::max(lowest, c.Items(i)->Bounds().bottom);
  QPoint at = m.PasteBlocks(cell, pasted);
  ASSERT_EQ(pasted.size(), 2u);
  EXPECT_EQ(pasted[0]->Number(), 5);  // numbers 2..3 shift to 5..6
  EXPECT_EQ(pasted[1]->Number(), 6);
  EXPECT_EQ(at.y(), lowest + 20);
  EXPECT_EQ(std::min(pasted[0]->Bounds().top, pasted[1]->Bounds().top), lowest + 20);
  int wires = 0;
  for (int slot = 0; slot < 16; ++slot)
    if (const TInputLine* w = pasted[0]->GetInput(slot)) {
      ++wires;
      EXPECT_EQ(w->source, 0x10006);
    }
  EXPECT_EQ(wires, 1);
  mt::ExpectEngineMatches(m);
  m.Undo();
  EXPECT_EQ(c.Count(), 4);
  mt::ExpectEngineMatches(m);
}

TEST_F(Clipboard, TablesAndMissingData) {
  m.NewTable(true);
  m.SetTableData(*m.FindTable(1), {"4 5 6"});
  m.CopyTable(1);
  ASSERT_TRUE(m.PasteTable());
  ASSERT_EQ(m.Tables().size(), 2u);
  EXPECT_EQ(m.Tables()[1]->Data, QStringList{"4 5 6"});
  EXPECT_EQ(m.Tables()[1]->Name, QStringLiteral("Tabelle 2"));  // renamed: the name was taken
  TClipboard::Put(TClipboard::kCell, {"x"});
  EXPECT_FALSE(m.PasteTable());
  EXPECT_EQ(ui.Texts("ErrorBox").last(), QStringLiteral("Fehler bei Datenübernahme aus der Zwischenablage!"));
  TBlockSelection none;
  m.NewCell(-1);
  m.PasteBlocks(1, none);
  EXPECT_TRUE(none.empty());
}

TEST_F(Clipboard, HostileClipboardTextNeverCrashes) {
  std::mt19937 rng(3);
  m.NewCell(-1);
  const QStringList seeds = {"#BLOCK_START", "GraphBlock", "TextBlock", "ID=65537", "ID=-1", "ID=99999999999",
                             "1,2,3,4",      "IN00=1,1:1,1", "TYPE=700", "#DLLDATA_START", "#BLOCK_END", ""};
  for (int round = 0; round < 200; ++round) {
    QStringList lines;
    for (int i = std::uniform_int_distribution<int>(0, 40)(rng); i > 0; --i)
      lines << seeds[static_cast<qsizetype>(rng() % static_cast<unsigned>(seeds.size()))];
    TClipboard::Put(round % 2 ? TClipboard::kBlocks : TClipboard::kCell, lines);
    TBlockSelection pasted;
    m.PasteBlocks(1, pasted);
    m.PasteCell(-1);
    mt::ExpectEngineMatches(m);
  }
}

TEST(Print, PdfPagesFollowTheCellPictures) {
  EnsureApp();
  RecordingUserInterface ui;
  TTarvixPlusModel m;
  for (int i = 0; i < 6; ++i) {
    mt::AddCounterCell(m);
    // A tall comment makes each cell picture about half a page high.
    m.InsertTextBlock(m.Cells().back()->CellId(), TRect{0, 600, 100, 700});
  }
  QTemporaryDir dir;
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(dir.filePath("p.pdf"));
  int pages = m.PrintTo(printer, 0);
  QByteArray pdf = mt::ReadFile(dir.filePath("p.pdf"));
  EXPECT_EQ(pdf.count("/Type /Page\n") + pdf.count("/Type /Page\r") + pdf.count("/Type /Page>>") +
                pdf.count("/Type /Page "),
            pages);
  EXPECT_GE(pages, 2);
  QPrinter single(QPrinter::HighResolution);
  single.setOutputFormat(QPrinter::PdfFormat);
  single.setOutputFileName(dir.filePath("one.pdf"));
  EXPECT_EQ(m.PrintTo(single, 2), 1);
  EXPECT_EQ(single.docName(), QStringLiteral("Tarvix/plus Programmzelle"));
  // The print dialog answers no printer: nothing happens.
  m.Print(0);
  EXPECT_EQ(ui.Count("PrintDialog"), 1);
}

}  // namespace
