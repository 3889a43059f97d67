// TMouseTool: turns the mouse gestures on a cell into edits of the project.
//
// It keeps the transient state of a gesture only (selection, rubber band, a
// moving selection, a wire being drawn, a wire being bent); every change of
// the drawing goes through the model's requests. The owner feeds it mouse
// events in cell coordinates, repaints the region TakeDirty() hands back and
// draws PaintFeedback() on top of the cell, so the feedback disappears
// exactly with the next repaint of its area.
#pragma once

#include <QPoint>
#include <QRegion>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

#include "TBlock.h"
#include "TInputLine.h"
#include "TRect.h"

class QPainter;
class TBlockList;
class TTarvixPlusModel;

class TMouseTool {
 public:
  // What the input menu answers when nothing was chosen.
  static constexpr int kNoChoice = -42;
  // At most this many points while drawing (the 18th is refused).
  static constexpr int kMaxDrawnPoints = 17;
  // Shows the input menu of a target block at a cell point: captions, the
  // flag characters ('*' disables an entry); answers the chosen index or kNoChoice.
  using InputMenuCallback = std::function<int(const QStringList& captions, const QString& flags, QPoint at)>;

  explicit TMouseTool(TTarvixPlusModel* model);
  ~TMouseTool();
  TMouseTool(const TMouseTool&) = delete;
  TMouseTool& operator=(const TMouseTool&) = delete;

  void SetModel(TTarvixPlusModel* model) { model_ = model; }
  // Shows another cell (or none): every gesture ends, bend editing hands its result over.
  void SetCell(TBlockList* cell);
  TBlockList* Cell() const { return cell_; }
  void SetInputMenuCallback(InputMenuCallback callback) { inputMenu_ = std::move(callback); }

  void MouseDown(QPoint p);
  void MouseMove(QPoint p);
  void MouseUp(QPoint p);

  // A right click while drawing: the wire is dropped.
  void CancelWire();
  // A click elsewhere, a cell switch or closing: the bent copy goes to the model.
  void EndBendEditing();
  // Ends whatever gesture is going on without an edit (the mouse was lost).
  void AbortGesture();

  // A gesture holds the mouse: rubber band, moving, drawing or dragging a bend.
  bool Busy() const { return rubberBand_ || moving_ || drawingWire_ || bendDragging_; }
  bool Moving() const { return moving_; }
  bool RubberBand() const { return rubberBand_; }
  bool DrawingWire() const { return drawingWire_; }
  bool BendEditing() const { return bendEditing_; }
  bool BendDragging() const { return bendDragging_; }
  // Undo and redo would pull the ground from under these gestures.
  bool BlocksUndo() const { return moving_ || drawingWire_ || bendEditing_; }
  const TInputLine* WireBeingDrawn() const { return wire_.get(); }
  const TInputLine* BentCopy() const { return bendCopy_.get(); }

  const TBlockSelection& Selection() const { return selection_; }
  void SetSelection(const TBlockSelection& selection);
  void ClearSelection();
  // Drops selected blocks that are no longer in the cell and ends gestures
  // whose blocks or wire disappeared (another window changed the cell).
  void CellChanged();

  // Deletes the inner point hitIndex of the wire (targetId, slot).
  void LineDeleteBend(int32_t targetId, int slot, int hitIndex);

  // The cell area that needs a repaint since the last call.
  QRegion TakeDirty();
  // The area the current feedback covers.
  QRegion FeedbackRegion() const;
  void PaintFeedback(QPainter& painter) const;

 private:
  TBlock* BlockAt(QPoint p) const;
  bool InSelection(QPoint p) const;
  void Dirty(const QRegion& r) { dirty_ += r; }
  void Dirty(const TRect& r) { dirty_ += r.ToQRect(); }
  void MarkFeedback() { dirty_ += FeedbackRegion(); }
  void StartWire(TBlock* source, QPoint p);
  void AddBend(QPoint p);
  void FinishWire(TBlock* target);
  bool MoveIsValid(QPoint delta) const;
  TInputLine* BentWire() const;
  void DropWire();

  TTarvixPlusModel* model_;
  TBlockList* cell_ = nullptr;
  InputMenuCallback inputMenu_;
  QPoint anchor_;
  QPoint current_;
  bool moving_ = false;
  bool rubberBand_ = false;
  bool drawingWire_ = false;
  bool bendEditing_ = false;
  bool bendDragging_ = false;
  bool connectGuard_ = false;
  TBlockSelection selection_;
  // The wire being drawn and its source.
  std::unique_ptr<TInputLine> wire_;
  int32_t sourceId_ = 0;
  // Bend editing: the target and slot of the bent wire and the edited copy.
  int32_t bendTargetId_ = 0;
  int bendSlot_ = -1;
  std::unique_ptr<TInputLine> bendCopy_;
  QRegion dirty_;
};
