// Shared pieces of the simulation window tests: a frame that opens windows
// through the window factory, a simulation host that refreshes the panels
// as the main window does, a user interface whose input box is the real
// input dialog, and small projects built through the model.
#pragma once

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "ModelTestSupport.h"
#include "ProjectBuilder.h"
#include "RecordingUserInterface.h"
#include "TPlexorInputDialog.h"
#include "TSimulatedInputs.h"
#include "TSimulationHost.h"
#include "TStationFrame.h"
#include "TStationSettings.h"
#include "TToolWindow.h"
#include "StationWindows.h"
#include "TWindowFactory.h"

namespace sft {

// Opens windows by class name, at most one of each, as the main window does.
class TestFrame : public TStationFrame {
 public:
  explicit TestFrame(TTarvixPlusModel* model) : model_(model) { TStationFrame::SetCurrent(this); }
  ~TestFrame() override {
    TStationFrame::SetCurrent(nullptr);
    for (auto& w : windows_)
      if (w) delete w.data();
  }
  TTarvixPlusModel* Project() const override { return model_; }
  QWidget* FindWindow(const QString& className) const override { return windows_.value(className).data(); }
  QWidget* ShowWindow(const QString& className, bool = true) override {
    QWidget* w = FindWindow(className);
    if (!w) {
      w = TWindowFactory::Create(className, model_);
      if (!w) return nullptr;
      windows_[className] = w;
    }
    w->show();
    return w;
  }
  void OpenCell(int32_t) override {}
  void ShowStatusText(const QString&) override {}

 private:
  TTarvixPlusModel* model_;
  QMap<QString, QPointer<QWidget>> windows_;
};

// The main window's side of the run control: panels refreshed after the
// ports were read, terminal and watch window opened through the frame, and
// simulated time that passes only while the driver sleeps.
class PanelHost : public TSimulationHost {
 public:
  PanelHost() { TSimulationHost::SetCurrent(this); }
  ~PanelHost() override { TSimulationHost::SetCurrent(nullptr); }
  void ShowWatchWindow() override {
    if (TStationFrame::Current()) TStationFrame::Current()->ShowWindow(QStringLiteral("TWatchForm"), false);
  }
  void ShowTerminal() override {
    if (TStationFrame::Current()) TStationFrame::Current()->ShowWindow(QStringLiteral("TTerminalForm"), false);
  }
  void RefreshPortPanels() override {
    ++refreshes;
    TToolWindow::RefreshAll();
  }
  int64_t Milliseconds() override { return now; }
  void Sleep(int ms) override { now += ms; }
  int64_t now = 0;
  int refreshes = 0;
};

// Records like the test recorder, but asks for simulator input with the
// real dialog (what the frame's user interface does).
class DialogUserInterface : public RecordingUserInterface {
 public:
  bool InputInteger(const QString& caption, const QString& prompt, int32_t& value) override {
    ++inputRequests;
    lastPreset = value;
    return TPlexorInputDialog::Ask(nullptr, caption, prompt, value);
  }
  int inputRequests = 0;
  int32_t lastPreset = 0;
};

// Runs an action on the next modal dialog once it is shown. A dialog that
// never came is a failure of the test that expected it, not of the next one.
inline QObject& ModalWatchers() {
  static QObject owner;
  return owner;
}
inline void ForgetModalWatchers() { qDeleteAll(ModalWatchers().findChildren<QTimer*>()); }
inline void OnModal(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer(&ModalWatchers());
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, action] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) return;
    timer->stop();
    timer->deleteLater();
    action(modal);
  });
  timer->start();
}

// Types into the dialog's line edit and presses the button with that text.
inline void TypeAndPress(QWidget* dialog, const QString& text, const QString& button) {
  auto* edit = dialog->findChild<QLineEdit*>();
  QVERIFY(edit);
  edit->selectAll();
  QTest::keyClicks(edit, text);
  for (QPushButton* b : dialog->findChildren<QPushButton*>())
    if (b->text().remove(QLatin1Char('&')) == button) {
      QTest::mouseClick(b, Qt::LeftButton);
      return;
    }
  QFAIL(qPrintable(QStringLiteral("no button ") + button));
}

// A fresh model with defaults in the shared state.
inline std::unique_ptr<TTarvixPlusModel> NewModel() {
  TSimulatedInputs::Current() = TSimulatedInputs{};
  TSimulatedInputs::Current().AutoTiming = false;
  TStationSettings::Current() = TStationSettings::Defaults(QDir::currentPath());
  return std::make_unique<TTarvixPlusModel>();
}

inline int32_t NewCell(TTarvixPlusModel& m, const QString& name) {
  m.NewCell(-1);
  const int32_t id = m.Cells().back()->CellId();
  m.RenameCell(id, name);
  return id;
}

// The first functional block of a type in a cell, or null.
inline TBlock* FirstOfType(TTarvixPlusModel& m, int32_t cell, int32_t type) {
  TBlockList* list = m.FindCell(cell);
  for (int i = 0; list && i < list->Count(); ++i)
    if (auto* g = dynamic_cast<TGraphBlock*>(list->Items(i)); g && g->TypeId() == type) return g;
  return nullptr;
}

inline bool Compile(TTarvixPlusModel& m) {
  if (mt::CompileProject(m.Engine()) != 0) return false;
  m.SetCompiled(true);
  return m.SimState() == TSimState::Ready;
}

// Saves a picture of a window when SIMFRONT_SHOTS names a directory.
inline void Shot(QWidget* w, const QString& name) {
  const QString dir = qEnvironmentVariable("SIMFRONT_SHOTS");
  if (!dir.isEmpty()) w->grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

}  // namespace sft
