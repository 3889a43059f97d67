#include "UndoActions.h"

#include <algorithm>

#include "Notifications.h"
#include "TInputLine.h"
#include "TTarvixPlusModel.h"

namespace {

// An internal inconsistency between the history and the project: the
// action fails and TModel reports the text.
[[noreturn]] void Fail(const char* text) { throw TModelError{QString::fromUtf8(text)}; }

TBlock* BlockOf(const TTarvixPlusModel& model, int32_t blockId, TBlockList** cell = nullptr) {
  TBlockList* c = model.FindCell(static_cast<int32_t>(static_cast<uint32_t>(blockId) >> 16));
  if (cell) *cell = c;
  return c ? c->FindBlock(blockId) : nullptr;
}

bool Contains(const TBlockSelection& blocks, const TBlock* block) {
  return std::find(blocks.begin(), blocks.end(), block) != blocks.end();
}

// The blocks whose state changes with blocks (themselves and every block
// wired to one of them), in cell order.
TBlockSelection Affected(const TBlockList& cell, const TBlockSelection& blocks) {
  TBlockSelection affected;
  for (int i = 0; i < cell.Count(); ++i) {
    TBlock* b = cell.Items(i);
    if (Contains(blocks, b) || b->HasInputFrom(blocks)) affected.push_back(b);
  }
  return affected;
}

}  // namespace

// ---- shapes -------------------------------------------------------------------

void TPresenceUndoAction::Undo(TTarvixPlusModel& model) {
  if (inserted_) Remove(model);
  else Restore(model);
}

void TPresenceUndoAction::Redo(TTarvixPlusModel& model) {
  if (inserted_) Restore(model);
  else Remove(model);
}

// ---- cells ------------------------------------------------------------------

void TCellUndoAction::Record(const TTarvixPlusModel& model) {
  const TBlockList* cell = model.FindCell(cellId_);
  if (!cell) Fail("Interner Fehler in TDeleteCellUndoAction.SetUndoData: Zelle nicht gefunden!");
  index_ = model.CellIndex(cellId_);
  lines_.clear();
  cell->WriteToLines(true, lines_);
}

void TCellUndoAction::Remove(TTarvixPlusModel& model) {
  Record(model);
  model.RemoveCell(cellId_);
}

void TCellUndoAction::Restore(TTarvixPlusModel& model) {
  if (model.FindCell(cellId_)) Fail("Fehler in TDeleteCellUndoAction.UndoAction: Zelle schon vorhanden!");
  TBlockList* cell = model.InsertCellAt(index_, cellId_);
  bool ok = cell->ReadFromLines(true, lines_, cellId_);
  ok = cell->PushToEngine() && ok;
  model.UpdateViews(notify::kCellInserted, cellId_);
  // The cell is there, with what could be read; the history past it is not.
  if (!ok) Fail("Fehler in TDeleteCellUndoAction.UndoAction: Zelle nicht vollständig gelesen!");
}

void TRenameCellUndoAction::Exchange(TTarvixPlusModel& model) {
  const TBlockList* cell = model.FindCell(cellId_);
  if (!cell) Fail("Fehler in TRenameCellUndoAction.UndoAction: Zelle nicht gefunden!");
  QString current = cell->Name();
  model.SetCellName(cellId_, name_);
  name_ = std::move(current);
}

void TMoveCellUndoAction::Exchange(TTarvixPlusModel& model) {
  if (!model.FindCell(cellId_)) Fail("Fehler in TMoveCellUndoAction.UndoAction: Zelle nicht gefunden!");
  const int current = model.CellIndex(cellId_);
  model.MoveCellToIndex(cellId_, index_);
  index_ = current;
}

// ---- single blocks ------------------------------------------------------------

void TInsertBlockUndoAction::Remove(TTarvixPlusModel& model) {
  const TBlock* block = BlockOf(model, blockId_);
  if (!block) Fail("Fehler in TInsertBlockUndoAction.UndoAction: Block nicht gefunden!");
  lines_ = TBlockList::WriteSingleBlock(*block);
  model.DeleteBlock(blockId_);
}

void TInsertBlockUndoAction::Restore(TTarvixPlusModel& model) {
  TBlockList* cell = model.FindCell(static_cast<int32_t>(static_cast<uint32_t>(blockId_) >> 16));
  if (!cell) Fail("Fehler in TDeleteBlockUndoAction.UndoAction: Zelle nicht gefunden!");
  TRect bounds;
  if (!cell->RestoreBlock(lines_, bounds)) Fail("Fehler in TDeleteBlockUndoAction.UndoAction: Block nicht lesbar!");
  TChangeRecord record{cell->CellId(), blockId_, 1, {}, bounds};
  model.UpdateViews(notify::kBlocksInserted, 0, &record);
}

void TEditBlockUndoAction::Exchange(TTarvixPlusModel& model) {
  TBlockList* cell = nullptr;
  TBlock* block = BlockOf(model, blockId_, &cell);
  if (!block) Fail("Fehler in TEditBlockUndoAction.UndoAction: Block nicht gefunden!");
  auto area = [&] { return kind_ == 1 ? cell->GetBlockExtent(blockId_) : block->Bounds(); };
  const TRect before = area();
  QString current = block->GetData(kind_);
  const bool ok = block->SetData(kind_, text_);
  TChangeRecord record{cell->CellId(), blockId_, changeCode_, before, area()};
  model.UpdateViews(notify::kBlockEdited, 0, &record);
  // The block holds the text even where the engine refused it.
  text_ = std::move(current);
  if (!ok) Fail("Fehler in TEditBlockUndoAction.UndoAction: Parameter nicht übernommen!");
}

// ---- block groups -------------------------------------------------------------

TDeleteBlocksUndoAction::TDeleteBlocksUndoAction(const TBlockList& cell, const TBlockSelection& deleted)
    : TBlockGroupUndoAction(false, cell.CellId(), {}) {
  Record(cell, deleted);
}

void TBlockGroupUndoAction::Record(const TBlockList& cell, const TBlockSelection& blocks) {
  blockIds_.clear();
  for (const TBlock* b : blocks)
    if (cell.IndexOf(b) >= 0) blockIds_.push_back(b->Id());
  lines_.clear();
  cell.WriteSelection(Affected(cell, blocks), lines_);
}

void TBlockGroupUndoAction::Remove(TTarvixPlusModel& model) {
  TBlockList* cell = model.FindCell(cellId_);
  if (!cell) Fail("Fehler in TInsertBlocksUndoAction.SaveRedoData: Zelle nicht gefunden!");
  TBlockSelection blocks;
  for (int32_t id : blockIds_) {
    TBlock* b = cell->FindBlock(id);
    if (!b) Fail("Fehler in TInsertBlocksUndoAction.FindBlocksToDelete: Block nicht gefunden!");
    blocks.push_back(b);
  }
  Record(*cell, blocks);
  TChangeRecord record = model.RemoveBlocks(*cell, blocks);
  model.UpdateViews(notify::kBlocksDeleted, 0, &record);
}

void TBlockGroupUndoAction::Restore(TTarvixPlusModel& model) {
  TBlockList* cell = model.FindCell(cellId_);
  if (!cell) Fail("Fehler in TDeleteBlocksUndoAction.UndoAction: Zelle nicht gefunden!");
  TBlockList scratch(cellId_, model.Engine());
  scratch.ReadFromLines(false, lines_, cellId_);
  TRect area;
  std::vector<bool> replaced(static_cast<size_t>(scratch.Count()), false);
  // Neighbours that are still there take back their recorded wires in place.
  for (int i = scratch.Count() - 1; i >= 0; --i) {
    TBlock* recorded = scratch.Items(i);
    if (TBlock* existing = cell->FindBlock(recorded->Id())) {
      area = area.United(cell->GetBlockExtent(existing->Id()));
      recorded->AssignTo(*existing);
      replaced[static_cast<size_t>(i)] = true;
    }
  }
  // The removed blocks come back at the end of the cell.
  for (int i = 0; i < scratch.Count(); ++i) {
    if (replaced[static_cast<size_t>(i)]) continue;
    TBlock* recorded = scratch.Items(i);
    std::unique_ptr<TBlock> block = TBlock::Create(recorded->GetAliasName(), recorded->Id(), model.Engine());
    if (!block) continue;
    recorded->AssignTo(*block);
    cell->Add(std::move(block));
  }
  cell->PushToEngine();
  for (int i = 0; i < scratch.Count(); ++i) area = area.United(cell->GetBlockExtent(scratch.Items(i)->Id()));
  TChangeRecord record{cellId_, 0, 1, area, area};
  model.UpdateViews(notify::kBlocksInserted, 0, &record);
}

// ---- positions ----------------------------------------------------------------

TMoveBlocksUndoAction::TMoveBlocksUndoAction(const TBlockList& cell, const TBlockSelection& moved) : cellId_(cell.CellId()) {
  for (const TBlock* b : Affected(cell, moved)) {
    TBlockPosition position{b->Id(), {}};
    b->WriteGeometry(position.lines);
    positions_.push_back(std::move(position));
  }
}

void TMoveBlocksUndoAction::Exchange(TTarvixPlusModel& model) {
  TBlockList* cell = model.FindCell(cellId_);
  if (!cell) Fail("Fehler in TMoveBlocksUndoAction.UndoAction: Zelle nicht gefunden!");
  if (positions_.empty()) Fail("Fehler in TMoveBlocksUndoAction.UndoAction: Block nicht gefunden!");
  // Every block is looked up, and its position kept, before any moves.
  std::vector<TBlock*> blocks;
  std::vector<TBlockPosition> current;
  for (const TBlockPosition& position : positions_) {
    TBlock* block = cell->FindBlock(position.blockId);
    if (!block) Fail("Fehler in TMoveBlocksUndoAction.SaveRedoData: Block nicht gefunden!");
    blocks.push_back(block);
    current.push_back({position.blockId, {}});
    block->WriteGeometry(current.back().lines);
  }
  TRect before, after;
  QString error;
  for (size_t i = 0; i < blocks.size(); ++i) {
    before = before.United(cell->GetBlockExtent(blocks[i]->Id()));
    qsizetype index = 0;
    QString problem;
    if (!blocks[i]->ReadGeometry(positions_[i].lines, index, problem) && error.isEmpty())
      error = problem.isEmpty() ? QStringLiteral("Fehler in TMoveBlocksUndoAction.UndoAction: Position nicht lesbar!") : problem;
    after = after.United(cell->GetBlockExtent(blocks[i]->Id()));
  }
  TChangeRecord record{cellId_, 0, 1, before, after};
  model.UpdateViews(notify::kBlocksMoved, 0, &record);
  positions_ = std::move(current);
  if (!error.isEmpty()) throw TModelError{error};
}

// ---- wires --------------------------------------------------------------------

void TWireUndoAction::Exchange(TTarvixPlusModel& model) {
  TBlockList* cell = nullptr;
  TBlock* block = BlockOf(model, blockId_, &cell);
  if (!block) Fail("Fehler in TWireUndoAction.SetUndoData: Block nicht gefunden!");
  std::unique_ptr<TInputLine> wire;
  int8_t letter = -1;
  if (kind_ != TBlock::kSplit) {
    wire = std::make_unique<TInputLine>();
    if (!wire->FromText(text_)) Fail("Fehler in TWireUndoAction.UndoAction: Verbindung nicht lesbar!");
    letter = wire->menuLetter;
  }
  const TRect before = cell->GetBlockExtent(blockId_);
  QString current = block->GetInputText(input_);
  int slot = input_;
  const bool ok = block->ChangeWire(kind_, slot, std::move(wire));
  // Reconnecting marks the wire as drawn to a chosen input; the recorded
  // wire keeps the letter it had.
  if (kind_ == TBlock::kConnect)
    if (TInputLine* restored = block->GetInput(slot)) {
      restored->menuLetter = letter;
      restored->Update();
    }
  TChangeRecord record{cell->CellId(), blockId_, 1, before, cell->GetBlockExtent(blockId_)};
  model.UpdateViews(notify::kWireChanged, 0, &record);
  kind_ = TBlock::kSplit - kind_;
  text_ = std::move(current);
  if (!ok) Fail("Fehler in TWireUndoAction.UndoAction: Verbindung abgelehnt!");
}

// ---- tables -------------------------------------------------------------------

void TTableUndoAction::Record(const TTarvixPlusModel& model) {
  const TConversionTable* table = model.FindTable(number_);
  if (!table) Fail("Fehler in TDeleteTableUndoAction.SetUndoData: Tabelle nicht gefunden!");
  lines_.clear();
  table->WriteBody(lines_);
}

void TTableUndoAction::Remove(TTarvixPlusModel& model) {
  Record(model);
  model.RemoveTable(number_);
}

void TTableUndoAction::Restore(TTarvixPlusModel& model) {
  auto table = std::make_unique<TConversionTable>(TConversionTable::FromBody(lines_));
  table->Number = static_cast<uint16_t>(number_);
  model.InsertTable(std::move(table));
}

void TRenameTableUndoAction::Exchange(TTarvixPlusModel& model) {
  const TConversionTable* table = model.FindTable(number_);
  if (!table) Fail("Fehler in TRenameTableUndoAction.UndoAction: Tabelle nicht gefunden!");
  QString current = table->Name;
  model.SetTableName(number_, name_);
  name_ = std::move(current);
}

void TEditTableFileUndoAction::Exchange(TTarvixPlusModel& model) {
  TConversionTable* table = model.FindTable(number_);
  if (!table) Fail("Fehler in TEditTableFileUndoAction.UndoAction: Tabelle nicht gefunden!");
  QString current = table->ExternalFile;
  model.SetTableFile(*table, file_);
  file_ = std::move(current);
}
