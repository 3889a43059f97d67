#include "TProjectController.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>

#include "BreakpointPicture.h"
#include "Commands.h"
#include "Notifications.h"
#include "TDesktopFile.h"
#include "TClipboard.h"
#include "TStationSettings.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"
#include "UndoActions.h"
#include "UserInterface.h"

namespace {

constexpr int kValueRole = Qt::UserRole;
constexpr int kImageRole = Qt::UserRole + 1;
constexpr int kStateRole = Qt::UserRole + 2;

// The tree's pictures, drawn once: 0 closed folder, 1 open folder,
// 2 comment, 3 cell, 4 external table, 5 internal table; and the state
// images 1 breakpoint, 2 halted cell. A node's icon holds its state image
// left of its picture, as the tree shows both.
QPixmap NodeImage(int index) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (index) {
    case 0:
    case 1:
      p.setPen(QColor(128, 96, 0));
      p.setBrush(QColor(240, 200, 80));
      p.drawRect(1, 4, 13, 9);
      p.drawRect(1, 2, 5, 2);
      if (index == 1) {
        p.setBrush(QColor(255, 230, 140));
        p.drawPolygon(QPolygon({QPoint(3, 7), QPoint(15, 7), QPoint(13, 13), QPoint(1, 13)}));
      }
      break;
    case 2:
      p.setPen(Qt::darkGray);
      p.setBrush(Qt::white);
      p.drawRect(2, 1, 11, 14);
      p.setPen(QColor(0, 0, 160));
      for (int y = 4; y <= 12; y += 3) p.drawLine(4, y, 11, y);
      break;
    case 3:
      p.setPen(QColor(0, 64, 128));
      p.setBrush(QColor(255, 255, 200));
      p.drawRect(1, 2, 6, 5);
      p.drawRect(8, 9, 6, 5);
      p.drawLine(7, 4, 11, 4);
      p.drawLine(11, 4, 11, 9);
      break;
    default:
      p.setPen(Qt::darkGray);
      p.setBrush(Qt::white);
      p.drawRect(1, 1, 13, 13);
      p.drawLine(1, 5, 14, 5);
      p.drawLine(6, 1, 6, 14);
      if (index == 4) {
        p.setPen(QPen(QColor(0, 128, 0), 2));
        p.drawLine(8, 12, 13, 7);
        p.drawLine(10, 7, 13, 7);
        p.drawLine(13, 7, 13, 10);
      }
      break;
  }
  return pm;
}

QPixmap StateImage(int state) {
  QPixmap pm(16, 16);
  pm.fill(Qt::transparent);
  if (state == 0) return pm;
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  if (state == 1) {
    PaintBreakpoint(p, QRect(3, 3, 10, 10));
  } else {
    p.setPen(QColor(96, 96, 0));
    p.setBrush(QColor(255, 230, 0));
    p.drawPolygon(QPolygon({QPoint(3, 4), QPoint(9, 4), QPoint(9, 1), QPoint(15, 8), QPoint(9, 15), QPoint(9, 12), QPoint(3, 12)}));
  }
  return pm;
}

QIcon NodeIcon(int image, int state) {
  QPixmap pm(32, 16);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.drawPixmap(0, 0, StateImage(state));
  p.drawPixmap(16, 0, NodeImage(image));
  return QIcon(pm);
}

TUserInterface& Ui() { return TUserInterface::Current(); }

}  // namespace

TProjectController::TProjectController(TTarvixForm* frame) : frame_(frame) {
  setObjectName(QStringLiteral("CellTree"));
  setAccessibleName(QStringLiteral("Projektfenster"));
  setHeaderHidden(true);
  // Arrows show which groups open; a double-click opens or closes a group
  // once (OpenNode), not twice with Qt's own toggle.
  setRootIsDecorated(true);
  setExpandsOnDoubleClick(false);
  setIndentation(19);
  setIconSize(QSize(32, 16));
  setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setDragDropMode(QAbstractItemView::DragDrop);
  connect(this, &QTreeWidget::itemChanged, this, &TProjectController::LabelEdited);
  connect(this, &QTreeWidget::itemSelectionChanged, this, &TProjectController::SelectionChanged);
  connect(this, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* item) { OpenNode(item); });
  connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem*) { RefreshImages(); });
  connect(this, &QTreeWidget::itemCollapsed, this, [this](QTreeWidgetItem*) { RefreshImages(); });
}

TProjectController::~TProjectController() { SetProject(nullptr); }

int TProjectController::FittingWidth() const {
  // Arrow and indentation, the two pictures, the caption, frame and margins.
  return indentation() + iconSize().width() + fontMetrics().horizontalAdvance(QString::fromUtf8(kCommentCaption)) + 2 * frameWidth() + 24;
}

void TProjectController::SetProject(std::unique_ptr<TTarvixPlusModel> project) {
  if (project_) project_->RemoveSpecialView(this);
  std::unique_ptr<TTarvixPlusModel> old = std::move(project_);
  project_ = std::move(project);
  clear();
  comment_ = tables_ = cells_ = nullptr;
  old.reset();  // the engine object goes with it, after the tree let go
  if (project_) {
    project_->AddSpecialView(this);
    Rebuild();
  }
}

std::unique_ptr<TTarvixPlusModel> TProjectController::TakeProject() {
  if (project_) project_->RemoveSpecialView(this);
  clear();
  comment_ = tables_ = cells_ = nullptr;
  return std::move(project_);
}

QTreeWidgetItem* TProjectController::AddNode(QTreeWidgetItem* parent, int index, const QString& caption, int32_t value) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, caption);
  item->setData(0, kValueRole, value);
  item->setData(0, Qt::AccessibleTextRole, caption);
  item->setToolTip(0, caption);  // the whole name where the panel cuts it
  const int32_t kind = KindOf(value);
  const bool editable = IdOf(value) != 0 && (kind == kCells || kind == kTables);
  Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (editable) flags |= Qt::ItemIsEditable;
  if (kind == kCells && IdOf(value) != 0) flags |= Qt::ItemIsDragEnabled;
  if (kind == kCells) flags |= Qt::ItemIsDropEnabled;
  item->setFlags(flags);
  if (!parent)
    insertTopLevelItem(index < 0 ? topLevelItemCount() : index, item);
  else
    parent->insertChild(index < 0 ? parent->childCount() : index, item);
  return item;
}

void TProjectController::Rebuild() {
  rebuilding_ = true;
  const QSignalBlocker block(this);
  clear();
  comment_ = tables_ = cells_ = nullptr;
  if (project_) {
    comment_ = AddNode(nullptr, -1, QString::fromUtf8(kCommentCaption), NodeValue(kComment, 0));
    tables_ = AddNode(nullptr, -1, QStringLiteral("Umsetzungstabellen"), NodeValue(kTables, 0));
    for (const auto& table : project_->Tables()) AddNode(tables_, -1, table->Name, NodeValue(kTables, table->Number));
    cells_ = AddNode(nullptr, -1, QStringLiteral("Programmzellen"), NodeValue(kCells, 0));
    for (const auto& cell : project_->Cells()) AddNode(cells_, -1, cell->Name(), NodeValue(kCells, cell->CellId()));
    const TStationSettings& settings = TStationSettings::Current();
    tables_->setExpanded(settings.autoExpandTables);
    cells_->setExpanded(settings.autoExpandCells);
  }
  RefreshImages();
  rebuilding_ = false;
}

void TProjectController::RefreshCellNode(QTreeWidgetItem* node) {
  const int32_t id = IdOf(node->data(0, kValueRole).toInt());
  int state = 0;
  if (project_ && project_->HaltedCell() == id && id != 0)
    state = 2;
  else if (project_ && project_->HasBreakpoint(id))
    state = 1;
  const QSignalBlocker block(this);
  node->setData(0, kStateRole, state);
  node->setData(0, kImageRole, 3);
  node->setIcon(0, NodeIcon(3, state));
  QString description = node->text(0);
  if (state == 1) description += QStringLiteral(" [Haltepunkt]");
  if (state == 2) description += QStringLiteral(" [angehalten]");
  node->setData(0, Qt::AccessibleDescriptionRole, description);
}

void TProjectController::RefreshImages() {
  if (!project_ || !cells_) return;
  const QSignalBlocker block(this);
  comment_->setIcon(0, NodeIcon(2, 0));
  for (QTreeWidgetItem* group : {tables_, cells_})
    group->setIcon(0, NodeIcon(group->isExpanded() && group->childCount() > 0 ? 1 : 0, 0));
  for (int i = 0; i < tables_->childCount(); ++i) {
    QTreeWidgetItem* node = tables_->child(i);
    const TConversionTable* table = project_->FindTable(IdOf(node->data(0, kValueRole).toInt()));
    node->setIcon(0, NodeIcon(table && !table->Internal ? 4 : 5, 0));
  }
  for (int i = 0; i < cells_->childCount(); ++i) RefreshCellNode(cells_->child(i));
}

void TProjectController::RenumberTables() {
  if (!tables_ || !project_) return;
  const QSignalBlocker block(this);
  // The tables' numbers are their positions: rebuild the group's children.
  const int32_t selected = SelectedValue();
  while (tables_->childCount() > 0) delete tables_->takeChild(0);
  for (const auto& table : project_->Tables()) AddNode(tables_, -1, table->Name, NodeValue(kTables, table->Number));
  RefreshImages();
  if (KindOf(selected) == kTables) SelectValue(selected);
}

int32_t TProjectController::SelectedValue() const {
  QTreeWidgetItem* item = currentItem();
  return item ? item->data(0, kValueRole).toInt() : 0;
}

void TProjectController::SelectValue(int32_t value) {
  if (QTreeWidgetItem* node = FindNode(value)) setCurrentItem(node);
}

QTreeWidgetItem* TProjectController::FindNode(int32_t value) const {
  for (QTreeWidgetItem* group : {comment_, tables_, cells_}) {
    if (!group) continue;
    if (group->data(0, kValueRole).toInt() == value) return group;
    for (int i = 0; i < group->childCount(); ++i)
      if (group->child(i)->data(0, kValueRole).toInt() == value) return group->child(i);
  }
  return nullptr;
}

int32_t TProjectController::SelectedCellOrZero() const {
  const int32_t value = SelectedValue();
  return KindOf(value) == kCells ? IdOf(value) : 0;
}

// ---- commands -------------------------------------------------------------------

bool TProjectController::IsCommandEnabled(int32_t command) const {
  if (!project_) return false;
  const int32_t value = SelectedValue();
  const int32_t kind = KindOf(value);
  const int32_t id = IdOf(value);
  const bool idle = !project_->IsSimulating();
  const bool item = currentItem() && kind != kComment && id != 0;
  switch (command) {
    case cmd::kPrint: return currentItem() && kind == kCells;
    case cmd::kUndo: return idle && project_->CanUndo();
    case cmd::kRedo: return idle && project_->CanRedo();
    case cmd::kCut:
    case cmd::kCopy:
    case cmd::kClear: return idle && item;
    case cmd::kPaste:
      if (!currentItem()) return false;
      if (kind == kCells) return idle && TClipboard::Has(TClipboard::kCell);
      if (kind == kTables) return TClipboard::Has(TClipboard::kTable);
      return false;
    case cmd::kToggleBreakpoint: return currentItem() && kind == kCells && id != 0;
    case cmd::kRunToCell: return currentItem() && kind == kCells && id != 0 && project_->Simulation().CanStart();
    case cmd::kOpen: return true;
    case cmd::kInsertCell: return idle && currentItem() && kind == kCells;
    case cmd::kInsertTable:
    case cmd::kInsertTableRef: return idle && currentItem() && kind == kTables;
    default: return false;
  }
}

void TProjectController::DoCommand(int32_t command, QObject*) {
  if (!project_ || !IsCommandEnabled(command)) return;
  const int32_t value = SelectedValue();
  const int32_t kind = KindOf(value);
  const int32_t id = IdOf(value);
  switch (command) {
    case cmd::kPrint: project_->Print(id); break;
    case cmd::kUndo: project_->Undo(); break;
    case cmd::kRedo: project_->Redo(); break;
    case cmd::kCut:
      if (kind == kCells) {
        project_->CopyCell(id);
        project_->DeleteCell(id);
      } else {
        project_->CopyTable(id);
        project_->DeleteTable(id);
      }
      break;
    case cmd::kCopy:
      if (kind == kCells)
        project_->CopyCell(id);
      else
        project_->CopyTable(id);
      break;
    case cmd::kPaste:
      if (kind == kCells)
        project_->PasteCell(id == 0 ? -1 : project_->CellIndex(id) + 1);
      else
        project_->PasteTable();
      break;
    case cmd::kClear:
      if (kind == kCells)
        project_->DeleteCell(id);
      else
        project_->DeleteTable(id);
      break;
    case cmd::kToggleBreakpoint: project_->ToggleBreakpoint(id); break;
    case cmd::kRunToCell: project_->RunToCell(id); break;
    case cmd::kOpen: OpenNode(currentItem()); break;
    case cmd::kInsertCell: project_->NewCell(id == 0 ? -1 : project_->CellIndex(id) + 1); break;
    case cmd::kInsertTable: project_->NewTable(true); break;
    case cmd::kInsertTableRef: project_->NewTable(false); break;
    default: break;
  }
}

void TProjectController::OpenNode(QTreeWidgetItem* node) {
  if (!node || !project_) return;
  const int32_t value = node->data(0, kValueRole).toInt();
  const int32_t kind = KindOf(value);
  const int32_t id = IdOf(value);
  if (kind == kComment) {
    frame_->OpenComment();
  } else if (id == 0) {
    node->setExpanded(!node->isExpanded());
  } else if (kind == kCells) {
    frame_->OpenCell(id);
  } else if (TConversionTable* table = project_->FindTable(id)) {
    if (table->Internal) {
      frame_->OpenTable(id);
    } else {
      const QString old = table->ExternalFile;
      if (project_->ChooseTableFile(*table) && old.compare(table->ExternalFile, Qt::CaseInsensitive) != 0)
        project_->PushUndo(std::make_unique<TEditTableFileUndoAction>(table->Number, old));
    }
  }
}

// ---- keys, popup, label editing ---------------------------------------------------

bool TProjectController::event(QEvent* e) {
  // The tree's own keys come before the menus' shortcuts (Ins, Del, Enter).
  if (e->type() == QEvent::ShortcutOverride && state() != QAbstractItemView::EditingState) {
    auto* key = static_cast<QKeyEvent*>(e);
    if (key->modifiers() == Qt::NoModifier &&
        (key->key() == Qt::Key_Insert || key->key() == Qt::Key_Delete || key->key() == Qt::Key_Return ||
         key->key() == Qt::Key_Enter || key->key() == Qt::Key_F1)) {
      e->accept();
      return true;
    }
  }
  return QTreeWidget::event(e);
}

void TProjectController::keyPressEvent(QKeyEvent* event) {
  if (state() != QAbstractItemView::EditingState && event->modifiers() == Qt::NoModifier) {
    switch (event->key()) {
      case Qt::Key_Return:
      case Qt::Key_Enter:
        DoCommand(cmd::kOpen, this);
        return;
      case Qt::Key_Insert:
        if (IsCommandEnabled(cmd::kInsertCell))
          DoCommand(cmd::kInsertCell, this);
        else if (IsCommandEnabled(cmd::kInsertTable))
          DoCommand(cmd::kInsertTable, this);
        return;
      case Qt::Key_Delete:
        if (IsCommandEnabled(cmd::kClear)) DoCommand(cmd::kClear, this);
        return;
      case Qt::Key_F1:
        Ui().ShowHelp(9000);
        return;
      case Qt::Key_F4:
        // Through the frame, which keeps the started simulation stepping.
        if (IsCommandEnabled(cmd::kRunToCell)) frame_->DoChildCommand(cmd::kRunToCell, this);
        return;
      default:
        break;
    }
  }
  QTreeWidget::keyPressEvent(event);
}

bool TProjectController::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
  // A caption is not even opened for editing while a simulation runs: the
  // rename would be refused at the end anyway.
  if (project_ && project_->IsSimulating()) return false;
  return QTreeWidget::edit(index, trigger, event);
}

void TProjectController::contextMenuEvent(QContextMenuEvent* event) {
  if (QTreeWidgetItem* item = itemAt(event->pos())) setCurrentItem(item);
  QMenu menu(this);
  menu.setObjectName(QStringLiteral("CellTreePopup"));
  struct Item {
    int32_t tag;
    const char* caption;
    QKeySequence key;
  };
  const Item items[] = {
      {cmd::kOpen, "Öffnen", QKeySequence(Qt::Key_Return)},
      {0, nullptr, {}},
      {cmd::kInsertCell, "&Programmzelle einfügen", QKeySequence(Qt::Key_Insert)},
      {cmd::kInsertTable, "Neue Tabelle einfügen", QKeySequence(Qt::Key_Insert)},
      {cmd::kInsertTableRef, "Verweis auf Tabellendatei einfügen...", {}},
      {0, nullptr, {}},
      {cmd::kCut, "&Ausschneiden", QKeySequence(Qt::CTRL | Qt::Key_X)},
      {cmd::kCopy, "&Kopieren", QKeySequence(Qt::CTRL | Qt::Key_C)},
      {cmd::kPaste, "&Einfügen", QKeySequence(Qt::CTRL | Qt::Key_V)},
      {cmd::kClear, "&Löschen", QKeySequence(Qt::Key_Delete)},
      {0, nullptr, {}},
      {cmd::kToggleBreakpoint, "&Haltepunkt umschalten", QKeySequence(Qt::CTRL | Qt::Key_F8)},
      {cmd::kRunToCell, "Bis zum Cursor ausführen", QKeySequence(Qt::Key_F4)},
  };
  for (const Item& item : items) {
    if (!item.caption) {
      menu.addSeparator();
      continue;
    }
    QAction* action = menu.addAction(QString::fromUtf8(item.caption));
    action->setShortcut(item.key);
    action->setShortcutVisibleInContextMenu(true);
    action->setData(item.tag);
    action->setEnabled(IsCommandEnabled(item.tag));
    const int32_t tag = item.tag;
    connect(action, &QAction::triggered, this, [this, tag] { DoCommand(tag, this); });
  }
  menu.exec(event->globalPos());
}

void TProjectController::LabelEdited(QTreeWidgetItem* item, int) {
  if (rebuilding_ || !project_ || !item) return;
  const int32_t value = item->data(0, kValueRole).toInt();
  const int32_t kind = KindOf(value);
  const int32_t id = IdOf(value);
  if (id == 0 || (kind != kCells && kind != kTables)) return;
  QString name = item->text(0);
  renaming_ = true;
  bool ok = false;
  if (project_->IsSimulating()) {
    ok = false;
  } else if (kind == kCells) {
    const TBlockList* cell = project_->FindCell(id);
    if (cell && name == cell->Name()) {
      renaming_ = false;
      return;
    }
    ok = project_->ValidateCellName(id, name);
    if (ok) project_->RenameCell(id, name);
  } else {
    const TConversionTable* table = project_->FindTable(id);
    if (table && name == table->Name) {
      renaming_ = false;
      return;
    }
    ok = project_->ValidateTableName(id, name);
    if (ok) project_->RenameTable(id, name);
  }
  renaming_ = false;
  if (!ok) Ui().Beep(TUserInterface::Sound::Warning);
  // Show the name the project holds now (the new one, or the old one back).
  const QSignalBlocker block(this);
  if (kind == kCells) {
    if (const TBlockList* cell = project_->FindCell(id)) item->setText(0, cell->Name());
  } else if (const TConversionTable* table = project_->FindTable(id)) {
    item->setText(0, table->Name);
  }
  item->setData(0, Qt::AccessibleTextRole, item->text(0));
  item->setToolTip(0, item->text(0));
}

void TProjectController::SelectionChanged() {
  if (rebuilding_ || !project_) return;
  const int32_t cell = SelectedCellOrZero();
  if (cell != 0 && TStationSettings::Current().autoSynchronize) frame_->SynchronizeCell(cell);
  frame_->CommandStatesChanged();
}

// ---- drag and drop of cells ----------------------------------------------------------

void TProjectController::startDrag(Qt::DropActions) {
  dragged_ = SelectedCellOrZero();
  if (dragged_ == 0 || !project_ || project_->IsSimulating()) return;
  auto* mime = new QMimeData;
  mime->setData(QStringLiteral("application/x-vorblen-cell-node"), QByteArray::number(dragged_));
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
  dragged_ = 0;
}

bool TProjectController::DropAllowed(QTreeWidgetItem* target, bool copy) const {
  if (!target || !project_ || project_->IsSimulating() || dragged_ == 0) return false;
  const int32_t value = target->data(0, kValueRole).toInt();
  if (KindOf(value) != kCells || IdOf(value) == 0) return false;
  return copy || IdOf(value) != dragged_;
}

void TProjectController::dragMoveEvent(QDragMoveEvent* event) {
  const bool copy = event->modifiers() & Qt::ControlModifier;
  if (event->source() == this && DropAllowed(itemAt(event->position().toPoint()), copy)) {
    event->setDropAction(copy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void TProjectController::dropEvent(QDropEvent* event) {
  const bool copy = event->modifiers() & Qt::ControlModifier;
  QTreeWidgetItem* target = itemAt(event->position().toPoint());
  // The model moves or copies; the tree follows its notifications, so Qt
  // must not move the items itself.
  event->setDropAction(Qt::IgnoreAction);
  event->accept();
  if (event->source() != this || !DropCell(dragged_, target, copy)) event->ignore();
}

bool TProjectController::DropCell(int32_t draggedCell, QTreeWidgetItem* target, bool copy) {
  const int32_t saved = dragged_;
  dragged_ = draggedCell;
  const bool allowed = DropAllowed(target, copy);
  dragged_ = saved;
  if (!allowed) return false;
  const int32_t targetId = IdOf(target->data(0, kValueRole).toInt());
  if (copy)
    project_->DuplicateCell(draggedCell, targetId);
  else
    project_->MoveCell(draggedCell, targetId);
  return true;
}

// ---- notifications -----------------------------------------------------------------

void TProjectController::ModelChanged(int32_t code, int64_t data, const TChangeRecord*) {
  if (!project_ || !cells_) return;
  const bool ownRename = renaming_;
  const int32_t id = static_cast<int32_t>(data);
  switch (code) {
    case notify::kCellInserted: {
      if (ownRename) return;
      const int index = project_->CellIndex(id);
      const TBlockList* cell = project_->FindCell(id);
      if (!cell) return;
      QTreeWidgetItem* node;
      {
        const QSignalBlocker block(this);
        node = AddNode(cells_, index, cell->Name(), NodeValue(kCells, id));
        cells_->setExpanded(true);
        RefreshImages();
      }
      setCurrentItem(node);
      frame_->OpenCell(id);
      return;
    }
    case notify::kCellMoved: {
      if (ownRename) return;
      QTreeWidgetItem* node = FindNode(NodeValue(kCells, id));
      if (!node) return;
      const bool selected = currentItem() == node;
      const QSignalBlocker block(this);
      cells_->removeChild(node);
      cells_->insertChild(project_->CellIndex(id), node);
      if (selected) setCurrentItem(node);
      return;
    }
    case notify::kCellDeleted: {
      if (ownRename) return;
      QTreeWidgetItem* node = FindNode(NodeValue(kCells, id));
      if (!node) return;
      const bool selected = currentItem() == node;
      delete node;
      if (selected) setCurrentItem(cells_);
      RefreshImages();
      return;
    }
    case notify::kCellRenamed:
    case notify::kTableRenamed: {
      if (ownRename) return;
      const int32_t kind = code == notify::kCellRenamed ? kCells : kTables;
      QTreeWidgetItem* node = FindNode(NodeValue(kind, id));
      if (!node) return;
      QString name;
      if (kind == kCells) {
        if (const TBlockList* cell = project_->FindCell(id)) name = cell->Name();
      } else if (const TConversionTable* table = project_->FindTable(id)) {
        name = table->Name;
      }
      const QSignalBlocker block(this);
      node->setText(0, name);
      node->setData(0, Qt::AccessibleTextRole, name);
      node->setToolTip(0, name);
      RefreshImages();
      return;
    }
    case notify::kTableInserted: {
      RenumberTables();
      tables_->setExpanded(true);
      SelectValue(NodeValue(kTables, id));
      RefreshImages();
      return;
    }
    case notify::kTableDeleted: {
      // Sent before the table leaves the project: drop its node and number
      // the others by their positions, as the project will.
      QTreeWidgetItem* node = FindNode(NodeValue(kTables, id));
      if (!node) return;
      const bool selected = currentItem() == node;
      delete node;
      const QSignalBlocker block(this);
      for (int i = 0; i < tables_->childCount(); ++i) tables_->child(i)->setData(0, kValueRole, NodeValue(kTables, i + 1));
      if (selected) setCurrentItem(tables_);
      RefreshImages();
      return;
    }
    case notify::kBreakpointSet:
    case notify::kBreakpointRemoved:
    case notify::kBreakpointsCleared:
    case notify::kCurrentCell: {
      RefreshImages();
      const int32_t halted = project_->HaltedCell();
      if (code == notify::kCurrentCell && halted != 0 && halted == id) {
        SelectValue(NodeValue(kCells, halted));
        if (TStationSettings::Current().autoSynchronize) frame_->OpenCell(halted);
      }
      return;
    }
    case notify::kErrorMark:
      if (data == 1 && project_->ErrorBlockId() > 0) {
        const int32_t cell = static_cast<int32_t>(static_cast<uint32_t>(project_->ErrorBlockId()) >> 16);
        frame_->OpenCell(cell);
      }
      return;
    case notify::kBlocksInserted:
    case notify::kBlocksMoved:
    case notify::kBlocksDeleted:
    case notify::kBlockEdited:
    case notify::kWireChanged:
    case notify::kGridChanged:
    case notify::kBlockIndicesChanged:
    case notify::kSimulationReset:
    case notify::kWatchAdded:
    case notify::kWatchPresent:
    case notify::kWatchesRefreshed:
    case notify::kWatchRemoved:
    case notify::kDataFileChanged:
    case notify::kTerminalLine:
      return;
    default:
      // A code added for other views: the tree has nothing to show for it.
      qDebug("project tree: notification %d ignored", static_cast<int>(code));
      return;
  }
}

void TProjectController::GatherDesktop(TDesktop& desktop) const {
  if (TTarvixPlusModel* project = Project(); project && !project->FileName().isEmpty()) {
    desktop.projectFile = project->FileName();
    desktop.breakpoints.assign(project->Breakpoints().begin(), project->Breakpoints().end());
    for (const TWatchEntry& w : project->Watches()) desktop.watches.push_back({w.Name, w.MapCode});
  }
  desktop.hasTree = true;
  desktop.selected = SelectedValue();
  desktop.tablesExpanded = tables_ && tables_->isExpanded();
  desktop.cellsExpanded = cells_ && cells_->isExpanded();
}

void TProjectController::RestoreDesktop(const TDesktop& desktop) {
  if (TTarvixPlusModel* project = Project()) {
    for (int32_t id : desktop.breakpoints)
      if (project->FindCell(id) && !project->HasBreakpoint(id)) project->ToggleBreakpoint(id);
    // A watch is restored by the block that has its map code.
    for (const TDesktop::Watch& watch : desktop.watches) {
      bool added = false;
      for (const auto& cell : project->Cells()) {
        for (int b = 0; b < cell->Count() && !added; ++b) {
          const int32_t blockId = cell->Items(b)->Id();
          if (PlexorGetMapCode(project->Engine(), blockId) == watch.mapCode && PlexorGetSymbolicName(project->Engine(), blockId)) {
            project->AddWatch(blockId);
            added = true;
          }
        }
        if (added) break;
      }
    }
  }
  if (!desktop.hasTree) return;
  if (tables_) tables_->setExpanded(desktop.tablesExpanded);
  if (cells_) cells_->setExpanded(desktop.cellsExpanded);
  if (desktop.selected != 0 || FindNode(0)) SelectValue(desktop.selected);
}
