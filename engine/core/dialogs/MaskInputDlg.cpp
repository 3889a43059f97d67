#include "MaskInputDlg.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <limits>

#include "Cp1252Text.h"
#include "MaskInputModes.h"

TMaskInputDlg::TMaskInputDlg(QWidget* owner) : TParamDlg(owner, "Blockparameter", 302, 123) {
  setObjectName(QStringLiteral("MaskInputDlg"));
  label_ = new QLabel(this);
  label_->setObjectName(QStringLiteral("label"));
  label_->setWordWrap(true);
  label_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  ed_ = new QLineEdit(this);
  ed_->setObjectName(QStringLiteral("ed"));
  label_->setBuddy(ed_);
  Body()->addWidget(label_, 1);
  Body()->addWidget(ed_);
  Body()->addStretch(1);
  ed_->setFocus();
  SetMode(0);
}

void TMaskInputDlg::SetMode(int mode, const QString& prompt) {
  const MaskInputMode& m = GetMaskInputMode(mode);
  mode_ = &m == &GetMaskInputMode(0) ? 0 : mode;
  if (m.prompt)
    label_->setText(FromCp1252(m.prompt));
  else
    label_->setText(prompt.isEmpty() ? QStringLiteral("Geben Sie einen Text ein:") : prompt);
  mask_ = m.mask ? EditMask(m.mask) : EditMask();
  ed_->setInputMask(mask_.QtMask());
  // Free text has no length limit of its own; the block cuts what it keeps.
  if (!mask_.IsMasked()) ed_->setMaxLength(std::numeric_limits<int>::max());
}

void TMaskInputDlg::SetText(const QString& text) {
  original_ = text;
  ed_->setText(text);
  ed_->selectAll();
}

QString TMaskInputDlg::Text() const {
  // A line edit shows control characters as blanks; an untouched free text
  // goes back exactly as it came.
  if (!mask_.IsMasked() && !ed_->isModified()) return original_;
  return mask_.Text(ed_->displayText());
}

bool TMaskInputDlg::EntryAcceptable() const {
  if (mask_.IsMasked() && !mask_.Complete(ed_->displayText())) return false;
  return MaskEntryAcceptable(mode_, ToCp1252(Text()));
}

void TMaskInputDlg::OkButtonClick() {
  if (EntryAcceptable()) {
    accept();
    return;
  }
  QApplication::beep();
  ed_->setFocus();
  emit Refused();
}
