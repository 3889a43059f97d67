// TFrameEvents: what the main window watches in every event of the program.
//
// A shortcut about to be matched refreshes the items that have it, so no key
// is matched against a stale state; input and focus changes run the idle
// cycle soon; a closed modal dialog hands the keyboard back to the main
// window where no window manager does; a file-open request of the platform
// or a file dropped on the main window opens the project.
#pragma once

#include <QObject>
#include <functional>

class QDropEvent;
class QKeySequence;
class QWidget;

class TFrameEvents : public QObject {
  Q_OBJECT

 public:
  struct Frame {
    std::function<bool()> closing;
    std::function<bool()> inIdlePass;
    std::function<void(const QKeySequence& key)> shortcutComing;
    std::function<void()> userActed;
    std::function<void(const QString& fileName)> openFile;
  };
  // Watches the whole application until destroyed.
  TFrameEvents(QWidget& frame, Frame callbacks);
  ~TFrameEvents() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool Dropped(QDropEvent& event);

  QWidget& frame_;
  Frame callbacks_;
};
