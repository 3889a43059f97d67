#include "TFrameEvents.h"

#include <QApplication>
#include <QFileOpenEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QTimer>
#include <QWidget>

TFrameEvents::TFrameEvents(QWidget& frame, Frame callbacks)
    : QObject(&frame), frame_(frame), callbacks_(std::move(callbacks)) {
  qApp->installEventFilter(this);
}

TFrameEvents::~TFrameEvents() { qApp->removeEventFilter(this); }

bool TFrameEvents::Dropped(QDropEvent& e) {
  const QList<QUrl> urls = e.mimeData()->urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return false;
  e.acceptProposedAction();
  const QString name = urls.first().toLocalFile();
  if (frame_.isMinimized()) frame_.showNormal();
  frame_.raise();
  frame_.activateWindow();
  // After the drop has finished: opening may ask questions.
  QTimer::singleShot(0, this, [this, name] { callbacks_.openFile(name); });
  return true;
}

bool TFrameEvents::eventFilter(QObject* watched, QEvent* e) {
  switch (e->type()) {
    case QEvent::ShortcutOverride:
      // Comes before the key is matched against the shortcuts: the
      // matching items must not answer with a state the idle cycle has
      // not refreshed yet (a dead key, or a key taken from the window
      // that has the focus).
      if (!callbacks_.closing() && !callbacks_.inIdlePass())
        callbacks_.shortcutComing(QKeySequence(static_cast<QKeyEvent*>(e)->keyCombination()));
      break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::WindowActivate:
    case QEvent::Close:
      callbacks_.userActed();
      break;
    case QEvent::Drop:
      callbacks_.userActed();
      if (watched == &frame_) return Dropped(*static_cast<QDropEvent*>(e));
      break;
    case QEvent::Hide:
      // A modal dialog of ours closed. Without a window manager (a bare X
      // server) nobody hands the keyboard back to the main window: take it,
      // but only when no other window of any program has it.
      if (auto* w = qobject_cast<QWidget*>(watched); w && w->isWindow() && w->isModal() && w != &frame_)
        QTimer::singleShot(0, this, [this] {
          if (!callbacks_.closing() && frame_.isVisible() && !QApplication::activeModalWidget() &&
              !QGuiApplication::focusWindow())
            frame_.activateWindow();
        });
      break;
    case QEvent::DragEnter:
      if (watched == &frame_ && static_cast<QDragEnterEvent*>(e)->mimeData()->hasUrls()) {
        static_cast<QDragEnterEvent*>(e)->acceptProposedAction();
        return true;
      }
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
