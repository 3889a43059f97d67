#include "TRecoveryDlg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "UserInterface.h"

namespace {

QPushButton* Button(QDialogButtonBox* box, const QString& caption, const char* name, QDialogButtonBox::ButtonRole role) {
  QPushButton* b = box->addButton(caption, role);
  b->setObjectName(QLatin1String(name));
  b->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
  return b;
}

}  // namespace

TRecoveryDlg::TRecoveryDlg(std::vector<TRecoveryEntry> entries, QWidget* parent)
    : TCenteredDlg(parent), entries_(std::move(entries)) {
  setWindowTitle(QStringLiteral("Wiederherstellung"));
  setObjectName(QStringLiteral("RecoveryDlg"));
  setAccessibleName(windowTitle());

  auto* text = new QLabel(QStringLiteral("Die Station wurde beendet, ohne diese Änderungen zu speichern. "
                                         "Öffnen Sie eine Kopie, speichern Sie sie unter einem anderen Namen "
                                         "oder verwerfen Sie sie. Was Sie hier nicht entscheiden, wird beim "
                                         "nächsten Start wieder angeboten."),
                          this);
  text->setWordWrap(true);

  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("RecoveryList"));
  list_->setAccessibleName(QStringLiteral("Wiederherstellungskopien"));
  list_->setRootIsDecorated(false);
  list_->setAllColumnsShowFocus(true);
  list_->setHeaderLabels({QStringLiteral("Projekt"), QStringLiteral("Datei"), QStringLiteral("Kopie vom"),
                          QStringLiteral("Datei seitdem")});
  list_->header()->setStretchLastSection(true);
  list_->setMinimumWidth(640);
  text->setBuddy(list_);

  auto* buttons = new QDialogButtonBox(this);
  bOpen_ = Button(buttons, QStringLiteral("Ö&ffnen"), "bOpen", QDialogButtonBox::ActionRole);
  bSaveAs_ = Button(buttons, QStringLiteral("&Speichern unter..."), "bSaveAs", QDialogButtonBox::ActionRole);
  bDiscard_ = Button(buttons, QStringLiteral("&Verwerfen"), "bDiscard", QDialogButtonBox::ActionRole);
  QPushButton* bClose = Button(buttons, QStringLiteral("S&chließen"), "bClose", QDialogButtonBox::RejectRole);
  bOpen_->setDefault(true);
  connect(bOpen_, &QPushButton::clicked, this, &TRecoveryDlg::OpenChosen);
  connect(bSaveAs_, &QPushButton::clicked, this, &TRecoveryDlg::SaveElsewhere);
  connect(bDiscard_, &QPushButton::clicked, this, &TRecoveryDlg::Discard);
  connect(bClose, &QPushButton::clicked, this, &TRecoveryDlg::reject);
  connect(list_, &QTreeWidget::currentItemChanged, this, [this] { RefreshButtons(); });
  connect(list_, &QTreeWidget::itemActivated, this, [this] {
    if (bOpen_->isEnabled()) OpenChosen();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addWidget(list_);
  layout->addWidget(buttons);
  Fill();
}

void TRecoveryDlg::Fill() {
  list_->clear();
  for (const TRecoveryEntry& e : entries_) {
    const QString file = e.header.projectFile.isEmpty() ? QStringLiteral("(keine)") : e.header.projectFile;
    const QString state =
        e.Usable() ? e.FileStateText() : QStringLiteral("Kopie beschädigt: %1").arg(e.problem);
    auto* item = new QTreeWidgetItem(list_, {e.Usable() ? e.ProjectName() : QFileInfo(e.path).fileName(), file,
                                             e.Usable() ? e.TimeText() : QString(), state});
    item->setToolTip(0, e.path);
  }
  for (int c = 0; c < 3; ++c) list_->resizeColumnToContents(c);
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(list_->topLevelItemCount() - 1));
  RefreshButtons();
}

int TRecoveryDlg::Current() const {
  QTreeWidgetItem* item = list_->currentItem();
  return item ? list_->indexOfTopLevelItem(item) : -1;
}

void TRecoveryDlg::RefreshButtons() {
  const int i = Current();
  const bool usable = i >= 0 && entries_[static_cast<size_t>(i)].Usable();
  bOpen_->setEnabled(usable);
  bSaveAs_->setEnabled(usable);
  bDiscard_->setEnabled(i >= 0);
}

void TRecoveryDlg::OpenChosen() {
  const int i = Current();
  if (i < 0 || !entries_[static_cast<size_t>(i)].Usable()) return;
  chosen_ = entries_[static_cast<size_t>(i)].path;
  accept();
}

void TRecoveryDlg::SaveElsewhere() {
  const int i = Current();
  if (i < 0) return;
  const TRecoveryEntry& e = entries_[static_cast<size_t>(i)];
  TUserInterface& ui = TUserInterface::Current();
  TUserInterface::FileRequest request{QStringLiteral("Speichere %1 als").arg(e.ProjectName()),
                                      QStringLiteral("Tarvix plus Dateien (*.tvp)|*.tvp|Alle Dateien (*.*)|*.*"),
                                      QStringLiteral("tvp"), e.header.projectFile};
  const QString target = ui.SaveFileName(request);
  if (target.isEmpty()) return;
  QString problem;
  if (!recovery::SaveProject(e.path, target, problem)) {
    ui.ErrorBox(problem);
    return;
  }
  // Saved whole: the copy has done its work.
  QFile::remove(e.path);
  entries_.erase(entries_.begin() + i);
  Fill();
  if (entries_.empty()) reject();
}

void TRecoveryDlg::Discard() {
  const int i = Current();
  if (i < 0) return;
  const QString path = entries_[static_cast<size_t>(i)].path;
  if (QFileInfo::exists(path) && !QFile::remove(path)) {
    TUserInterface::Current().ErrorBox(QStringLiteral("Die Wiederherstellungskopie %1 lässt sich nicht löschen.").arg(path));
    return;
  }
  entries_.erase(entries_.begin() + i);
  Fill();
  if (entries_.empty()) reject();
}
