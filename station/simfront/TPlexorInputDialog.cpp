#include "TPlexorInputDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "UserInterface.h"

TPlexorInputDialog::TPlexorInputDialog(QWidget* parent) : TCenteredDlg(parent) {
  setWindowTitle(QStringLiteral("Eingabewert für Simulator"));
  setAccessibleName(windowTitle());
  prompt_ = new QLabel(QStringLiteral("Zur Weiterführung der Simulation müssen Sie jetzt die Zahl eingeben, "
                                      "die die Tarvix Hardware über die Schnittstelle empfangen würde:"),
                       this);
  prompt_->setWordWrap(true);
  prompt_->setMinimumWidth(300);
  auto* label = new QLabel(QStringLiteral("&Eingabewert:"), this);
  eValue_ = new QLineEdit(this);
  eValue_->setObjectName(QStringLiteral("EValue"));
  eValue_->setAccessibleName(QStringLiteral("Eingabewert:"));
  eValue_->setMaxLength(12);
  label->setBuddy(eValue_);
  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setDefault(true);
  cancel_ = new QPushButton(QStringLiteral("Simulation abbrechen"), this);
  connect(ok_, &QPushButton::clicked, this, &TPlexorInputDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &TPlexorInputDialog::reject);

  auto* field = new QHBoxLayout;
  field->addWidget(label);
  field->addWidget(eValue_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(prompt_);
  layout->addLayout(field);
  layout->addLayout(buttons);
}

void TPlexorInputDialog::SetValue(int32_t value) {
  value_ = value;
  eValue_->setText(QString::number(value));
  eValue_->selectAll();
}

void TPlexorInputDialog::accept() {
  bool number = false;
  const int32_t value = eValue_->text().trimmed().toInt(&number, 10);
  // The unit receives a 16-bit number.
  if (!number || value < -32768 || value > 65535) {
    // Stays open with the focus in the field.
    TUserInterface::Current().Beep(TUserInterface::Sound::Warning);
    eValue_->setFocus();
    eValue_->selectAll();
    return;
  }
  value_ = value;
  TCenteredDlg::accept();
}

bool TPlexorInputDialog::Ask(QWidget* parent, const QString& caption, const QString& prompt, int32_t& value) {
  TPlexorInputDialog dialog(parent);
  if (!caption.isEmpty()) dialog.setWindowTitle(caption);
  if (!prompt.isEmpty()) dialog.prompt_->setText(prompt);
  dialog.SetValue(value);
  dialog.eValue_->setFocus();
  if (!dialog.Execute(parent)) return false;
  value = dialog.Value();
  return true;
}
