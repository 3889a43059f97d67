// Copy and paste of cells, blocks and tables.
#include <algorithm>
#include <climits>

#include "Notifications.h"
#include "TClipboard.h"
#include "TTarvixPlusModel.h"
#include "UndoActions.h"
#include "UserInterface.h"

namespace {

TUserInterface& Ui() { return TUserInterface::Current(); }

const QString kNoData = QStringLiteral("Fehler bei Datenübernahme aus der Zwischenablage!");

}  // namespace

void TTarvixPlusModel::CopyCell(int32_t cellId) const {
  const TBlockList* cell = FindCell(cellId);
  if (!cell) return;
  TWaitCursor wait;
  QStringList lines;
  cell->WriteToLines(false, lines);
  TClipboard::Put(TClipboard::kCell, lines);
}

bool TTarvixPlusModel::PasteCell(int index) {
  int32_t id = FindFreeCellId();
  if (id == 0) {
    Ui().ErrorBox(QStringLiteral("Konnte keine neue Programmzelle einfügen!"));
    return false;
  }
  TWaitCursor wait;
  PushUndo(std::make_unique<TInsertCellUndoAction>(id));
  TBlockList* cell = InsertCellAt(index, id);
  QStringList lines;
  if (TClipboard::Get(TClipboard::kCell, lines)) cell->ReadFromLines(false, lines, id);
  cell->PushToEngine();
  EditDone();
  UpdateViews(notify::kCellInserted, id);
  return true;
}

void TTarvixPlusModel::CopyBlocks(int32_t cellId, const TBlockSelection& selection) const {
  const TBlockList* cell = FindCell(cellId);
  if (!cell) return;
  TWaitCursor wait;
  // Blocks go in cell order, whatever order they were selected in.
  TBlockSelection ordered;
  for (int i = 0; i < cell->Count(); ++i)
    if (std::find(selection.begin(), selection.end(), cell->Items(i)) != selection.end()) ordered.push_back(cell->Items(i));
  QStringList lines;
  cell->WriteSelection(ordered, lines);
  TClipboard::Put(TClipboard::kBlocks, lines);
}

QPoint TTarvixPlusModel::PasteBlocks(int32_t cellId, TBlockSelection& selection) {
  selection.clear();
  TBlockList* cell = FindCell(cellId);
  if (!cell) return {};
  QStringList lines;
  if (!TClipboard::Get(TClipboard::kBlocks, lines)) {
    Ui().ErrorBox(kNoData);
    return {};
  }
  TWaitCursor wait;
  TBlockList scratch(cellId, engine_);
  scratch.ReadFromLines(false, lines, cellId);
  if (scratch.Count() == 0) return {};
  scratch.DropDanglingWires();

  int32_t smallest = INT32_MAX, largest = 0, top = INT32_MAX, left = INT32_MAX;
  for (int i = 0; i < scratch.Count(); ++i) {
    const TBlock* b = scratch.Items(i);
    smallest = std::min(smallest, b->Number());
    largest = std::max(largest, b->Number());
    top = std::min(top, b->Bounds().top);
    left = std::min(left, b->Bounds().left);
  }
  const int32_t n = largest - smallest + 1;
  const int32_t start = cell->FindFreeIdRange(n) & 0xFFFF;
  // Numbers beyond 65534 would spill into the cell word of the ids.
  if (start < 1 || start + (largest - smallest) > TBlockList::kMaxBlockNumber) {
    Ui().ErrorBox(QStringLiteral("Einfügen nicht möglich:\r\nZu viele Blöcke in dieser Programmzelle!"));
    return {};
  }
  int32_t lowest = 0;
  for (int i = 0; i < cell->Count(); ++i) lowest = std::max(lowest, cell->Items(i)->Bounds().bottom);
  const QPoint down(0, lowest + 20 - top);

  std::vector<int32_t> ids;
  for (int i = 0; i < scratch.Count(); ++i) {
    TBlock* pasted = scratch.Items(i);
    pasted->ShiftIds(start - smallest);
    pasted->Shift(down);
    std::unique_ptr<TBlock> block = TBlock::Create(pasted->GetAliasName(), pasted->Id(), engine_);
    if (!block) continue;
    pasted->AssignTo(*block);
    selection.push_back(block.get());
    ids.push_back(block->Id());
    cell->Add(std::move(block));
  }
  PushUndo(std::make_unique<TInsertBlocksUndoAction>(cellId, std::move(ids)));
  cell->PushToEngine();
  EditDone();
  TRect area;
  for (const TBlock* b : selection) area = area.United(cell->GetBlockExtent(b->Id()));
  TChangeRecord record{cellId, 0, 1, {}, area};
  UpdateViews(notify::kBlocksInserted, 0, &record);
  return QPoint(left, lowest + 20);
}

void TTarvixPlusModel::CopyTable(int number) const {
  const TConversionTable* table = FindTable(number);
  if (!table) return;
  QStringList lines;
  table->WriteBody(lines);
  TClipboard::Put(TClipboard::kTable, lines);
}

bool TTarvixPlusModel::PasteTable() {
  QStringList lines;
  if (!TClipboard::Get(TClipboard::kTable, lines) || lines.isEmpty()) {
    Ui().ErrorBox(kNoData);
    return false;
  }
  auto table = std::make_unique<TConversionTable>(TConversionTable::FromBody(lines));
  table->Number = static_cast<uint16_t>(tables_.size() + 1);
  TConversionTable* inserted = InsertTable(std::move(table));
  PushUndo(std::make_unique<TInsertTableUndoAction>(inserted->Number));
  EditDone();
  return true;
}
