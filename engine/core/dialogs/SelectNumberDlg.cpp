#include "SelectNumberDlg.h"

#include <QBoxLayout>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <algorithm>

#include "Cp1252Text.h"
#include "ParamText.h"

namespace {

// A spin box whose line accepts no typing: the number changes by steps only.
class NumberSpin : public QSpinBox {
 public:
  explicit NumberSpin(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
  QLineEdit* Line() const { return lineEdit(); }
};

}  // namespace

TSelectNumberDlg::TSelectNumberDlg(QWidget* owner) : TParamDlg(owner, "Blockparameter", 300, 126) {
  setObjectName(QStringLiteral("SelectNumberDlg"));
  OkButton()->setObjectName(QStringLiteral("Button1"));
  CancelButton()->setObjectName(QStringLiteral("Button2"));
  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  label_ = new QLabel(bevel);
  label_->setObjectName(QStringLiteral("label"));
  label_->setWordWrap(true);
  auto* spin = new NumberSpin(bevel);
  spin_ = spin;
  spin_->setObjectName(QStringLiteral("spin"));
  spin_->setRange(1, 1);
  spin_->setValue(1);
  spin_->setWrapping(false);
  spin_->setAlignment(Qt::AlignRight);
  ed_ = spin->Line();
  ed_->setObjectName(QStringLiteral("ed"));
  spin_->setMinimumWidth(spin_->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 40);
  label_->setBuddy(spin_);
  auto* row = new QHBoxLayout(bevel);
  row->setContentsMargins(10, 8, 10, 8);
  row->addWidget(label_, 1);
  row->addWidget(spin_);
  Body()->addWidget(bevel, 1);
  spin_->setFocus();
}

void TSelectNumberDlg::SetPrompt(const QString& prompt) { label_->setText(prompt); }

void TSelectNumberDlg::SetMaximum(int maximum) { spin_->setMaximum(std::max(1, maximum)); }

void TSelectNumberDlg::SetText(const QString& text) {
  int64_t n = ReadNumber(ToCp1252(text).c_str());
  spin_->setValue(static_cast<int>(std::clamp<int64_t>(n, spin_->minimum(), spin_->maximum())));
}

QString TSelectNumberDlg::Text() const { return QString::number(spin_->value()); }
