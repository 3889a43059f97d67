#include "TMarlixAnalogBar.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// What assistive technology sees of a bar: a slider with its label as the
// name, the value with its unit as the description, and the value itself.
class TMarlixAnalogBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit TMarlixAnalogBarAccessible(TMarlixAnalogBar* bar) : QAccessibleWidget(bar, QAccessible::Slider) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
  }
  QVariant currentValue() const override { return Bar()->Value(); }
  void setCurrentValue(const QVariant& value) override { Bar()->SetValue(value.toInt()); }
  QVariant maximumValue() const override { return Bar()->MaxValue(); }
  QVariant minimumValue() const override { return Bar()->MinValue(); }
  QVariant minimumStepSize() const override { return Bar()->ValueDelta(); }

 private:
  TMarlixAnalogBar* Bar() const { return static_cast<TMarlixAnalogBar*>(widget()); }
};

QAccessibleInterface* BarAccessible(const QString& className, QObject* object) {
  if (className == QLatin1String("TMarlixAnalogBar") && object && object->isWidgetType())
    return new TMarlixAnalogBarAccessible(static_cast<TMarlixAnalogBar*>(object));
  return nullptr;
}

}  // namespace

TMarlixAnalogBar::TMarlixAnalogBar(QWidget* parent) : QWidget(parent) {
  static const bool installed = [] {
    QAccessible::installFactory(BarAccessible);
    return true;
  }();
  (void)installed;
  background_ = palette().color(QPalette::Button);
  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
  resize(108, 18);
}

void TMarlixAnalogBar::SetBackgroundColor(const QColor& color) {
  if (color == background_) return;
  background_ = color;
  update();
}

void TMarlixAnalogBar::SetForegroundColor(const QColor& color) {
  if (color == foreground_) return;
  foreground_ = color;
  update();
}

void TMarlixAnalogBar::SetMinValue(int value) {
  min_ = value;
  if (max_ < min_) max_ = min_;
  SetValue(value_);
  update();
}

void TMarlixAnalogBar::SetMaxValue(int value) {
  max_ = value;
  if (min_ > max_) min_ = max_;
  SetValue(value_);
  update();
}

void TMarlixAnalogBar::SetValue(int value) {
  value = std::clamp(value, min_, max_);
  if (value == value_) return;
  value_ = value;
  update();
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent event(this, value_);
    QAccessible::updateAccessibility(&event);
  }
  emit changed(value_);
}

int TMarlixAnalogBar::Position() const {
  const int w = std::max(0, width() - 8);
  if (max_ == min_) return 0;
  return static_cast<int>(std::lround(static_cast<double>(value_ - min_) / (max_ - min_) * w));
}

bool TMarlixAnalogBar::InThumb(const QPoint& pos) const {
  const int position = Position();
  return pos.x() >= position + 1 && pos.x() <= position + 7 && pos.y() >= 3 && pos.y() <= height() - 3;
}

void TMarlixAnalogBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QRect all = rect();
  p.fillRect(all, palette().color(QPalette::Button));
  if (hasFocus()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = all.adjusted(1, 1, -1, -1);
    option.backgroundColor = palette().color(QPalette::Button);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &p, this);
  }
  // A sunken one-pixel frame inset by 3.
  const QRect frame = all.adjusted(3, 3, -3, -3);
  p.setPen(palette().color(QPalette::Dark));
  p.drawLine(frame.topLeft(), frame.topRight());
  p.drawLine(frame.topLeft(), frame.bottomLeft());
  p.setPen(palette().color(QPalette::Light));
  p.drawLine(frame.bottomLeft(), frame.bottomRight());
  p.drawLine(frame.topRight(), frame.bottomRight());
  const QRect inner = all.adjusted(4, 4, -4, -4);
  const int split = std::min(inner.right() + 1, inner.left() + Position() + 4);
  p.fillRect(QRect(QPoint(inner.left(), inner.top()), QPoint(split - 1, inner.bottom())), foreground_);
  if (split <= inner.right()) p.fillRect(QRect(QPoint(split, inner.top()), inner.bottomRight()), background_);
}

void TMarlixAnalogBar::DragTo(int x) {
  const int w = std::max(1, width() - 8);
  x = std::clamp(x, 4, width() - 4);
  SetValue(min_ + static_cast<int>(std::lround(static_cast<double>(x - 4) / w * (max_ - min_))));
}

void TMarlixAnalogBar::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  if (event->button() == Qt::LeftButton && InThumb(event->position().toPoint())) {
    dragging_ = true;
    grabMouse();
  }
}

void TMarlixAnalogBar::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (dragging_) {
    DragTo(pos.x());
    return;
  }
  setCursor(InThumb(pos) ? Qt::SplitHCursor : Qt::ArrowCursor);
}

void TMarlixAnalogBar::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  DragTo(event->position().toPoint().x());
  dragging_ = false;
  releaseMouse();
}

void TMarlixAnalogBar::keyPressEvent(QKeyEvent* event) {
  const int64_t step = (event->modifiers() & Qt::ControlModifier) ? deltaPage_ : delta_;
  const auto stepped = [this](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, min_, max_)); };
  switch (event->key()) {
    case Qt::Key_Home: SetValue(min_); break;
    case Qt::Key_End: SetValue(max_); break;
    case Qt::Key_Up:
    case Qt::Key_Right: SetValue(stepped(int64_t{value_} + step)); break;
    case Qt::Key_Down:
    case Qt::Key_Left: SetValue(stepped(int64_t{value_} - step)); break;
    default: QWidget::keyPressEvent(event); return;
  }
}

void TMarlixAnalogBar::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void TMarlixAnalogBar::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}
