// TCenteredDlg: base of the station's dialogs. Escape without modifiers
// cancels; Execute shows the dialog modally, centred over a given widget
// (kept on the screen) or on the screen, and answers true for OK.
#pragma once

#include <QDialog>

class TCenteredDlg : public QDialog {
  Q_OBJECT
 public:
  explicit TCenteredDlg(QWidget* parent = nullptr);
  bool Execute(QWidget* centreOver = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};
