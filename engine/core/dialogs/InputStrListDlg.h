// TInputStrListDlg: a list of names, one a line, for the "On" jump blocks.
// The engine's text separates lines by CR LF.
#pragma once

#include "ParamDlg.h"

class QLabel;
class QPlainTextEdit;

class TInputStrListDlg : public TParamDlg {
  Q_OBJECT

 public:
  explicit TInputStrListDlg(QWidget* owner);

  void SetPrompt(const QString& prompt);
  // Lines separated by CR LF (a lone LF or CR also ends a line). An
  // untouched list reads back exactly as it was set.
  void SetText(const QString& text);
  QString Text() const;

  QLabel* Label() const { return label_; }
  QPlainTextEdit* Memo() const { return memo_; }

 private:
  QLabel* label_;
  QPlainTextEdit* memo_;
  QString original_;
};
