#include "TIdleDriver.h"

#include <QApplication>
#include <QMdiArea>
#include <QTimer>
#include <algorithm>

#include "TMDIChildForm.h"
#include "TSimulatedInputs.h"
#include "TSimulationControl.h"
#include "TTarvixPlusModel.h"
#include "TToolWindow.h"
#include "TWindowClass.h"
#include "TWindowManager.h"

TIdleDriver::TIdleDriver(QWidget& window, TWindowManager& windows, QWidget& tree, Frame frame)
    : QObject(&window), window_(window), windows_(windows), tree_(tree), frame_(std::move(frame)) {
  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setInterval(0);
  // Precise, so that the output after a pause comes when it is due.
  timer_->setTimerType(Qt::PreciseTimer);
  connect(timer_, &QTimer::timeout, this, [this] {
    if (Pass()) {
      timer_->start(0);
    } else if (TTarvixPlusModel* project = frame_.project(); project && project->Simulation().WakeUpInMs() >= 0) {
      // A program pause: nothing to do until it is over.
      timer_->start(static_cast<int>(std::min<int64_t>(project->Simulation().WakeUpInMs(), 60'000)));
    }
  });
  lastCommandRefresh_.start();
  TSimulationHost::SetCurrent(this);
}

TIdleDriver::~TIdleDriver() {
  if (&TSimulationHost::Current() == this) TSimulationHost::SetCurrent(nullptr);
}

void TIdleDriver::Schedule() {
  // A timer armed for the end of a program pause is brought forward: the
  // user acted, and command states must follow at once.
  if (!stopped_ && (!timer_->isActive() || timer_->interval() > 0)) timer_->start(0);
}

void TIdleDriver::Stop() {
  stopped_ = true;
  timer_->stop();
}

bool TIdleDriver::Pass(bool step) {
  if (inPass_ || stopped_) return false;
  inPass_ = true;
  TTarvixPlusModel* project = frame_.project();
  const bool simulating = project && project->IsSimulating();
  // While a simulation runs, command states are refreshed ten times a
  // second rather than after every batch: the batches come fast.
  if (!simulating || lastCommandRefresh_.elapsed() >= 100) {
    frame_.refreshCommands();
    frame_.refreshStatus();
    lastCommandRefresh_.restart();
    TidyFocus();
  }
  bool more = false;
  if (step && project) {
    // Batches for one slice per turn of the event loop: fast enough to
    // keep up with the engine, short enough that a key press or a click is
    // answered at once. A running batch goes on through cell boundaries
    // and is cut by the driver itself at the end of the slice.
    QElapsedTimer slice;
    slice.start();
    do {
      more = project->Step(std::max<int64_t>(1, TSimulationControl::kSliceMs - slice.elapsed()), TBatchEnd::SliceEnd);
    } while (more && slice.elapsed() < TSimulationControl::kSliceMs && frame_.project() == project);
  }
  TSimulatedInputs& inputs = TSimulatedInputs::Current();
  if (inputs.StatusChanged) {
    inputs.StatusChanged = false;
    frame_.refreshStatus();
  }
  if (TMDIChildForm* doc = windows_.ActiveDocument()) more = doc->NeedsIdle() || more;
  if (step && !more && project && !project->IsSimulating() && simulating) frame_.refreshCommands();
  // The batch that halted or ended the run may be the last idle pass for a
  // while: the state text must not keep saying that it runs.
  if (step && !more && project && simulating) frame_.refreshStatus();
  inPass_ = false;
  return more;
}

void TIdleDriver::TidyFocus() {
  QWidget* focus = QApplication::focusWidget();
  QMdiArea& area = windows_.Area();
  if (window_.isActiveWindow() && (focus == &window_ || focus == &area || focus == area.viewport())) tree_.setFocus();
}

void TIdleDriver::ShowWatchWindow() {
  const QString watch = windowclass::Name(TWindowClass::Watch);
  if (!windows_.FindWindow(watch)) windows_.ShowWindow(watch, false);
}

void TIdleDriver::ShowTerminal() {
  const QString terminal = windowclass::Name(TWindowClass::Terminal);
  if (!windows_.FindWindow(terminal)) windows_.ShowWindow(terminal, false);
}

void TIdleDriver::RefreshPortPanels() { TToolWindow::RefreshAll(); }
