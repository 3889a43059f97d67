// The text control of the table and comment editors: its limits, the
// Windows-1252 rule, overwrite and insert mode.
#include <QClipboard>
#include <QKeyEvent>
#include <QtTest/QTest>

#include <functional>

#include "TTextEditor.h"
#include "WindowTestSupport.h"

namespace {

using wt::Type;

QStringList Repeat(const QString& line, int count) {
  QStringList out;
  for (int i = 0; i < count; ++i) out << line;
  return out;
}

void CaretToEndOfLine(TTextEditor& e, int line) {
  ASSERT_TRUE(e.SetCaret(line, 0));
  e.moveCursor(QTextCursor::EndOfBlock);
}

void Paste(TTextEditor& e, const QString& text) {
  QGuiApplication::clipboard()->setText(text);
  e.paste();
}

using TextEditorTest = wt::WindowTest;

TEST_F(TextEditorTest, LimitsRefuseTheWholeInsertionWithABeep) {
  const QString a198(198, QLatin1Char('a'));
  // 249 lines of 198 characters and one of 200: exactly 50 000 bytes with CR LF.
  QStringList full = Repeat(a198, 249);
  full << QString(200, QLatin1Char('b'));
  QStringList almost = Repeat(a198, 249);
  almost << QString(199, QLatin1Char('b'));
  struct Case {
    const char* name;
    QStringList initial;
    int line;
    std::function<void(TTextEditor&)> act;
    bool accepted;
  };
  const Case cases[] = {
      {"200th character", {QString(199, 'x')}, 0, [](TTextEditor& e) { Type(&e, "y"); }, true},
      {"201st character", {QString(200, 'x')}, 0, [](TTextEditor& e) { Type(&e, "y"); }, false},
      {"1000th line", Repeat("1", 999), 998, [](TTextEditor& e) { QTest::keyClick(&e, Qt::Key_Return); }, true},
      {"1001st line", Repeat("1", 1000), 999, [](TTextEditor& e) { QTest::keyClick(&e, Qt::Key_Return); }, false},
      {"50 000th byte", almost, 249, [](TTextEditor& e) { Type(&e, "y"); }, true},
      {"50 001st byte", full, 0, [](TTextEditor& e) { Type(&e, "y"); }, false},
      {"paste up to 1000 lines", {"a"}, 0, [](TTextEditor& e) { Paste(e, Repeat("1", 1000).join("\r\n")); }, true},
      {"paste past 1000 lines", {"a"}, 0, [](TTextEditor& e) { Paste(e, Repeat("1", 1001).join("\r\n")); }, false},
      {"paste a 201-character line", {"a"}, 0, [](TTextEditor& e) { Paste(e, QString(200, 'z')); }, false},
      {"paste past 50 000 bytes", almost, 0, [](TTextEditor& e) { Paste(e, "zz"); }, false},
      {"Windows-1252 character", {"a"}, 0, [](TTextEditor& e) { Type(&e, QStringLiteral("€äß")); }, true},
      {"typed character outside Windows-1252", {"a"}, 0, [](TTextEditor& e) { Type(&e, QStringLiteral("Ω")); }, false},
      {"pasted text with one character outside", {"a"}, 0, [](TTextEditor& e) { Paste(e, QStringLiteral("1 2 \u2212 3")); }, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTextEditor editor;
    editor.setOverwriteMode(false);
    ASSERT_TRUE(editor.SetLines(c.initial));
    CaretToEndOfLine(editor, c.line);
    ui.Clear();
    c.act(editor);
    EXPECT_EQ(editor.Lines() != c.initial, c.accepted);
    EXPECT_EQ(Beeps(), c.accepted ? 0 : 1);
    EXPECT_TRUE(TTextEditor::LimitError(editor.Lines().join('\n')).isEmpty());
  }
}

TEST_F(TextEditorTest, LoadingPastALimitIsRefusedNotCut) {
  TTextEditor editor;
  ASSERT_TRUE(editor.SetLines({"1", "2"}));
  for (const QStringList& lines : {Repeat("1", 1001), QStringList{QString(201, 'x')}, Repeat(QString(199, 'x'), 250)}) {
    ui.Clear();
    EXPECT_FALSE(editor.SetLines(lines));
    EXPECT_EQ(Beeps(), 1);
    EXPECT_EQ(editor.Lines(), (QStringList{"1", "2"}));
  }
  EXPECT_TRUE(editor.SetLines(Repeat("1", 1000)));
  EXPECT_FALSE(editor.document()->isModified());
  EXPECT_FALSE(editor.document()->isUndoAvailable());
}

TEST_F(TextEditorTest, OverwriteModeInsertKeyTabAndLineBreaks) {
  TTextEditor editor;
  ASSERT_TRUE(editor.SetLines({"abc"}));
  EXPECT_TRUE(editor.overwriteMode());
  Type(&editor, "x");
  EXPECT_EQ(editor.Lines(), QStringList{"xbc"});
  QTest::keyClick(&editor, Qt::Key_Insert);
  EXPECT_FALSE(editor.overwriteMode());
  Type(&editor, "y");
  QTest::keyClick(&editor, Qt::Key_Tab);
  EXPECT_EQ(editor.Lines(), QStringList{"xy\tbc"});
  EXPECT_EQ(editor.CaretColumn(), 3);
  // Pasted CR LF and lone CR become one line break each.
  Paste(editor, "1\r\n2\r3");
  EXPECT_EQ(editor.Lines(), (QStringList{"xy\t1", "2", "3bc"}));
  EXPECT_EQ(editor.CaretLine(), 2);
  editor.undo();
  EXPECT_EQ(editor.Lines(), QStringList{"xy\tbc"});
  // Delete takes the selection, or the character at the caret.
  ASSERT_TRUE(editor.SetCaret(0, 0));
  editor.DeleteSelectionOrChar();
  EXPECT_EQ(editor.Lines(), QStringList{"y\tbc"});
  // Shift+Enter breaks the line like Enter.
  QTest::keyClick(&editor, Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(editor.Lines(), (QStringList{"", "y\tbc"}));
  EXPECT_EQ(editor.document()->blockCount(), 2);
  EXPECT_EQ(editor.CaretLine(), 1);
}

}  // namespace
