#include "DocumentPlacement.h"

#include <algorithm>

namespace documentplacement {

QRect Inside(const QRect& rect, const QRect& area, QSize minimum) {
  if (area.isEmpty()) return rect;
  const QSize size(std::min(std::max(rect.width(), minimum.width()), area.width()),
                   std::min(std::max(rect.height(), minimum.height()), area.height()));
  const int left = std::clamp(rect.left(), area.left(), area.left() + area.width() - size.width());
  const int top = std::clamp(rect.top(), area.top(), area.top() + area.height() - size.height());
  return QRect(QPoint(left, top), size);
}

QRect Cascaded(int index, const QRect& area, int step, QSize minimum) {
  const QSize size(std::min(std::max(area.width() * 2 / 3, minimum.width()), area.width()),
                   std::min(std::max(area.height() * 2 / 3, minimum.height()), area.height()));
  step = std::max(1, step);
  // How many windows fit before the cascade would leave the area.
  const int room = std::max(1, std::min((area.width() - size.width()) / step, (area.height() - size.height()) / step) + 1);
  const int place = std::max(0, index) % room;
  return QRect(area.topLeft() + QPoint(place * step, place * step), size);
}

}  // namespace documentplacement
