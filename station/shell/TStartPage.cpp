#include "TStartPage.h"

#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole + 1;

}  // namespace

TStartPage::TStartPage(QWidget* area) : QWidget(area) {
  setObjectName(QStringLiteral("StartPage"));
  setAccessibleName(QStringLiteral("Startseite"));
  setAutoFillBackground(false);

  auto* outer = new QVBoxLayout(this);
  outer->setContentsMargins(32, 32, 32, 32);
  auto* column = new QVBoxLayout;
  auto* title = new QLabel(QStringLiteral("Kein Projekt geöffnet"), this);
  QFont big = title->font();
  big.setPointSizeF(big.pointSizeF() * 1.5);
  big.setBold(true);
  title->setFont(big);
  auto* hint = new QLabel(QStringLiteral("Legen Sie mit „Datei > Neu“ (Strg+N) ein neues Projekt an, öffnen Sie eines mit "
                                         "„Datei > Öffnen...“ (Strg+O) oder wählen Sie ein zuletzt benutztes Projekt."),
                          this);
  hint->setWordWrap(true);
  column->addWidget(title);
  column->addWidget(hint);

  auto* buttons = new QHBoxLayout;
  new_ = new QPushButton(QStringLiteral("Neues Projekt"), this);
  new_->setObjectName(QStringLiteral("StartNewButton"));
  new_->setAccessibleName(new_->text());
  open_ = new QPushButton(QStringLiteral("Projekt öffnen..."), this);
  open_->setObjectName(QStringLiteral("StartOpenButton"));
  open_->setAccessibleName(open_->text());
  buttons->addWidget(new_);
  buttons->addWidget(open_);
  buttons->addStretch();
  column->addSpacing(8);
  column->addLayout(buttons);

  recentLabel_ = new QLabel(QStringLiteral("&Zuletzt benutzte Projekte:"), this);
  recent_ = new QListWidget(this);
  recent_->setObjectName(QStringLiteral("StartRecentList"));
  recent_->setAccessibleName(QStringLiteral("Zuletzt benutzte Projekte"));
  recentLabel_->setBuddy(recent_);
  column->addSpacing(16);
  column->addWidget(recentLabel_);
  column->addWidget(recent_);

  // A readable column, not the whole width of a large window.
  auto* row = new QHBoxLayout;
  auto* holder = new QWidget(this);
  holder->setLayout(column);
  holder->setMaximumWidth(560);
  row->addWidget(holder);
  row->addStretch();
  outer->addLayout(row);
  outer->addStretch();

  connect(new_, &QPushButton::clicked, this, &TStartPage::NewRequested);
  connect(open_, &QPushButton::clicked, this, &TStartPage::OpenRequested);
  connect(recent_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { emit RecentChosen(item->data(kPathRole).toString()); });

  area->installEventFilter(this);
  setGeometry(area->rect());
  SetRecentFiles({});
}

void TStartPage::SetRecentFiles(const QStringList& names) {
  recent_->clear();
  for (const QString& name : names) {
    const QFileInfo info(name);
    auto* item = new QListWidgetItem(QStringLiteral("%1   (%2)").arg(info.completeBaseName(), info.absolutePath()), recent_);
    item->setData(kPathRole, name);
    item->setToolTip(name);
  }
  recentLabel_->setVisible(!names.isEmpty());
  recent_->setVisible(!names.isEmpty());
  if (names.isEmpty()) return;
  recent_->setCurrentRow(0);
  // As high as its entries, no empty box below them.
  recent_->setFixedHeight(recent_->sizeHintForRow(0) * recent_->count() + 2 * recent_->frameWidth() + 4);
}

bool TStartPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parentWidget() && event->type() == QEvent::Resize) setGeometry(parentWidget()->rect());
  return QWidget::eventFilter(watched, event);
}
