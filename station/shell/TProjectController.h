// TProjectController: the project tree at the left of the main window.
//
// It owns the open project (TTarvixPlusModel) and shows it as three nodes:
// the comment, the conversion tables and the program cells, with state
// images for breakpoints and the halted cell. It is the project's special
// view, so it follows every notification; it executes the tree's commands
// (open, insert, delete, clipboard, breakpoints), label editing with the
// model's name validation, and dragging cells to move or copy them.
#pragma once

#include <QTreeWidget>
#include <memory>

#include "TModelView.h"

struct TDesktop;
class TTarvixPlusModel;
class TTarvixForm;

class TProjectController : public QTreeWidget, public TModelView {
  Q_OBJECT

 public:
  // Node kinds in the high 16 bits of a node's value.
  enum Kind : int32_t { kCells = 0, kComment = -1, kTables = -2 };
  static constexpr const char* kCommentCaption = "Kommentar zum Programm";
  // A width of the panel that shows the longest fixed caption whole.
  int FittingWidth() const;

  static int32_t NodeValue(int32_t kind, int32_t id) { return static_cast<int32_t>((static_cast<uint32_t>(kind) << 16) | (static_cast<uint32_t>(id) & 0xFFFF)); }
  static int32_t KindOf(int32_t value) { return value >> 16; }
  static int32_t IdOf(int32_t value) { return value & 0xFFFF; }

  explicit TProjectController(TTarvixForm* frame);
  ~TProjectController() override;

  TTarvixPlusModel* Project() const { return project_.get(); }
  // Takes a new project (null: none), registers as its special view and
  // rebuilds; the previous project is freed.
  void SetProject(std::unique_ptr<TTarvixPlusModel> project);
  std::unique_ptr<TTarvixPlusModel> TakeProject();

  void Rebuild();
  // The value of the selected node; 0 without one.
  int32_t SelectedValue() const;
  void SelectValue(int32_t value);
  QTreeWidgetItem* FindNode(int32_t value) const;
  QTreeWidgetItem* CellsGroup() const { return cells_; }
  QTreeWidgetItem* TablesGroup() const { return tables_; }
  // The project's and the tree's part of the desktop file: the project file
  // with its breakpoints and watches (only for a project with a file), the
  // selected node and the open groups.
  void GatherDesktop(TDesktop& desktop) const;
  // Breakpoints and watches of cells and blocks that exist, and the tree.
  void RestoreDesktop(const TDesktop& desktop);
  bool IsEditingLabel() const { return state() == QAbstractItemView::EditingState; }
  using QTreeWidget::edit;

  void DoCommand(int32_t command, QObject* sender);
  bool IsCommandEnabled(int32_t command) const;
  // Opens a node: the comment editor, a cell editor, a table editor, or
  // expands or collapses a group.
  void OpenNode(QTreeWidgetItem* node);

  // Drops the dragged cell on a cell node: moves it there, or with copy
  // inserts a copy before it. False when the drop is not allowed.
  bool DropCell(int32_t draggedCell, QTreeWidgetItem* target, bool copy);

  // TModelView
  void ModelChanged(int32_t code, int64_t data, const struct TChangeRecord* record) override;
  void ModelGone() override {}

 protected:
  bool event(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void startDrag(Qt::DropActions supported) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, int index, const QString& caption, int32_t value);
  void RefreshImages();
  void RefreshCellNode(QTreeWidgetItem* node);
  void RenumberTables();
  void LabelEdited(QTreeWidgetItem* item, int column);
  void SelectionChanged();
  int32_t SelectedCellOrZero() const;
  bool DropAllowed(QTreeWidgetItem* target, bool copy) const;

  TTarvixForm* frame_;
  std::unique_ptr<TTarvixPlusModel> project_;
  QTreeWidgetItem* comment_ = nullptr;
  QTreeWidgetItem* tables_ = nullptr;
  QTreeWidgetItem* cells_ = nullptr;
  bool rebuilding_ = false;
  bool renaming_ = false;
  int32_t dragged_ = 0;
};
