#include "ParamDlg.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include "Cp1252Text.h"

TParamDlg::TParamDlg(QWidget* owner, const char* caption, int width, int height)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setWindowTitle(FromCp1252(caption));
  QFont font = QApplication::font("QDialog");
  font.setPointSize(8);
  setFont(font);
  setFixedSize(width, height);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(8, 8, 8, 8);
  outer->setSpacing(8);
  body_ = new QVBoxLayout;
  body_->setSpacing(6);
  outer->addLayout(body_, 1);

  okButton_ = new QPushButton(QStringLiteral("Ok"), this);
  okButton_->setObjectName(QStringLiteral("OkButton"));
  okButton_->setDefault(true);
  cancelButton_ = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancelButton_->setObjectName(QStringLiteral("CancelButton"));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);
  buttons->addWidget(cancelButton_);
  outer->addLayout(buttons);

  connect(okButton_, &QPushButton::clicked, this, &TParamDlg::OkButtonClick);
  connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TParamDlg::OkButtonClick() { accept(); }

void TParamDlg::showEvent(QShowEvent* event) {
  // Centred on the screen of the host's active window.
  QWidget* active = QApplication::activeWindow();
  QScreen* screen = active && active != this ? active->screen() : QGuiApplication::primaryScreen();
  if (screen) {
    QRect frame = frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    move(frame.topLeft());
  }
  QDialog::showEvent(event);
}
