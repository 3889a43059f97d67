#include "InputStrListDlg.h"

#include <QBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>

TInputStrListDlg::TInputStrListDlg(QWidget* owner) : TParamDlg(owner, "Blockeigenschaften", 302, 219) {
  setObjectName(QStringLiteral("InputStrListDlg"));
  label_ = new QLabel(this);
  label_->setObjectName(QStringLiteral("label"));
  label_->setWordWrap(true);
  memo_ = new QPlainTextEdit(this);
  memo_->setObjectName(QStringLiteral("memo"));
  memo_->setLineWrapMode(QPlainTextEdit::NoWrap);
  // Tab moves on to the buttons instead of going into the list.
  memo_->setTabChangesFocus(true);
  label_->setBuddy(memo_);
  Body()->addWidget(label_);
  Body()->addWidget(memo_, 1);
  memo_->setFocus();
}

void TInputStrListDlg::SetPrompt(const QString& prompt) { label_->setText(prompt); }

void TInputStrListDlg::SetText(const QString& text) {
  original_ = text;
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  lines.replace(u'\r', u'\n');
  memo_->setPlainText(lines);
  memo_->document()->setModified(false);
}

QString TInputStrListDlg::Text() const {
  if (!memo_->document()->isModified()) return original_;
  QString text = memo_->toPlainText();
  text.replace(u'\n', QStringLiteral("\r\n"));
  return text;
}
