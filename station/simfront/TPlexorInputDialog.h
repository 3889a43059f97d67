// TPlexorInputDialog: "Eingabewert für Simulator", the modal dialog in which
// the user types the number the unit would receive over its serial line
// while the simulated program waits for it. OK needs a decimal integer;
// "Simulation abbrechen" halts the run (the run control does that).
#pragma once

#include <cstdint>

#include "TCenteredDlg.h"

class QLineEdit;
class QPushButton;

class TPlexorInputDialog : public TCenteredDlg {
  Q_OBJECT

 public:
  explicit TPlexorInputDialog(QWidget* parent = nullptr);

  void SetValue(int32_t value);
  // The value of the field; valid after the dialog closed with OK.
  int32_t Value() const { return value_; }

  QLineEdit* EValue() const { return eValue_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CancelButton() const { return cancel_; }

  // Shows the dialog preset with value; true with the new value on OK.
  // What the frame's TUserInterface::InputInteger calls.
  static bool Ask(QWidget* parent, const QString& caption, const QString& prompt, int32_t& value);

 public slots:
  void accept() override;

 private:
  QLineEdit* eValue_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
  class QLabel* prompt_ = nullptr;
  int32_t value_ = 0;
};
