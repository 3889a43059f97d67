#include "TToolWindow.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "TStationSettings.h"
#include "UserInterface.h"

namespace {

QList<TToolWindow*>& Live() {
  static QList<TToolWindow*> windows;
  return windows;
}

QRect ScreenArea() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

TToolWindow::TToolWindow(TTarvixPlusModel* model, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), model_(model) {
  setAttribute(Qt::WA_DeleteOnClose);
  setMinimumSize(32, 32);
  Live().append(this);
}

TToolWindow::~TToolWindow() { Live().removeAll(this); }

const QList<TToolWindow*>& TToolWindow::Instances() { return Live(); }

void TToolWindow::RefreshAll() {
  // A refresh may close a window; walk a copy.
  const QList<TToolWindow*> windows = Live();
  for (TToolWindow* w : windows)
    if (Live().contains(w)) w->RefreshPorts();
}

QRect TToolWindow::MovedOnScreen(const QRect& rect, const QRect& screen) {
  QRect r = rect;
  if (r.right() < screen.left())
    r.moveLeft(screen.left());
  else if (r.left() > screen.right())
    r.moveRight(screen.right());
  if (r.bottom() < screen.top())
    r.moveTop(screen.top());
  else if (r.top() > screen.bottom())
    r.moveBottom(screen.bottom());
  return r;
}

void TToolWindow::RestorePlacement(const TRect& saved) {
  if (saved.IsEmpty()) return;
  const QRect screen = ScreenArea();
  // An absurd size (larger than the screen, below the minimum) never makes
  // the window unusable.
  const QSize size(std::clamp(saved.Width(), minimumWidth(), std::max(minimumWidth(), std::min(maximumWidth(), screen.width()))),
                   std::clamp(saved.Height(), minimumHeight(), std::max(minimumHeight(), std::min(maximumHeight(), screen.height()))));
  const QRect wanted = MovedOnScreen(QRect(QPoint(saved.left, saved.top), size), screen);
  restoring_ = true;
  setGeometry(wanted);
  restoring_ = false;
  KeepPlacement();
}

bool TToolWindow::HasStoredPlacement() const {
  return slot_ >= 0 && slot_ < TStationSettings::kWindowCount &&
         !TStationSettings::Current().windows[static_cast<size_t>(slot_)].rect.IsEmpty();
}

void TToolWindow::UsePlacementSlot(int slot) {
  slot_ = slot;
  if (slot_ < 0 || slot_ >= TStationSettings::kWindowCount) return;
  RestorePlacement(TStationSettings::Current().windows[static_cast<size_t>(slot_)].rect);
}

void TToolWindow::KeepPlacement() {
  if (restoring_ || slot_ < 0 || slot_ >= TStationSettings::kWindowCount || !isVisible()) return;
  TStationSettings::Current().windows[static_cast<size_t>(slot_)].rect = Placement();
}

void TToolWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  KeepPlacement();
}

void TToolWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  KeepPlacement();
}

void TToolWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (slot_ >= 0 && slot_ < TStationSettings::kWindowCount) {
    TStationSettings::Current().windows[static_cast<size_t>(slot_)].visible = true;
    KeepPlacement();
    // The window system may place the client area once the frame is known,
    // without a move event: keep what it settled on.
    QTimer::singleShot(0, this, [this] { KeepPlacement(); });
  }
}

void TToolWindow::closeEvent(QCloseEvent* event) {
  // Closed by the user: not reopened at the next start.
  if (slot_ >= 0 && slot_ < TStationSettings::kWindowCount) {
    KeepPlacement();
    TStationSettings::Current().windows[static_cast<size_t>(slot_)].visible = false;
  }
  QWidget::closeEvent(event);
}

void TToolWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier && HelpContext() != 0) {
    TUserInterface::Current().ShowHelp(HelpContext());
    return;
  }
  QWidget::keyPressEvent(event);
}
