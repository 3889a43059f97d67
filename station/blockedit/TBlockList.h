// TBlockList: the blocks of one program cell in paint order, with the cell's
// id and name and the engine handle of the project. The list owns its blocks
// and mirrors functional blocks and their wires into the engine page of the
// cell; it reads and writes the cell body text form.
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <vector>

#include "TBlock.h"

class TGraphBlock;
class TTextBlock;

class TBlockList {
 public:
  static constexpr int32_t kMaxBlockNumber = 65534;

  TBlockList(int32_t cellId, PlexorHandle engine);
  ~TBlockList();  // frees the blocks without engine calls
  TBlockList(const TBlockList&) = delete;
  TBlockList& operator=(const TBlockList&) = delete;

  int32_t CellId() const { return cellId_; }
  void SetCellId(int32_t cellId) { cellId_ = cellId; }
  const QString& Name() const { return name_; }
  void SetName(const QString& name) { name_ = name; }
  PlexorHandle Engine() const { return engine_; }

  int Add(std::unique_ptr<TBlock> block);
  TBlock* Items(int i) const { return blocks_[static_cast<size_t>(i)].get(); }
  int Count() const { return static_cast<int>(blocks_.size()); }
  // The first block whose number equals the low word of id (the cell word is ignored).
  TBlock* FindBlock(int32_t id) const;
  int IndexOf(const TBlock* block) const;

  // The smallest free block number as a full id; 0 (after a message) when the cell is full.
  int32_t NewBlockId() const;
  // The first id x from block number 1 on such that no block id lies in x..x+n.
  int32_t FindFreeIdRange(int32_t n) const;

  TGraphBlock* InsertGraphBlock(int32_t typeId, const TRect& visible);
  TTextBlock* InsertTextBlock(const TRect& visible);
  void PlaceBlock(int index, const TRect& visible);
  // Re-creates a block from its single-block form (alias, id, geometry,
  // data); false when its number exists or the lines do not read.
  bool RestoreBlock(const QStringList& lines, TRect& bounds);
  // Removes the block from the list and the engine; raises for an id of another cell.
  bool DeleteBlock(int32_t id);
  // Removes every block from the engine and frees it.
  void Clear();
  void AssignBlocks(const TBlockList& other);
  void DropDanglingWires();

  TRect GetBlockExtent(int32_t id) const;
  TRect GetExtent() const;

  void PaintBlocks(QPainter& painter, const TRect& clip) const;
  void PaintWires(QPainter& painter, const TRect& clip) const;
  void PaintErrorMark(QPainter& painter, int32_t id) const;
  // The picture of the cell with its title, for printing; Render paints it
  // at the origin of any device (SVG, PDF) in RenderSize pixels. It shows
  // the content within the cell area; blocks wholly outside it are left out
  // (BlocksOutsideArea names them). RenderImage draws scale pixels per
  // pixel (1 to kMaxRenderScale), for sharper pictures.
  static constexpr int kMaxRenderScale = 4;
  QImage RenderImage(int scale = 1) const;
  QSize RenderSize() const;
  void Render(QPainter& painter) const;
  std::vector<int32_t> BlocksOutsideArea() const;

  // Cell body text form. A failed read reports its reason (except where the
  // format is silent) and keeps the blocks read before the failure; with
  // error given, the reason is handed back there instead of reported.
  bool ReadFromLines(bool withHeader, const QStringList& lines, int32_t targetCellId, QString* error = nullptr);
  bool WriteToLines(bool withHeader, QStringList& lines) const;
  bool WriteSelection(const TBlockSelection& selection, QStringList& lines) const;
  // The single-block form of one block (for undo).
  static QStringList WriteSingleBlock(const TBlock& block);

  // Rebuilds the engine page of the cell: all blocks first, then their wires
  // and parameters.
  bool PushToEngine();

 private:
  std::unique_ptr<TBlock> ReadBlock(const QStringList& lines, qsizetype& index, const QString& alias, int32_t id, QString& error);
  void PrepareFont(QPainter& painter) const;
  bool WriteBlocks(const TBlockSelection* selection, QStringList& lines) const;

  int32_t cellId_;
  QString name_;
  PlexorHandle engine_;
  std::vector<std::unique_ptr<TBlock>> blocks_;
};
