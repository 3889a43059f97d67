#include "TFrameEvents.h"

#include <QApplication>
#include <QFileOpenEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTimer>
#include <QWidget>

TFrameEvents::TFrameEvents(QWidget& frame, Frame callbacks) : QObject(&frame), frame_(frame), callbacks_(std::move(callbacks)) {
  qApp->installEventFilter(this);
}

TFrameEvents::~TFrameEvents() { qApp->removeEventFilter(this); }

bool TFrameEvents::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::ShortcutOverride:
      // Comes before the key is matched against the shortcuts: the
      // matching items must not answer with a state the idle cycle has
      // not refreshed yet (a dead key, or a key taken from the window
      // that has the focus).
      if (!callbacks_.closing() && !callbacks_.inIdlePass()) callbacks_.shortcutComing(*static_cast<QKeyEvent*>(e));
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::Drop:
    case QEvent::Close:
      callbacks_.userActed();
      break;
    case QEvent::Hide:
      // A modal dialog of ours closed. Without a window manager (a bare X
      // server) nobody hands the keyboard back to the main window: take it,
      // but only when no other window of any program has it.
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && w->isModal() && w != &frame_)
        QTimer::singleShot(0, this, [this] {
          if (!callbacks_.closing() && frame_.isVisible() && !QApplication::activeModalWidget() && !QGuiApplication::focusWindow())
            frame_.activateWindow();
        });
      break;
    case QEvent::FileOpen:
      if (watched == qApp) {
        callbacks_.openFile(static_cast<QFileOpenEvent*>(e)->file());
        return true;
      }
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, e);
}
