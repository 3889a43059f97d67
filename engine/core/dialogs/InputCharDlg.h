// TInputCharDlg: one character for a character constant; empty is allowed.
#pragma once

#include "ParamDlg.h"

class QLineEdit;

class TInputCharDlg : public TParamDlg {
  Q_OBJECT

 public:
  explicit TInputCharDlg(QWidget* owner);

  void SetText(const QString& text);
  QString Text() const;
  QLineEdit* Edit() const { return ed_; }

 private:
  QLineEdit* ed_;
};
