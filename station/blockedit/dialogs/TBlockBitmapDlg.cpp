#include "TBlockBitmapDlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "CellEditorSettings.h"
#include "TFileSearch.h"
#include "UserInterface.h"

TBlockBitmapDlg::TBlockBitmapDlg(QWidget* parent)
    : TCenteredDlg(parent), edit_(new QLineEdit(this)), preview_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Auswahl eines externen Bitmaps"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Geben Sie den Dateinamen des Bitmaps ein:"), this));
  layout->addWidget(edit_);
  layout->addWidget(new QLabel(QStringLiteral("Wählen Sie das Bitmap über den Dateidialog:"), this));
  auto* browse = new QPushButton(QStringLiteral("&Durchsuchen..."), this);
  layout->addWidget(browse);
  preview_->setFixedSize(160, 100);
  preview_->setAlignment(Qt::AlignCenter);
  preview_->setFrameShape(QFrame::Panel);
  layout->addWidget(preview_);
  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  ok->setDefault(true);
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  layout->addLayout(buttons);
  connect(edit_, &QLineEdit::textChanged, this, &TBlockBitmapDlg::RefreshPreview);
  connect(browse, &QPushButton::clicked, this, &TBlockBitmapDlg::Browse);
  connect(ok, &QPushButton::clicked, this, &TBlockBitmapDlg::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TBlockBitmapDlg::SetFileName(const QString& name) { edit_->setText(name); }
QString TBlockBitmapDlg::FileName() const { return edit_->text(); }

void TBlockBitmapDlg::RefreshPreview() {
  const QString path = TFileSearch::FindBitmap(edit_->text());
  QImage image;
  if (!path.isEmpty()) image.load(path);
  if (image.isNull()) {
    preview_->clear();
    return;
  }
  const QSize area = preview_->contentsRect().size();
  QPixmap pixmap = QPixmap::fromImage(image);
  if (pixmap.width() > area.width() || pixmap.height() > area.height())
    pixmap = pixmap.scaled(area, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  preview_->setPixmap(pixmap);
  const QString stored = TFileSearch::StoredName(path, CellEditorSettings::Current().bitmapPath);
  if (stored != path && stored != edit_->text()) {
    const QSignalBlocker block(edit_);
    edit_->setText(stored);
  }
}

void TBlockBitmapDlg::Browse() {
  const QString file = QFileDialog::getOpenFileName(this, QStringLiteral("Bitmap auswählen"), edit_->text(),
                                                    QStringLiteral("Bitmapdateien (*.bmp);;Bilder (*.bmp *.png)"));
  if (!file.isEmpty()) edit_->setText(file);
}

void TBlockBitmapDlg::accept() {
  const QString name = edit_->text();
  if (!name.isEmpty()) {
    const QString path = TFileSearch::FindBitmap(name);
    QImage image;
    if (path.isEmpty() || !image.load(path)) {
      TUserInterface::Current().ErrorBox(QStringLiteral("%1 ist keine gültige Bitmapdatei!").arg(name));
      return;
    }
  }
  TCenteredDlg::accept();
}
