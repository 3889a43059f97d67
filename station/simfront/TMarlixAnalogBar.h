// TMarlixAnalogBar: a horizontal value bar the user drags or steers with the
// keys. The value always lies within MinValue..MaxValue; every change of it
// emits changed(). The thumb is the right end of the filled part.
#pragma once

#include <QColor>
#include <QWidget>

class TMarlixAnalogBar : public QWidget {
  Q_OBJECT
  Q_PROPERTY(QColor BackgroundColor READ BackgroundColor WRITE SetBackgroundColor)
  Q_PROPERTY(QColor ForegroundColor READ ForegroundColor WRITE SetForegroundColor)
  Q_PROPERTY(int MinValue READ MinValue WRITE SetMinValue)
  Q_PROPERTY(int MaxValue READ MaxValue WRITE SetMaxValue)
  Q_PROPERTY(int Value READ Value WRITE SetValue NOTIFY changed)
  Q_PROPERTY(int ValueDelta READ ValueDelta WRITE SetValueDelta)
  Q_PROPERTY(int ValueDeltaPage READ ValueDeltaPage WRITE SetValueDeltaPage)

 public:
  explicit TMarlixAnalogBar(QWidget* parent = nullptr);

  QColor BackgroundColor() const { return background_; }
  void SetBackgroundColor(const QColor& color);
  QColor ForegroundColor() const { return foreground_; }
  void SetForegroundColor(const QColor& color);
  int MinValue() const { return min_; }
  void SetMinValue(int value);
  int MaxValue() const { return max_; }
  void SetMaxValue(int value);
  int Value() const { return value_; }
  void SetValue(int value);
  int ValueDelta() const { return delta_; }
  void SetValueDelta(int delta) { delta_ = delta; }
  int ValueDeltaPage() const { return deltaPage_; }
  void SetValueDeltaPage(int delta) { deltaPage_ = delta; }

  // The filled width in pixels of the inner area (Width - 8 at most).
  int Position() const;
  // Whether a point lies on the thumb (where a press starts a drag).
  bool InThumb(const QPoint& pos) const;

 signals:
  void changed(int value);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void DragTo(int x);

  QColor background_;
  QColor foreground_{0, 255, 0};
  int min_ = 0;
  int max_ = 100;
  int value_ = 0;
  int delta_ = 1;
  int deltaPage_ = 10;
  bool dragging_ = false;
};
