// TStationFrame: the services the main window offers the windows inside it.
//
// Windows never call each other; where one needs another (the watch list
// after "watch block", a cell shown in a cell editor, a hint in the status
// bar) it asks the frame. The main window implements this; tests may set a
// frame of their own. Without one, the calls do nothing.
#pragma once

#include <QString>
#include <cstdint>

class QWidget;
class TTarvixPlusModel;

class TStationFrame {
 public:
  virtual ~TStationFrame() = default;

  // The open project, or null.
  virtual TTarvixPlusModel* Project() const = 0;
  // The open window of that class, or null.
  virtual QWidget* FindWindow(const QString& className) const = 0;
  // The open window of that class, or a new one from the window factory,
  // shown (and activated when asked); null for an unknown class.
  virtual QWidget* ShowWindow(const QString& className, bool activate = true) = 0;
  // Shows a cell in the cell editor that shows it, else in any cell editor,
  // else in a new one (the project tree's rule).
  virtual void OpenCell(int32_t cellId) = 0;
  // A text in the hint panel of the status bar (empty: the state text).
  virtual void ShowStatusText(const QString& text) = 0;
  // The caret position of a text editor, in a panel of its own beside the
  // hint, so it never hides the state text (empty: no position).
  virtual void ShowPositionText(const QString& text) { (void)text; }
  // Command states may have changed (refreshes buttons at once).
  virtual void CommandStatesChanged() {}

  // The frame set by the main window or a test; null when none.
  static TStationFrame* Current();
  static void SetCurrent(TStationFrame* frame);
};
