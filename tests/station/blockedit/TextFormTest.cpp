// The cell body text form: exact lines, round trips and hostile input.
#include "BlockEditTestSupport.h"
#include "CellBodyText.h"
#include "TBlockList.h"
#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TTextBlock.h"

namespace {

constexpr int32_t Id(int32_t cell, int32_t n) { return (cell << 16) | n; }

QStringList Lines(const char* text) { return cellbody::LinesFromBytes(QByteArray(text)); }

const char kCell[] =
    "ID=3\r\n"
    "NAME=Regler \xFC" "ber alles\r\n"
    "\r\n"
    "#BLOCK_START\r\n"
    "GraphBlock\r\n"
    "ID=196609\r\n"
    "200,0,240,20\r\n"
    "IN00=196610,1:60,10,130,10,130,10,200,10\r\n"
    "IN01=196611,65537:30,60,200,15\r\n"
    "TYPE=200\r\n"
    "#BLOCK_END\r\n"
    "\r\n"
    "#BLOCK_START\r\n"
    "GraphBlock\r\n"
    "ID=196610\r\n"
    "0,0,60,20\r\n"
    "TYPE=702\r\n"
    "#DLLDATA_START\r\n"
    "Zeile 1\r\n"
    "Zeile 2\r\n"
    "Zeile 3\r\n"
    "#DLLDATA_END\r\n"
    "#BLOCK_END\r\n"
    "\r\n"
    "#BLOCK_START\r\n"
    "TextBlock\r\n"
    "ID=196611\r\n"
    "0,50,60,63\r\n"
    "Mein Kommentar\r\n"
    "Font=Courier New,10,-2147483640,0,1,0,1\r\n"
    "#BLOCK_END\r\n"
    "\r\n";

}  // namespace

TEST_F(BlockEditTest, CellRoundTripIsByteExact) {
  TBlockList cell(1, nullptr);
  const QByteArray bytes(kCell);
  ASSERT_TRUE(cell.ReadFromLines(true, cellbody::LinesFromBytes(bytes), 0));
  EXPECT_EQ(ui.Count("ErrorBox"), 0);
  EXPECT_EQ(cell.CellId(), 3);
  EXPECT_EQ(cell.Name(), QStringLiteral("Regler über alles"));
  ASSERT_EQ(cell.Count(), 3);
  auto* add = static_cast<TGraphBlock*>(cell.Items(0));
  EXPECT_EQ(add->TypeId(), 200);
  EXPECT_EQ(add->Bounds(), (TRect{200, 0, 240, 20}));  // picture size
  ASSERT_NE(add->GetInput(1), nullptr);
  EXPECT_EQ(add->GetInput(1)->menuLetter, 0);
  EXPECT_EQ(add->GetInput(1)->connectionKind, 1);
  EXPECT_EQ(add->GetInput(0)->pointCount, 4);
  auto* text = static_cast<TGraphBlock*>(cell.Items(1));
  EXPECT_EQ(text->ParamText(), QStringLiteral("Zeile 1\r\nZeile 2\r\nZeile 3"));
  auto* comment = static_cast<TTextBlock*>(cell.Items(2));
  EXPECT_EQ(comment->Text(), QStringLiteral("Mein Kommentar"));
  EXPECT_EQ(comment->Font().color, static_cast<TColor>(0x80000008u));
  EXPECT_EQ(comment->Font().style, TCommentFont::kItalic | TCommentFont::kStrikeOut);

  // Comment bounds follow the text, so compare everything but that line.
  QStringList out;
  ASSERT_TRUE(cell.WriteToLines(true, out));
  QStringList expected = cellbody::LinesFromBytes(bytes);
  ASSERT_EQ(out.size(), expected.size());
  for (int i = 0; i < out.size(); ++i) {
    if (expected[i] != QStringLiteral("0,50,60,63")) {
      EXPECT_EQ(out[i], expected[i]) << "line " << i;
    }
  }

  // A second round through the written lines gives the same bytes.
  TBlockList again(1, nullptr);
  ASSERT_TRUE(again.ReadFromLines(true, out, 0));
  QStringList out2;
  again.WriteToLines(true, out2);
  EXPECT_EQ(cellbody::BytesFromLines(out2), cellbody::BytesFromLines(out));
  EXPECT_TRUE(cellbody::BytesFromLines(out2).contains("NAME=Regler \xFC" "ber alles\r\n"));
}

TEST_F(BlockEditTest, WireLineExamples) {
  TInputLine w;
  ASSERT_TRUE(w.FromText(QStringLiteral("65538,65537:10,10,40,10")));
  EXPECT_EQ(w.source, 65538);
  EXPECT_EQ(w.connectionKind, 1);
  EXPECT_EQ(w.menuLetter, 0);
  EXPECT_EQ(w.pointCount, 2);
  TInputLine v;
  v.source = 65538;
  v.connectionKind = 1;
  for (QPoint p : {QPoint(130, 45), QPoint(200, 45), QPoint(200, 95)}) v.AddPoint(p);
  EXPECT_EQ(v.ToText(), QStringLiteral("65538,1:130,45,200,45,200,95"));
  v.connectionKind = -1;
  v.menuLetter = 2;
  TInputLine r;
  ASSERT_TRUE(r.FromText(v.ToText()));
  EXPECT_EQ(r.connectionKind, -1);
  EXPECT_EQ(r.menuLetter, 2);
}

TEST_F(BlockEditTest, HeaderIdIsOptionalAndTargetCellWins) {
  TBlockList cell(7, nullptr);
  ASSERT_TRUE(cell.ReadFromLines(true, Lines("NAME=Ohne=Rest\r\n#BLOCK_START\r\nGraphBlock\r\nID=196610\r\n0,0,60,20\r\n"
                                             "IN00=196609,1:0,0,5,5\r\nTYPE=700\r\n#BLOCK_END\r\n"), 9));
  EXPECT_EQ(cell.Name(), QStringLiteral("Ohne"));
  EXPECT_EQ(cell.CellId(), 9);
  ASSERT_EQ(cell.Count(), 1);
  EXPECT_EQ(cell.Items(0)->Id(), Id(9, 2));
  EXPECT_EQ(cell.Items(0)->GetInput(0)->source, Id(9, 1));
  TBlockList noName(7, nullptr);
  EXPECT_FALSE(noName.ReadFromLines(true, Lines("ID=4\r\nname=x\r\n"), 0));
  EXPECT_FALSE(noName.ReadFromLines(true, Lines("ID=4\r\nNAME=\r\n"), 0));
  EXPECT_EQ(ui.Count("ErrorBox"), 0);  // silent failures
}

TEST_F(BlockEditTest, SelectionFormHasNoHeader) {
  TBlockList cell(1, nullptr);
  ASSERT_TRUE(cell.ReadFromLines(true, cellbody::LinesFromBytes(kCell), 0));
  QStringList out;
  cell.WriteSelection({cell.Items(2), cell.Items(0)}, out);
  EXPECT_EQ(out[0], QStringLiteral("#BLOCK_START"));
  EXPECT_EQ(out[1], QStringLiteral("GraphBlock"));  // cell order, not selection order
  EXPECT_EQ(out.count(QStringLiteral("#BLOCK_START")), 2);
  QStringList none;
  cell.WriteSelection({}, none);
  EXPECT_TRUE(none.isEmpty());
}

TEST_F(BlockEditTest, ShortFontLineLeavesTheFontAlone) {
  TBlockList cell(1, nullptr);
  ASSERT_TRUE(cell.ReadFromLines(false, Lines("#BLOCK_START\r\nTextBlock\r\nID=65537\r\n0,0,1,1\r\nHallo\r\n"
                                              "Font=Arial,12,255,1,1\r\n#BLOCK_END\r\n"), 0));
  auto* t = static_cast<TTextBlock*>(cell.Items(0));
  EXPECT_EQ(t->Font(), CellEditorSettings::Current().defaultCommentFont);
  EXPECT_FALSE(t->ParseFontLine(QStringLiteral("Font=Arial,12,x,1,1,1,1")));
}

TEST_F(BlockEditTest, LongWiresKeepTwentyOnePoints) {
  QString line = QStringLiteral("1,1:");
  for (int i = 0; i < 10000; ++i) line += QStringLiteral("%1,%2,").arg(i).arg(i);
  line.chop(1);
  TInputLine w;
  EXPECT_TRUE(w.FromText(line));
  EXPECT_EQ(w.pointCount, 21);
  EXPECT_EQ(w.Last(), QPoint(20, 20));
}

struct BadCell {
  const char* name;
  const char* text;
  const char* message;  // expected error text, or "" for a silent failure
  int blocksKept;
};

class HostileCellText : public BlockEditTest, public ::testing::WithParamInterface<BadCell> {};

TEST_P(HostileCellText, FailsWithItsMessageAndKeepsEarlierBlocks) {
  const BadCell& c = GetParam();
  const QByteArray good = "#BLOCK_START\r\nGraphBlock\r\nID=65537\r\n0,0,60,20\r\nTYPE=700\r\n#BLOCK_END\r\n\r\n";
  TBlockList cell(1, nullptr);
  EXPECT_FALSE(cell.ReadFromLines(false, cellbody::LinesFromBytes(good + c.text), 0));
  EXPECT_EQ(cell.Count(), c.blocksKept);
  if (*c.message) {
    ASSERT_EQ(ui.Count("ErrorBox"), 1);
    EXPECT_TRUE(ui.Texts("ErrorBox")[0].startsWith(QString::fromUtf8(c.message))) << ui.Texts("ErrorBox")[0].toStdString();
  } else {
    EXPECT_EQ(ui.Count("ErrorBox"), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cells, HostileCellText,
    ::testing::Values(
        BadCell{"NoStart", "GraphBlock\r\n", "Falscher Blockbeginn in Zeile:\rGraphBlock", 1},
        BadCell{"UnknownAlias", "#BLOCK_START\r\nFooBlock\r\nID=65538\r\n", "Unbekannter Blocktyp FooBlock!", 1},
        BadCell{"NoId", "#BLOCK_START\r\nGraphBlock\r\nXD=65538\r\n0,0,1,1\r\n", "Ungültige Block-ID: XD=65538!", 1},
        BadCell{"IdNotANumber", "#BLOCK_START\r\nGraphBlock\r\nID=abc\r\n0,0,1,1\r\n", "Ungültige Block-ID: ID=abc!", 1},
        BadCell{"IdHuge", "#BLOCK_START\r\nGraphBlock\r\nID=99999999999\r\n0,0,1,1\r\n", "Ungültige Block-ID", 1},
        BadCell{"DuplicateNumber", "#BLOCK_START\r\nTextBlock\r\nID=65537\r\n0,0,1,1\r\nx\r\nFont=\r\n#BLOCK_END\r\n",
                "Ungültige Block-ID: ID=65537!", 1},
        BadCell{"NumberZero", "#BLOCK_START\r\nTextBlock\r\nID=65536\r\n0,0,1,1\r\nx\r\nFont=\r\n#BLOCK_END\r\n",
                "Ungültige Block-ID", 1},
        BadCell{"Truncated", "#BLOCK_START\r\nGraphBlock\r\n", "Unvollständiger Blockeintrag", 1},
        BadCell{"TruncatedAfterId", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n", "Unvollständiger Blockeintrag", 1},
        BadCell{"BadGeometry", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,x,1\r\nTYPE=700\r\n#BLOCK_END\r\n",
                "Ungültige Blockgeometrie in Zeile 11:\r0,0,x,1", 1},
        BadCell{"ShortGeometry", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,1\r\nTYPE=700\r\n#BLOCK_END\r\n",
                "Ungültige Blockgeometrie", 1},
        BadCell{"HugeCoordinate", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,2147483647,1\r\nTYPE=700\r\n#BLOCK_END\r\n",
                "Ungültige Blockgeometrie", 1},
        BadCell{"BadWire", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,1,1\r\nIN00=65537,1:5,5,7\r\nTYPE=700\r\n#BLOCK_END\r\n",
                "Ungültiger Verbindungseintrag in Zeile 12:\rIN00=65537,1:5,5,7", 1},
        BadCell{"WireSlotOutOfRange", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,1,1\r\nIN16=65537,1:5,5,7,7\r\nTYPE=700\r\n#BLOCK_END\r\n",
                "Ungültiger Verbindungseintrag", 1},
        BadCell{"WireHugePoint", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,1,1\r\nIN00=65537,1:5,5,2000000000,7\r\nTYPE=700\r\n#BLOCK_END\r\n",
                "Ungültiger Verbindungseintrag", 1},
        BadCell{"MissingType", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,1,1\r\n#BLOCK_END\r\n", "Blocktyp fehlt in Zeile 12", 1},
        BadCell{"TypeNotANumber", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,1,1\r\nTYPE=zwei\r\n#BLOCK_END\r\n",
                "Ungültiger Blocktyp in Zeile 12", 1},
        BadCell{"OpenDllData", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,1,1\r\nTYPE=700\r\n#DLLDATA_START\r\n1\r\n",
                "Parameterblock ab Zeile 13", 1},
        BadCell{"NoEnd", "#BLOCK_START\r\nGraphBlock\r\nID=65538\r\n0,0,1,1\r\nTYPE=700\r\nMehr\r\n", "", 1},
        BadCell{"CommentWithoutFont", "#BLOCK_START\r\nTextBlock\r\nID=65538\r\n0,0,1,1\r\nText\r\n", "Unvollständiger Kommentareintrag", 1},
        BadCell{"Garbage", "\x01\xFF\x80garbage\r\n", "Falscher Blockbeginn", 1}),
    [](const ::testing::TestParamInfo<BadCell>& info) { return std::string(info.param.name); });
