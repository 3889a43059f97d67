// The undo actions of a project, one per kind of edit. Each records what its
// Perform needs and knows the class of its inverse.
#pragma once

#include <QString>
#include <cstdint>

#include "TUndoAction.h"

// ---- cells ------------------------------------------------------------------

class TInsertCellUndoAction : public TUndoAction {
 public:
  explicit TInsertCellUndoAction(int32_t cellId = 0) : CellId(cellId) {}
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t CellId;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

class TDeleteCellUndoAction : public TCellDataUndoAction {
 public:
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  // The inverse is filed after the cell is back, since it names the cell.
  bool Perform(TModel& model, bool toUndoList) override;
  int32_t CellId = 0;
  int Index = 0;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

class TRenameCellUndoAction : public TUndoAction {
 public:
  TRenameCellUndoAction(int32_t cellId = 0, QString name = {}) : CellId(cellId), Name(std::move(name)) {}
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t CellId;
  QString Name;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

class TMoveCellUndoAction : public TUndoAction {
 public:
  TMoveCellUndoAction(int32_t cellId = 0, int index = 0) : CellId(cellId), Index(index) {}
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t CellId;
  int Index;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

// ---- blocks -----------------------------------------------------------------

class TInsertBlockUndoAction : public TUndoAction {
 public:
  explicit TInsertBlockUndoAction(int32_t blockId = 0) : BlockId(blockId) {}
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t BlockId;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

// Keeps one block in its single-block form.
class TDeleteBlockUndoAction : public TCellDataUndoAction {
 public:
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t BlockId = 0;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

class TEditBlockUndoAction : public TUndoAction {
 public:
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t BlockId = 0;
  int Kind = 0;
  QString Text;
  uint8_t ChangeCode = 1;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

class TInsertBlocksUndoAction : public TUndoAction {
 public:
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t CellId = 0;
  QString BlockIds;  // decimal ids separated by ", "

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

// Keeps the deleted blocks and their wired neighbours framed by block markers.
class TDeleteBlocksUndoAction : public TCellDataUndoAction {
 public:
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t CellId = 0;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

// Keeps "ID=" lines each followed by the block's position lines.
class TMoveBlocksUndoAction : public TCellDataUndoAction {
 public:
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  // Positions are the drawing's alone; the engine never sees them.
  bool ChangesProgram() const override { return false; }
  int32_t CellId = 0;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

// Kind 0 connects, 1 replaces the route, 2 disconnects.
class TWireUndoAction : public TUndoAction {
 public:
  TWireUndoAction(int32_t blockId = 0, int kind = 0, int input = 0, QString text = {})
      : BlockId(blockId), Kind(kind), Input(input), Text(std::move(text)) {}
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int32_t BlockId;
  int Kind;
  int Input;
  QString Text;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

// ---- tables -----------------------------------------------------------------

class TInsertTableUndoAction : public TUndoAction {
 public:
  explicit TInsertTableUndoAction(int number = 0) : Number(number) {}
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int Number;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

class TDeleteTableUndoAction : public TCellDataUndoAction {
 public:
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int Number = 0;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

class TRenameTableUndoAction : public TUndoAction {
 public:
  TRenameTableUndoAction(int number = 0, QString name = {}) : Number(number), Name(std::move(name)) {}
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int Number;
  QString Name;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};

class TEditTableFileUndoAction : public TUndoAction {
 public:
  TEditTableFileUndoAction(int number = 0, QString file = {}) : Number(number), File(std::move(file)) {}
  std::unique_ptr<TUndoAction> NewInverse() const override;
  void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const override;
  int Number;
  QString File;

 protected:
  bool Apply(TTarvixPlusModel& model) override;
};
