// TTableErrorMarker: underlines, as the user types, the words of a table
// that the compiler would refuse, and explains them in a tooltip, so an
// error shows before the project is compiled.
#pragma once

#include <QSyntaxHighlighter>

#include "TTableLineCheck.h"

class QPlainTextEdit;

class TTableErrorMarker : public QSyntaxHighlighter {
  Q_OBJECT

 public:
  // Marks the editor's document and shows tooltips over its viewport.
  explicit TTableErrorMarker(QPlainTextEdit* editor);

  // The errors of a line of the editor (0-based), empty for a good line.
  std::vector<TTableLineError> ErrorsOfLine(int line) const;
  // The tooltip text at a position of the editor's viewport, empty for none.
  QString ToolTipAt(QPoint viewportPos) const;

 protected:
  void highlightBlock(const QString& text) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* editor_;
  QWidget* viewport_ = nullptr;
};
