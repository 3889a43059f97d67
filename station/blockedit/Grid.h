// Grid snapping of the cell: grid points lie at g/2 + k*g on both axes.
#pragma once

#include <QPoint>
#include <cstdint>

namespace grid {

// The nearest grid coordinate of v (used while aligning is on).
inline int32_t Nearest(int32_t v, int32_t g) {
  if (g <= 0) return v;
  int32_t d = (v / g) * g + g / 2;
  if (v - d > g / 2) d += g;
  return d;
}

// The first grid coordinate at or after v (used when placing new blocks).
inline int32_t Forward(int32_t v, int32_t g) {
  if (g <= 0) return v;
  int32_t d = (v / g) * g + g / 2;
  if (d < v) d += g;
  return d;
}

inline QPoint Nearest(QPoint p, int32_t g) { return {Nearest(p.x(), g), Nearest(p.y(), g)}; }
inline QPoint Forward(QPoint p, int32_t g) { return {Forward(p.x(), g), Forward(p.y(), g)}; }

}  // namespace grid
