// TBlock: the base of everything drawn in a program cell. A block has an id
// (cell id in the high word, block number in the low word) and bounds in cell
// pixels; the virtual operations below are answered by the functional block
// (TGraphBlock) and the comment (TTextBlock).
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "TRect.h"
#include "plexor.h"

class QPainter;
class TBlockList;
class TInputLine;
struct CellEditorSettings;

class TBlock;
using TBlockSelection = std::vector<TBlock*>;

class TBlock {
 public:
  enum WireOperation { kConnect = 0, kSet = 1, kSplit = 2 };

  TBlock(int32_t id, PlexorHandle engine);
  virtual ~TBlock();
  TBlock(const TBlock&) = delete;
  TBlock& operator=(const TBlock&) = delete;

  int32_t Id() const { return id_; }
  int32_t Number() const { return id_ & 0xFFFF; }
  PlexorHandle Engine() const { return engine_; }
  const TRect& Bounds() const { return bounds_; }
  void SetBounds(const TRect& r) { bounds_ = r; }

  // Copies into a block of exactly the same class; raises otherwise.
  virtual void AssignTo(TBlock& dest) const;

  virtual TRect GetInputBounds() const { return {}; }
  virtual TInputLine* GetInput(int slot) const;
  virtual void SetInput(int slot, std::unique_ptr<TInputLine> wire);
  virtual QString GetAliasName() const { return QStringLiteral("AbstractBlock"); }
  virtual int GetKind() const { return -1; }
  virtual bool RerouteWireStarts(const TBlockList& cell);
  virtual bool RerouteWireEnds();
  virtual bool HasData(int kind) const;
  virtual bool MayOverlap() const { return false; }
  virtual bool CanBeSource() const { return false; }
  virtual bool IsWatchable() const { return false; }
  virtual TInputLine* FindWireAt(QPoint p, int& slot);
  virtual bool RemoveInputsFrom(const TBlockSelection& list);
  virtual void PaintWires(QPainter& painter, const CellEditorSettings& settings) const;
  virtual void Paint(QPainter& painter, const CellEditorSettings& settings) const;
  // Asks the user for the block's data of the given kind; appearanceChanged
  // tells whether the block must be repainted.
  virtual bool EditData(int kind, bool& appearanceChanged);
  virtual bool HasInputFrom(const TBlockSelection& list) const;
  virtual void ShowHelp() const {}
  virtual bool IntersectsRect(const TRect& r) const { return bounds_.Intersects(r); }
  virtual void ShiftIds(int32_t delta);
  virtual bool MoveBy(QPoint delta);
  virtual void Shift(QPoint delta);
  virtual bool FollowMovedBlocks(const TBlockList& cell, const TBlockSelection& moved, QPoint delta);
  virtual void UpdateExtent() {}
  virtual void SetCellId(int32_t cell);
  virtual QString GetData(int kind) const;
  virtual bool SetData(int kind, const QString& text);
  // Reader and writer of the text form; index is the current line. A reader
  // that fails may leave a message naming the line in error.
  virtual bool ReadGeometry(const QStringList& lines, qsizetype& index, QString& error);
  virtual bool ReadData(const QStringList& lines, qsizetype& index, QString& error);
  virtual void WriteGeometry(QStringList& lines) const;
  virtual bool WriteData(QStringList& lines) const;
  // Phase 1 adds the block to the engine, phase 0 connects its wires and sets
  // its parameters.
  virtual bool SyncToEngine(int phase);
  virtual void RemoveFromEngine() {}
  virtual bool CanConnectFrom(const TBlock& source) const;
  // Takes the wire over in every case; slot may come back changed.
  virtual bool ChangeWire(int operation, int& slot, std::unique_ptr<TInputLine> wire);
  virtual QString GetInputText(int slot) const;

  // A new block of the class with that alias ("GraphBlock", "TextBlock"), or null.
  static std::unique_ptr<TBlock> Create(const QString& alias, int32_t id, PlexorHandle engine);

 protected:
  void CheckSameClass(const TBlock& dest) const;

  int32_t id_;
  PlexorHandle engine_;
  TRect bounds_{0, 0, 60, 20};
};
