// The table and comment editor windows against a real project: committing,
// caption, deletion, commands, desktop data, printing and the error marks.
#include <QDataStream>
#include <QDir>
#include <QPointer>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include "Commands.h"
#include "TCommentEditForm.h"
#include "TStationFrame.h"
#include "TTableEditorForm.h"
#include "TTableErrorMarker.h"
#include "TTextEditor.h"
#include "WindowTestSupport.h"

namespace {

using TableEditorTest = wt::WindowTest;

// Keeps what windows show in the status bar.
class StatusFrame : public TStationFrame {
 public:
  StatusFrame() { SetCurrent(this); }
  ~StatusFrame() override { SetCurrent(nullptr); }
  TTarvixPlusModel* Project() const override { return nullptr; }
  QWidget* FindWindow(const QString&) const override { return nullptr; }
  QWidget* ShowWindow(const QString&, bool) override { return nullptr; }
  void OpenCell(int32_t) override {}
  void ShowStatusText(const QString& text) override { hint = text; }
  void ShowPositionText(const QString& text) override { status = text; }
  QString hint;
  QString status;  // the caret position
};

// Selects from (line, column) to (line, column) in the editor.
void Select(TTextEditor* e, int l0, int c0, int l1, int c1) {
  QTextCursor cursor = e->textCursor();
  cursor.setPosition(e->document()->findBlockByNumber(l0).position() + c0);
  cursor.setPosition(e->document()->findBlockByNumber(l1).position() + c1, QTextCursor::KeepAnchor);
  e->setTextCursor(cursor);
}

TEST_F(TableEditorTest, EditsReachTheTableOnCloseAndOnCommit) {
  const int number = AddTable({"1", "2"});
  auto* form = new TTableEditorForm(m.get());
  form->ShowElement(number);
  form->show();
  EXPECT_EQ(form->windowTitle(), "Tabelleneditor - Tabelle 1");
  TTextEditor* editor = form->Editor();
  StatusFrame frame;
  form->activateWindow();
  editor->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  editor->moveCursor(QTextCursor::End);
  QTest::keyClick(editor, Qt::Key_Return);
  QTest::keyClicks(editor, "3");
  EXPECT_EQ(frame.status, "Zeile 3, Spalte 2");
  EXPECT_EQ(frame.hint, QString());  // the hint panel keeps the state text
  EXPECT_EQ(m->Tables()[0]->Data, (QStringList{"1", "2"}));  // nothing before a commit
  m->CommitViews();
  EXPECT_EQ(m->Tables()[0]->Data, (QStringList{"1", "2", "3"}));
  EXPECT_TRUE(m->Modified());
  m->SetModified(false);
  QTest::keyClicks(editor, "4");
  form->grab().save("tableeditor.png");
  form->close();
  EXPECT_EQ(m->Tables()[0]->Data, (QStringList{"1", "2", "34"}));
  EXPECT_TRUE(m->Modified());
}

TEST_F(TableEditorTest, OpeningAndClosingWithoutAChangeLeavesTheProjectUnmodified) {
  QStringList tooLong;
  for (int i = 0; i < 1001; ++i) tooLong << QString::number(i);
  // A table too large for the editor (written by another program) is shown
  // read-only after a message and stays as it is.
  for (const QStringList& lines : {QStringList{"5", "6"}, QStringList{}, tooLong}) {
    const int number = AddTable(lines);
    QPointer<TTableEditorForm> form = new TTableEditorForm(m.get());
    form->ShowElement(number);
    form->show();
    QTest::keyClick(form->Editor(), Qt::Key_End);
    wt::Type(form->Editor(), "7");
    form->Editor()->undo();
    EXPECT_EQ(form->Editor()->isReadOnly(), lines == tooLong);
    m->CommitViews();
    form->close();
    EXPECT_FALSE(m->Modified());
    EXPECT_EQ(m->FindTable(number)->Data, lines);
    wt::FlushDeletes();
    EXPECT_TRUE(form.isNull());
  }
  EXPECT_EQ(ui.Count("ErrorBox"), 1);
  // External tables are not edited here.
  auto reference = std::make_unique<TConversionTable>();
  reference->Internal = false;
  reference->Name = QStringLiteral("Extern");
  reference->ExternalFile = QStringLiteral("kennlinie.txt");
  m->InsertTable(std::move(reference));
  TTableEditorForm external(m.get());
  external.ShowElement(m->Tables().back()->Number);
  EXPECT_EQ(external.ShownElement(), 0);
  EXPECT_TRUE(external.Editor()->isReadOnly());
  auto* comment = new TCommentEditForm(m.get());
  EXPECT_EQ(comment->Editor()->Lines(), m->Comment());
  comment->close();
  EXPECT_FALSE(m->Modified());
}

TEST_F(TableEditorTest, CaptionFollowsRenameAndDeletionClosesOnlyItsWindow) {
  AddTable({"1"});
  AddTable({"2"});
  QPointer<TTableEditorForm> first = new TTableEditorForm(m.get());
  QPointer<TTableEditorForm> second = new TTableEditorForm(m.get());
  first->ShowElement(1);
  second->ShowElement(2);
  m->RenameTable(2, QStringLiteral("Kennlinie"));
  EXPECT_EQ(second->windowTitle(), "Tabelleneditor - Kennlinie");
  EXPECT_EQ(first->windowTitle(), "Tabelleneditor - Tabelle 1");
  QTest::keyClicks(first->Editor(), "9");  // pending edits of a deleted table go with it
  m->DeleteTable(1);
  wt::FlushDeletes();
  EXPECT_TRUE(first.isNull());
  ASSERT_FALSE(second.isNull());
  EXPECT_EQ(second->ShownElement(), 1);  // renumbered, still the same table
  m->RenameTable(1, QStringLiteral("Kurve"));
  EXPECT_EQ(second->windowTitle(), "Tabelleneditor - Kurve");
  EXPECT_EQ(ui.Count("ErrorBox"), 0);
  // The project going away closes the window without touching it.
  QTest::keyClicks(second->Editor(), "7");
  m.reset();
  wt::FlushDeletes();
  EXPECT_TRUE(second.isNull());
}

TEST_F(TableEditorTest, CommandsFollowTheEditorState) {
  AddTable({});
  auto* form = new TTableEditorForm(m.get());
  form->ShowElement(1);
  struct Expect {
    int32_t command;
    bool enabled;
  };
  auto check = [&](std::initializer_list<Expect> expects) {
    for (const Expect& e : expects) EXPECT_EQ(form->IsCommandEnabled(e.command), e.enabled) << e.command;
  };
  check({{cmd::kPrint, false}, {cmd::kUndo, false}, {cmd::kCut, false}, {cmd::kCopy, false}, {cmd::kClear, true}, {cmd::kSave, false}});
  QTest::keyClicks(form->Editor(), "12 34");
  Select(form->Editor(), 0, 0, 0, 3);
  check({{cmd::kPrint, true}, {cmd::kUndo, true}, {cmd::kRedo, false}, {cmd::kCut, true}, {cmd::kCopy, true}});
  form->DoCommand(cmd::kCut, nullptr);
  EXPECT_EQ(form->Editor()->Lines(), QStringList{"34"});
  check({{cmd::kPaste, true}});
  form->DoCommand(cmd::kPaste, nullptr);
  EXPECT_EQ(form->Editor()->Lines(), QStringList{"12 34"});
  form->DoCommand(cmd::kUndo, nullptr);
  EXPECT_EQ(form->Editor()->Lines(), QStringList{"34"});
  check({{cmd::kRedo, true}});
  form->DoCommand(cmd::kRedo, nullptr);
  form->DoCommand(cmd::kClear, nullptr);
  EXPECT_EQ(form->Editor()->Lines(), QStringList{"12 4"});
  delete form;  // torn down without closing: the edit still reaches the table
  EXPECT_EQ(m->Tables()[0]->Data, QStringList{"12 4"});
}

TEST_F(TableEditorTest, DesktopDataRoundTripAndBadData) {
  QStringList lines;
  for (int i = 0; i < 300; ++i) lines << QString::number(i * 7);
  AddTable({"1"});
  AddTable(lines);
  QByteArray bytes;
  {
    TTableEditorForm form(m.get());
    form.resize(300, 200);
    form.show();
    form.ShowElement(2);
    form.Editor()->SetFirstVisibleLine(120);
    ASSERT_TRUE(form.Editor()->SetCaret(130, 2));
    form.Editor()->SetFirstVisibleLine(120);
    QDataStream out(&bytes, QIODevice::WriteOnly);
    form.WriteDesktop(out);
  }
  TTableEditorForm restored(m.get());
  restored.resize(300, 200);
  restored.show();
  QDataStream in(bytes);
  restored.ReadDesktop(in);
  EXPECT_EQ(restored.ShownElement(), 2);
  EXPECT_EQ(restored.windowTitle(), "Tabelleneditor - Tabelle 2");
  EXPECT_EQ(restored.Editor()->CaretLine(), 130);
  EXPECT_EQ(restored.Editor()->CaretColumn(), 2);
  EXPECT_EQ(restored.Editor()->FirstVisibleLine(), 120);

  // Missing and invalid values are ignored.
  struct Case {
    const char* name;
    QList<qint32> values;
    int shown;
  };
  const Case cases[] = {{"nothing", {}, 0}, {"table only", {1}, 1}, {"unknown table", {9, 0, 0, 0}, 0},
                        {"caret outside", {2, 5000, 7000, 3}, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    for (qint32 v : c.values) out << v;
    TTableEditorForm form(m.get());
    QDataStream read(data);
    form.ReadDesktop(read);
    EXPECT_EQ(form.ShownElement(), c.shown);
    EXPECT_EQ(form.Editor()->CaretLine(), 0);
  }
  TCommentEditForm comment(m.get());
  QByteArray commentBytes;
  ASSERT_TRUE(comment.Editor()->SetCaret(1, 4));
  QDataStream commentOut(&commentBytes, QIODevice::WriteOnly);
  comment.WriteDesktop(commentOut);
  TCommentEditForm comment2(m.get());
  QDataStream commentIn(commentBytes);
  comment2.ReadDesktop(commentIn);
  EXPECT_EQ(comment2.Editor()->CaretLine(), 1);
  EXPECT_EQ(comment2.Editor()->CaretColumn(), 4);
}

TEST_F(TableEditorTest, CommentEditorEditsTheComment) {
  m->InitNew();
  m->SetModified(false);
  auto* form = new TCommentEditForm(m.get());
  form->show();
  EXPECT_EQ(form->windowTitle(), "Programmkommentar");
  EXPECT_EQ(form->Editor()->Lines(), m->Comment());
  EXPECT_EQ(form->Editor()->Lines().size(), 2);
  form->Editor()->moveCursor(QTextCursor::End);
  QTest::keyClick(form->Editor(), Qt::Key_Return);
  wt::Type(form->Editor(), QStringLiteral("Größe"));
  form->grab().save("commenteditor.png");
  form->close();
  EXPECT_EQ(m->Comment().size(), 3);
  EXPECT_EQ(m->Comment().last(), QStringLiteral("Größe"));
  EXPECT_TRUE(m->Modified());
}

// The text pdftotext finds in a PDF, or a null string without the tool.
QString PdfText(const QString& file, const QString& tool = QStringLiteral("pdftotext")) {
  const QString exe = QStandardPaths::findExecutable(tool);
  if (exe.isEmpty()) return {};
  QProcess p;
  p.start(exe, tool == QLatin1String("pdftotext") ? QStringList{"-layout", file, "-"} : QStringList{file});
  p.waitForFinished(20000);
  return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(TableEditorTest, PrintingASelectionOrEverythingToPdf) {
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) not installed";
  QTemporaryDir dir;
  AddTable({"10 20 30", "40 50 60", "70 80 90"});
  auto table = std::make_unique<TTableEditorForm>(m.get());
  table->ShowElement(1);
  m->SetComment({"Beschreiben Sie hier den Zweck", "und die Besonderheiten"});
  auto comment = std::make_unique<TCommentEditForm>(m.get());
  struct Case {
    const char* name;
    TTextDocumentForm* form;
    bool select;
    QPrinter::PrintRange range;
    QString job;
    QStringList present, absent;
  };
  const Case cases[] = {
      {"table selection", table.get(), true, QPrinter::Selection, "Tarvix plus - Tabelle", {"20 30", "40 50"}, {"10", "60", "70"}},
      {"table, all chosen with a selection", table.get(), true, QPrinter::AllPages, "Tarvix plus - Tabelle", {"10 20 30", "70 80 90"}, {}},
      {"comment", comment.get(), false, QPrinter::Selection, "Tarvix plus - Kommentar", {"Beschreiben Sie hier den Zweck"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.select)
      Select(c.form->Editor(), 0, 3, 1, 5);
    else
      c.form->Editor()->moveCursor(QTextCursor::Start);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    const QString file = dir.filePath(QStringLiteral("%1.pdf").arg(&c - cases));
    printer.setOutputFileName(file);
    printer.setPrintRange(c.range);
    RecordingUserInterface::Reply reply;
    reply.printer = &printer;
    ui.replies.push_back(reply);
    EXPECT_EQ(c.form->Print(), 1);
    QFile::remove(QStringLiteral("print-%1.pdf").arg(&c - cases));
    QFile::copy(file, QStringLiteral("print-%1.pdf").arg(&c - cases));  // to look at
    const QString text = PdfText(file);
    for (const QString& s : c.present) EXPECT_TRUE(text.contains(s)) << text.toStdString();
    for (const QString& s : c.absent) EXPECT_FALSE(text.contains(s)) << text.toStdString();
    if (c.select && c.range == QPrinter::Selection) {
      EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("^ +20 30"), QRegularExpression::MultilineOption)));
    }
    const QString info = PdfText(file, QStringLiteral("pdfinfo"));
    if (!info.isNull()) {
      EXPECT_TRUE(info.contains(c.job)) << info.toStdString();
    }
  }
  // Cancelling the dialog prints nothing.
  EXPECT_EQ(table->Print(), 0);
}

TEST_F(TableEditorTest, LinesTheCompilerWouldRefuseAreMarked) {
  struct Case {
    QString line;
    std::vector<TTableLineError> errors;
  };
  const QString bad = QStringLiteral("Keine ganze Zahl: \"%1\"");
  const QString range = QStringLiteral("Zahl außerhalb des Bereichs -32768 bis 32767");
  const Case cases[] = {
      {"1 2\t-3 +4", {}},
      {"  -32768 32767  ", {}},
      {"", {}},
      {"12-3", {}},  // two values, as the compiler reads them
      {"abc 5", {{0, 3, bad.arg("abc")}}},
      {"5 32768 -32769", {{2, 5, range}, {8, 6, range}}},
      {"12abc 7", {{2, 3, bad.arg("abc")}}},
      {"1,5", {{1, 2, bad.arg(",5")}}},
      {"- 4", {{0, 1, bad.arg("-")}}},
      {"99999999999999999999", {{0, 20, range}}},
  };
  for (const Case& c : cases) EXPECT_EQ(TTableLineCheck::Check(c.line), c.errors) << c.line.toStdString();

  AddTable({"1 2", "x 3"});
  TTableEditorForm form(m.get());
  form.resize(300, 200);
  form.show();
  form.ShowElement(1);
  EXPECT_TRUE(form.ErrorMarker()->ErrorsOfLine(0).empty());
  ASSERT_EQ(form.ErrorMarker()->ErrorsOfLine(1).size(), 1u);
  const QRect badWord = form.Editor()->cursorRect(QTextCursor(form.Editor()->document()->findBlockByNumber(1)));
  EXPECT_EQ(form.ErrorMarker()->ToolTipAt(badWord.center() + QPoint(2, 0)), bad.arg("x"));
  EXPECT_EQ(form.ErrorMarker()->ToolTipAt(QPoint(2, 2)), QString());
  // Typing a bad value marks its line at once.
  form.Editor()->moveCursor(QTextCursor::Start);
  QTest::keyClick(form.Editor(), Qt::Key_Insert);
  QTest::keyClicks(form.Editor(), "7o");
  EXPECT_EQ(form.ErrorMarker()->ErrorsOfLine(0).size(), 1u);
  const auto formats = form.Editor()->document()->firstBlock().layout()->formats();
  ASSERT_EQ(formats.size(), 1);
  EXPECT_EQ(formats[0].format.underlineStyle(), QTextCharFormat::WaveUnderline);
  form.grab().save("tableeditor-marks.png");
}

}  // namespace
