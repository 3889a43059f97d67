// TTarvixPlusModel: the project document.
//
// It owns the comment, the conversion tables, the program cells and the
// engine object, and keeps the engine in step with the cells at all times:
// every edit records an undo action, changes cell and engine together, stops
// the simulation's readiness and tells the views. It also reads and writes
// the project file, serves the clipboard and prints, and drives a running
// simulation.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "TBlock.h"
#include "TBlockList.h"
#include "TChangeRecord.h"
#include "TConversionTable.h"
#include "TModel.h"
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
  bool SaveToFile(const QString& fileName) override;
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
  // The blocks whose positions change when blocks move, in the form the
  // move undo action keeps ("ID=" line, then the geometry lines).
  static QStringList PositionLines(const TBlockList& cell, const TBlockSelection& moved);
  // The deleted blocks and every remaining block wired to one of them, each
  // framed by block markers.
  static QStringList DeletionLines(const TBlockList& cell, const TBlockSelection& deleted);
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

  // ---- simulation state (the run control sets it; every edit clears it) ------
  uint8_t SimState = 0;
  uint16_t NextTableNumber = 1;

  // ---- simulation run control ----------------------------------------------------
  // SimState: 0 not ready, 1 ready, 2 running, 3 single step, 4 halted, 5 pausing.
  enum : uint8_t { kNotReady = 0, kReady = 1, kRunning = 2, kSingleStep = 3, kHalted = 4, kPausing = 5 };
  // Commands 303 run, 304 single step, 305 reset, 307 stop.
  void RunCommand(int command);
  void RunToCell(int32_t cellId);
  bool IsSimulating() const { return SimState != kNotReady && SimState != kReady; }
  void SetCompiled(bool success);
  void Reset();
  // Hands pending simulated inputs to the engine.
  void ApplyInputs();
  void ReadPorts();
  void ReadDataFile();
  void ReadOutput();
  // One batch of engine steps, called from the idle loop; true while the
  // idle loop should keep calling.
  bool Step();
  int32_t HaltedCell() const { return SimState == kHalted ? CurrentCell : 0; }
  uint16_t CurrentCell = 0;
  uint16_t RunToCellId = 0;
  int32_t LastInputValue = 0;
  bool Stepping = false;
  // Engine steps made since the last reset, and an optional limit after
  // which a batch ends (headless runs must end even in an endless wait).
  int64_t EngineSteps = 0;
  int64_t EngineStepLimit = -1;

  // Watches.
  const std::vector<TWatchEntry>& Watches() const { return watches_; }
  void AddWatch(int32_t blockId);
  void RemoveWatch(int index);
  void RefreshWatches();

  // Terminal text (at most 1000 lines) and the data file copy.
  static constexpr int kMaxTerminalLines = 1000;
  const QStringList& TerminalLines() const { return terminal_; }
  QString TerminalLine(int index) const { return index >= 0 && index < terminal_.size() ? terminal_[index] : QString(); }
  void ClearTerminal();
  void CopyTerminal() const;
  int DataFileLength() const { return dataFileLength_; }
  int DataFilePreviousLength() const { return dataFilePreviousLength_; }
  int32_t DataFileValue(int index) const;

  // ---- breakpoints -------------------------------------------------------------
  static constexpr size_t kMaxBreakpoints = 50;
  const std::vector<uint16_t>& Breakpoints() const { return breakpoints_; }
  bool HasBreakpoint(int32_t cellId) const;
  void ToggleBreakpoint(int32_t cellId);
  void RemoveBreakpoint(int32_t cellId);
  void ClearBreakpoints();

 protected:
  // Every structural edit ends the simulation's readiness.
  void EditDone() { SimState = 0; }
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
  std::vector<uint16_t> breakpoints_;
  std::vector<TWatchEntry> watches_;
  QStringList terminal_;
  std::array<uint16_t, 4096> dataFile_{};
  int dataFileLength_ = 0;
  int dataFilePreviousLength_ = 0;
};
