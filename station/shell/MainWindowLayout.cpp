#include "MainWindowLayout.h"

#include <QDockWidget>
#include <QGuiApplication>
#include <QMainWindow>
#include <QScreen>
#include <algorithm>

#include "TStationSettings.h"

namespace mainwindowlayout {

namespace {

const QString kDockName = QStringLiteral("CellTreeResizebar");

}  // namespace

void AddProjectWindow(QMainWindow& window, QWidget& tree, int fittingWidth) {
  auto* dock = new QDockWidget(QStringLiteral("Projektfenster"), &window);
  dock->setObjectName(kDockName);
  dock->setAccessibleName(QStringLiteral("Projektfenster"));
  dock->setFeatures(QDockWidget::NoDockWidgetFeatures);
  dock->setTitleBarWidget(new QWidget(dock));
  dock->setWidget(&tree);
  window.addDockWidget(Qt::LeftDockWidgetArea, dock);
  window.resizeDocks({dock}, {std::max(TStationSettings::kDefaultProjectWindowWidth, fittingWidth)}, Qt::Horizontal);
}

void Apply(QMainWindow& window, const TStationSettings& s, int fittingWidth) {
  if (auto* dock = window.findChild<QDockWidget*>(kDockName)) {
    const int width = s.projectWindowWidth == TStationSettings::kDefaultProjectWindowWidth
                          ? std::max(s.projectWindowWidth, fittingWidth)
                          : std::clamp(s.projectWindowWidth, 50, 1000);
    window.resizeDocks({dock}, {width}, Qt::Horizontal);
  }
  window.resize(1100, 760);  // until a placement was saved
  if (!s.mainWindow.IsEmpty()) {
    QRect r = s.mainWindow.ToQRect();
    // No larger than the screen, as the panels: a saved 40 000 px window
    // would take gigabytes of backing store at every start.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      r.setSize(r.size().boundedTo(area.size()));
      if (!r.intersects(area)) r.moveTopLeft(area.topLeft());
    }
    if (r.width() >= 200 && r.height() >= 150) window.setGeometry(r);
  }
  if (s.windowState == 2) window.showMaximized();
  // Minimised as it was left (the normal placement above is kept for later).
  if (s.windowState == 1) window.setWindowState((window.windowState() & ~Qt::WindowMaximized) | Qt::WindowMinimized);
}

void Collect(const QMainWindow& window, TStationSettings& s) {
  if (auto* dock = window.findChild<QDockWidget*>(kDockName)) s.projectWindowWidth = dock->width();
  const QRect r = window.normalGeometry().isValid() ? window.normalGeometry() : window.geometry();
  s.mainWindow = TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
  s.windowState = window.isMinimized() ? 1 : (window.isMaximized() ? 2 : 0);
}

}  // namespace mainwindowlayout
