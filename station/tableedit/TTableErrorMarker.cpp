#include "TTableErrorMarker.h"

#include <QHelpEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QToolTip>

TTableErrorMarker::TTableErrorMarker(QPlainTextEdit* editor) : QSyntaxHighlighter(editor->document()), editor_(editor) {
  viewport_ = editor_->viewport();
  viewport_->installEventFilter(this);
}

std::vector<TTableLineError> TTableErrorMarker::ErrorsOfLine(int line) const {
  const QTextBlock block = editor_->document()->findBlockByNumber(line);
  return block.isValid() ? TTableLineCheck::Check(block.text()) : std::vector<TTableLineError>{};
}

void TTableErrorMarker::highlightBlock(const QString& text) {
  QTextCharFormat format;
  format.setUnderlineStyle(QTextCharFormat::WaveUnderline);
  format.setUnderlineColor(Qt::red);
  for (const TTableLineError& e : TTableLineCheck::Check(text)) setFormat(e.start, e.length, format);
}

QString TTableErrorMarker::ToolTipAt(QPoint viewportPos) const {
  const QTextCursor cursor = editor_->cursorForPosition(viewportPos);
  const int column = cursor.positionInBlock();
  for (const TTableLineError& e : TTableLineCheck::Check(cursor.block().text()))
    if (column >= e.start && column <= e.start + e.length) return e.message;
  return {};
}

bool TTableErrorMarker::eventFilter(QObject* watched, QEvent* event) {
  // The viewport is compared as a plain pointer: its events also come
  // while the editor around it is being destroyed.
  if (event->type() == QEvent::ToolTip && watched == viewport_) {
    auto* help = static_cast<QHelpEvent*>(event);
    const QString tip = ToolTipAt(help->pos());
    if (tip.isEmpty())
      QToolTip::hideText();
    else
      QToolTip::showText(help->globalPos(), tip, viewport_);
    return true;
  }
  return QSyntaxHighlighter::eventFilter(watched, event);
}
