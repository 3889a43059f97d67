// The project document: engine, cells, tables and comment.
#include "TTarvixPlusModel.h"

#include <QFile>
#include <QFileInfo>

#include "CellBodyText.h"
#include "CellEditorSettings.h"
#include "EngineText.h"
#include "Notifications.h"
#include "RegularFile.h"
#include "TGraphBlock.h"
#include "TFileSearch.h"
#include "TSimulatedInputs.h"
#include "UndoActions.h"
#include "UserInterface.h"

namespace {

TUserInterface& Ui() { return TUserInterface::Current(); }

void SetPageName(PlexorHandle engine, int32_t cellId, const QString& name) {
  PlexorSetPageName(engine, cellId, enginetext::ToBytes(name).c_str());
}

// "<prefix><number>" where the number differs from own: a default name that
// belongs to another cell or table.
bool IsForeignDefaultName(const QString& name, const QString& prefix, int own) {
  if (!name.startsWith(prefix)) return false;
  bool ok = false;
  int number = name.mid(prefix.size()).toInt(&ok);
  return ok && number != own;
}

}  // namespace

TTarvixPlusModel::TTarvixPlusModel() {
  engine_ = PlexorCreate();
  if (!engine_) {
    Ui().FatalBox(QStringLiteral("Fehler bei Objekterstellung in der DLL - kritischer Abbruch!"));
    throw TModelError{QStringLiteral("Fehler bei Objekterstellung in der DLL - kritischer Abbruch!")};
  }
  const TSimulatedInputs& inputs = TSimulatedInputs::Current();
  PlexorSetOptions(engine_, inputs.EngineOptions());
  PlexorSetInitialPortState(engine_, inputs.FixedDigitalIn);
  simulation_ = std::make_unique<TSimulationControl>(*this, engine_);
  simulation_->Reset();
  simulation_->EditDone();
}

TTarvixPlusModel::~TTarvixPlusModel() {
  DetachViews();
  FreeContents();
}

void TTarvixPlusModel::FreeContents() {
  comment_.clear();
  tables_.clear();
  cells_.clear();  // blocks go without engine calls: the engine goes next
  PlexorDestroy(engine_);
  engine_ = nullptr;
}

bool TTarvixPlusModel::CloseQuery() {
  const TSimState state = SimState();
  if (state == TSimState::Running || state == TSimState::SingleStep || state == TSimState::Pausing) {
    Ui().Beep(TUserInterface::Sound::Warning);
    simulation_->Halt();
    return false;
  }
  if (state == TSimState::Halted && !Ui().AskYesNo(QStringLiteral("Soll die laufende Simulation abgebrochen werden?"))) return false;
  return TModel::CloseQuery();
}

bool TTarvixPlusModel::InitNew() {
  comment_ = QStringList{QStringLiteral("Beschreiben Sie hier den Zweck"),
                         QStringLiteral("und die Besonderheiten Ihres Programms...")};
  return true;
}

void TTarvixPlusModel::GetFileDialogStrings(QString& ext, QString& filter) const {
  ext = QStringLiteral("tvp");
  filter = QStringLiteral("Tarvix plus Dateien (*.tvp)|*.tvp|");
}

void TTarvixPlusModel::Perform(TUndoAction& action, bool undo) {
  if (undo) action.Undo(*this);
  else action.Redo(*this);
}

void TTarvixPlusModel::SetErrorBlockId(int32_t blockId) {
  UpdateViews(notify::kErrorMark, 0);
  errorBlockId_ = blockId;
  UpdateViews(notify::kErrorMark, 1);
}

// ---- cells ------------------------------------------------------------------

TBlockList* TTarvixPlusModel::FindCell(int32_t cellId) const {
  for (const auto& cell : cells_)
    if (cell->CellId() == cellId) return cell.get();
  return nullptr;
}

int TTarvixPlusModel::CellIndex(int32_t cellId) const {
  for (size_t i = 0; i < cells_.size(); ++i)
    if (cells_[i]->CellId() == cellId) return static_cast<int>(i);
  return -1;
}

int32_t TTarvixPlusModel::FindFreeCellId() const {
  std::vector<bool> used(65535, false);
  for (const auto& cell : cells_)
    if (cell->CellId() > 0 && cell->CellId() < 65535) used[static_cast<size_t>(cell->CellId())] = true;
  for (int32_t id = 1; id < 65535; ++id)
    if (!used[static_cast<size_t>(id)]) return id;
  return 0;
}

TBlockList* TTarvixPlusModel::InsertCellAt(int index, int32_t cellId) {
  auto cell = std::make_unique<TBlockList>(cellId, engine_);
  if (index < 0 || index > static_cast<int>(cells_.size())) index = static_cast<int>(cells_.size());
  int32_t previous = index > 0 ? cells_[static_cast<size_t>(index) - 1]->CellId() : 0;
  TBlockList* result = cell.get();
  cells_.insert(cells_.begin() + index, std::move(cell));
  PlexorAddPage(engine_, cellId, previous);
  SetPageName(engine_, cellId, result->Name());
  return result;
}

bool TTarvixPlusModel::NewCell(int index) {
  int32_t id = FindFreeCellId();
  if (id == 0) {
    Ui().ErrorBox(QStringLiteral("Konnte keine neue Programmzelle einfügen!"));
    return false;
  }
  PushUndo(std::make_unique<TInsertCellUndoAction>(id));
  InsertCellAt(index, id);
  EditDone();
  UpdateViews(notify::kCellInserted, id);
  return true;
}

bool TTarvixPlusModel::DuplicateCell(int32_t sourceId, int32_t beforeId) {
  TBlockList* source = FindCell(sourceId);
  int32_t id = FindFreeCellId();
  if (!source || id == 0) {
    Ui().ErrorBox(QStringLiteral("Konnte keine neue Programmzelle einfügen!"));
    return false;
  }
  TWaitCursor wait;
  PushUndo(std::make_unique<TInsertCellUndoAction>(id));
  TBlockList* cell = InsertCellAt(CellIndex(beforeId), id);
  cell->AssignBlocks(*source);  // re-homes the copies and pushes the cell
  EditDone();
  UpdateViews(notify::kCellInserted, id);
  return true;
}

void TTarvixPlusModel::DeleteCell(int32_t cellId) {
  TBlockList* cell = FindCell(cellId);
  if (!cell) return;
  PushUndo(std::make_unique<TDeleteCellUndoAction>(*this, cellId));
  RemoveCell(cellId);
  EditDone();
}

void TTarvixPlusModel::RemoveCell(int32_t cellId) {
  int index = CellIndex(cellId);
  if (index < 0) return;
  RemoveBreakpoint(cellId);
  std::unique_ptr<TBlockList> cell = std::move(cells_[static_cast<size_t>(index)]);
  cells_.erase(cells_.begin() + index);
  if (errorBlockId_ != -1 && (static_cast<uint32_t>(errorBlockId_) >> 16) == static_cast<uint32_t>(cellId))
    errorBlockId_ = -1;
  PlexorRemovePage(engine_, cellId);
  UpdateViews(notify::kCellDeleted, cellId);
}

void TTarvixPlusModel::MoveCell(int32_t cellId, int32_t targetId) {
  if (cellId == targetId) return;
  int from = CellIndex(cellId);
  int to = CellIndex(targetId);
  if (from < 0 || to < 0) return;
  PushUndo(std::make_unique<TMoveCellUndoAction>(cellId, from));
  MoveCellToIndex(cellId, to);
  EditDone();
}

void TTarvixPlusModel::MoveCellToIndex(int32_t cellId, int index) {
  int from = CellIndex(cellId);
  if (from < 0 || index < 0 || index >= static_cast<int>(cells_.size())) return;
  std::unique_ptr<TBlockList> cell = std::move(cells_[static_cast<size_t>(from)]);
  cells_.erase(cells_.begin() + from);
  cells_.insert(cells_.begin() + index, std::move(cell));
  int32_t previous = index > 0 ? cells_[static_cast<size_t>(index) - 1]->CellId() : 0;
  PlexorMovePage(engine_, cellId, previous);
  UpdateViews(notify::kCellMoved, cellId);
}

void TTarvixPlusModel::RenameCell(int32_t cellId, const QString& name) {
  TBlockList* cell = FindCell(cellId);
  if (!cell || cell->Name() == name) return;
  PushUndo(std::make_unique<TRenameCellUndoAction>(cellId, cell->Name()));
  SetCellName(cellId, name);
  EditDone();
}

void TTarvixPlusModel::SetCellName(int32_t cellId, const QString& name) {
  TBlockList* cell = FindCell(cellId);
  if (!cell) return;
  cell->SetName(name);
  UpdateViews(notify::kCellRenamed, cellId);
  SetPageName(engine_, cellId, name);
}

bool TTarvixPlusModel::ValidateCellName(int32_t cellId, QString& name) const {
  bool ok = !name.isEmpty() && !IsForeignDefaultName(name, QStringLiteral("Zelle "), cellId);
  for (const auto& cell : cells_)
    if (ok && cell->CellId() != cellId && cell->Name().compare(name, Qt::CaseInsensitive) == 0) ok = false;
  if (!ok) {
    const TBlockList* own = FindCell(cellId);
    name = own ? own->Name() : QString();
  }
  return ok;
}

// ---- tables -----------------------------------------------------------------

TConversionTable* TTarvixPlusModel::FindTable(int number) const {
  if (number < 1 || number > static_cast<int>(tables_.size())) return nullptr;
  return tables_[static_cast<size_t>(number) - 1].get();
}

void TTarvixPlusModel::Renumber() {
  for (size_t i = 0; i < tables_.size(); ++i) tables_[i]->Number = static_cast<uint16_t>(i + 1);
}

bool TTarvixPlusModel::NewTable(bool internal) {
  auto table = std::make_unique<TConversionTable>();
  table->Name = QStringLiteral("Tabelle %1").arg(nextTableNumber_++);
  table->Internal = internal;
  if (!internal && !ChooseTableFile(*table)) return false;
  table->Number = static_cast<uint16_t>(tables_.size() + 1);
  TConversionTable* inserted = InsertTable(std::move(table));
  PushUndo(std::make_unique<TInsertTableUndoAction>(inserted->Number));
  EditDone();
  return true;
}

TConversionTable* TTarvixPlusModel::InsertTable(std::unique_ptr<TConversionTable> table) {
  size_t position = table->Number == 0 || table->Number > tables_.size() ? tables_.size() : table->Number - 1u;
  TConversionTable* result = table.get();
  tables_.insert(tables_.begin() + static_cast<std::ptrdiff_t>(position), std::move(table));
  Renumber();
  QString name = result->Name;
  if (!ValidateTableName(result->Number, name)) result->Name = QStringLiteral("Tabelle %1").arg(nextTableNumber_++);
  UpdateViews(notify::kTableInserted, result->Number);
  return result;
}

void TTarvixPlusModel::DeleteTable(int number) {
  TConversionTable* table = FindTable(number);
  if (!table) {
    Ui().ErrorBox(QStringLiteral("Fehler in TTarvixPlusModel.eDeleteTable: Tabelle nicht gefunden!"));
    return;
  }
  PushUndo(std::make_unique<TDeleteTableUndoAction>(*this, number));
  RemoveTable(number);
  EditDone();
}

void TTarvixPlusModel::RemoveTable(int number) {
  if (!FindTable(number)) return;
  UpdateViews(notify::kTableDeleted, number);
  tables_.erase(tables_.begin() + (number - 1));
  Renumber();
}

void TTarvixPlusModel::RenameTable(int number, const QString& name) {
  TConversionTable* table = FindTable(number);
  if (!table || table->Name == name) return;
  PushUndo(std::make_unique<TRenameTableUndoAction>(number, table->Name));
  SetTableName(number, name);
  EditDone();
}

void TTarvixPlusModel::SetTableName(int number, const QString& name) {
  TConversionTable* table = FindTable(number);
  if (!table) return;
  table->Name = name;
  UpdateViews(notify::kTableRenamed, number);
}

bool TTarvixPlusModel::ValidateTableName(int number, QString& name) const {
  bool ok = !name.isEmpty() && !IsForeignDefaultName(name, QStringLiteral("Tabelle "), number);
  for (const auto& table : tables_)
    if (ok && table->Number != number && table->Name.compare(name, Qt::CaseInsensitive) == 0) ok = false;
  if (!ok) {
    const TConversionTable* own = FindTable(number);
    name = own ? own->Name : QString();
  }
  return ok;
}

void TTarvixPlusModel::SetTableFile(TConversionTable& table, const QString& fileName) {
  table.ExternalFile = fileName;
  if (TFileSearch::FindTable(fileName).isEmpty())
    Ui().ErrorBox(QStringLiteral("Ungültige Tabellendatei %1!").arg(fileName));
}

bool TTarvixPlusModel::ChooseTableFile(TConversionTable& table) {
  const QString directory = CellEditorSettings::Current().tablePath;
  QString preset = table.ExternalFile.isEmpty() ? directory : TFileSearch::Find(table.ExternalFile, QStringLiteral("Tables"), directory);
  if (preset.isEmpty()) preset = directory;
  QString chosen = Ui().OpenFileName({QStringLiteral("Verweis einfügen auf Tabelle"),
                                      QStringLiteral("Alle Dateien (*.*)|*.*"), QString(), preset});
  if (chosen.isEmpty()) return false;
  QString found = TFileSearch::FindTable(chosen);
  if (found.isEmpty()) {
    Ui().ErrorBox(QStringLiteral("Ungültige Tabellendatei %1!").arg(chosen));
    return false;
  }
  table.ExternalFile = TFileSearch::StoredName(found, directory);
  return true;
}

bool TTarvixPlusModel::GetTableData(const TConversionTable& table, QStringList& lines) const {
  for (const auto& t : tables_)
    if (t.get() == &table) {
      lines = table.Data;
      return true;
    }
  Ui().ErrorBox(QStringLiteral("GetTableData..."));
  return false;
}

bool TTarvixPlusModel::SetTableData(TConversionTable& table, const QStringList& lines) {
  bool known = false;
  for (const auto& t : tables_) known = known || t.get() == &table;
  if (!known) {
    Ui().ErrorBox(QStringLiteral("SetTableData..."));
    return false;
  }
  if (lines.isEmpty() || lines == table.Data) return false;
  table.Data = lines;
  SetModified(true);  // not recorded in the history
  return true;
}

bool TTarvixPlusModel::LoadTableData() {
  // A block the engine does not hold would silently be missing from the
  // program: no compile while one exists.
  if (const int32_t blockId = FindBlockOutsideEngine(); blockId != 0) {
    const TBlockList* cell = CellOfBlock(blockId);
    const auto* block = cell ? dynamic_cast<const TGraphBlock*>(cell->FindBlock(blockId)) : nullptr;
    Ui().ErrorBox(QStringLiteral("Block %1 in Zelle %2 hat den unbekannten Blocktyp %3 und fehlt im Programm; "
                                 "das Projekt kann so nicht übersetzt werden!")
                      .arg(blockId)
                      .arg(static_cast<uint32_t>(blockId) >> 16)
                      .arg(block ? block->TypeId() : 0));
    SetErrorBlockId(blockId);
    return false;
  }
  for (const auto& table : tables_) {
    if (table->Internal) continue;
    const QString path = table->ResolvedFile();
    QByteArray bytes;
    QString problem;
    if (path.isEmpty()) {
      Ui().ErrorBox(QStringLiteral("Fehler beim Laden der externen Tabellendatei:\r%1").arg(table->ExternalFile));
      return false;
    }
    if (!regularfile::Read(path, regularfile::kMaxTableBytes, bytes, problem)) {
      Ui().ErrorBox(QStringLiteral("Fehler beim Laden der externen Tabellendatei:\r%1\r%2").arg(path, problem));
      return false;
    }
    table->Data = cellbody::LinesFromBytes(bytes);
  }
  return true;
}

void TTarvixPlusModel::ReleaseTableData() {
  for (const auto& table : tables_)
    if (!table->Internal) table->Data.clear();
}

QString TTarvixPlusModel::TableText(const TConversionTable& table) {
  QString text = table.Data.join(QStringLiteral("\r\n"));
  qsizetype end = text.size();
  while (end > 0 && text[end - 1].isSpace()) --end;
  text.truncate(end);
  return text;
}

// ---- comment ------------------------------------------------------------------

void TTarvixPlusModel::SetComment(const QStringList& lines) {
  if (lines == comment_) return;
  comment_ = lines;
  SetModified(true);  // not recorded in the history
}
