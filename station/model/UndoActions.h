// The undo actions of a project, one per kind of user edit.
//
// An edit that inserts or deletes something is undone by taking the item out
// again or putting it back, and redone the other way round; an edit that
// changes a value (a name, a position, a parameter, a wire) is undone and
// redone alike, by exchanging the recorded value with the project's.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "TBlock.h"
#include "TUndoAction.h"

class TBlockList;

// ---- the two shapes of an edit ----------------------------------------------

// An edit that inserted or deleted an item.
class TPresenceUndoAction : public TUndoAction {
 public:
  void Undo(TTarvixPlusModel& model) final;
  void Redo(TTarvixPlusModel& model) final;

 protected:
  explicit TPresenceUndoAction(bool inserted) : inserted_(inserted) {}
  // Records the item as it is and takes it out of the project.
  virtual void Remove(TTarvixPlusModel& model) = 0;
  // Puts the recorded item back.
  virtual void Restore(TTarvixPlusModel& model) = 0;

 private:
  bool inserted_;
};

// An edit that changed a value: undo and redo both put the recorded value
// into the project and keep the one it replaces.
class TExchangeUndoAction : public TUndoAction {
 public:
  void Undo(TTarvixPlusModel& model) final { Exchange(model); }
  void Redo(TTarvixPlusModel& model) final { Exchange(model); }

 protected:
  virtual void Exchange(TTarvixPlusModel& model) = 0;
};

// ---- cells ------------------------------------------------------------------

// A whole cell: its id, its index and its text form with the header lines.
class TCellUndoAction : public TPresenceUndoAction {
 protected:
  TCellUndoAction(bool inserted, int32_t cellId) : TPresenceUndoAction(inserted), cellId_(cellId) {}
  void Remove(TTarvixPlusModel& model) override;
  void Restore(TTarvixPlusModel& model) override;
  void Record(const TTarvixPlusModel& model);

 private:
  int32_t cellId_;
  int index_ = 0;
  QStringList lines_;
};

// A new cell (inserted, duplicated or pasted).
class TInsertCellUndoAction final : public TCellUndoAction {
 public:
  explicit TInsertCellUndoAction(int32_t cellId) : TCellUndoAction(true, cellId) {}
};

class TDeleteCellUndoAction final : public TCellUndoAction {
 public:
  // Records the cell before it goes.
  TDeleteCellUndoAction(const TTarvixPlusModel& model, int32_t cellId) : TCellUndoAction(false, cellId) {
    Record(model);
  }
};

class TRenameCellUndoAction final : public TExchangeUndoAction {
 public:
  TRenameCellUndoAction(int32_t cellId, QString name) : cellId_(cellId), name_(std::move(name)) {}

 protected:
  void Exchange(TTarvixPlusModel& model) override;

 private:
  int32_t cellId_;
  QString name_;
};

class TMoveCellUndoAction final : public TExchangeUndoAction {
 public:
  TMoveCellUndoAction(int32_t cellId, int index) : cellId_(cellId), index_(index) {}

 protected:
  void Exchange(TTarvixPlusModel& model) override;

 private:
  int32_t cellId_;
  int index_;
};

// ---- blocks -----------------------------------------------------------------

// One new block (a function or comment block dropped into a cell); kept in
// its single-block form while it is out.
class TInsertBlockUndoAction final : public TPresenceUndoAction {
 public:
  explicit TInsertBlockUndoAction(int32_t blockId) : TPresenceUndoAction(true), blockId_(blockId) {}

 protected:
  void Remove(TTarvixPlusModel& model) override;
  void Restore(TTarvixPlusModel& model) override;

 private:
  int32_t blockId_;
  QStringList lines_;
};

// Blocks of one cell, kept while they are out together with every remaining
// block wired to one of them, each framed by block markers, so that putting
// them back also returns their neighbours' wires.
class TBlockGroupUndoAction : public TPresenceUndoAction {
 protected:
  TBlockGroupUndoAction(bool inserted, int32_t cellId, std::vector<int32_t> blockIds)
      : TPresenceUndoAction(inserted), cellId_(cellId), blockIds_(std::move(blockIds)) {}
  void Remove(TTarvixPlusModel& model) override;
  void Restore(TTarvixPlusModel& model) override;
  void Record(const TBlockList& cell, const TBlockSelection& blocks);

 private:
  int32_t cellId_;
  std::vector<int32_t> blockIds_;
  QStringList lines_;
};

// Pasted blocks.
class TInsertBlocksUndoAction final : public TBlockGroupUndoAction {
 public:
  TInsertBlocksUndoAction(int32_t cellId, std::vector<int32_t> blockIds)
      : TBlockGroupUndoAction(true, cellId, std::move(blockIds)) {}
};

class TDeleteBlocksUndoAction final : public TBlockGroupUndoAction {
 public:
  // Records the blocks before they go.
  TDeleteBlocksUndoAction(const TBlockList& cell, const TBlockSelection& deleted);
};

// A block property (parameter, picture, comment text) as its text.
class TEditBlockUndoAction final : public TExchangeUndoAction {
 public:
  // changeCode is the editor's: 1 when the block's appearance changed.
  TEditBlockUndoAction(int32_t blockId, int kind, QString text, uint8_t changeCode)
      : blockId_(blockId), kind_(kind), text_(std::move(text)), changeCode_(changeCode) {}

 protected:
  void Exchange(TTarvixPlusModel& model) override;

 private:
  int32_t blockId_;
  int kind_;
  QString text_;
  uint8_t changeCode_;
};

// Where a block lies, in its geometry lines (the wires it draws included).
struct TBlockPosition {
  int32_t blockId = 0;
  QStringList lines;
};

// Moved or aligned blocks: the positions of the moved blocks and of every
// block wired to one of them (their wires follow).
class TMoveBlocksUndoAction final : public TExchangeUndoAction {
 public:
  // Records the positions before the blocks move.
  TMoveBlocksUndoAction(const TBlockList& cell, const TBlockSelection& moved);
  // Positions are the drawing's alone; the engine never sees them.
  bool ChangesProgram() const override { return false; }

 protected:
  void Exchange(TTarvixPlusModel& model) override;

 private:
  int32_t cellId_;
  std::vector<TBlockPosition> positions_;
};

// One input of a block: the change is kind 0 connect, 1 replace the route or
// 2 disconnect, with the wire's text form; replaying it records the reverse.
class TWireUndoAction final : public TExchangeUndoAction {
 public:
  TWireUndoAction(int32_t blockId, int kind, int input, QString text)
      : blockId_(blockId), kind_(kind), input_(input), text_(std::move(text)) {}

 protected:
  void Exchange(TTarvixPlusModel& model) override;

 private:
  int32_t blockId_;
  int kind_;
  int input_;
  QString text_;
};

// ---- tables -----------------------------------------------------------------

// A whole table: its number and its body lines.
class TTableUndoAction : public TPresenceUndoAction {
 protected:
  TTableUndoAction(bool inserted, int number) : TPresenceUndoAction(inserted), number_(number) {}
  void Remove(TTarvixPlusModel& model) override;
  void Restore(TTarvixPlusModel& model) override;
  void Record(const TTarvixPlusModel& model);

 private:
  int number_;
  QStringList lines_;
};

// A new table (created or pasted).
class TInsertTableUndoAction final : public TTableUndoAction {
 public:
  explicit TInsertTableUndoAction(int number) : TTableUndoAction(true, number) {}
};

class TDeleteTableUndoAction final : public TTableUndoAction {
 public:
  // Records the table before it goes.
  TDeleteTableUndoAction(const TTarvixPlusModel& model, int number) : TTableUndoAction(false, number) {
    Record(model);
  }
};

class TRenameTableUndoAction final : public TExchangeUndoAction {
 public:
  TRenameTableUndoAction(int number, QString name) : number_(number), name_(std::move(name)) {}

 protected:
  void Exchange(TTarvixPlusModel& model) override;

 private:
  int number_;
  QString name_;
};

// The file of an external table.
class TEditTableFileUndoAction final : public TExchangeUndoAction {
 public:
  TEditTableFileUndoAction(int number, QString file) : number_(number), file_(std::move(file)) {}

 protected:
  void Exchange(TTarvixPlusModel& model) override;

 private:
  int number_;
  QString file_;
};
