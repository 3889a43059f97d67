#include "RadioChoiceDlg.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QFrame>
#include <QLabel>
#include <QRadioButton>

#include "Cp1252Text.h"

TRadioChoiceDlg::TRadioChoiceDlg(QWidget* owner, const char* caption, int width, int height, const char* prompt,
                                 const char* const* choices)
    : TParamDlg(owner, caption, width, height) {
  auto* label = new QLabel(FromCp1252(prompt), this);
  label->setObjectName(QStringLiteral("Label1"));
  label->setWordWrap(true);
  auto* bevel = new QFrame(this);
  bevel->setObjectName(QStringLiteral("Bevel1"));
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  auto* column = new QVBoxLayout(bevel);
  column->setContentsMargins(10, 4, 10, 4);
  column->setSpacing(0);
  auto* group = new QButtonGroup(this);
  for (int i = 0; choices[i]; ++i) {
    auto* button = new QRadioButton(FromCp1252(choices[i]), bevel);
    button->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
    group->addButton(button, i + 1);
    column->addWidget(button);
    buttons_.append(button);
  }
  Body()->addWidget(label);
  Body()->addWidget(bevel);
  Body()->addStretch(1);
}

void TRadioChoiceDlg::SetChoice(int choice) {
  for (int i = 0; i < buttons_.size(); ++i) {
    QRadioButton* b = buttons_[i];
    if (i + 1 == choice) {
      b->setChecked(true);
      b->setFocus();
    }
  }
  if (choice < 1 || choice > buttons_.size()) {
    // A group only lets go of its checked button when it is not exclusive.
    auto* group = buttons_.isEmpty() ? nullptr : buttons_.first()->group();
    if (group) group->setExclusive(false);
    for (QRadioButton* b : buttons_) b->setChecked(false);
    if (group) group->setExclusive(true);
  }
}

int TRadioChoiceDlg::Choice() const {
  for (int i = 0; i < buttons_.size(); ++i)
    if (buttons_[i]->isChecked()) return i + 1;
  return 0;
}

QRadioButton* TRadioChoiceDlg::Button(int choice) const {
  return choice >= 1 && choice <= buttons_.size() ? buttons_[choice - 1] : nullptr;
}
