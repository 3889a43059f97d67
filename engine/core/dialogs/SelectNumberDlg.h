// TSelectNumberDlg: a number from 1 to a maximum, chosen only with the
// up/down control (the line itself is read-only), for the user memory cells.
#pragma once

#include "ParamDlg.h"

class QLabel;
class QLineEdit;
class QSpinBox;

class TSelectNumberDlg : public TParamDlg {
  Q_OBJECT

 public:
  explicit TSelectNumberDlg(QWidget* owner);

  void SetPrompt(const QString& prompt);
  // The upper bound; anything below 1 counts as 1.
  void SetMaximum(int maximum);
  // The number shown; a text that reads as no number in range is clamped.
  void SetText(const QString& text);
  QString Text() const;

  QLabel* Label() const { return label_; }
  QSpinBox* Spin() const { return spin_; }
  QLineEdit* Edit() const { return ed_; }

 private:
  QLabel* label_;
  QSpinBox* spin_;
  QLineEdit* ed_;
};
