#include "TTextEditor.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>
#include <QTextBlock>

#include "TColorValue.h"
#include "TFontMapper.h"
#include "TStationSettings.h"
#include "UserInterface.h"
#include "cp1252.h"

namespace {

// Line breaks from the clipboard or a drop arrive as CR LF, CR or LF.
QString NormalizeBreaks(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

}  // namespace

TTextEditor::TTextEditor(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setTabChangesFocus(false);
  setOverwriteMode(true);
  setViewportMargins(kMargin, 0, kMargin, 0);
  ApplySettings();
  connect(this, &QPlainTextEdit::cursorPositionChanged, this, [this] { emit caretMoved(CaretLine(), CaretColumn()); });
}

bool TTextEditor::FitsCodePage(const QString& text) {
  for (QChar c : text) {
    const char16_t unit = c.unicode();
    if (unit != u'?' && cp1252::FromUnicode(unit) == '?') return false;
  }
  return true;
}

QString TTextEditor::LimitError(const QString& text) {
  const qsizetype lines = text.count(QLatin1Char('\n')) + 1;
  if (lines > kMaxLines) return QStringLiteral("Der Text darf höchstens %1 Zeilen haben.").arg(kMaxLines);
  qsizetype start = 0;
  for (int line = 1; start <= text.size(); ++line) {
    qsizetype end = text.indexOf(QLatin1Char('\n'), start);
    if (end < 0) end = text.size();
    if (end - start > kMaxLineLength)
      return QStringLiteral("Zeile %1 ist länger als %2 Zeichen.").arg(line).arg(kMaxLineLength);
    start = end + 1;
  }
  // Stored with CR LF: every line break takes two bytes.
  if (text.size() + lines - 1 > kMaxBytes) return QStringLiteral("Der Text darf höchstens %1 Bytes lang sein.").arg(kMaxBytes);
  return {};
}

bool TTextEditor::SetLines(const QStringList& lines) {
  const QString text = lines.join(QLatin1Char('\n'));
  if (!FitsCodePage(text) || !LimitError(text).isEmpty()) {
    Refuse();
    return false;
  }
  setPlainText(text);
  document()->setModified(false);
  moveCursor(QTextCursor::Start);
  return true;
}

QStringList TTextEditor::Lines() const { return toPlainText().split(QLatin1Char('\n')); }

int TTextEditor::FirstVisibleLine() const { return firstVisibleBlock().blockNumber(); }

void TTextEditor::SetFirstVisibleLine(int line) { verticalScrollBar()->setValue(line); }

int TTextEditor::CaretLine() const { return textCursor().blockNumber(); }

int TTextEditor::CaretColumn() const { return textCursor().positionInBlock(); }

bool TTextEditor::SetCaret(int line, int column) {
  const QTextBlock block = document()->findBlockByNumber(line);
  if (line < 0 || column < 0 || !block.isValid() || column >= block.length()) return false;
  QTextCursor cursor = textCursor();
  cursor.setPosition(block.position() + column);
  setTextCursor(cursor);
  return true;
}

QPoint TTextEditor::SelectionStart() const {
  const QTextBlock block = document()->findBlock(textCursor().selectionStart());
  return {textCursor().selectionStart() - block.position(), block.blockNumber()};
}

QPoint TTextEditor::SelectionEnd() const {
  const QTextBlock block = document()->findBlock(textCursor().selectionEnd());
  return {textCursor().selectionEnd() - block.position(), block.blockNumber()};
}

void TTextEditor::DeleteSelectionOrChar() {
  QTextCursor cursor = textCursor();
  if (cursor.hasSelection())
    cursor.removeSelectedText();
  else
    cursor.deleteChar();
  setTextCursor(cursor);
}

void TTextEditor::ApplySettings() {
  const TStationSettings& s = TStationSettings::Current();
  const TStoredFont& stored = s.fonts[TStationSettings::kTableFont];
  QFont font = TFontMapper::Make(stored.name, stored.size);
  font.setItalic(stored.style & TStoredFont::kItalic);
  font.setBold(stored.style & TStoredFont::kBold);
  font.setStyleHint(QFont::TypeWriter);
  font.setFixedPitch(true);
  setFont(font);
  document()->setDefaultFont(font);
  QPalette pal = palette();
  const QColor background = tcolor::ToQColor(s.colors[TStationSettings::kTableBackgnd]);
  pal.setColor(QPalette::Base, background);
  pal.setColor(QPalette::Window, background);  // the margins
  pal.setColor(QPalette::Text, tcolor::ToQColor(s.colors[TStationSettings::kTableText]));
  setPalette(pal);
  setBackgroundRole(QPalette::Base);
  setAutoFillBackground(true);
  setTabStopDistance(kTabWidth * QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
}

void TTextEditor::keyPressEvent(QKeyEvent* event) {
  const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
  if (event->key() == Qt::Key_Insert && mods == Qt::NoModifier) {
    setOverwriteMode(!overwriteMode());
    viewport()->update();
    event->accept();
    return;
  }
  QString text;
  bool overwrite = overwriteMode();
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    text = QStringLiteral("\n");
    overwrite = false;  // a line break is always inserted
  } else if (event->key() == Qt::Key_Tab && mods == Qt::NoModifier) {
    text = QStringLiteral("\t");
  } else if (!event->text().isEmpty() && !(mods & (Qt::ControlModifier | Qt::MetaModifier))) {
    text = event->text();
    for (QChar c : text)
      if (c.unicode() < 0x20 || c.unicode() == 0x7F) text.clear();  // control keys insert nothing
  }
  if (!text.isEmpty() && !AcceptInsert(text, overwrite)) {
    event->accept();
    return;
  }
  if (text == QStringLiteral("\n") && !isReadOnly()) {
    // Shift+Enter would put a line separator inside the line; every break
    // here is a new line.
    QTextCursor cursor = textCursor();
    cursor.insertBlock();
    setTextCursor(cursor);
    ensureCursorVisible();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void TTextEditor::inputMethodEvent(QInputMethodEvent* event) {
  if (!event->commitString().isEmpty() && !AcceptInsert(event->commitString(), overwriteMode())) {
    event->accept();
    return;
  }
  QPlainTextEdit::inputMethodEvent(event);
}

void TTextEditor::insertFromMimeData(const QMimeData* source) {
  if (!source || !source->hasText()) return;
  const QString text = NormalizeBreaks(source->text());
  if (!AcceptInsert(text, false)) return;
  QTextCursor cursor = textCursor();
  cursor.insertText(text);
  setTextCursor(cursor);
  ensureCursorVisible();
}

bool TTextEditor::AcceptInsert(const QString& raw, bool overwrite) {
  const QString text = NormalizeBreaks(raw);
  if (!FitsCodePage(text)) {
    Refuse();
    return false;
  }
  const QTextCursor cursor = textCursor();
  int start = cursor.selectionStart();
  int end = cursor.selectionEnd();
  if (overwrite && !cursor.hasSelection() && !cursor.atBlockEnd()) end = start + 1;
  QString result = toPlainText();
  result.replace(start, end - start, text);
  if (!LimitError(result).isEmpty()) {
    Refuse();
    return false;
  }
  return true;
}

void TTextEditor::Refuse() const { TUserInterface::Current().Beep(TUserInterface::Sound::Warning); }
