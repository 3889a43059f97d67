#include "TSubWindowPlacement.h"

#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

#include "TStationSettings.h"
#include "DocumentPlacement.h"

TSubWindowPlacement::TSubWindowPlacement(QWidget* form, int slot) : QObject(form), form_(form), slot_(slot) {}

void TSubWindowPlacement::Attach() {
  if (sub_ || slot_ < 0 || slot_ >= TStationSettings::kWindowCount) return;
  sub_ = qobject_cast<QMdiSubWindow*>(form_->parentWidget());
  if (!sub_) return;
  const TRect saved = TStationSettings::Current().windows[static_cast<size_t>(slot_)].rect;
  // The desktop file placed the window already: its placement is the newer
  // one, and the settings take it over below.
  if (!saved.IsEmpty() && !sub_->property(documentplacement::kPlacedByDesktop).toBool()) {
    QRect area(QPoint(0, 0), sub_->mdiArea() ? sub_->mdiArea()->viewport()->size() : sub_->size());
    if (area.isEmpty()) area = QRect(0, 0, 640, 480);
    // Wholly inside the area; an absurd size never makes the window unusable.
    sub_->setGeometry(documentplacement::Inside(saved.ToQRect(), area));
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
