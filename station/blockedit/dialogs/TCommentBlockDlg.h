// TCommentBlockDlg: edits the text and font of a comment block.
#pragma once

#include "TCenteredDlg.h"
#include "TCommentFont.h"

class QLineEdit;

class TCommentBlockDlg : public TCenteredDlg {
  Q_OBJECT
 public:
  explicit TCommentBlockDlg(QWidget* parent = nullptr);

  void SetData(const QString& text, const TCommentFont& font);
  QString Text() const;
  TCommentFont Font() const { return font_; }

 private:
  void ChooseFont();

  QLineEdit* edit_;
  TCommentFont font_;
};
