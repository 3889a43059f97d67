// TTextEditor: the multi-line text control of the table and comment editors.
//
// A plain-text editor with the limits of the texts it edits: at most 50 000
// bytes as stored (every line break counts as CR LF), at most 1000 lines of
// at most 200 characters. Typing, pasting or loading beyond a limit is
// refused whole with the warning beep; nothing is cut. The texts end up as
// Windows-1252 in the project, so a character that code page cannot hold is
// refused the same way instead of turning into "?" later.
//
// Tab inserts a tab (width 4), the caret starts in overwrite mode (a block
// caret) and Insert toggles insert mode. Font and colours come from the
// station's settings ("Tabellen-/Kommentareditor").
#pragma once

#include <QPlainTextEdit>
#include <QStringList>

class TTextEditor : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr int kMaxBytes = 50000;
  static constexpr int kMaxLines = 1000;
  static constexpr int kMaxLineLength = 200;
  static constexpr int kTabWidth = 4;
  static constexpr int kMargin = 5;

  explicit TTextEditor(QWidget* parent = nullptr);

  // Loads lines; false (after the warning beep, editor unchanged) when they
  // pass a limit or hold a character Windows-1252 has not. Clears undo and
  // the modified flag.
  bool SetLines(const QStringList& lines);
  // The text line by line (an empty editor is one empty line).
  QStringList Lines() const;

  // Why a text would not fit, or empty when it does.
  static QString LimitError(const QString& text);
  // True when every character has a Windows-1252 byte.
  static bool FitsCodePage(const QString& text);

  // Positions as the desktop file keeps them, 0-based.
  int FirstVisibleLine() const;
  void SetFirstVisibleLine(int line);
  int CaretLine() const;
  int CaretColumn() const;
  // Places the caret; false for a position outside the text.
  bool SetCaret(int line, int column);
  // Line and column of the selection's start and end (start == end without one).
  QPoint SelectionStart() const;  // x column, y line
  QPoint SelectionEnd() const;

  // Deletes the selection, or the character at the caret.
  void DeleteSelectionOrChar();

  // Font and colours from TStationSettings::Current().
  void ApplySettings();

 signals:
  // The caret moved (line and column are 0-based).
  void caretMoved(int line, int column);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;

 private:
  // Whether replacing the selection with text (or overwriting the characters
  // after the caret) keeps the document within its limits; beeps when not.
  bool AcceptInsert(const QString& text, bool overwrite);
  void Refuse() const;
};
