// TMaskInputDlg: one line of text, free or through an edit mask, for the
// text, value, time and date constants and the table and cell names.
//
// "Ok" checks the entry first; a refused entry beeps and leaves the dialog
// open with the text as typed.
#pragma once

#include <QString>

#include "EditMask.h"
#include "ParamDlg.h"

class QLabel;
class QLineEdit;

class TMaskInputDlg : public TParamDlg {
  Q_OBJECT

 public:
  explicit TMaskInputDlg(QWidget* owner);

  // Mode 0 free text (prompt, or the default prompt when empty), 1 value,
  // 2 time, 3 date. Call before SetText.
  void SetMode(int mode, const QString& prompt = QString());
  int Mode() const { return mode_; }
  void SetText(const QString& text);
  // The entry as the block gets it (masked modes: read back by the mask).
  QString Text() const;
  // Whether "Ok" would close the dialog now.
  bool EntryAcceptable() const;

  QLabel* Label() const { return label_; }
  QLineEdit* Edit() const { return ed_; }

 signals:
  // "Ok" was pressed and the entry refused.
  void Refused();

 protected slots:
  void OkButtonClick() override;

 private:
  QLabel* label_;
  QLineEdit* ed_;
  EditMask mask_;
  QString original_;
  int mode_ = 0;
};
