#include "TCommentBlockDlg.h"

#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "TFontMapper.h"

TCommentBlockDlg::TCommentBlockDlg(QWidget* parent) : TCenteredDlg(parent), edit_(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("Eigenschaften des Kommentarblocks"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Geben Sie den neuen Kommentar hier ein:"), this));
  layout->addWidget(edit_);
  auto* buttons = new QHBoxLayout;
  auto* font = new QPushButton(QStringLiteral("Schriftart..."), this);
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  buttons->addWidget(font);
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  layout->addLayout(buttons);
  connect(font, &QPushButton::clicked, this, &TCommentBlockDlg::ChooseFont);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TCommentBlockDlg::SetData(const QString& text, const TCommentFont& font) {
  edit_->setText(text);
  font_ = font;
}

QString TCommentBlockDlg::Text() const { return edit_->text(); }

void TCommentBlockDlg::ChooseFont() {
  QFontDialog dialog(TFontMapper::Make(font_), this);
  dialog.setOption(QFontDialog::ScalableFonts, true);
  dialog.setOption(QFontDialog::NonScalableFonts, true);
  if (dialog.exec() != QDialog::Accepted) return;
  const QFont f = dialog.selectedFont();
  font_.name = f.family();
  int points = f.pointSize() > 0 ? f.pointSize() : (f.pixelSize() * 72 + 48) / 96;
  font_.size = std::clamp(points, 6, 24);
  font_.style = (f.bold() ? TCommentFont::kBold : 0) | (f.italic() ? TCommentFont::kItalic : 0) |
                (f.underline() ? TCommentFont::kUnderline : 0) | (f.strikeOut() ? TCommentFont::kStrikeOut : 0);
}
