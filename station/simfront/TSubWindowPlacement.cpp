#include "TSubWindowPlacement.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

#include "TStationSettings.h"
#include "TToolWindow.h"

TSubWindowPlacement::TSubWindowPlacement(QWidget* form, int slot) : QObject(form), form_(form), slot_(slot) {}

void TSubWindowPlacement::Attach() {
  if (sub_ || slot_ < 0 || slot_ >= TStationSettings::kWindowCount) return;
  sub_ = qobject_cast<QMdiSubWindow*>(form_->parentWidget());
  if (!sub_) return;
  const TRect saved = TStationSettings::Current().windows[static_cast<size_t>(slot_)].rect;
  if (!saved.IsEmpty()) {
    QRect area(QPoint(0, 0), sub_->mdiArea() ? sub_->mdiArea()->viewport()->size() : sub_->size());
    if (area.isEmpty()) area = QRect(0, 0, 640, 480);
    // An absurd size never makes the window unusable.
    const QSize size(std::clamp(saved.Width(), 100, std::max(100, area.width())),
                     std::clamp(saved.Height(), 60, std::max(60, area.height())));
    sub_->setGeometry(TToolWindow::MovedOnScreen(QRect(QPoint(saved.left, saved.top), size), area));
  }
  sub_->installEventFilter(this);
  Keep();
}

void TSubWindowPlacement::Keep() {
  if (!sub_ || sub_->isMinimized() || sub_->isMaximized()) return;
  TStationSettings::Current().windows[static_cast<size_t>(slot_)].rect = TRect::FromQRect(sub_->geometry());
}

bool TSubWindowPlacement::eventFilter(QObject* watched, QEvent* event) {
  if (watched == sub_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) Keep();
  return QObject::eventFilter(watched, event);
}
