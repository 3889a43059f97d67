// TRadioChoiceDlg: a prompt above a framed column of radio buttons
// (RadioButton1, RadioButton2, ...); the base of the print ending and the
// baud rate dialogs. Choices are numbered from 1.
#pragma once

#include <QList>

#include "ParamDlg.h"

class QRadioButton;

class TRadioChoiceDlg : public TParamDlg {
  Q_OBJECT

 public:
  // Texts are Windows-1252; choices is null-terminated.
  TRadioChoiceDlg(QWidget* owner, const char* caption, int width, int height, const char* prompt,
                  const char* const* choices);

  // Selects choice 1..n; any other number selects none.
  void SetChoice(int choice);
  // The selected choice, 0 when none is.
  int Choice() const;
  QRadioButton* Button(int choice) const;

 private:
  QList<QRadioButton*> buttons_;
};
