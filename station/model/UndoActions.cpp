#include "UndoActions.h"

#include <QRegularExpression>

#include "Notifications.h"
#include "TInputLine.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

// An internal inconsistency: reported, and the action fails.
[[noreturn]] void Fail(const char* text) { throw TModelError{QString::fromUtf8(text)}; }

template <typename T>
T& As(TUndoAction& action) {
  return static_cast<T&>(action);
}

TBlock* BlockOf(const TTarvixPlusModel& model, int32_t blockId, TBlockList** cell = nullptr) {
  TBlockList* c = model.FindCell(static_cast<int32_t>(static_cast<uint32_t>(blockId) >> 16));
  if (cell) *cell = c;
  return c ? c->FindBlock(blockId) : nullptr;
}

}  // namespace

// ---- base -------------------------------------------------------------------

bool TUndoAction::Perform(TModel& model, bool toUndoList) {
  auto& project = static_cast<TTarvixPlusModel&>(model);
  FileInverse(project, toUndoList);
  return Apply(project);
}

void TUndoAction::FileInverse(TTarvixPlusModel& model, bool toUndoList) const {
  std::unique_ptr<TUndoAction> inverse = NewInverse();
  FillInverse(*inverse, model);  // an exception frees the new action
  model.TModel::FileInverse(std::move(inverse), toUndoList);
}

// ---- cells ------------------------------------------------------------------

std::unique_ptr<TUndoAction> TInsertCellUndoAction::NewInverse() const { return std::make_unique<TDeleteCellUndoAction>(); }

void TInsertCellUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  TBlockList* cell = model.FindCell(CellId);
  if (!cell) Fail("Interner Fehler in TDeleteCellUndoAction.SetUndoData: Zelle nicht gefunden!");
  auto& del = As<TDeleteCellUndoAction>(inverse);
  del.CellId = CellId;
  del.Index = model.CellIndex(CellId);
  cell->WriteToLines(true, del.Lines);
}

bool TInsertCellUndoAction::Apply(TTarvixPlusModel& model) {
  model.RemoveCell(CellId);
  model.EditDone();
  return true;
}

std::unique_ptr<TUndoAction> TDeleteCellUndoAction::NewInverse() const { return std::make_unique<TInsertCellUndoAction>(); }

void TDeleteCellUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel&) const {
  As<TInsertCellUndoAction>(inverse).CellId = CellId;
}

bool TDeleteCellUndoAction::Perform(TModel& model, bool toUndoList) {
  auto& project = static_cast<TTarvixPlusModel&>(model);
  bool ok = Apply(project);
  FileInverse(project, toUndoList);
  return ok;
}

bool TDeleteCellUndoAction::Apply(TTarvixPlusModel& model) {
  if (model.FindCell(CellId)) return false;
  TBlockList* cell = model.InsertCellAt(Index, CellId);
  bool ok = cell->ReadFromLines(true, Lines, CellId);
  ok = cell->PushToEngine() && ok;
  model.EditDone();
  model.UpdateViews(notify::kCellInserted, CellId);
  return ok;
}

std::unique_ptr<TUndoAction> TRenameCellUndoAction::NewInverse() const { return std::make_unique<TRenameCellUndoAction>(); }

void TRenameCellUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  auto& rename = As<TRenameCellUndoAction>(inverse);
  rename.CellId = CellId;
  if (TBlockList* cell = model.FindCell(CellId)) rename.Name = cell->Name();
}

bool TRenameCellUndoAction::Apply(TTarvixPlusModel& model) {
  if (!model.FindCell(CellId)) return false;
  model.SetCellName(CellId, Name);
  model.EditDone();
  return true;
}

std::unique_ptr<TUndoAction> TMoveCellUndoAction::NewInverse() const { return std::make_unique<TMoveCellUndoAction>(); }

void TMoveCellUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  auto& move = As<TMoveCellUndoAction>(inverse);
  move.CellId = CellId;
  move.Index = model.CellIndex(CellId);
}

bool TMoveCellUndoAction::Apply(TTarvixPlusModel& model) {
  if (!model.FindCell(CellId)) return false;
  model.MoveCellToIndex(CellId, Index);
  model.EditDone();
  return true;
}

// ---- single blocks ------------------------------------------------------------

std::unique_ptr<TUndoAction> TInsertBlockUndoAction::NewInverse() const { return std::make_unique<TDeleteBlockUndoAction>(); }

void TInsertBlockUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  auto& del = As<TDeleteBlockUndoAction>(inverse);
  del.BlockId = BlockId;
  if (TBlock* block = BlockOf(model, BlockId)) del.Lines = TBlockList::WriteSingleBlock(*block);
}

bool TInsertBlockUndoAction::Apply(TTarvixPlusModel& model) {
  if (!BlockOf(model, BlockId)) return false;
  model.DeleteBlock(BlockId);
  model.EditDone();
  return true;
}

std::unique_ptr<TUndoAction> TDeleteBlockUndoAction::NewInverse() const { return std::make_unique<TInsertBlockUndoAction>(); }

void TDeleteBlockUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel&) const {
  As<TInsertBlockUndoAction>(inverse).BlockId = BlockId;
}

bool TDeleteBlockUndoAction::Apply(TTarvixPlusModel& model) {
  TBlockList* cell = model.FindCell(static_cast<int32_t>(static_cast<uint32_t>(BlockId) >> 16));
  if (!cell) return false;
  TRect bounds;
  if (!cell->RestoreBlock(Lines, bounds)) return false;
  TChangeRecord record{cell->CellId(), BlockId, 1, {}, bounds};
  model.UpdateViews(notify::kBlocksInserted, 0, &record);
  return true;
}

std::unique_ptr<TUndoAction> TEditBlockUndoAction::NewInverse() const { return std::make_unique<TEditBlockUndoAction>(); }

void TEditBlockUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  auto& edit = As<TEditBlockUndoAction>(inverse);
  edit.BlockId = BlockId;
  edit.Kind = Kind;
  edit.ChangeCode = ChangeCode;
  if (TBlock* block = BlockOf(model, BlockId)) edit.Text = block->GetData(Kind);
}

bool TEditBlockUndoAction::Apply(TTarvixPlusModel& model) {
  TBlockList* cell = nullptr;
  TBlock* block = BlockOf(model, BlockId, &cell);
  if (!block) return false;
  TRect before = Kind == 1 ? cell->GetBlockExtent(BlockId) : block->Bounds();
  bool ok = block->SetData(Kind, Text);
  TRect after = Kind == 1 ? cell->GetBlockExtent(BlockId) : block->Bounds();
  TChangeRecord record{cell->CellId(), BlockId, ChangeCode, before, after};
  model.UpdateViews(notify::kBlockEdited, 0, &record);
  return ok;
}

// ---- block groups -------------------------------------------------------------

namespace {

std::vector<int32_t> ParseIds(const QString& text, bool& ok) {
  std::vector<int32_t> ids;
  ok = true;
  for (const QString& part : text.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
    bool converted = false;
    int32_t id = part.trimmed().toInt(&converted);
    if (!converted) ok = false;
    else ids.push_back(id);
  }
  return ids;
}

// The ids named by the "ID=" lines of block records.
std::vector<int32_t> RecordIds(const QStringList& lines) {
  std::vector<int32_t> ids;
  for (const QString& line : lines)
    if (line.startsWith(QStringLiteral("ID="))) {
      bool ok = false;
      int32_t id = line.mid(3, 10).toInt(&ok);
      if (ok) ids.push_back(id);
    }
  return ids;
}

}  // namespace

std::unique_ptr<TUndoAction> TInsertBlocksUndoAction::NewInverse() const { return std::make_unique<TDeleteBlocksUndoAction>(); }

void TInsertBlocksUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  TBlockList* cell = model.FindCell(CellId);
  if (!cell) Fail("Fehler in TInsertBlocksUndoAction.SaveRedoData: Zelle nicht gefunden!");
  bool ok = false;
  TBlockSelection blocks;
  for (int32_t id : ParseIds(BlockIds, ok))
    if (TBlock* b = cell->FindBlock(id)) blocks.push_back(b);
  auto& del = As<TDeleteBlocksUndoAction>(inverse);
  del.CellId = CellId;
  del.Lines = TTarvixPlusModel::DeletionLines(*cell, blocks);
}

bool TInsertBlocksUndoAction::Apply(TTarvixPlusModel& model) {
  TBlockList* cell = model.FindCell(CellId);
  if (!cell) Fail("Fehler in TInsertBlocksUndoAction.UndoAction: Zelle nicht gefunden!");
  bool ok = false;
  std::vector<int32_t> ids = ParseIds(BlockIds, ok);
  if (!ok) Fail("Fehler in TInsertBlocksUndoAction.FindBlocksToDelete: Auswertung ID!");
  TBlockSelection blocks;
  for (int32_t id : ids) {
    TBlock* b = cell->FindBlock(id);
    if (!b) Fail("Fehler in TInsertBlocksUndoAction.FindBlocksToDelete: Block nicht gefunden!");
    blocks.push_back(b);
  }
  TChangeRecord record = model.RemoveBlocks(*cell, blocks);
  model.EditDone();
  model.UpdateViews(notify::kBlocksDeleted, 0, &record);
  return true;
}

std::unique_ptr<TUndoAction> TDeleteBlocksUndoAction::NewInverse() const { return std::make_unique<TInsertBlocksUndoAction>(); }

void TDeleteBlocksUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  TBlockList* cell = model.FindCell(CellId);
  auto& ins = As<TInsertBlocksUndoAction>(inverse);
  ins.CellId = CellId;
  QStringList missing;
  for (int32_t id : RecordIds(Lines))
    if (!cell || !cell->FindBlock(id)) missing << QString::number(id);
  ins.BlockIds = missing.join(QStringLiteral(", "));
}

bool TDeleteBlocksUndoAction::Apply(TTarvixPlusModel& model) {
  TBlockList* cell = model.FindCell(CellId);
  if (!cell) Fail("Fehler in TDeleteBlocksUndoAction.UndoAction: Zelle nicht gefunden!");
  TBlockList scratch(CellId, model.Engine());
  scratch.ReadFromLines(false, Lines, CellId);
  TRect area;
  std::vector<bool> replaced(static_cast<size_t>(scratch.Count()), false);
  // Neighbours that still exist take back their recorded wires in place.
  for (int i = scratch.Count() - 1; i >= 0; --i) {
    TBlock* recorded = scratch.Items(i);
    if (TBlock* existing = cell->FindBlock(recorded->Id())) {
      area = area.United(cell->GetBlockExtent(existing->Id()));
      recorded->AssignTo(*existing);
      replaced[static_cast<size_t>(i)] = true;
    }
  }
  // The deleted blocks come back at the end of the cell.
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
  model.EditDone();
  TChangeRecord record{CellId, 0, 1, area, area};
  model.UpdateViews(notify::kBlocksInserted, 0, &record);
  return true;
}

std::unique_ptr<TUndoAction> TMoveBlocksUndoAction::NewInverse() const { return std::make_unique<TMoveBlocksUndoAction>(); }

void TMoveBlocksUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  TBlockList* cell = model.FindCell(CellId);
  auto& move = As<TMoveBlocksUndoAction>(inverse);
  move.CellId = CellId;
  if (!cell) return;
  for (int32_t id : RecordIds(Lines)) {
    TBlock* block = cell->FindBlock(id);
    if (!block) Fail("Fehler in TMoveBlocksUndoAction.SaveRedoData: Block nicht gefunden!");
    move.Lines << QStringLiteral("ID=%1").arg(id);
    block->WriteGeometry(move.Lines);
  }
}

bool TMoveBlocksUndoAction::Apply(TTarvixPlusModel& model) {
  if (Lines.isEmpty()) return false;
  TBlockList* cell = model.FindCell(CellId);
  if (!cell) Fail("Fehler in TMoveBlocksUndoAction.UndoAction: Zelle nicht gefunden!");
  TRect before, after;
  qsizetype index = 0;
  bool ok = true;
  while (index < Lines.size()) {
    const QString& line = Lines[index];
    if (!line.startsWith(QStringLiteral("ID="))) {
      ++index;
      continue;
    }
    TBlock* block = cell->FindBlock(line.mid(3).toInt());
    if (!block) {
      TUserInterface::Current().ErrorBox(QStringLiteral("Fehler in TMoveBlocksUndoAction.UndoAction: Block nicht gefunden!"));
      ok = false;
      break;
    }
    ++index;
    before = before.United(cell->GetBlockExtent(block->Id()));
    QString error;
    if (!block->ReadGeometry(Lines, index, error)) ok = false;
    after = after.United(cell->GetBlockExtent(block->Id()));
  }
  TChangeRecord record{CellId, 0, 1, before, after};
  model.UpdateViews(notify::kBlocksMoved, 0, &record);
  return ok;
}

// ---- wires --------------------------------------------------------------------

std::unique_ptr<TUndoAction> TWireUndoAction::NewInverse() const { return std::make_unique<TWireUndoAction>(); }

void TWireUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  TBlock* block = BlockOf(model, BlockId);
  if (!block) Fail("Fehler in TWireUndoAction.SetUndoData: Block nicht gefunden!");
  auto& wire = As<TWireUndoAction>(inverse);
  wire.BlockId = BlockId;
  wire.Kind = 2 - Kind;
  wire.Input = Input;
  wire.Text = block->GetInputText(Input);
}

bool TWireUndoAction::Apply(TTarvixPlusModel& model) {
  TBlockList* cell = nullptr;
  TBlock* block = BlockOf(model, BlockId, &cell);
  if (!block) return false;
  TRect before = cell->GetBlockExtent(BlockId);
  std::unique_ptr<TInputLine> wire;
  int8_t letter = -1;
  if (Kind != 2) {
    wire = std::make_unique<TInputLine>();
    if (!wire->FromText(Text)) return false;
    letter = wire->menuLetter;
  }
  int slot = Input;
  bool ok = block->ChangeWire(Kind, slot, std::move(wire));
  // Reconnecting marks the wire as drawn to a chosen input; the recorded
  // wire keeps the letter it had.
  if (Kind == TBlock::kConnect)
    if (TInputLine* restored = block->GetInput(slot)) {
      restored->menuLetter = letter;
      restored->Update();
    }
  model.EditDone();
  TChangeRecord record{cell->CellId(), BlockId, 1, before, cell->GetBlockExtent(BlockId)};
  model.UpdateViews(notify::kWireChanged, 0, &record);
  return ok;
}

// ---- tables -------------------------------------------------------------------

std::unique_ptr<TUndoAction> TInsertTableUndoAction::NewInverse() const { return std::make_unique<TDeleteTableUndoAction>(); }

void TInsertTableUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  TConversionTable* table = model.FindTable(Number);
  if (!table) Fail("Fehler in TDeleteTableUndoAction.SetUndoData: Tabelle nicht gefunden!");
  auto& del = As<TDeleteTableUndoAction>(inverse);
  del.Number = Number;
  table->WriteBody(del.Lines);
}

bool TInsertTableUndoAction::Apply(TTarvixPlusModel& model) {
  if (!model.FindTable(Number)) return false;
  model.RemoveTable(Number);
  model.EditDone();
  return true;
}

std::unique_ptr<TUndoAction> TDeleteTableUndoAction::NewInverse() const { return std::make_unique<TInsertTableUndoAction>(); }

void TDeleteTableUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel&) const {
  As<TInsertTableUndoAction>(inverse).Number = Number;
}

bool TDeleteTableUndoAction::Apply(TTarvixPlusModel& model) {
  auto table = std::make_unique<TConversionTable>(TConversionTable::FromBody(Lines));
  table->Number = static_cast<uint16_t>(Number);
  model.InsertTable(std::move(table));
  model.EditDone();
  return true;
}

std::unique_ptr<TUndoAction> TRenameTableUndoAction::NewInverse() const { return std::make_unique<TRenameTableUndoAction>(); }

void TRenameTableUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  auto& rename = As<TRenameTableUndoAction>(inverse);
  rename.Number = Number;
  if (TConversionTable* table = model.FindTable(Number)) rename.Name = table->Name;
}

bool TRenameTableUndoAction::Apply(TTarvixPlusModel& model) {
  if (!model.FindTable(Number)) return false;
  model.SetTableName(Number, Name);
  model.EditDone();
  return true;
}

std::unique_ptr<TUndoAction> TEditTableFileUndoAction::NewInverse() const { return std::make_unique<TEditTableFileUndoAction>(); }

void TEditTableFileUndoAction::FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const {
  auto& edit = As<TEditTableFileUndoAction>(inverse);
  edit.Number = Number;
  if (TConversionTable* table = model.FindTable(Number)) edit.File = table->ExternalFile;
}

bool TEditTableFileUndoAction::Apply(TTarvixPlusModel& model) {
  TConversionTable* table = model.FindTable(Number);
  if (!table) return false;
  model.SetTableFile(*table, File);
  return true;
}
