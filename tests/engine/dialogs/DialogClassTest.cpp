// The dialog classes on their own: texts, sizes, buttons, and what each
// accepts, refuses and reads back.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest/QTest>

#include "BaudBlockDlg.h"
#include "BeepBlockDlg.h"
#include "InputCharDlg.h"
#include "InputStrListDlg.h"
#include "MaskInputDlg.h"
#include "PrintBlockDlg.h"
#include "ModalDriver.h"
#include "QtAppEnvironment.h"
#include "SelectNumberDlg.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }


TEST(DialogClasses, CaptionsSizesAndButtons) {
  TMaskInputDlg mask(nullptr);
  TInputCharDlg ch(nullptr);
  TInputStrListDlg list(nullptr);
  TPrintBlockDlg print(nullptr);
  TBaudBlockDlg baud(nullptr);
  TSelectNumberDlg number(nullptr);
  TBeepBlockDlg beep(nullptr);
  struct Expect {
    TParamDlg* dlg;
    const char* caption;
    int w, h;
  } const table[] = {
      {&mask, "Blockparameter", 302, 123},
      {&ch, "Eigenschaften des Blocks", 302, 122},
      {&list, "Blockeigenschaften", 302, 219},
      {&print, "Parameter des RS232-Ausgabeblocks", 302, 171},
      {&baud, "Eigenschaften des Baudrate-Blocks", 302, 155},
      {&number, "Blockparameter", 300, 126},
      {&beep, "Eigenschaften des Tonausgabe-Blocks", 302, 279},
  };
  for (const Expect& x : table) {
    SCOPED_TRACE(x.caption);
    EXPECT_EQ(x.dlg->windowTitle(), U(x.caption));
    EXPECT_EQ(x.dlg->size(), QSize(x.w, x.h));
    EXPECT_EQ(x.dlg->minimumSize(), x.dlg->maximumSize());  // fixed border
    EXPECT_EQ(x.dlg->font().pointSize(), 8);
    EXPECT_EQ(x.dlg->OkButton()->text(), QStringLiteral("Ok"));
    EXPECT_TRUE(x.dlg->OkButton()->isDefault());
    EXPECT_EQ(x.dlg->CancelButton()->text(), QStringLiteral("Abbrechen"));
    // Abbrechen and Escape close with Rejected.
    x.dlg->show();
    QTest::mouseClick(x.dlg->CancelButton(), Qt::LeftButton);
    EXPECT_FALSE(x.dlg->isVisible());
    EXPECT_EQ(x.dlg->result(), QDialog::Rejected);
    x.dlg->show();
    x.dlg->setResult(QDialog::Accepted);
    QTest::keyClick(x.dlg, Qt::Key_Escape);
    EXPECT_FALSE(x.dlg->isVisible());
    EXPECT_EQ(x.dlg->result(), QDialog::Rejected);
  }
  EXPECT_EQ(number.OkButton()->objectName(), QStringLiteral("Button1"));
  EXPECT_EQ(number.CancelButton()->objectName(), QStringLiteral("Button2"));
}

struct MaskCase {
  int mode;
  const char* typed;  // UTF-8
  bool accepted;
  const char* text;  // read back when accepted
};

class MaskInput : public ::testing::TestWithParam<MaskCase> {};

TEST_P(MaskInput, AcceptsOrRefusesOnOk) {
  const MaskCase& c = GetParam();
  TMaskInputDlg dlg(nullptr);
  dlg.SetMode(c.mode);
  dlg.SetText(QString());
  QSignalSpy refused(&dlg, &TMaskInputDlg::Refused);
  dlg.show();
  vt::Retype(dlg.Edit(), U(c.typed));
  QString shown = dlg.Edit()->displayText();
  QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
  if (c.accepted) {
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Text(), U(c.text));
    EXPECT_EQ(refused.count(), 0);
  } else {
    // Refused: still open, the text as typed, one beep.
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.Edit()->displayText(), shown);
    EXPECT_EQ(refused.count(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Modes, MaskInput,
    ::testing::Values(
        // value
        MaskCase{1, "32767", true, "32767"}, MaskCase{1, "-32768", true, "-32768"},
        MaskCase{1, "+12", true, "+12"}, MaskCase{1, "", true, ""}, MaskCase{1, "32768", false, ""},
        MaskCase{1, "-32769", false, ""}, MaskCase{1, "99999", false, ""},
        MaskCase{1, "1234567", false, ""},  // the seventh digit does not fit: 123456
        MaskCase{1, "4x2", true, "42"},     // letters have no place in the mask
        // time
        MaskCase{2, "2359", true, "23:59"}, MaskCase{2, "0000", true, "00:00"}, MaskCase{2, "2400", false, ""},
        MaskCase{2, "1260", false, ""}, MaskCase{2, "12", false, ""}, MaskCase{2, "", false, ""},
        // date
        MaskCase{3, "2902", true, "29.02"}, MaskCase{3, "3112", true, "31.12"}, MaskCase{3, "3002", false, ""},
        MaskCase{3, "3104", false, ""}, MaskCase{3, "0005", false, ""}, MaskCase{3, "1513", false, ""},
        MaskCase{3, "01", false, ""},
        // free text
        MaskCase{0, "Tabelle \xC3\xA4\xE2\x82\xAC", true, "Tabelle \xC3\xA4\xE2\x82\xAC"}, MaskCase{0, "", true, ""}));

TEST(MaskInputDialog, PromptsPerMode) {
  TMaskInputDlg dlg(nullptr);
  dlg.SetMode(0);
  EXPECT_EQ(dlg.Label()->text(), U("Geben Sie einen Text ein:"));
  EXPECT_TRUE(dlg.Edit()->inputMask().isEmpty());
  dlg.SetMode(0, U("Geben Sie den Bezeichner einer Tabelle ein:"));
  EXPECT_EQ(dlg.Label()->text(), U("Geben Sie den Bezeichner einer Tabelle ein:"));
  dlg.SetMode(1, U("ignored"));
  EXPECT_EQ(dlg.Label()->text(), U("Geben Sie einen konstanten Wert von -32768 bis +32767 ein:"));
  dlg.SetMode(2);
  EXPECT_EQ(dlg.Label()->text(), U("Geben Sie eine Uhrzeit an:"));
  dlg.SetMode(3);
  EXPECT_EQ(dlg.Label()->text(), U("Geben Sie ein Datum an:"));
  EXPECT_TRUE(dlg.Label()->wordWrap());
  dlg.SetMode(42);  // unknown: free text
  EXPECT_EQ(dlg.Mode(), 0);
  EXPECT_TRUE(dlg.Edit()->inputMask().isEmpty());
  // Free text after a mask has no length limit of the mask.
  dlg.SetText(QString(300, u'x'));
  EXPECT_EQ(dlg.Edit()->text().size(), 300);
}

TEST(MaskInputDialog, ShowsTheBlocksTextAndReturnKeyChecksToo) {
  TMaskInputDlg dlg(nullptr);
  dlg.SetMode(2);
  dlg.SetText(QStringLiteral("07:05"));
  EXPECT_EQ(dlg.Text(), QStringLiteral("07:05"));
  dlg.show();
  vt::Retype(dlg.Edit(), QStringLiteral("2400"));
  QTest::keyClick(dlg.Edit(), Qt::Key_Return);
  EXPECT_TRUE(dlg.isVisible());
  vt::Retype(dlg.Edit(), QStringLiteral("2300"));
  QTest::keyClick(dlg.Edit(), Qt::Key_Return);
  EXPECT_FALSE(dlg.isVisible());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.Text(), QStringLiteral("23:00"));

  // A value text that is longer than the mask is cut by it, then refused.
  TMaskInputDlg value(nullptr);
  value.SetMode(1);
  value.SetText(QStringLiteral("-1234"));
  EXPECT_EQ(value.Text(), QStringLiteral("-1234"));
  value.SetText(QStringLiteral("1234567890"));
  EXPECT_FALSE(value.EntryAcceptable());
}

TEST(InputCharDialog, OneCharacterOrNone) {
  TInputCharDlg dlg(nullptr);
  EXPECT_EQ(dlg.findChild<QLabel*>(QStringLiteral("label"))->text(), U("Geben Sie ein Zeichen ein:"));
  dlg.SetText(QStringLiteral("C"));
  EXPECT_EQ(dlg.Text(), QStringLiteral("C"));
  dlg.show();
  vt::Retype(dlg.Edit(), U("\xC3\xBCx"));
  EXPECT_EQ(dlg.Text(), U("\xC3\xBC"));
  vt::Retype(dlg.Edit(), QString());
  QTest::mouseClick(dlg.OkButton(), Qt::LeftButton);
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.Text(), QString());
}

TEST(InputStrListDialog, LinesAsCrLf) {
  TInputStrListDlg dlg(nullptr);
  dlg.SetPrompt(QStringLiteral("Zellen:"));
  EXPECT_EQ(dlg.Label()->text(), QStringLiteral("Zellen:"));
  EXPECT_EQ(dlg.Memo()->lineWrapMode(), QPlainTextEdit::NoWrap);
  dlg.SetText(QStringLiteral("Start\r\nEnde\r\n"));
  EXPECT_EQ(dlg.Memo()->toPlainText(), QStringLiteral("Start\nEnde\n"));
  EXPECT_EQ(dlg.Text(), QStringLiteral("Start\r\nEnde\r\n"));
  dlg.SetText(QStringLiteral("a\rb\nc"));
  EXPECT_EQ(dlg.Memo()->toPlainText(), QStringLiteral("a\nb\nc"));
  EXPECT_EQ(dlg.Text(), QStringLiteral("a\rb\nc"));  // untouched: as it came
  dlg.show();
  dlg.Memo()->moveCursor(QTextCursor::End);
  QTest::keyClick(dlg.Memo(), Qt::Key_Return);  // a new line, not "Ok"
  vt::TypeText(dlg.Memo(), QStringLiteral("d"));
  EXPECT_TRUE(dlg.isVisible());
  EXPECT_EQ(dlg.Text(), QStringLiteral("a\r\nb\r\nc\r\nd"));
}

TEST(RadioDialogs, TextsAndChoice) {
  TPrintBlockDlg print(nullptr);
  EXPECT_EQ(print.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
            U("W\xC3\xA4hlen Sie aus, welches Steuerzeichen automatisch an die Ausgabe angeh\xC3\xA4ngt werden soll:"));
  const char* endings[] = {"nichts", "Zeilenvorschub ", "Tabulator"};
  for (int i = 1; i <= 3; ++i) EXPECT_EQ(print.Button(i)->text(), U(endings[i - 1]));
  EXPECT_EQ(print.Button(4), nullptr);

  TBaudBlockDlg baud(nullptr);
  EXPECT_EQ(baud.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
            U("W\xC3\xA4hlen Sie eine \xC3\x9C" "bertragungsrate aus:"));
  const char* rates[] = {"1200 bit/s", "2400 bit/s", "4800 bit/s", "9600 bit/s"};
  for (int i = 1; i <= 4; ++i) {
    EXPECT_EQ(baud.Button(i)->text(), U(rates[i - 1]));
    EXPECT_EQ(baud.Button(i)->objectName(), QStringLiteral("RadioButton%1").arg(i));
  }

  baud.SetChoice(4);
  EXPECT_EQ(baud.Choice(), 4);
  baud.SetChoice(2);
  EXPECT_EQ(baud.Choice(), 2);
  EXPECT_FALSE(baud.Button(4)->isChecked());
  baud.SetChoice(0);  // none selected
  EXPECT_EQ(baud.Choice(), 0);
  baud.show();
  vt::Click(baud.Button(3));
  EXPECT_EQ(baud.Choice(), 3);
  vt::Click(baud.Button(1));
  EXPECT_EQ(baud.Choice(), 1);  // exclusive again after "none"
  EXPECT_FALSE(baud.Button(3)->isChecked());
}

TEST(SelectNumberDialog, SpinOnlyWithinOneToTheLimit) {
  TSelectNumberDlg dlg(nullptr);
  dlg.SetPrompt(U("W\xC3\xA4hlen Sie die Speicherzelle aus:"));
  dlg.SetMaximum(12);
  EXPECT_EQ(dlg.Text(), QStringLiteral("1"));  // start 1
  dlg.SetText(QStringLiteral("11"));
  EXPECT_EQ(dlg.Edit()->text(), QStringLiteral("11"));
  EXPECT_TRUE(dlg.Edit()->isReadOnly());
  dlg.show();
  vt::TypeText(dlg.Edit(), QStringLiteral("5"));  // typing changes nothing
  EXPECT_EQ(dlg.Text(), QStringLiteral("11"));
  QTest::keyClick(dlg.Spin(), Qt::Key_Up);
  QTest::keyClick(dlg.Spin(), Qt::Key_Up);
  QTest::keyClick(dlg.Spin(), Qt::Key_Up);
  EXPECT_EQ(dlg.Text(), QStringLiteral("12"));  // no wrap-around
  dlg.SetText(QStringLiteral("1"));
  QTest::keyClick(dlg.Spin(), Qt::Key_Down);
  EXPECT_EQ(dlg.Text(), QStringLiteral("1"));
  dlg.SetText(QStringLiteral("999"));
  EXPECT_EQ(dlg.Text(), QStringLiteral("12"));
  dlg.SetText(QStringLiteral("junk"));
  EXPECT_EQ(dlg.Text(), QStringLiteral("1"));
  dlg.SetMaximum(-5);
  EXPECT_EQ(dlg.Spin()->maximum(), 1);
}

TEST(BeepDialog, GridFillNotesAndRebuild) {
  TBeepBlockDlg dlg(nullptr);
  QTableWidget* grid = dlg.Grid();
  EXPECT_EQ(grid->rowCount(), 29);
  EXPECT_EQ(grid->columnCount(), 3);
  const char* heads[] = {"Ton", "Tondauer", "Pause"};
  const int widths[] = {80, 83, 83};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(grid->horizontalHeaderItem(c)->text(), U(heads[c]));
    EXPECT_EQ(grid->columnWidth(c), widths[c]);
  }
  EXPECT_EQ(grid->rowHeight(0), 20);
  const char* notes[] = {"C", "D", "E", "F", "G", "A", "H", "C'"};
  for (int n = 1; n <= 8; ++n) EXPECT_EQ(dlg.NoteButton(n)->text(), U(notes[n - 1]));

  dlg.SetMelody("478 100 20 426 200");
  EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("478"));
  EXPECT_EQ(grid->item(0, 2)->text(), QStringLiteral("20"));
  EXPECT_EQ(grid->item(1, 1)->text(), QStringLiteral("200"));
  EXPECT_TRUE(grid->item(1, 2)->text().isEmpty());

  dlg.show();
  // A note goes into column 0 of the current row, whichever column is current,
  // even over a cell whose editor is open.
  grid->setCurrentCell(2, 1);
  QTest::mouseClick(dlg.NoteButton(5), Qt::LeftButton);
  EXPECT_EQ(grid->item(2, 0)->text(), QStringLiteral("319"));
  grid->setCurrentCell(0, 0);  // opens the cell's editor
  auto* editor = vt::OpenEditor(grid);
  ASSERT_NE(editor, nullptr);
  vt::TypeText(editor, QStringLiteral("999"));
  QTest::mouseClick(dlg.NoteButton(8), Qt::LeftButton);
  EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("239"));
  EXPECT_EQ(grid->currentRow(), 0);
  grid->item(2, 1)->setText(QStringLiteral("50"));
  grid->item(28, 2)->setText(QStringLiteral("7"));

  std::string melody = dlg.Melody();
  std::string expected = "239 100 20 426 200 0 319 50 ";
  for (int i = 8; i < 86; ++i) expected += "0 ";
  expected += "7 ";
  EXPECT_EQ(melody, expected);
}

}  // namespace
