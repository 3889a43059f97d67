// TIdleDriver: the main window's idle cycle and the simulation's host.
//
// A pass refreshes the command states and the status bar and runs one slice
// of a running simulation. Passes follow one another at once while the
// simulation runs or a window wants idle time; during a program pause the
// timer is armed for the pause's end; otherwise nothing runs until the next
// ScheduleIdle(). As the simulation's host it opens the watch list and the
// terminal and refreshes the port panels.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <functional>

#include "TSimulationHost.h"

class QTimer;
class QWidget;
class TTarvixPlusModel;
class TWindowManager;

class TIdleDriver : public QObject, public TSimulationHost {
  Q_OBJECT

 public:
  struct Frame {
    std::function<TTarvixPlusModel*()> project;
    std::function<void()> refreshCommands;  // the enabled states of the items
    std::function<void()> refreshStatus;    // the status bar
  };
  // Becomes the simulation's host until destroyed. Focus on the main window
  // or its empty document area goes to the project window (tree).
  TIdleDriver(QWidget& window, TWindowManager& windows, QWidget& tree, Frame frame);
  ~TIdleDriver() override;

  // Runs a pass soon (coalesced).
  void Schedule();
  // One pass; true when more idle time is wanted at once.
  bool Pass(bool step = true);
  // No passes any more (the frame is closing).
  void Stop();
  bool InPass() const { return inPass_; }

  // TSimulationHost
  void ShowWatchWindow() override;
  void ShowTerminal() override;
  void RefreshPortPanels() override;

 private:
  void TidyFocus();

  QWidget& window_;
  TWindowManager& windows_;
  QWidget& tree_;
  Frame frame_;
  QTimer* timer_ = nullptr;
  QElapsedTimer lastCommandRefresh_;
  bool stopped_ = false;
  bool inPass_ = false;
};
