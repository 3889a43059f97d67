#include "TCellPainter.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "CellEditorSettings.h"
#include "TBlockList.h"
#include "TLiveValues.h"
#include "TMouseTool.h"

TCellPainter::TCellPainter(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("CellPainter"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  SetZoom(1.0);
}

void TCellPainter::SetZoom(double zoom) {
  zoom_ = zoom;
  const TRect area = CellEditorSettings::Current().cellArea;
  setFixedSize(static_cast<int>(std::lround(area.right * zoom_)), static_cast<int>(std::lround(area.bottom * zoom_)));
  update();
}

QPoint TCellPainter::ToCell(QPoint w) const {
  return {static_cast<int>(std::floor(w.x() / zoom_)), static_cast<int>(std::floor(w.y() / zoom_))};
}

TRect TCellPainter::ToCell(const QRect& w) const {
  return {static_cast<int32_t>(std::floor(w.left() / zoom_)), static_cast<int32_t>(std::floor(w.top() / zoom_)),
          static_cast<int32_t>(std::ceil((w.right() + 1) / zoom_)), static_cast<int32_t>(std::ceil((w.bottom() + 1) / zoom_))};
}

QRect TCellPainter::ToWidget(const QRect& c) const {
  const int l = static_cast<int>(std::floor(c.left() * zoom_));
  const int t = static_cast<int>(std::floor(c.top() * zoom_));
  const int r = static_cast<int>(std::ceil((c.right() + 1) * zoom_));
  const int b = static_cast<int>(std::ceil((c.bottom() + 1) * zoom_));
  return QRect(QPoint(l - 1, t - 1), QPoint(r, b));
}

void TCellPainter::RepaintCell(const TRect& r) {
  if (!r.IsEmpty()) update(ToWidget(r.ToQRect()));
}

void TCellPainter::RepaintCell(const QRegion& r) {
  if (r.isEmpty()) return;
  QRegion w;
  for (const QRect& c : r) w += ToWidget(c);
  update(w);
}

void TCellPainter::SettingsChanged() {
  gridTile_ = QPixmap();
  update();
}

const QPixmap& TCellPainter::GridTile() {
  if (gridTile_.isNull()) {
    // 16 x 16 grid cells, dotted at g/2 + k*g on both axes.
    const CellEditorSettings& s = CellEditorSettings::Current();
    const int g = std::max(2, static_cast<int>(s.gridSize));
    QImage tile(16 * g, 16 * g, QImage::Format_RGB32);
    tile.fill(tcolor::ToQColor(s.blockBackgroundColor));
    const QRgb dot = tcolor::ToQColor(s.foregroundColor).rgb();
    for (int y = g / 2; y < tile.height(); y += g)
      for (int x = g / 2; x < tile.width(); x += g) tile.setPixel(x, y, dot);
    gridTile_ = QPixmap::fromImage(tile);
  }
  return gridTile_;
}

void TCellPainter::paintEvent(QPaintEvent* event) {
  const CellEditorSettings& s = CellEditorSettings::Current();
  QPainter painter(this);
  const TRect clip = ToCell(event->rect());
  painter.scale(zoom_, zoom_);
  const QRect clipRect = clip.ToQRect();
  if (s.gridVisible) {
    const QPixmap& tile = GridTile();
    // Start at multiples of the tile so the dots stay where they belong.
    const int tw = tile.width(), th = tile.height();
    const int x0 = (clip.left / tw) * tw, y0 = (clip.top / th) * th;
    painter.drawTiledPixmap(QRect(x0, y0, clip.right - x0, clip.bottom - y0), tile);
  } else {
    painter.fillRect(clipRect, tcolor::ToQColor(s.blockBackgroundColor));
  }
  if (!cell_) return;
  cell_->PaintBlocks(painter, clip);
  cell_->PaintWires(painter, clip);
  if (tool_) tool_->PaintFeedback(painter);
  if (errorBlockId_ > 0) cell_->PaintErrorMark(painter, errorBlockId_);
  if (live_) live_->Paint(painter, *cell_, clip);
}

void TCellPainter::mousePressEvent(QMouseEvent* event) {
  lastMouseTime_ = event->timestamp();
  emit CellMousePressed(ToCell(event->position().toPoint()), event->button(), event->globalPosition().toPoint());
}

void TCellPainter::mouseMoveEvent(QMouseEvent* event) {
  emit CellMouseMoved(ToCell(event->position().toPoint()), event->position().toPoint());
}

void TCellPainter::mouseReleaseEvent(QMouseEvent* event) {
  lastMouseTime_ = event->timestamp();
  emit CellMouseReleased(ToCell(event->position().toPoint()), event->button());
}

void TCellPainter::mouseDoubleClickEvent(QMouseEvent* event) {
  emit CellMouseDoubleClicked(ToCell(event->position().toPoint()), event->button(), event->globalPosition().toPoint());
}

void TCellPainter::wheelEvent(QWheelEvent* event) {
  if (event->modifiers() & Qt::ControlModifier) {
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0) emit ZoomWheel(steps, event->position().toPoint());
    event->accept();
    return;
  }
  event->ignore();
}
