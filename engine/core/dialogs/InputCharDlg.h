// TInputCharDlg: one character for a character constant; empty is allowed.
#pragma once

#include "ParamDlg.h"

class QLineEdit;

class TInputCharDlg : public TParamDlg {
  Q_OBJECT

 public:
  explicit TInputCharDlg(QWidget* owner);

  void SetText(const QString& text);
  // What the user typed, or the text as given when the line was not touched
  // (the line shows a control character as a blank).
  QString Text() const;
  QLineEdit* Edit() const { return ed_; }

 private:
  QLineEdit* ed_;
  QString original_;
};
