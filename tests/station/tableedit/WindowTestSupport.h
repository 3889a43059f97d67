// Shared set-up of the table and comment editor tests: a widget
// application, the recording user interface and a project with tables.
#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "RecordingUserInterface.h"
#include "TStationSettings.h"
#include "TTarvixPlusModel.h"

namespace wt {

inline void EnsureApp() {
  if (QApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "window_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  (void)app;
}

// Types text as key presses carrying it (also characters no key has).
inline void Type(QWidget* w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
  }
}

// Runs the deferred deletions of closed windows.
inline void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureApp();
    TStationSettings::Current() = TStationSettings::Defaults(QStringLiteral("/tmp"));
    m = std::make_unique<TTarvixPlusModel>();
    m->InitNew();
    m->SetModified(false);
  }
  void TearDown() override {
    FlushDeletes();
    m.reset();
    FlushDeletes();
  }
  // An internal table with data lines; the project counts as saved.
  int AddTable(const QStringList& lines) {
    m->NewTable(true);
    TConversionTable* table = m->Tables().back().get();
    if (!lines.isEmpty()) m->SetTableData(*table, lines);
    m->SetModified(false);
    return table->Number;
  }
  int Beeps() const { return ui.Count("Beep"); }

  RecordingUserInterface ui;
  std::unique_ptr<TTarvixPlusModel> m;
};

}  // namespace wt
