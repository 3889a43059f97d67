// Block and wire edits of the project document.
#include <algorithm>

#include "CellEditorSettings.h"
#include "Notifications.h"
#include "TGraphBlock.h"
#include "TInputLine.h"
#include "TTextBlock.h"
#include "TTarvixPlusModel.h"
#include "UndoActions.h"
#include "UserInterface.h"

namespace {

bool Selected(const TBlockSelection& selection, const TBlock* block) {
  return std::find(selection.begin(), selection.end(), block) != selection.end();
}

bool WiredTo(const TBlock& block, const TBlockSelection& selection) {
  return !Selected(selection, &block) && block.HasInputFrom(selection);
}

}  // namespace

TBlock* TTarvixPlusModel::BlockInserted(TBlockList& cell, TBlock* block) {
  if (!block) return nullptr;
  PushUndo(std::make_unique<TInsertBlockUndoAction>(block->Id()));
  EditDone();
  TChangeRecord record{cell.CellId(), block->Id(), 1, {}, cell.GetBlockExtent(block->Id())};
  UpdateViews(notify::kBlocksInserted, 0, &record);
  return block;
}

TBlock* TTarvixPlusModel::InsertTextBlock(int32_t cellId, const TRect& visible) {
  TBlockList* cell = FindCell(cellId);
  return cell ? BlockInserted(*cell, cell->InsertTextBlock(visible)) : nullptr;
}

TBlock* TTarvixPlusModel::InsertBlock(int32_t cellId, int32_t blockType, const TRect& visible) {
  TBlockList* cell = FindCell(cellId);
  return cell ? BlockInserted(*cell, cell->InsertGraphBlock(blockType, visible)) : nullptr;
}

bool TTarvixPlusModel::EditBlock(int32_t cellId, int kind, int32_t blockId) {
  TBlockList* cell = FindCell(cellId);
  TBlock* block = cell ? cell->FindBlock(blockId) : nullptr;
  if (!block) return false;
  auto area = [&] { return kind == 1 ? cell->GetBlockExtent(block->Id()) : block->Bounds(); };
  TRect before = area();
  QString old = block->GetData(kind);
  bool appearance = false;
  if (!block->EditData(kind, appearance)) return false;
  const uint8_t changeCode = appearance ? 1 : 0;
  PushUndo(std::make_unique<TEditBlockUndoAction>(block->Id(), kind, old, changeCode));
  EditDone();
  TChangeRecord record{cellId, block->Id(), changeCode, before, area()};
  UpdateViews(notify::kBlockEdited, 0, &record);
  return true;
}

void TTarvixPlusModel::DeleteBlock(int32_t blockId) {
  TBlockList* cell = CellOfBlock(blockId);
  TBlock* block = cell ? cell->FindBlock(blockId) : nullptr;
  if (!block) return;
  TBlockSelection one{block};
  TChangeRecord record = RemoveBlocks(*cell, one);
  record.blockId = blockId;
  UpdateViews(notify::kBlocksDeleted, 0, &record);
}

void TTarvixPlusModel::DeleteBlocks(int32_t cellId, const TBlockSelection& selection) {
  TBlockList* cell = FindCell(cellId);
  if (!cell || selection.empty()) return;
  PushUndo(std::make_unique<TDeleteBlocksUndoAction>(*cell, selection));
  TChangeRecord record = RemoveBlocks(*cell, selection);
  EditDone();
  UpdateViews(notify::kBlocksDeleted, 0, &record);
}

TChangeRecord TTarvixPlusModel::RemoveBlocks(TBlockList& cell, const TBlockSelection& selection) {
  const int32_t grid = CellEditorSettings::Current().gridSize;
  TRect area;
  std::vector<int32_t> ids;
  for (TBlock* b : selection) {
    if (cell.IndexOf(b) < 0) continue;
    area = area.United(cell.GetBlockExtent(b->Id()));
    ids.push_back(b->Id());
  }
  for (int i = 0; i < cell.Count(); ++i) {
    TBlock* b = cell.Items(i);
    if (WiredTo(*b, selection)) {
      area = area.United(cell.GetBlockExtent(b->Id()));
      b->RemoveInputsFrom(selection);
    }
  }
  if (!area.IsEmpty()) area = area.Inflated(grid / 2 + 1);
  for (int32_t id : ids) {
    if (errorBlockId_ == id) errorBlockId_ = -1;
    cell.DeleteBlock(id);
  }
  cell.PushToEngine();
  return TChangeRecord{cell.CellId(), ids.size() == 1 ? ids[0] : 0, 1, area, area};
}

TChangeRecord TTarvixPlusModel::MoveBlocksBy(TBlockList& cell, const TBlockSelection& blocks,
                                             const std::vector<QPoint>& offsets) {
  TRect before, after;
  auto affected = [&](const TBlock* b) { return Selected(blocks, b) || b->HasInputFrom(blocks); };
  for (int i = 0; i < cell.Count(); ++i)
    if (affected(cell.Items(i))) before = before.United(cell.GetBlockExtent(cell.Items(i)->Id()));
  std::vector<QPoint> moved(blocks.size());
  for (size_t i = 0; i < blocks.size(); ++i) {
    QPoint from = blocks[i]->Bounds().TopLeft();
    blocks[i]->MoveBy(offsets[i]);
    moved[i] = blocks[i]->Bounds().TopLeft() - from;
  }
  // Wires that lead from moved blocks follow them.
  for (int i = 0; i < cell.Count(); ++i) {
    TBlock* b = cell.Items(i);
    auto it = std::find(blocks.begin(), blocks.end(), b);
    QPoint delta = it == blocks.end() ? QPoint() : moved[static_cast<size_t>(it - blocks.begin())];
    b->FollowMovedBlocks(cell, blocks, delta);
  }
  for (int i = 0; i < cell.Count(); ++i)
    if (affected(cell.Items(i))) after = after.United(cell.GetBlockExtent(cell.Items(i)->Id()));
  return TChangeRecord{cell.CellId(), blocks.size() == 1 ? blocks[0]->Id() : 0, 1, before, after};
}

void TTarvixPlusModel::MoveBlocks(int32_t cellId, const TBlockSelection& selection, QPoint offset) {
  TBlockList* cell = FindCell(cellId);
  if (!cell || selection.empty()) return;
  PushUndo(std::make_unique<TMoveBlocksUndoAction>(*cell, selection));
  TChangeRecord record = MoveBlocksBy(*cell, selection, std::vector<QPoint>(selection.size(), offset));
  EditDone();
  UpdateViews(notify::kBlocksMoved, 0, &record);
}

bool TTarvixPlusModel::AlignBlocks(int32_t cellId, const TBlockSelection& selection, int mode) {
  TBlockList* cell = FindCell(cellId);
  if (!cell || selection.size() < 2 || mode < 0 || mode > 3) return false;
  auto edge = [mode](const TBlock* b) {
    const TRect& r = b->Bounds();
    return mode == 0 ? r.left : mode == 1 ? r.top : mode == 2 ? r.right : r.bottom;
  };
  int32_t target = edge(selection[0]);
  for (const TBlock* b : selection) target = mode < 2 ? std::min(target, edge(b)) : std::max(target, edge(b));
  std::vector<QPoint> offsets;
  bool anyMove = false;
  for (const TBlock* b : selection) {
    int32_t d = target - edge(b);
    anyMove = anyMove || d != 0;
    offsets.push_back(mode == 0 || mode == 2 ? QPoint(d, 0) : QPoint(0, d));
  }
  if (!anyMove) return false;
  PushUndo(std::make_unique<TMoveBlocksUndoAction>(*cell, selection));
  TChangeRecord record = MoveBlocksBy(*cell, selection, offsets);
  EditDone();
  UpdateViews(notify::kBlocksMoved, 0, &record);
  return true;
}

// ---- wires ----------------------------------------------------------------------

namespace {

TBlock* WireTarget(const TTarvixPlusModel& model, int32_t blockId, TBlockList*& cell) {
  cell = model.FindCell(static_cast<int32_t>(static_cast<uint32_t>(blockId) >> 16));
  if (!cell) {
    TUserInterface::Current().ErrorBox(QStringLiteral("Fehler bei Änderung Blockverbindung: Zelle nicht gefunden!"));
    return nullptr;
  }
  TBlock* block = cell->FindBlock(blockId);
  if (!block) TUserInterface::Current().ErrorBox(QStringLiteral("Fehler bei Änderung Blockverbindung: Block nicht gefunden!"));
  return block;
}

// After every wire edit: the program is stale, and the views repaint the
// block's area as it was and as it is.
void WireChanged(TTarvixPlusModel& model, const TBlockList& cell, int32_t blockId, const TRect& before) {
  model.EditDone();
  TChangeRecord record{cell.CellId(), blockId, 1, before, cell.GetBlockExtent(blockId)};
  model.UpdateViews(notify::kWireChanged, 0, &record);
}

}  // namespace

bool TTarvixPlusModel::ConnectWire(int32_t blockId, int& input, std::unique_ptr<TInputLine> wire) {
  TBlockList* cell = nullptr;
  TBlock* block = WireTarget(*this, blockId, cell);
  if (!block || !wire) return false;
  TRect before = cell->GetBlockExtent(block->Id());
  // A connection the engine refuses leaves the block as it was: nothing to undo.
  if (!block->ChangeWire(TBlock::kConnect, input, std::move(wire))) return false;
  PushUndo(std::make_unique<TWireUndoAction>(block->Id(), 2, input, QString()));  // the input the engine chose
  WireChanged(*this, *cell, block->Id(), before);
  return true;
}

bool TTarvixPlusModel::SetWireRoute(int32_t blockId, int input, std::unique_ptr<TInputLine> wire) {
  TBlockList* cell = nullptr;
  TBlock* block = WireTarget(*this, blockId, cell);
  if (!block || !wire || !block->GetInput(input)) return false;
  PushUndo(std::make_unique<TWireUndoAction>(block->Id(), 1, input, block->GetInputText(input)));
  TRect before = cell->GetBlockExtent(block->Id());
  const bool ok = block->ChangeWire(TBlock::kSet, input, std::move(wire));
  WireChanged(*this, *cell, block->Id(), before);
  return ok;
}

bool TTarvixPlusModel::RemoveWire(int32_t blockId, int input) {
  TBlockList* cell = nullptr;
  TBlock* block = WireTarget(*this, blockId, cell);
  if (!block || !block->GetInput(input)) return false;
  PushUndo(std::make_unique<TWireUndoAction>(block->Id(), 0, input, block->GetInputText(input)));
  TRect before = cell->GetBlockExtent(block->Id());
  const bool ok = block->ChangeWire(TBlock::kSplit, input, nullptr);
  WireChanged(*this, *cell, block->Id(), before);
  return ok;
}
