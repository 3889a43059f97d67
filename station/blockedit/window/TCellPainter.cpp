#include "TCellPainter.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <map>

#include "CellEditorSettings.h"
#include "TBlock.h"
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
  PaintFindings(painter);
  if (live_) live_->Paint(painter, *cell_, clip);
}

namespace {

constexpr int kMarkSize = 12;

// The symbol of a block's findings: a disc in the block's upper right
// corner, inside its box, so repainting the box repaints the symbol.
QRect MarkRect(const TRect& bounds) { return QRect(bounds.right - kMarkSize, bounds.top, kMarkSize, kMarkSize); }

QColor MarkColor(TSeverity s) {
  switch (s) {
    case TSeverity::kFehler: return QColor(0xD0, 0x20, 0x20);
    case TSeverity::kWarnung: return QColor(0xE0, 0x90, 0x00);
    case TSeverity::kHinweis: return QColor(0x20, 0x60, 0xC0);
  }
  return Qt::red;
}

}  // namespace

void TCellPainter::SetFindings(std::vector<TFinding> findings) {
  if (findings == findings_) return;
  findings_ = std::move(findings);
  update();
}

std::vector<TFinding> TCellPainter::FindingsAt(QPoint p) const {
  std::vector<TFinding> out;
  if (!cell_) return out;
  for (const TFinding& f : findings_) {
    const TBlock* b = cell_->FindBlock(f.blockId);
    if (b && b->Id() == f.blockId && b->Bounds().Contains(p)) out.push_back(f);
  }
  return out;
}

void TCellPainter::PaintFindings(QPainter& painter) const {
  if (!cell_ || findings_.empty()) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(kMarkSize - 2);
  painter.setFont(font);
  std::map<int32_t, TSeverity> worst;
  for (const TFinding& f : findings_) {
    auto [it, fresh] = worst.emplace(f.blockId, f.severity);
    if (!fresh) it->second = std::min(it->second, f.severity);
  }
  for (const auto& [id, severity] : worst) {
    const TBlock* b = cell_->FindBlock(id);
    if (!b || b->Id() != id) continue;
    const QRect r = MarkRect(b->Bounds());
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(MarkColor(severity));
    painter.drawEllipse(r);
    painter.drawText(r, Qt::AlignCenter, severity == TSeverity::kHinweis ? QStringLiteral("i") : QStringLiteral("!"));
  }
  painter.restore();
}

bool TCellPainter::event(QEvent* event) {
  if (event->type() == QEvent::ToolTip) {
    auto* help = static_cast<QHelpEvent*>(event);
    QStringList lines;
    for (const TFinding& f : FindingsAt(ToCell(help->pos())))
      lines << QStringLiteral("%1 %2: %3").arg(SeverityName(f.severity), f.code, f.text);
    if (lines.isEmpty()) {
      QToolTip::hideText();
      event->ignore();
    } else {
      QToolTip::showText(help->globalPos(), lines.join(QLatin1Char('\n')), this);
    }
    return true;
  }
  return QWidget::event(event);
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
