#include "TCheckResultForm.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "Notifications.h"
#include "TCheckResults.h"
#include "TStationFrame.h"
#include "TTarvixPlusModel.h"
#include "TWindowClass.h"

namespace {

enum Column { kSeverity, kCode, kCell, kBlock, kText };

// The cell editor that shows a cell, preferring the active one. Windows do
// not know each other's classes, so the editor is found by its class name
// and asked through its meta-object.
TMDIChildForm* CellEditorOf(int32_t cellId) {
  TMDIChildForm* found = nullptr;
  for (QWidget* top : QApplication::topLevelWidgets()) {
    QList<TMDIChildForm*> forms = top->findChildren<TMDIChildForm*>();
    if (auto* own = qobject_cast<TMDIChildForm*>(top)) forms.prepend(own);
    for (TMDIChildForm* form : forms) {
      if (!windowclass::Is(form->ClassName(), TWindowClass::ProgramCell) || form->ShownElement() != cellId) continue;
      QMdiSubWindow* sub = form->SubWindow();
      if (sub && sub->mdiArea() && sub->mdiArea()->activeSubWindow() == sub) return form;
      if (!found) found = form;
    }
  }
  return found;
}

}  // namespace

TCheckResultForm::TCheckResultForm(TTarvixPlusModel* model, QWidget* parent) : TMDIChildForm(model, parent) {
  SetCaption(QStringLiteral("Prüfergebnis"));
  summary_ = new QLabel(this);
  summary_->setObjectName(QStringLiteral("CheckSummary"));
  summary_->setContentsMargins(4, 2, 4, 2);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("CheckFindings"));
  list_->setAccessibleName(QStringLiteral("Befunde"));
  list_->setRootIsDecorated(false);
  list_->setUniformRowHeights(true);
  list_->setAllColumnsShowFocus(true);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setHeaderLabels({QStringLiteral("Art"), QStringLiteral("Kennung"), QStringLiteral("Zelle"), QStringLiteral("Block"),
                          QStringLiteral("Meldung")});
  list_->header()->setStretchLastSection(true);
  list_->installEventFilter(this);
  connect(list_, &QTreeWidget::itemActivated, this,
          [this](QTreeWidgetItem* item, int) { OpenFinding(list_->indexOfTopLevelItem(item)); });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(summary_);
  layout->addWidget(list_);
  setFocusProxy(list_);
  resize(600, 240);
  // A window opened from the desktop file has no check yet: check now.
  if (model && !TCheckResults::Last(model)) TCheckResults::Run(*model);
  Reload();
}

void TCheckResultForm::Recheck() {
  if (Model()) TCheckResults::Run(*Model());  // the notification reloads the list
}

void TCheckResultForm::Reload() {
  const std::vector<TFinding>* findings = Model() ? TCheckResults::Last(Model()) : nullptr;
  shown_ = findings ? *findings : std::vector<TFinding>{};
  const int current = list_->currentIndex().row();
  list_->clear();
  int counts[3] = {0, 0, 0};
  for (const TFinding& f : shown_) {
    ++counts[static_cast<int>(f.severity)];
    const TBlockList* cell = f.cellId && Model() ? Model()->FindCell(f.cellId) : nullptr;
    auto* item = new QTreeWidgetItem(list_);
    item->setText(kSeverity, SeverityName(f.severity));
    item->setText(kCode, f.code);
    item->setText(kCell, cell ? cell->Name() : QString());
    item->setText(kBlock, f.blockId ? QString::number(f.BlockNumber()) : QString());
    item->setText(kText, f.text);
    item->setToolTip(kText, f.text);
  }
  for (int c = 0; c < kText; ++c) list_->resizeColumnToContents(c);
  if (!shown_.empty()) list_->setCurrentItem(list_->topLevelItem(std::clamp(current, 0, static_cast<int>(shown_.size()) - 1)));
  summary_->setText(shown_.empty() ? QStringLiteral("Keine Befunde: das Programm ist in Ordnung.")
                                   : QStringLiteral("%1 Fehler, %2 Warnungen, %3 Hinweise").arg(counts[0]).arg(counts[1]).arg(counts[2]));
  summary_->setAccessibleName(summary_->text());
}

bool TCheckResultForm::OpenFinding(int row) {
  if (row < 0 || row >= static_cast<int>(shown_.size()) || !Model()) return false;
  const TFinding f = shown_[static_cast<size_t>(row)];
  if (!f.cellId || !Model()->FindCell(f.cellId)) return false;
  if (TStationFrame* frame = TStationFrame::Current()) frame->OpenCell(f.cellId);
  TMDIChildForm* editor = CellEditorOf(f.cellId);
  if (!editor) return false;
  if (f.blockId) QMetaObject::invokeMethod(editor, "SelectBlock", Q_ARG(int, f.blockId));
  return true;
}

bool TCheckResultForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      OpenFinding(list_->currentIndex().row());
      return true;
    }
  }
  return TMDIChildForm::eventFilter(watched, event);
}

void TCheckResultForm::Update(int32_t code, int64_t data, const TChangeRecord* record) {
  TMDIChildForm::Update(code, data, record);
  if (code == notify::kCheckResults || code == notify::kCellRenamed || code == notify::kCellDeleted) Reload();
}

void TCheckResultForm::ModelDestroyed() {
  shown_.clear();
  list_->clear();
  TMDIChildForm::ModelDestroyed();
}
