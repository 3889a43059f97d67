// TGraphBlock: a functional block. It is mirrored into the engine's page of
// its cell, owns the wires of its 16 input slots and is drawn from the
// picture of its type, a user bitmap, or as a yellow box with its parameter.
#pragma once

#include <QImage>
#include <array>
#include <memory>

#include "TBlock.h"
#include "TInputLine.h"

class TGraphBlock : public TBlock {
 public:
  static constexpr int kSlots = 16;

  TGraphBlock(int32_t id, PlexorHandle engine);
  ~TGraphBlock() override;

  int32_t TypeId() const { return typeId_; }
  // Sets the type and takes its shared picture and size.
  void SetType(int32_t typeId);
  const QString& ParamText() const { return paramText_; }
  void SetParamText(const QString& text) { paramText_ = text; }
  const QString& IndexDescription() const { return indexDescription_; }
  bool OwnsUserBitmap() const { return userBitmapOwned_; }
  const QString& UserBitmapFile() const { return userBitmapFile_; }
  const QImage* Bitmap() const { return bitmap_.get(); }
  int InputCount() const { return inputCount_; }
  // Whether the engine took the block when it was last mirrored; false for
  // a type the engine does not know. Such a block stays in the drawing.
  bool InEngine() const { return inEngine_; }
  // Sets or removes (empty name) the user bitmap; a file that does not load
  // is reported and the type's picture is used again.
  void SetUserBitmap(const QString& fileName);

  void AssignTo(TBlock& dest) const override;
  TRect GetInputBounds() const override;
  TInputLine* GetInput(int slot) const override;
  void SetInput(int slot, std::unique_ptr<TInputLine> wire) override;
  QString GetAliasName() const override { return QStringLiteral("GraphBlock"); }
  int GetKind() const override { return 2; }
  bool RerouteWireStarts(const TBlockList& cell) override;
  bool RerouteWireEnds() override;
  bool HasData(int kind) const override;
  bool CanBeSource() const override;
  bool IsWatchable() const override;
  TInputLine* FindWireAt(QPoint p, int& slot) override;
  bool RemoveInputsFrom(const TBlockSelection& list) override;
  void PaintWires(QPainter& painter, const CellEditorSettings& settings) const override;
  void Paint(QPainter& painter, const CellEditorSettings& settings) const override;
  bool EditData(int kind, bool& appearanceChanged) override;
  bool HasInputFrom(const TBlockSelection& list) const override;
  void ShowHelp() const override;
  void ShiftIds(int32_t delta) override;
  bool MoveBy(QPoint delta) override;
  void Shift(QPoint delta) override;
  bool FollowMovedBlocks(const TBlockList& cell, const TBlockSelection& moved, QPoint delta) override;
  void UpdateExtent() override;
  void SetCellId(int32_t cell) override;
  QString GetData(int kind) const override;
  bool SetData(int kind, const QString& text) override;
  bool ReadGeometry(const QStringList& lines, qsizetype& index, QString& error) override;
  bool ReadData(const QStringList& lines, qsizetype& index, QString& error) override;
  void WriteGeometry(QStringList& lines) const override;
  bool WriteData(QStringList& lines) const override;
  bool SyncToEngine(int phase) override;
  void RemoveFromEngine() override;
  bool CanConnectFrom(const TBlock& source) const override;
  bool ChangeWire(int operation, int& slot, std::unique_ptr<TInputLine> wire) override;
  QString GetInputText(int slot) const override;

 private:
  void Recount();
  void ReadIndexDescription();
  void TakeTypePicture();

  int32_t typeId_ = 0;
  bool inEngine_ = false;
  bool userBitmapOwned_ = false;
  QString userBitmapFile_;
  std::shared_ptr<const QImage> bitmap_;
  int inputCount_ = 0;
  std::array<std::unique_ptr<TInputLine>, kSlots> inputs_;
  QString paramText_;
  QString indexDescription_;
};
