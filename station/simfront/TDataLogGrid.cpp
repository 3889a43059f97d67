#include "TDataLogGrid.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

TDataLogGrid::TDataLogGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  setObjectName(QStringLiteral("FileGrid"));
  setAccessibleName(QStringLiteral("Datenaufzeichnung"));
  setFocusPolicy(Qt::StrongFocus);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  UpdateScrollRange();
}

void TDataLogGrid::SetSource(const TDataLogSource* source) {
  source_ = source;
  lastLength_ = Length();
  setAccessibleDescription(lastLength_ == 0 ? kEmptyText : QStringLiteral("%1 Werte aufgezeichnet").arg(lastLength_));
  UpdateScrollRange();
  viewport()->update();
}

void TDataLogGrid::SetHex(bool hex) {
  if (hex_ == hex) return;
  hex_ = hex;
  UpdateScrollRange();
  viewport()->update();
}

void TDataLogGrid::SetColors(QColor background, QColor oldValue, QColor newValue, QColor index) {
  background_ = background;
  oldColor_ = oldValue;
  newColor_ = newValue;
  indexColor_ = index;
  viewport()->update();
}

void TDataLogGrid::SetGridFont(const QFont& font) {
  setFont(font);
  viewport()->setFont(font);
  UpdateScrollRange();
  viewport()->update();
}

int TDataLogGrid::CharWidth() const { return QFontMetrics(font()).horizontalAdvance(QLatin1Char('8')); }

TDataLogLayout TDataLogGrid::Layout() const {
  TDataLogLayout layout;
  layout.charWidth = CharWidth();
  layout.clientWidth = viewport()->width();
  layout.hex = hex_;
  layout.length = Length();
  return layout;
}

int TDataLogGrid::RowHeight() const { return QFontMetrics(font()).height() + TDataLogLayout::kRowExtra; }

QRect TDataLogGrid::RowRect(int row) const {
  return QRect(0, row * RowHeight() - verticalScrollBar()->value(), viewport()->width(), RowHeight());
}

QColor TDataLogGrid::ValueColor(int index) const { return index < shown_ ? oldColor_ : newColor_; }

void TDataLogGrid::Refresh() {
  const int length = Length();
  const int previous = source_ ? source_->PreviousLength() : 0;
  const TDataLogLayout layout = Layout();
  // Rows whose text changes (between the old and the new length) and rows
  // whose values turn from new to old (from the previously shown count on).
  const int from = std::min({shown_, lastLength_, length, previous});
  const int to = std::max(lastLength_, length);
  shown_ = std::min(previous, length);
  lastLength_ = length;
  UpdateScrollRange();
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
  lastRows_ = {layout.RowOf(from), layout.RowOf(std::max(0, to - 1))};
  QRect dirty;
  for (int row = lastRows_.first; row <= lastRows_.second; ++row) dirty |= RowRect(row);
  viewport()->update(dirty.intersected(viewport()->rect()));
  setAccessibleDescription(length == 0 ? kEmptyText : QStringLiteral("%1 Werte aufgezeichnet").arg(length));
}

void TDataLogGrid::UpdateScrollRange() {
  const TDataLogLayout layout = Layout();
  const int total = layout.Rows() * RowHeight();
  verticalScrollBar()->setPageStep(viewport()->height());
  verticalScrollBar()->setSingleStep(RowHeight());
  verticalScrollBar()->setRange(0, std::max(0, total - viewport()->height()));
}

void TDataLogGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
  viewport()->update();
}

void TDataLogGrid::scrollContentsBy(int, int dy) { viewport()->scroll(0, dy); }

void TDataLogGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), background_);
  painter.setFont(font());
  const QFontMetrics metrics(font());
  const TDataLogLayout layout = Layout();
  const int height = RowHeight();
  const int offset = verticalScrollBar()->value();
  const int ascent = metrics.ascent();
  paintedRows_ = 1;
  if (layout.length == 0) {
    painter.setPen(oldColor_);
    painter.drawText(TDataLogLayout::kIndexX, -offset + TDataLogLayout::kTextTop + ascent, kEmptyText);
    return;
  }
  const int n = layout.ValuesPerRow();
  const int firstRow = std::max(0, (event->rect().top() + offset) / height);
  const int lastRow = std::min(layout.Rows() - 1, (event->rect().bottom() + offset) / height);
  const int valueWidth = layout.charWidth * layout.ValueWidth();
  paintedRows_ = std::max(0, lastRow - firstRow + 1);
  for (int row = firstRow; row <= lastRow; ++row) {
    const int baseline = row * height - offset + TDataLogLayout::kTextTop + ascent;
    painter.setPen(indexColor_);
    painter.drawText(TDataLogLayout::kIndexX, baseline, TDataLogLayout::FormatIndex(row * n));
    const int first = row * n;
    const int end = std::min(first + n, layout.length);
    // One run of text per colour, as the values follow each other.
    const int split = std::clamp(shown_, first, end);
    int x = layout.ValuesX();
    for (int part = 0; part < 2; ++part) {
      const int a = part == 0 ? first : split;
      const int b = part == 0 ? split : end;
      if (a >= b) continue;
      QString text;
      text.reserve((b - a) * layout.ValueWidth());
      for (int i = a; i < b; ++i) text += TDataLogLayout::FormatValue(source_->Value(i), hex_);
      painter.setPen(part == 0 ? oldColor_ : newColor_);
      painter.drawText(x, baseline, text);
      x += (b - a) * valueWidth;
    }
  }
}
