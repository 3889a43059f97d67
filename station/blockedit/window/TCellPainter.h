// TCellPainter: the 2000 x 2000 painting surface of a program cell.
//
// It draws the grid (or the background), the blocks, the wires, the mouse
// tool's feedback, the compiler's error mark, the marks of the program
// checks' findings (with their texts as tool tips) and the live values,
// scaled by the zoom factor; it reports mouse events in cell coordinates.
#pragma once

#include <QPixmap>
#include <QRegion>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "TFinding.h"
#include "TRect.h"

class TBlockList;
class TLiveValues;
class TMouseTool;

class TCellPainter : public QWidget {
  Q_OBJECT

 public:
  explicit TCellPainter(QWidget* parent = nullptr);

  void SetCell(const TBlockList* cell) { cell_ = cell; }
  void SetTool(const TMouseTool* tool) { tool_ = tool; }
  void SetLiveValues(const TLiveValues* live) { live_ = live; }
  void SetErrorBlockId(int32_t id) { errorBlockId_ = id; }
  // The findings of the shown cell's blocks; each marked block gets a small
  // symbol at its upper right corner in the colour of its worst finding.
  void SetFindings(std::vector<TFinding> findings);
  const std::vector<TFinding>& Findings() const { return findings_; }
  // The findings of the block under a cell point.
  std::vector<TFinding> FindingsAt(QPoint cellPoint) const;

  // 1.0 is one screen pixel per cell pixel.
  double Zoom() const { return zoom_; }
  void SetZoom(double zoom);
  // Widget pixels and cell pixels.
  QPoint ToCell(QPoint widget) const;
  QRect ToWidget(const QRect& cell) const;
  TRect ToCell(const QRect& widget) const;
  // Repaints a cell area (a TRect or a region of cell rectangles).
  void RepaintCell(const TRect& r);
  void RepaintCell(const QRegion& r);
  // The grid tile is rebuilt when colours or grid size change.
  void SettingsChanged();
  // The time stamp of the last mouse press or release (milliseconds, the
  // window system's clock that double-clicks are told by).
  quint64 LastMouseTime() const { return lastMouseTime_; }

 signals:
  void CellMousePressed(QPoint cellPoint, Qt::MouseButton button, QPoint globalPos);
  void CellMouseMoved(QPoint cellPoint, QPoint widgetPos);
  void CellMouseReleased(QPoint cellPoint, Qt::MouseButton button);
  // The second press of a double-click (it comes instead of a press).
  void CellMouseDoubleClicked(QPoint cellPoint, Qt::MouseButton button, QPoint globalPos);
  // Ctrl+wheel: steps up (positive) or down, at a point of this widget.
  void ZoomWheel(int steps, QPoint widgetPos);

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  const QPixmap& GridTile();
  void PaintFindings(QPainter& painter) const;

  quint64 lastMouseTime_ = 0;
  const TBlockList* cell_ = nullptr;
  const TMouseTool* tool_ = nullptr;
  const TLiveValues* live_ = nullptr;
  int32_t errorBlockId_ = 0;
  std::vector<TFinding> findings_;
  double zoom_ = 1.0;
  QPixmap gridTile_;
};
