// TInputLine: a wire from the output of a source block to one input slot of
// its target block. The points are drawing data of the station only; the
// engine knows just (source, target, slot).
#pragma once

#include <QPoint>
#include <QString>
#include <array>
#include <cstdint>

#include "TRect.h"

class QPainter;
struct CellEditorSettings;

class TInputLine {
 public:
  static constexpr int kMaxPoints = 21;
  enum HitKind : int8_t { kHitNone = 0, kHitPoint = 1, kHitSegment = 2 };
  enum Side : uint8_t { kLeft = 0, kTop = 1, kRight = 2, kBottom = 3 };

  int32_t source = 0;
  int8_t connectionKind = 0;
  int8_t menuLetter = -1;  // 0 shows "a", 1 "b", ...; -1 when the engine chose the slot
  uint8_t arrivalSide = 0;
  int32_t pointCount = 0;
  std::array<QPoint, kMaxPoints> points{};
  TRect bounds;
  int8_t hitKind = kHitNone;
  int32_t hitIndex = -1;
  bool hidden = false;

  QPoint Point(int i) const { return points[static_cast<size_t>(i)]; }
  QPoint Last() const { return points[static_cast<size_t>(pointCount - 1)]; }

  // Side of p relative to c.
  static uint8_t SideOf(QPoint p, QPoint c);
  // Where a wire whose neighbouring point is p meets the outline of r.
  static QPoint AttachPoint(const TRect& r, QPoint p, bool align, int32_t grid);

  // Appends a point while fewer than 21 exist; the hit index follows it.
  bool AddPoint(QPoint p);
  // Inserts the mouse position after the hit index (dragging a segment).
  bool InsertBend(QPoint p);
  // Removes the inner point at the hit index.
  bool DeleteBend();
  void RemoveDuplicates();
  bool RerouteStart(const TRect& sourceRect);
  bool RerouteEnd(const TRect& targetRect);
  // Moves both ends along the outlines of their blocks after a bend moved.
  void SlideEnds(const TRect& sourceRect, const TRect& targetRect);
  void ShiftAll(QPoint delta);
  void ShiftInner(QPoint delta);
  // Recomputes ArrivalSide and bounds; called after every change of points.
  void Update();

  // Hit test at m; sets hit kind and index and answers whether anything was hit.
  bool HitTest(QPoint m);

  void Paint(QPainter& painter, const CellEditorSettings& settings) const;

  // "source,combined:x,y,x,y,..." of the cell body.
  QString ToText() const;
  // Parses a wire text; more than 21 points are dropped. False when a number
  // does not convert.
  bool FromText(const QString& text);

  bool SameRoute(const TInputLine& o) const;
};
