#include "WindowIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <array>

namespace windowicons {

namespace {

// Draws the 16 x 16 design; the painter is scaled to the picture's size.
void Draw(QPainter& p, Kind kind) {
  p.setRenderHint(QPainter::Antialiasing);
  switch (kind) {
    case Kind::Application: {
      // The unit: a housing with a display and a row of keys, a wire leaving it.
      p.setPen(QPen(QColor(40, 50, 70), 0.8));
      p.setBrush(QColor(178, 182, 190));
      p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
      p.setBrush(QColor(40, 110, 60));
      p.drawRect(QRectF(3.5, 3.5, 9, 4));
      p.setPen(QPen(QColor(170, 255, 170), 0.8));
      p.drawLine(QPointF(4.5, 6.5), QPointF(7, 4.8));
      p.drawLine(QPointF(7, 4.8), QPointF(9, 6));
      p.drawLine(QPointF(9, 6), QPointF(11.5, 4.5));
      p.setPen(QPen(QColor(60, 60, 70), 0.6));
      p.setBrush(QColor(240, 240, 242));
      for (int k = 0; k < 3; ++k) p.drawRoundedRect(QRectF(3.5 + 3.3 * k, 9.5, 2.6, 3), 0.6, 0.6);
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(255, 200, 0));
      p.drawEllipse(QPointF(12.5, 11), 1.1, 1.1);
      break;
    }
    case Kind::Table: {
      // A grid with a header row.
      p.setPen(QPen(QColor(0, 64, 128), 0.8));
      p.setBrush(Qt::white);
      p.drawRect(QRectF(1.5, 2.5, 13, 11));
      p.setBrush(QColor(160, 190, 230));
      p.drawRect(QRectF(1.5, 2.5, 13, 3));
      p.setPen(QPen(QColor(0, 64, 128), 0.6));
      for (double y : {8.5, 11.0}) p.drawLine(QPointF(1.5, y), QPointF(14.5, y));
      for (double x : {5.8, 10.2}) p.drawLine(QPointF(x, 2.5), QPointF(x, 13.5));
      break;
    }
    case Kind::DataLog: {
      // A sheet of values with a rising line over it.
      p.setPen(QPen(Qt::darkGray, 0.8));
      p.setBrush(QColor(255, 255, 220));
      p.drawRect(QRectF(1.5, 1.5, 12, 13));
      p.setPen(QPen(QColor(120, 120, 120), 0.6));
      for (double y : {4.5, 7.0, 9.5, 12.0}) p.drawLine(QPointF(3, y), QPointF(12, y));
      p.setPen(QPen(QColor(200, 0, 0), 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
      p.setBrush(Qt::NoBrush);
      QPainterPath line;
      line.moveTo(3, 12);
      line.lineTo(6, 8.5);
      line.lineTo(9, 10);
      line.lineTo(14.5, 3.5);
      p.drawPath(line);
      break;
    }
    case Kind::Comment: {
      // The tool bar's comment sheet with lines of text and a pen.
      p.setPen(QPen(Qt::darkGray, 0.8));
      p.setBrush(QColor(255, 255, 220));
      p.drawRect(QRectF(1.5, 1.5, 11, 13));
      p.setPen(QPen(Qt::black, 0.8));
      for (double y : {4.5, 7.0, 9.5}) p.drawLine(QPointF(3.5, y), QPointF(10.5, y));
      p.drawLine(QPointF(3.5, 12), QPointF(7.5, 12));
      p.setPen(QPen(QColor(0, 64, 160), 2.0, Qt::SolidLine, Qt::RoundCap));
      p.drawLine(QPointF(9.5, 13), QPointF(14.5, 7));
      break;
    }
  }
}

QIcon Make(Kind kind) {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.scale(size / 16.0, size / 16.0);
    Draw(p, kind);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace

QIcon Icon(Kind kind) {
  static std::array<QIcon, 4> icons;
  QIcon& icon = icons[static_cast<size_t>(kind)];
  if (icon.isNull()) icon = Make(kind);
  return icon;
}

}  // namespace windowicons
