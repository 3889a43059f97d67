#include "InputCharDlg.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

TInputCharDlg::TInputCharDlg(QWidget* owner) : TParamDlg(owner, "Eigenschaften des Blocks", 302, 122) {
  setObjectName(QStringLiteral("InputCharDlg"));
  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  auto* label = new QLabel(QStringLiteral("Geben Sie ein Zeichen ein:"), bevel);
  label->setObjectName(QStringLiteral("label"));
  ed_ = new QLineEdit(bevel);
  ed_->setObjectName(QStringLiteral("ed"));
  ed_->setMaxLength(1);
  ed_->setFixedWidth(ed_->fontMetrics().horizontalAdvance(QLatin1Char('W')) * 3 + 12);
  label->setBuddy(ed_);
  auto* row = new QHBoxLayout(bevel);
  row->setContentsMargins(10, 10, 10, 10);
  row->addWidget(label);
  row->addWidget(ed_);
  row->addStretch(1);
  Body()->addWidget(bevel, 1);
  ed_->setFocus();
}

void TInputCharDlg::SetText(const QString& text) {
  original_ = text;
  ed_->setText(text);
  ed_->selectAll();
}

QString TInputCharDlg::Text() const { return ed_->isModified() ? ed_->text() : original_; }
