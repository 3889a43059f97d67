#include "TCompareForm.h"

#include <QDataStream>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <QVariant>

#include "Commands.h"
#include "DiffReport.h"
#include "ProjectCompare.h"
#include "TStationFrame.h"
#include "TTarvixPlusModel.h"
#include "TWindowClass.h"
#include "UserInterface.h"

namespace {

constexpr int kCellRole = Qt::UserRole + 1;  // index into the diff's cells, -1 for comment and tables

// The lines of a report paragraph: the title, then its indented lines.
void AddParagraph(QTreeWidget* list, const QString& paragraph, int cellIndex) {
  QStringList lines = paragraph.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  if (lines.isEmpty()) return;
  QString title = lines.takeFirst();
  if (title.endsWith(QLatin1Char(':'))) title.chop(1);
  auto* top = new QTreeWidgetItem(list, QStringList{title});
  top->setData(0, kCellRole, cellIndex);
  for (const QString& line : lines) {
    auto* child = new QTreeWidgetItem(top, QStringList{line.trimmed()});
    child->setData(0, kCellRole, cellIndex);
  }
  top->setExpanded(true);
}

}  // namespace

TCompareForm::TCompareForm(TTarvixPlusModel* model, QWidget* parent) : TMDIChildForm(model, parent) {
  header_ = new QLabel(this);
  header_->setObjectName(QStringLiteral("CompareHeader"));
  header_->setWordWrap(true);
  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("CompareList"));
  list_->setAccessibleName(QStringLiteral("Unterschiede"));
  list_->setHeaderHidden(true);
  list_->setColumnCount(1);
  list_->installEventFilter(this);
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { Activate(item); });
  removedTitle_ = new QLabel(QStringLiteral("Entfernte Blöcke und Verbindungen der geöffneten Zelle:"), this);
  removed_ = new QListWidget(this);
  removed_->setObjectName(QStringLiteral("RemovedList"));
  removed_->setAccessibleName(QStringLiteral("Entfernte Blöcke"));
  removedTitle_->setBuddy(removed_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addWidget(header_);
  layout->addWidget(list_, 3);
  layout->addWidget(removedTitle_);
  layout->addWidget(removed_, 1);
  refresh_.setSingleShot(true);
  refresh_.setInterval(0);
  connect(&refresh_, &QTimer::timeout, this, &TCompareForm::Refresh);
  SetCaption(QStringLiteral("Vergleich"));
  Rebuild();
  resize(520, 420);
}

TCompareForm::~TCompareForm() = default;

void TCompareForm::CompareWith(TStationFrame& frame) {
  if (!frame.Project()) return;
  TUserInterface::FileRequest request{QStringLiteral("Vergleichen mit"),
                                      QStringLiteral("Tarvix/plus Dateien (*.tvp)|*.tvp|Alle Dateien (*.*)|*.*"),
                                      QStringLiteral("tvp"), QString()};
  const QString name = TUserInterface::Current().OpenFileName(request);
  if (name.isEmpty()) return;
  if (auto* form = qobject_cast<TCompareForm*>(frame.ShowWindow(windowclass::Name(TWindowClass::Compare), true))) form->SetOtherFile(name);
}

bool TCompareForm::SetOtherFile(const QString& fileName) {
  if (!QFileInfo(fileName).isFile()) {
    TUserInterface::Current().ErrorBox(QStringLiteral("Die Datei %1 gibt es nicht!").arg(fileName));
    return false;
  }
  // The other version gets a model (and engine) of its own only while it is read.
  {
    TTarvixPlusModel other;
    if (!other.LoadFromFile(fileName)) return false;
    other_ = TProjectSnapshot::Of(other);
  }
  otherFile_ = fileName;
  haveOther_ = true;
  Refresh();
  return true;
}

void TCompareForm::Refresh() {
  refresh_.stop();
  diff_ = haveOther_ && Model() ? CompareProjects(other_, TProjectSnapshot::Of(*Model())) : TProjectDiff{};
  Rebuild();
}

void TCompareForm::Rebuild() {
  list_->clear();
  if (!haveOther_) {
    header_->setText(QStringLiteral("Noch keine Datei zum Vergleich gewählt (Datei > Vergleichen mit...)."));
    return;
  }
  header_->setText(QStringLiteral("Unterschiede von %1 zum geöffneten Projekt:").arg(QFileInfo(otherFile_).fileName()));
  if (diff_.Empty()) {
    AddParagraph(list_, QStringLiteral("Keine Unterschiede."), -1);
    return;
  }
  AddParagraph(list_, CommentDiffText(diff_.comment), -1);
  for (const TTableDiff& t : diff_.tables) AddParagraph(list_, TableDiffText(t), -1);
  for (size_t i = 0; i < diff_.cells.size(); ++i) AddParagraph(list_, CellDiffText(diff_.cells[i]), static_cast<int>(i));
  list_->setCurrentItem(list_->topLevelItem(0));
}

void TCompareForm::Activate(QTreeWidgetItem* item) {
  if (!item) return;
  const int index = item->data(0, kCellRole).toInt();
  if (index >= 0) OpenCellOf(index);
}

void TCompareForm::OpenCellOf(int cellIndex) {
  if (cellIndex < 0 || static_cast<size_t>(cellIndex) >= diff_.cells.size()) return;
  const TCellDiff& cell = diff_.cells[static_cast<size_t>(cellIndex)];
  removed_->clear();
  for (const TBlockDiff& b : cell.blocks)
    if (b.change == TChange::kRemoved) removed_->addItem(BlockDiffText(b));
  for (const TWireDiff& w : cell.wires)
    if (w.change == TChange::kRemoved) removed_->addItem(WireDiffText(w));
  if (cell.change == TChange::kRemoved) {
    removed_->addItem(CellDiffText(cell).trimmed());
    return;
  }
  TStationFrame* frame = TStationFrame::Current();
  if (!frame || !Model() || !Model()->FindCell(cell.newId)) return;
  frame->OpenCell(cell.newId);

  // The editor now showing the cell takes the selection through its command.
  QObject carrier;
  QVariantList ids;
  for (const TBlockDiff& b : cell.blocks)
    if (b.change != TChange::kRemoved)
      ids << static_cast<int32_t>((static_cast<uint32_t>(cell.newId) << 16) | static_cast<uint32_t>(b.newNumber));
  carrier.setProperty("blockIds", ids);
  std::vector<TMDIChildForm*> candidates;
  if (QMdiArea* area = SubWindow() ? SubWindow()->mdiArea() : nullptr) {
    if (QMdiSubWindow* active = area->activeSubWindow()) candidates.push_back(qobject_cast<TMDIChildForm*>(active->widget()));
    for (QMdiSubWindow* sub : area->subWindowList()) candidates.push_back(qobject_cast<TMDIChildForm*>(sub->widget()));
  }
  candidates.push_back(qobject_cast<TMDIChildForm*>(frame->FindWindow(windowclass::Name(TWindowClass::ProgramCell))));
  for (TMDIChildForm* doc : candidates)
    if (doc && doc != this && windowclass::Is(doc->ClassName(), TWindowClass::ProgramCell) && doc->ShownElement() == cell.newId) {
      doc->DoCommand(cmd::kSelectBlocks, &carrier);
      return;
    }
}

bool TCompareForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Activate(list_->currentItem());
      return true;
    }
  }
  return TMDIChildForm::eventFilter(watched, event);
}

void TCompareForm::Update(int32_t, int64_t, const TChangeRecord*) {
  if (haveOther_) refresh_.start();
}

void TCompareForm::ReadDesktop(QDataStream& in) {
  QString file;
  in >> file;
  if (in.status() == QDataStream::Ok && !file.isEmpty() && QFileInfo(file).isFile()) SetOtherFile(file);
}

void TCompareForm::WriteDesktop(QDataStream& out) const { out << otherFile_; }
