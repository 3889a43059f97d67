// TSubWindowPlacement: keeps the rectangle of a document window's MDI
// sub-window in the station's settings (the terminal's "TerminalWindow", the
// watch window's "WatchWindow") and puts a new window there when it is first
// shown, moved back into the MDI area when the stored rectangle lies off it.
#pragma once

#include <QObject>

class QMdiSubWindow;
class QWidget;

class TSubWindowPlacement : public QObject {
  Q_OBJECT

 public:
  // slot is a TStationSettings::Window; the keeper belongs to the form.
  TSubWindowPlacement(QWidget* form, int slot);

  // Called when the form is shown: the first time inside a sub-window, the
  // stored rectangle is applied and the sub-window watched from then on.
  void Attach();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Keep();

  QWidget* form_;
  int slot_;
  QMdiSubWindow* sub_ = nullptr;
};
