// A cell rectangle with the platform's conventions: Right and Bottom are
// exclusive, a rectangle with Right <= Left or Bottom <= Top is empty, and
// intersection and union ignore empty rectangles.
#pragma once

#include <QPoint>
#include <QRect>
#include <algorithm>
#include <cstdint>

struct TRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  QPoint TopLeft() const { return {left, top}; }

  bool Contains(QPoint p) const { return p.x() >= left && p.x() < right && p.y() >= top && p.y() < bottom; }

  // True when the two rectangles share at least one pixel.
  bool Intersects(const TRect& o) const {
    return std::max(left, o.left) < std::min(right, o.right) && std::max(top, o.top) < std::min(bottom, o.bottom);
  }

  TRect United(const TRect& o) const {
    if (o.IsEmpty()) return IsEmpty() ? TRect{} : *this;
    if (IsEmpty()) return o;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }

  TRect Offset(int32_t dx, int32_t dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  TRect Offset(QPoint d) const { return Offset(d.x(), d.y()); }
  TRect Inflated(int32_t d) const { return {left - d, top - d, right + d, bottom + d}; }

  // The same pixels as a QRect (whose right and bottom are inclusive).
  QRect ToQRect() const { return QRect(left, top, Width(), Height()); }
  static TRect FromQRect(const QRect& r) { return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()}; }

  friend bool operator==(const TRect&, const TRect&) = default;
};
