// TDataLogChart: the data log drawn as a line chart, value over index, in a
// window of its own. A snapshot: it does not follow later changes.
#pragma once

#include <QWidget>
#include <cstdint>
#include <vector>

class TDataLogChart : public QWidget {
  Q_OBJECT

 public:
  TDataLogChart(std::vector<uint16_t> values, QWidget* parent = nullptr);

  // The chart's plot area inside the window.
  QRect PlotArea() const;
  // Where a value is drawn (for tests).
  QPointF PointOf(int index) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  std::vector<uint16_t> values_;
  int low_ = 0;
  int high_ = 1;
};
