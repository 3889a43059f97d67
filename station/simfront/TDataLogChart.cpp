#include "TDataLogChart.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

TDataLogChart::TDataLogChart(std::vector<uint16_t> values, QWidget* parent)
    : QWidget(parent, Qt::Window), values_(std::move(values)) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QStringLiteral("Datenaufzeichnung - Diagramm"));
  setAccessibleName(windowTitle());
  setAccessibleDescription(QStringLiteral("%1 Werte").arg(values_.size()));
  if (!values_.empty()) {
    const auto [lo, hi] = std::minmax_element(values_.begin(), values_.end());
    low_ = *lo;
    high_ = std::max(*hi, static_cast<uint16_t>(*lo + 1));
  }
  resize(560, 320);
}

QRect TDataLogChart::PlotArea() const { return rect().adjusted(60, 20, -20, -40); }

QPointF TDataLogChart::PointOf(int index) const {
  const QRectF area(PlotArea().topLeft(), PlotArea().bottomRight());  // top to bottom row inclusive
  const int count = std::max<int>(1, static_cast<int>(values_.size()) - 1);
  const double x = area.left() + area.width() * static_cast<double>(index) / count;
  const double y = area.bottom() - area.height() * static_cast<double>(values_[static_cast<size_t>(index)] - low_) / (high_ - low_);
  return {x, y};
}

void TDataLogChart::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const QRect area = PlotArea();
  painter.setPen(Qt::black);
  painter.drawLine(area.bottomLeft(), area.bottomRight());
  painter.drawLine(area.bottomLeft(), area.topLeft());
  if (values_.empty()) {
    painter.drawText(area, Qt::AlignCenter, QStringLiteral("Keine Daten aufgezeichnet"));
    return;
  }
  const QFontMetrics fm(font());
  painter.drawText(QRect(0, area.top() - fm.height() / 2, area.left() - 6, fm.height()), Qt::AlignRight, QString::number(high_));
  painter.drawText(QRect(0, area.bottom() - fm.height() / 2, area.left() - 6, fm.height()), Qt::AlignRight, QString::number(low_));
  painter.drawText(QRect(area.left(), area.bottom() + 4, 80, fm.height()), Qt::AlignLeft, QStringLiteral("0"));
  painter.drawText(QRect(area.right() - 80, area.bottom() + 4, 80, fm.height()), Qt::AlignRight,
                   QString::number(values_.size() - 1));
  painter.drawText(QRect(area.left(), area.bottom() + 4, area.width(), fm.height()), Qt::AlignHCenter,
                   QStringLiteral("Index"));
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(0, 0, 160), 1.5));
  if (values_.size() == 1) {
    painter.drawEllipse(PointOf(0), 3, 3);
    return;
  }
  QPainterPath path(PointOf(0));
  for (int i = 1; i < static_cast<int>(values_.size()); ++i) path.lineTo(PointOf(i));
  painter.drawPath(path);
}
