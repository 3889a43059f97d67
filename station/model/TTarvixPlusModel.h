// TTarvixPlusModel: the project document.
//
// It owns the comment, the conversion tables, the program cells and the
// engine object, and keeps the engine in step with the cells at all times:
// every edit records an undo action, changes cell and engine together, stops
// the simulation's readiness and tells the views. It also reads and writes
// the project file, serves the clipboard and prints, and drives a running
// simulation.
#pragma once

#include <QByteArray>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "TBlock.h"
#include "TBlockList.h"
#include "TChangeRecord.h"
#include "TConversionTable.h"
#include "TModel.h"
#include "TSimulationControl.h"
#include "TWatchEntry.h"
#include "plexor.h"

class TInputLine;

class TTarvixPlusModel : public TModel {
 public:
  static constexpr const char* kFileHeader = "MARLIX Tarvix plus - project file";

  // Creates the engine object; throws TModelError when it cannot.
  TTarvixPlusModel();
  ~TTarvixPlusModel() override;

  PlexorHandle Engine() const { return engine_; }

  // ---- document framework --------------------------------------------------
  bool CloseQuery() override;
  bool InitNew() override;
  void GetFileDialogStrings(QString& ext, QString& filter) const override;
  QString GetDefaultName() const override { return QStringLiteral("Unbenannte Programmdatei"); }
  bool LoadFromFile(const QString& fileName) override;
  bool LoadLostContent() const override { return !loadLosses_.isEmpty(); }
  bool SaveToFile(const QString& fileName) override;
  // The bytes SaveToFile writes, without touching any file.
  QByteArray SaveToBytes() const;
  // Reads the project from the bytes of a project file as LoadFromFile does;
  // fileName names the project in messages and becomes its file name.
  bool LoadFromBytes(QByteArray bytes, const QString& fileName);
  // The reports of the last LoadFromFile that lost or changed content (a
  // cell body that did not read, blocks, wires or parameters the engine
  // refused, an external table that cannot be found, NUL bytes). Reports
  // that lose nothing (a renumbered cell, a missing user picture) are not
  // listed. Every report was shown as it came.
  const QStringList& LoadLosses() const { return loadLosses_; }

  // ---- cells ---------------------------------------------------------------
  const std::vector<std::unique_ptr<TBlockList>>& Cells() const { return cells_; }
  TBlockList* FindCell(int32_t cellId) const;
  int CellIndex(int32_t cellId) const;
  // The smallest unused cell id, or 0 when every id up to 65534 is taken.
  int32_t FindFreeCellId() const;
  // Low level (no undo): an empty cell registered with the engine.
  TBlockList* InsertCellAt(int index, int32_t cellId);
  bool NewCell(int index);
  bool DuplicateCell(int32_t sourceId, int32_t beforeId);
  void DeleteCell(int32_t cellId);
  void MoveCell(int32_t cellId, int32_t targetId);
  void RenameCell(int32_t cellId, const QString& name);
  // False (and name replaced by the cell's current name) for a name the cell may not take.
  bool ValidateCellName(int32_t cellId, QString& name) const;
  // Low level (no undo): used by the user operations and by undo.
  void RemoveCell(int32_t cellId);
  void MoveCellToIndex(int32_t cellId, int index);
  void SetCellName(int32_t cellId, const QString& name);

  // ---- tables --------------------------------------------------------------
  const std::vector<std::unique_ptr<TConversionTable>>& Tables() const { return tables_; }
  TConversionTable* FindTable(int number) const;
  bool NewTable(bool internal);
  // Inserts at Number - 1 (appends for 0 or too large), renumbers, validates the name.
  TConversionTable* InsertTable(std::unique_ptr<TConversionTable> table);
  void DeleteTable(int number);
  void RenameTable(int number, const QString& name);
  bool ValidateTableName(int number, QString& name) const;
  // The number the next default table name ("Tabelle %d") takes.
  uint16_t NextTableNumber() const { return nextTableNumber_; }
  // Low level (no undo).
  void RemoveTable(int number);
  void SetTableName(int number, const QString& name);
  void SetTableFile(TConversionTable& table, const QString& fileName);
  // Lets the user choose the file of an external table; false when cancelled or invalid.
  bool ChooseTableFile(TConversionTable& table);
  bool GetTableData(const TConversionTable& table, QStringList& lines) const;
  bool SetTableData(TConversionTable& table, const QStringList& lines);
  // Prepares a compile: false (after a message, the block marked like a
  // compile error) while a block exists that the engine does not hold, and
  // reads every external table's file; false (after a message) when one
  // cannot be read.
  bool LoadTableData();
  // The first functional block that the engine does not hold (a type it
  // does not know), or 0.
  int32_t FindBlockOutsideEngine() const;
  void ReleaseTableData();
  // The text a table is handed to the compiler as.
  static QString TableText(const TConversionTable& table);

  // ---- comment -------------------------------------------------------------
  const QStringList& Comment() const { return comment_; }
  void GetComment(QStringList& lines) const { lines = comment_; }
  void SetComment(const QStringList& lines);

  // ---- blocks and wires ----------------------------------------------------
  TBlock* InsertTextBlock(int32_t cellId, const TRect& visible);
  TBlock* InsertBlock(int32_t cellId, int32_t blockType, const TRect& visible);
  bool EditBlock(int32_t cellId, int kind, int32_t blockId);
  void DeleteBlock(int32_t blockId);
  void DeleteBlocks(int32_t cellId, const TBlockSelection& selection);
  void MoveBlocks(int32_t cellId, const TBlockSelection& selection, QPoint offset);
  // Mode 0 left, 1 top, 2 right, 3 bottom edges.
  bool AlignBlocks(int32_t cellId, const TBlockSelection& selection, int mode);
  // Input < 0 lets the engine choose; the chosen input is given back.
  bool ConnectWire(int32_t blockId, int& input, std::unique_ptr<TInputLine> wire);
  bool SetWireRoute(int32_t blockId, int input, std::unique_ptr<TInputLine> wire);
  bool RemoveWire(int32_t blockId, int input);
  // Low level (no undo): moves blocks by individual offsets and lets wires follow.
  TChangeRecord MoveBlocksBy(TBlockList& cell, const TBlockSelection& blocks, const std::vector<QPoint>& offsets);
  // Removes blocks with their wires from cell and engine (no undo).
  TChangeRecord RemoveBlocks(TBlockList& cell, const TBlockSelection& selection);

  // ---- clipboard -------------------------------------------------------------
  void CopyCell(int32_t cellId) const;
  bool PasteCell(int index);
  void CopyBlocks(int32_t cellId, const TBlockSelection& selection) const;
  // Pastes below the existing blocks; selection receives the new blocks and
  // the answer is the point to scroll to.
  QPoint PasteBlocks(int32_t cellId, TBlockSelection& selection);
  void CopyTable(int number) const;
  bool PasteTable();

  // ---- printing --------------------------------------------------------------
  // Prints one cell (or every cell for 0) after the print dialog.
  void Print(int32_t cellId);
  // Prints onto a configured printer; the answer is the number of pages.
  int PrintTo(class QPrinter& printer, int32_t cellId);

  // ---- compile result ----------------------------------------------------------
  int32_t ErrorBlockId() const { return errorBlockId_; }
  void SetErrorBlockId(int32_t blockId);

  // ---- simulation run control (kept by TSimulationControl) ---------------------
  const TSimulationControl& Simulation() const { return *simulation_; }
  TSimState SimState() const { return simulation_->State(); }
  bool IsSimulating() const { return simulation_->IsSimulating(); }
  int32_t CurrentCell() const { return simulation_->CurrentCell(); }
  int32_t HaltedCell() const { return simulation_->HaltedCell(); }
  // Run, single step, stop and reset.
  void RunCommand(cmd::TCommand command) { simulation_->RunCommand(command); }
  void RunToCell(int32_t cellId) { simulation_->RunToCell(cellId); }
  void SetCompiled(bool success) { simulation_->SetCompiled(success); }
  void Reset() { simulation_->Reset(); }
  // One batch of engine steps (or its next slice), called from the idle
  // loop; true while the idle loop should keep calling at once. During a
  // program pause it returns false and Simulation().WakeUpInMs() says when
  // to call again.
  bool Step(int64_t sliceMs = TSimulationControl::kSliceMs, TBatchEnd end = TBatchEnd::EveryCell) {
    return simulation_->Step(sliceMs, end);
  }
  // For callers without an event loop: steps, and sleeps through pauses.
  bool StepOrSleep() { return simulation_->StepOrSleep(); }
  // A bound on engine steps for headless runs (negative: none).
  void SetEngineStepLimit(int64_t limit) { simulation_->SetEngineStepLimit(limit); }
  // A bound on the unit's time in 20 ms ticks (negative: none).
  void SetUnitTickLimit(int64_t limit) { simulation_->SetUnitTickLimit(limit); }
  // Every edit of the project makes the compiled program stale; undo and
  // redo go through here too.
  void EditDone() { simulation_->EditDone(); }

  // ---- breakpoints ---------------------------------------------------------------
  static constexpr size_t kMaxBreakpoints = TSimulationControl::kMaxBreakpoints;
  const std::vector<uint16_t>& Breakpoints() const { return simulation_->Breakpoints(); }
  bool HasBreakpoint(int32_t cellId) const { return simulation_->HasBreakpoint(cellId); }
  void ToggleBreakpoint(int32_t cellId) { simulation_->ToggleBreakpoint(cellId); }
  void RemoveBreakpoint(int32_t cellId) { simulation_->RemoveBreakpoint(cellId); }
  void ClearBreakpoints() { simulation_->ClearBreakpoints(); }

  // ---- watches -------------------------------------------------------------------
  const std::vector<TWatchEntry>& Watches() const { return simulation_->Watches(); }
  void AddWatch(int32_t blockId) { simulation_->AddWatch(blockId); }
  void RemoveWatch(int index) { simulation_->RemoveWatch(index); }
  void RefreshWatches() { simulation_->RefreshWatches(); }

  // ---- terminal (at most 1000 lines) ---------------------------------------------
  static constexpr int kMaxTerminalLines = TSimulationControl::kMaxTerminalLines;
  QStringList TerminalLines() const { return simulation_->TerminalLines(); }
  int TerminalLineCount() const { return simulation_->TerminalLineCount(); }
  QString TerminalLine(int index) const { return simulation_->TerminalLine(index); }
  void ClearTerminal() { simulation_->ClearTerminal(); }
  void CopyTerminal() const { simulation_->CopyTerminal(); }

  // ---- data file copy ------------------------------------------------------------
  int DataFileLength() const { return simulation_->DataFileLength(); }
  int DataFilePreviousLength() const { return simulation_->DataFilePreviousLength(); }
  int32_t DataFileValue(int index) const { return simulation_->DataFileValue(index); }

 protected:
  void ProgramEdited() override { EditDone(); }
  void Perform(TUndoAction& action, bool undo) override;
  // The cell of a block id, and the block itself; both report when missing.
  TBlockList* CellOfBlock(int32_t blockId) const { return FindCell(static_cast<int32_t>(static_cast<uint32_t>(blockId) >> 16)); }
  void FreeContents();
  void Renumber();
  // Records, announces and answers a block just placed in a cell.
  TBlock* BlockInserted(TBlockList& cell, TBlock* block);
  // Reads one cell section of a project file into a new cell appended to
  // the list; usedIds marks the cell ids taken, freeHint lies at or below
  // the smallest free one.
  void ReadCellSection(int32_t cellId, const QStringList& body, int32_t& previousId, std::vector<bool>& usedIds,
                       int32_t& freeHint);
  // Shows a load report; one that lost content is kept in LoadLosses.
  void ReportLoad(const QString& text, bool lost);

  PlexorHandle engine_ = nullptr;
  QStringList comment_;
  std::vector<std::unique_ptr<TConversionTable>> tables_;
  std::vector<std::unique_ptr<TBlockList>> cells_;
  QStringList loadLosses_;
  int32_t errorBlockId_ = -1;
  uint16_t nextTableNumber_ = 1;
  std::unique_ptr<TSimulationControl> simulation_;
};
