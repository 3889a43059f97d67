#include "TMouseTool.h"

#include <QPainter>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cstdlib>

#include "CellEditorSettings.h"
#include "EngineText.h"
#include "Grid.h"
#include "TBlockList.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

TRect Normalised(QPoint a, QPoint b) {
  return {std::min(a.x(), b.x()), std::min(a.y(), b.y()), std::max(a.x(), b.x()) + 1, std::max(a.y(), b.y()) + 1};
}

QPoint Centre(const TRect& r) { return {r.Width() / 2 + r.left, r.Height() / 2 + r.top}; }

QPoint SnappedIfAligning(QPoint p) {
  const CellEditorSettings& s = CellEditorSettings::Current();
  return s.alignAtGrid ? grid::Nearest(p, s.gridSize) : p;
}

// The points' bounding box, wide enough for pens and focus squares.
QRect PointsBox(const TInputLine& w, int margin) {
  if (w.pointCount <= 0) return {};
  int l = w.Point(0).x(), t = w.Point(0).y(), r = l, b = t;
  for (int i = 1; i < w.pointCount; ++i) {
    l = std::min(l, w.Point(i).x());
    t = std::min(t, w.Point(i).y());
    r = std::max(r, w.Point(i).x());
    b = std::max(b, w.Point(i).y());
  }
  return QRect(QPoint(l - margin, t - margin), QPoint(r + margin, b + margin));
}

QPen DottedPen(const QColor& color) {
  QPen pen(color, 1, Qt::DotLine);
  pen.setCosmetic(true);
  return pen;
}

}  // namespace

TMouseTool::TMouseTool(TTarvixPlusModel* model) : model_(model) {}

TMouseTool::~TMouseTool() = default;

void TMouseTool::SetCell(TBlockList* cell) {
  if (cell == cell_) return;
  EndBendEditing();
  AbortGesture();
  selection_.clear();
  cell_ = cell;
  dirty_ = QRegion();
}

TBlock* TMouseTool::BlockAt(QPoint p) const {
  if (!cell_) return nullptr;
  for (int i = 0; i < cell_->Count(); ++i)
    if (cell_->Items(i)->Bounds().Contains(p)) return cell_->Items(i);
  return nullptr;
}

bool TMouseTool::InSelection(QPoint p) const {
  return std::any_of(selection_.begin(), selection_.end(), [p](const TBlock* b) { return b->Bounds().Contains(p); });
}

void TMouseTool::SetSelection(const TBlockSelection& selection) {
  MarkFeedback();
  for (TBlock* b : selection_) Dirty(b->Bounds().Inflated(2));
  selection_ = selection;
  for (TBlock* b : selection_) Dirty(b->Bounds().Inflated(2));
}

void TMouseTool::ClearSelection() { SetSelection({}); }

TInputLine* TMouseTool::BentWire() const {
  TBlock* target = cell_ ? cell_->FindBlock(bendTargetId_) : nullptr;
  return target && target->Id() == bendTargetId_ ? target->GetInput(bendSlot_) : nullptr;
}

void TMouseTool::MouseDown(QPoint p) {
  if (connectGuard_ || !cell_) return;
  MarkFeedback();
  anchor_ = current_ = p;
  // The floating end of a wire is where the mouse is, even without a move before the press.
  if (drawingWire_ && wire_ && wire_->hitIndex >= 0) {
    wire_->points[static_cast<size_t>(wire_->hitIndex)] = p;
    wire_->Update();
  }
  if (!selection_.empty() && InSelection(p)) {
    moving_ = true;
  } else if (bendEditing_) {
    if (bendCopy_->HitTest(p)) {
      if (bendCopy_->hitKind == TInputLine::kHitSegment) bendCopy_->InsertBend(p);
      bendDragging_ = true;
    } else {
      EndBendEditing();
    }
  } else if (TBlock* block = BlockAt(p)) {
    ClearSelection();
    if (drawingWire_) {
      connectGuard_ = true;
      FinishWire(block);
      connectGuard_ = false;
    } else {
      SetSelection({block});
      moving_ = true;
    }
  } else if (drawingWire_) {
    ClearSelection();
    AddBend(p);
  } else {
    ClearSelection();
    int slot = -1;
    TInputLine* hit = nullptr;
    TBlock* target = nullptr;
    for (int i = 0; i < cell_->Count() && !hit; ++i) {
      hit = cell_->Items(i)->FindWireAt(p, slot);
      if (hit) target = cell_->Items(i);
    }
    if (hit) {
      bendEditing_ = true;
      bendTargetId_ = target->Id();
      bendSlot_ = slot;
      bendCopy_ = std::make_unique<TInputLine>(*hit);
      bendCopy_->hidden = false;
      hit->hidden = true;
      if (bendCopy_->hitKind == TInputLine::kHitSegment) bendCopy_->InsertBend(p);
      bendDragging_ = true;
      Dirty(cell_->GetBlockExtent(target->Id()).Inflated(2));
    } else {
      rubberBand_ = true;
    }
  }
  MarkFeedback();
}

void TMouseTool::MouseMove(QPoint p) {
  if (!Busy() && !drawingWire_) return;
  MarkFeedback();
  current_ = p;
  if (drawingWire_ && wire_ && wire_->hitIndex >= 0) {
    wire_->points[static_cast<size_t>(wire_->hitIndex)] = p;
    wire_->Update();
  } else if (bendDragging_ && bendCopy_ && bendCopy_->hitIndex >= 0) {
    bendCopy_->points[static_cast<size_t>(bendCopy_->hitIndex)] = p;
    bendCopy_->Update();
  }
  MarkFeedback();
}

void TMouseTool::MouseUp(QPoint p) {
  if (!cell_) return;
  MarkFeedback();
  current_ = p;
  if (rubberBand_) {
    rubberBand_ = false;
    const TRect band = Normalised(anchor_, current_);
    TBlockSelection chosen = selection_;
    for (int i = 0; i < cell_->Count(); ++i) {
      TBlock* b = cell_->Items(i);
      if (b->IntersectsRect(band) && std::find(chosen.begin(), chosen.end(), b) == chosen.end()) chosen.push_back(b);
    }
    SetSelection(chosen);
  } else if (moving_) {
    moving_ = false;
    const QPoint delta = current_ - anchor_;
    TBlock* clicked = nullptr;
    if (selection_.size() == 1 && std::abs(delta.x()) < 3 && std::abs(delta.y()) < 3) {
      clicked = selection_.front();
    } else if (delta != QPoint()) {
      if (MoveIsValid(delta)) {
        const TBlockSelection moved = selection_;
        ClearSelection();
        if (model_) model_->MoveBlocks(cell_->CellId(), moved, delta);
        anchor_ = current_;
      } else {
        TUserInterface::Current().Beep(TUserInterface::Sound::Warning);
      }
    }
    ClearSelection();
    if (clicked && clicked->Bounds().Contains(p) && clicked->CanBeSource()) StartWire(clicked, p);
  } else if (bendDragging_ && bendCopy_) {
    bendDragging_ = false;
    if (bendCopy_->hitIndex >= 0 && bendCopy_->hitIndex < bendCopy_->pointCount)
      bendCopy_->points[static_cast<size_t>(bendCopy_->hitIndex)] = SnappedIfAligning(p);
    bendCopy_->RemoveDuplicates();
    TBlock* source = cell_->FindBlock(bendCopy_->source);
    TBlock* target = cell_->FindBlock(bendTargetId_);
    if (source && target) bendCopy_->SlideEnds(source->Bounds(), target->Bounds());
    bendCopy_->Update();
    bendCopy_->hitIndex = -1;
  }
  MarkFeedback();
}

bool TMouseTool::MoveIsValid(QPoint delta) const {
  const CellEditorSettings& s = CellEditorSettings::Current();
  for (const TBlock* b : selection_) {
    TRect r = b->Bounds().Offset(delta);
    if (s.alignAtGrid) r = r.Offset(grid::Nearest(r.TopLeft(), s.gridSize) - r.TopLeft());
    if (!s.cellArea.Contains(r.TopLeft()) || !s.cellArea.Contains(QPoint(r.right, r.bottom))) return false;
    if (b->MayOverlap()) continue;
    for (int i = 0; i < cell_->Count(); ++i) {
      const TBlock* other = cell_->Items(i);
      if (other->GetKind() != 2 || std::find(selection_.begin(), selection_.end(), other) != selection_.end()) continue;
      if (r.Intersects(other->Bounds())) return false;
    }
  }
  return true;
}

void TMouseTool::StartWire(TBlock* source, QPoint p) {
  wire_ = std::make_unique<TInputLine>();
  wire_->source = source->Id();
  wire_->AddPoint(Centre(source->Bounds()));
  wire_->AddPoint(p);
  sourceId_ = source->Id();
  drawingWire_ = true;
}

void TMouseTool::AddBend(QPoint p) {
  if (!wire_ || wire_->pointCount >= kMaxDrawnPoints) return;
  p = SnappedIfAligning(p);
  if (wire_->pointCount == 2) {
    if (TBlock* source = cell_->FindBlock(sourceId_)) {
      wire_->points[1] = p;
      wire_->RerouteStart(source->Bounds());
    }
  }
  wire_->points[static_cast<size_t>(wire_->pointCount - 1)] = p;
  wire_->AddPoint(p);
}

void TMouseTool::FinishWire(TBlock* target) {
  TBlock* source = cell_->FindBlock(sourceId_);
  if (!source || !target->CanConnectFrom(*source)) {
    TUserInterface::Current().Beep(TUserInterface::Sound::Stop);
    return;
  }
  // Work on a copy: choosing nothing in the input menu goes on drawing the
  // wire as it was.
  auto wire = std::make_unique<TInputLine>(*wire_);
  wire->RemoveDuplicates();
  wire->RerouteEnd(target->Bounds());
  if (wire->pointCount == 2) wire->RerouteStart(source->Bounds());
  wire->hitIndex = -1;
  wire->hitKind = TInputLine::kHitNone;
  wire->Update();

  int slot = -1;
  const int32_t targetId = target->Id();
  PlexorHandle engine = cell_->Engine();
  const QString menu = engine ? enginetext::ToQString(PlexorGetBlockInputMenu(engine, target->Id())) : QString();
  if (!menu.isEmpty()) {
    QStringList captions = menu.split(QRegularExpression(QStringLiteral("\r\n|\n|\r")));
    while (!captions.isEmpty() && captions.back().isEmpty()) captions.removeLast();
    const QString flags = enginetext::ToQString(PlexorGetBlockInputMenuFlags(engine, source->Id(), target->Id()));
    if (!inputMenu_) {
      TUserInterface::Current().ErrorBox(QStringLiteral("OnExecuteBlockMenu nicht zugewiesen"));
      return;
    }
    slot = inputMenu_(captions, flags, current_);
    if (slot == kNoChoice || slot < 0) return;
    // The menu ran an event loop: the cell may have changed meanwhile.
    if (!drawingWire_ || !cell_ || !cell_->FindBlock(targetId) || !cell_->FindBlock(sourceId_)) {
      DropWire();
      return;
    }
  }
  DropWire();
  if (!model_ || !model_->ConnectWire(targetId, slot, std::move(wire)))
    TUserInterface::Current().Beep(TUserInterface::Sound::Stop);
}

void TMouseTool::DropWire() {
  MarkFeedback();
  if (wire_) Dirty(PointsBox(*wire_, 25));
  wire_.reset();
  drawingWire_ = false;
  sourceId_ = 0;
}

void TMouseTool::CancelWire() {
  if (drawingWire_) DropWire();
}

void TMouseTool::EndBendEditing() {
  if (!bendEditing_) return;
  MarkFeedback();
  bendEditing_ = false;
  bendDragging_ = false;
  std::unique_ptr<TInputLine> copy = std::move(bendCopy_);
  TInputLine* wire = BentWire();
  if (cell_) {
    if (TBlock* target = cell_->FindBlock(bendTargetId_)) Dirty(cell_->GetBlockExtent(target->Id()).Inflated(2));
  }
  if (!wire) return;
  wire->hidden = false;
  copy->hitKind = TInputLine::kHitNone;
  copy->hitIndex = -1;
  if (!copy->SameRoute(*wire) && model_) model_->SetWireRoute(bendTargetId_, bendSlot_, std::move(copy));
}

void TMouseTool::AbortGesture() {
  MarkFeedback();
  rubberBand_ = false;
  moving_ = false;
  bendDragging_ = false;
  CancelWire();
}

void TMouseTool::CellChanged() {
  if (!cell_) return;
  TBlockSelection kept;
  for (TBlock* b : selection_)
    if (cell_->IndexOf(b) >= 0) kept.push_back(b);
  if (kept.size() != selection_.size()) {
    // The dropped blocks are freed already: only the kept ones are looked at.
    selection_ = kept;
    if (selection_.empty()) moving_ = false;
    MarkFeedback();
  }
  if (drawingWire_ && !cell_->FindBlock(sourceId_)) DropWire();
  if (bendEditing_ && !BentWire()) {
    MarkFeedback();
    bendEditing_ = false;
    bendDragging_ = false;
    bendCopy_.reset();
  }
}

void TMouseTool::LineDeleteBend(int32_t targetId, int slot, int hitIndex) {
  TBlock* target = cell_ ? cell_->FindBlock(targetId) : nullptr;
  if (!target) {
    TUserInterface::Current().ErrorBox(QStringLiteral("Fehler in TMouseTool.LineDeleteBend: Block nicht gefunden!"));
    return;
  }
  const TInputLine* wire = target->GetInput(slot);
  if (!wire) {
    TUserInterface::Current().ErrorBox(QStringLiteral("Fehler in TMouseTool.LineDeleteBend: Verbindung nicht gefunden!"));
    return;
  }
  auto copy = std::make_unique<TInputLine>(*wire);
  copy->hitIndex = hitIndex;
  if (!copy->DeleteBend()) return;
  copy->hitIndex = -1;
  copy->hitKind = TInputLine::kHitNone;
  if (model_) model_->SetWireRoute(targetId, slot, std::move(copy));
}

QRegion TMouseTool::TakeDirty() {
  QRegion r = dirty_;
  dirty_ = QRegion();
  return r;
}

QRegion TMouseTool::FeedbackRegion() const {
  QRegion r;
  if (rubberBand_) r += Normalised(anchor_, current_).ToQRect().adjusted(-1, -1, 1, 1);
  const QPoint d = moving_ ? current_ - anchor_ : QPoint();
  for (const TBlock* b : selection_) r += b->Bounds().Offset(d).ToQRect().adjusted(-2, -2, 2, 2);
  if (drawingWire_ && wire_) r += PointsBox(*wire_, 2);
  if (bendEditing_ && bendCopy_) r += PointsBox(*bendCopy_, 5);
  return r;
}

void TMouseTool::PaintFeedback(QPainter& painter) const {
  const CellEditorSettings& s = CellEditorSettings::Current();
  const QColor fore = tcolor::ToQColor(s.foregroundColor);
  painter.save();
  painter.setBrush(Qt::NoBrush);
  painter.setRenderHint(QPainter::Antialiasing, false);
  if (rubberBand_) {
    painter.setPen(DottedPen(fore));
    const TRect band = Normalised(anchor_, current_);
    painter.drawRect(QRect(band.left, band.top, band.Width() - 1, band.Height() - 1));
  }
  // The selection: a dotted frame round each block (offset while moving).
  painter.setPen(DottedPen(fore));
  const QPoint d = moving_ ? current_ - anchor_ : QPoint();
  for (const TBlock* b : selection_) {
    const TRect r = b->Bounds().Offset(d);
    painter.drawRect(QRect(r.left - 1, r.top - 1, r.Width() + 1, r.Height() + 1));
  }
  if (drawingWire_ && wire_ && wire_->pointCount >= 2) {
    painter.setPen(QPen(fore, 1));
    for (int i = 0; i + 2 < wire_->pointCount; ++i) painter.drawLine(wire_->Point(i), wire_->Point(i + 1));
    painter.setPen(DottedPen(fore));
    painter.drawLine(wire_->Point(wire_->pointCount - 2), wire_->Last());
  }
  if (bendEditing_ && bendCopy_) {
    painter.setPen(DottedPen(fore));
    for (int i = 0; i + 1 < bendCopy_->pointCount; ++i) painter.drawLine(bendCopy_->Point(i), bendCopy_->Point(i + 1));
    for (int i = 0; i < bendCopy_->pointCount; ++i) {
      const QPoint p = bendCopy_->Point(i);
      painter.drawRect(QRect(p.x() - 3, p.y() - 3, 6, 6));
    }
  }
  painter.restore();
}
