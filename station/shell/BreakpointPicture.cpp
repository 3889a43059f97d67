#include "BreakpointPicture.h"

#include <QColor>
#include <QPainter>

void PaintBreakpoint(QPainter& p, const QRect& dot) {
  p.setPen(QColor(128, 0, 0));
  p.setBrush(QColor(220, 0, 0));
  p.drawEllipse(dot);
}
