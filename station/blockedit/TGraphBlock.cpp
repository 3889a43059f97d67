#include "TGraphBlock.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>

#include "BlockEditError.h"
#include "CellEditorSettings.h"
#include "EngineText.h"
#include "TBlockCatalogue.h"
#include "TBlockList.h"
#include "TFileSearch.h"
#include "UserInterface.h"

namespace {

bool InList(const TBlockSelection& list, int32_t id) {
  return std::any_of(list.begin(), list.end(), [id](const TBlock* b) { return b->Id() == id; });
}

}  // namespace

TGraphBlock::TGraphBlock(int32_t id, PlexorHandle engine) : TBlock(id, engine) {}
TGraphBlock::~TGraphBlock() = default;

void TGraphBlock::TakeTypePicture() {
  bitmap_ = TBlockCatalogue::Instance().Picture(typeId_);
  userBitmapOwned_ = false;
}

void TGraphBlock::SetType(int32_t typeId) {
  typeId_ = typeId;
  if (!userBitmapOwned_) TakeTypePicture();
  UpdateExtent();
}

void TGraphBlock::Recount() {
  inputCount_ = static_cast<int>(std::count_if(inputs_.begin(), inputs_.end(), [](const auto& w) { return w != nullptr; }));
}

void TGraphBlock::ReadIndexDescription() {
  if (!engine_) return;
  const char* text = PlexorGetIndexDescription(engine_, id_);
  if (text) indexDescription_ = enginetext::ToQString(text).left(3);
}

void TGraphBlock::SetUserBitmap(const QString& fileName) {
  if (userBitmapOwned_ && fileName.isEmpty()) TakeTypePicture();
  userBitmapFile_ = fileName;
  if (!fileName.isEmpty()) {
    const QString path = TFileSearch::FindBitmap(fileName);
    QImage image;
    if (!path.isEmpty()) image.load(path);
    if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
      TUserInterface::Current().ErrorBox(QStringLiteral("%1 ist keine gültige Bitmapdatei!").arg(fileName));
      TakeTypePicture();
      userBitmapFile_.clear();
    } else {
      bitmap_ = std::make_shared<const QImage>(TBlockCatalogue::MagentaToTransparent(image));
      userBitmapOwned_ = true;
    }
  }
  UpdateExtent();
  RerouteWireEnds();
}

void TGraphBlock::AssignTo(TBlock& dest) const {
  TBlock::AssignTo(dest);
  auto& d = static_cast<TGraphBlock&>(dest);
  d.typeId_ = typeId_;
  d.TakeTypePicture();
  if (userBitmapOwned_) {
    // The copy loads the same file again, so it owns a picture of its own.
    d.userBitmapFile_ = userBitmapFile_;
    d.bitmap_ = bitmap_;
    d.userBitmapOwned_ = true;
  } else {
    d.userBitmapFile_.clear();
  }
  for (int i = 0; i < kSlots; ++i) {
    if (inputs_[static_cast<size_t>(i)]) {
      auto copy = std::make_unique<TInputLine>(*inputs_[static_cast<size_t>(i)]);
      copy->hidden = false;
      d.inputs_[static_cast<size_t>(i)] = std::move(copy);
    } else {
      d.inputs_[static_cast<size_t>(i)].reset();
    }
  }
  d.Recount();
  d.paramText_ = paramText_;
}

TRect TGraphBlock::GetInputBounds() const {
  TRect r;
  for (const auto& w : inputs_)
    if (w) r = r.United(w->bounds);
  return r;
}

TInputLine* TGraphBlock::GetInput(int slot) const {
  if (slot < 0 || slot >= kSlots) return nullptr;
  return inputs_[static_cast<size_t>(slot)].get();
}

void TGraphBlock::SetInput(int slot, std::unique_ptr<TInputLine> wire) {
  if (slot < 0 || slot >= kSlots) return;
  inputs_[static_cast<size_t>(slot)] = std::move(wire);
  Recount();
}

bool TGraphBlock::RerouteWireStarts(const TBlockList& cell) {
  bool changed = false;
  for (auto& w : inputs_) {
    if (!w) continue;
    if (const TBlock* src = cell.FindBlock(w->source)) changed |= w->RerouteStart(src->Bounds());
  }
  return changed;
}

bool TGraphBlock::RerouteWireEnds() {
  bool changed = false;
  for (auto& w : inputs_)
    if (w) changed |= w->RerouteEnd(bounds_);
  return changed;
}

bool TGraphBlock::HasData(int kind) const {
  if (!engine_) return false;
  if (kind == 0) return PlexorGetBlockParam(engine_, id_) != nullptr;
  if (kind == 1) return PlexorHasBlockUserBitmap(engine_, id_) != 0;
  return false;
}

bool TGraphBlock::CanBeSource() const { return engine_ && PlexorCanConnectBlocks(engine_, id_, 0) != 0; }
bool TGraphBlock::IsWatchable() const { return engine_ && PlexorGetMapCode(engine_, id_) > 0; }

TInputLine* TGraphBlock::FindWireAt(QPoint p, int& slot) {
  for (int i = 0; i < kSlots; ++i) {
    TInputLine* w = inputs_[static_cast<size_t>(i)].get();
    if (w && w->HitTest(p)) {
      slot = i;
      return w;
    }
  }
  slot = -1;
  return nullptr;
}

bool TGraphBlock::RemoveInputsFrom(const TBlockSelection& list) {
  bool changed = false;
  for (auto& w : inputs_) {
    if (w && InList(list, w->source)) {
      w.reset();
      changed = true;
    }
  }
  Recount();
  return changed;
}

void TGraphBlock::PaintWires(QPainter& painter, const CellEditorSettings& settings) const {
  for (const auto& w : inputs_)
    if (w) w->Paint(painter, settings);
}

void TGraphBlock::Paint(QPainter& painter, const CellEditorSettings& settings) const {
  const QFontMetrics fm = painter.fontMetrics();
  if (bitmap_ && !bitmap_->isNull()) {
    const QRect r = bounds_.ToQRect();
    painter.fillRect(r, tcolor::ToQColor(settings.blockBackgroundColor));
    painter.drawImage(r, *bitmap_);
    if (settings.blockIndicesVisible && !indexDescription_.isEmpty()) {
      const int tw = fm.horizontalAdvance(indexDescription_);
      const int th = fm.height();
      painter.fillRect(TRect{bounds_.right - tw - 4, bounds_.top, bounds_.right, bounds_.top + th}.ToQRect(),
                       tcolor::ToQColor(settings.indexBackgroundColor));
      painter.setPen(tcolor::ToQColor(settings.indexTextColor));
      painter.drawText(QRect(bounds_.right - 2 - tw, bounds_.top, tw, th), Qt::AlignLeft | Qt::AlignTop, indexDescription_);
    }
    return;
  }
  QString label = paramText_.isEmpty() ? QStringLiteral("???") : paramText_;
  const int width = bounds_.Width();
  const int height = bounds_.Height();
  if (width - 2 < fm.horizontalAdvance(label)) {
    label = label.left(12);
    const int dots = fm.horizontalAdvance(QStringLiteral("..."));
    while (!label.isEmpty() && width - dots - 2 < fm.horizontalAdvance(label)) label.chop(1);
    label += QStringLiteral("...");
  }
  painter.setPen(QPen(tcolor::ToQColor(settings.foregroundColor), 1));
  painter.setBrush(QColor(0xFF, 0xFF, 0x00));
  painter.drawRect(QRect(bounds_.left + 1, bounds_.top + 1, width - 3, height - 3));
  painter.setPen(QColor(0x00, 0x00, 0x80));
  const int tw = fm.horizontalAdvance(label);
  const int th = fm.height();
  painter.drawText(QRect(bounds_.left + width / 2 - tw / 2, bounds_.top + (height - th) / 2, tw, th),
                   Qt::AlignLeft | Qt::AlignTop, label);
}

bool TGraphBlock::EditData(int kind, bool& appearanceChanged) {
  appearanceChanged = false;
  if (kind == 0) {
    if (!engine_) return false;
    const bool changed = PlexorEditBlockParam(engine_, id_) != 0;
    paramText_ = enginetext::ToQString(PlexorGetBlockParam(engine_, id_));
    const QString oldIndex = indexDescription_;
    ReadIndexDescription();
    appearanceChanged = changed && (!bitmap_ || indexDescription_ != oldIndex);
    return changed;
  }
  if (kind == 1) {
    QString file = userBitmapFile_;
    if (!TUserInterface::Current().EditBlockBitmap(file)) return false;
    SetUserBitmap(file);
    appearanceChanged = true;
    return true;
  }
  return false;
}

bool TGraphBlock::HasInputFrom(const TBlockSelection& list) const {
  return std::any_of(inputs_.begin(), inputs_.end(), [&](const auto& w) { return w && InList(list, w->source); });
}

void TGraphBlock::ShowHelp() const { TUserInterface::Current().ShowHelp(typeId_); }

void TGraphBlock::ShiftIds(int32_t delta) {
  TBlock::ShiftIds(delta);
  for (auto& w : inputs_)
    if (w) w->source += delta;
}

bool TGraphBlock::MoveBy(QPoint delta) {
  const bool moved = TBlock::MoveBy(delta);
  return RerouteWireEnds() || moved;
}

void TGraphBlock::Shift(QPoint delta) {
  TBlock::Shift(delta);
  for (auto& w : inputs_)
    if (w) w->ShiftAll(delta);
}

bool TGraphBlock::FollowMovedBlocks(const TBlockList& cell, const TBlockSelection& moved, QPoint delta) {
  bool changed = false;
  const bool selfMoved = InList(moved, id_);
  for (auto& w : inputs_) {
    if (!w) continue;
    const TBlock* src = cell.FindBlock(w->source);
    if (src && InList(moved, src->Id())) {
      if (selfMoved) w->ShiftInner(delta);
      w->RerouteStart(src->Bounds());
      changed = true;
    }
    changed |= w->RerouteEnd(bounds_);
  }
  return changed;
}

void TGraphBlock::UpdateExtent() {
  if (bitmap_ && bitmap_->width() > 0 && bitmap_->height() > 0) {
    bounds_.right = bounds_.left + bitmap_->width();
    bounds_.bottom = bounds_.top + bitmap_->height();
  } else if (!userBitmapOwned_) {
    bitmap_.reset();
  }
}

void TGraphBlock::SetCellId(int32_t cell) {
  TBlock::SetCellId(cell);
  for (auto& w : inputs_)
    if (w) w->source = static_cast<int32_t>((static_cast<uint32_t>(cell) << 16) | (static_cast<uint32_t>(w->source) & 0xFFFFu));
}

QString TGraphBlock::GetData(int kind) const {
  if (kind == 0) return paramText_;
  if (kind == 1) return userBitmapFile_;
  throw BlockEditError(QStringLiteral("Interner Fehler in TGraphBlock.GetData"));
}

bool TGraphBlock::SetData(int kind, const QString& text) {
  if (kind == 0) {
    paramText_ = text;
    return engine_ && PlexorSetBlockParam(engine_, id_, enginetext::ToBytes(text).c_str()) != 0;
  }
  if (kind == 1) {
    SetUserBitmap(text);
    return true;
  }
  throw BlockEditError(QStringLiteral("Interner Fehler in TGraphBlock.SetData"));
}

bool TGraphBlock::ReadGeometry(const QStringList& lines, qsizetype& index, QString& error) {
  bool ok = TBlock::ReadGeometry(lines, index, error);
  if (!ok) return false;
  while (index < lines.size() && lines[index].size() >= 6 && lines[index].startsWith(QLatin1String("IN"))) {
    const QString& line = lines[index];
    bool slotOk = false;
    const int slot = line.mid(2, 2).toInt(&slotOk, 10);
    if (!slotOk || slot < 0 || slot >= kSlots || line[4] != QLatin1Char('=')) {
      error = QStringLiteral("Ungültiger Verbindungseintrag in Zeile %1:\r%2").arg(index + 1).arg(line);
      return false;
    }
    auto wire = std::make_unique<TInputLine>();
    if (!wire->FromText(line.mid(5))) {
      error = QStringLiteral("Ungültiger Verbindungseintrag in Zeile %1:\r%2").arg(index + 1).arg(line);
      return false;
    }
    SetInput(slot, std::move(wire));
    ++index;
  }
  return ok;
}

bool TGraphBlock::ReadData(const QStringList& lines, qsizetype& index, QString& error) {
  if (index >= lines.size()) {
    error = QStringLiteral("Unvollständiger Blockeintrag am Ende des Textes!");
    return false;
  }
  const qsizetype typeLine = index;
  const QString& line = lines[index++];
  bool hasType = false;
  if (line.startsWith(QLatin1String("TYPE="))) {
    bool ok = false;
    const int type = line.mid(5, 10).toInt(&ok, 10);
    if (!ok || type < 0 || type > 0xFFFF) {
      error = QStringLiteral("Ungültiger Blocktyp in Zeile %1:\r%2").arg(typeLine + 1).arg(line);
      return false;
    }
    hasType = true;
    typeId_ = type;
    TakeTypePicture();
  }
  if (index < lines.size() && lines[index] == QLatin1String("#DLLDATA_START")) {
    const qsizetype start = index + 1;
    qsizetype end = start;
    while (end < lines.size() && lines[end] != QLatin1String("#DLLDATA_END")) ++end;
    if (end >= lines.size()) {
      error = QStringLiteral("Parameterblock ab Zeile %1 ohne Ende (#DLLDATA_END)!").arg(index + 1);
      return false;
    }
    paramText_ = lines.mid(start, end - start).join(QStringLiteral("\r\n"));
    index = end + 1;
  }
  if (index < lines.size() && lines[index].startsWith(QLatin1String("BmpFile="))) {
    SetUserBitmap(lines[index].mid(8, 255));
    ++index;
  }
  if (!hasType) error = QStringLiteral("Blocktyp fehlt in Zeile %1:\r%2").arg(typeLine + 1).arg(line);
  return hasType;
}

void TGraphBlock::WriteGeometry(QStringList& lines) const {
  TBlock::WriteGeometry(lines);
  for (int i = 0; i < kSlots; ++i)
    if (inputs_[static_cast<size_t>(i)])
      lines << QStringLiteral("IN%1=%2").arg(i, 2, 10, QLatin1Char('0')).arg(inputs_[static_cast<size_t>(i)]->ToText());
}

bool TGraphBlock::WriteData(QStringList& lines) const {
  lines << QStringLiteral("TYPE=%1").arg(typeId_);
  if (!paramText_.isEmpty()) {
    lines << QStringLiteral("#DLLDATA_START");
    lines << paramText_.split(QStringLiteral("\r\n"));
    lines << QStringLiteral("#DLLDATA_END");
  }
  if (userBitmapOwned_) {
    const QString n = TFileSearch::Normalized(userBitmapFile_);
    lines << QStringLiteral("BmpFile=") + userBitmapFile_.mid(n.lastIndexOf(QLatin1Char('/')) + 1);
  }
  return true;
}

bool TGraphBlock::SyncToEngine(int phase) {
  bool ok = true;
  if (!engine_) return false;
  if (phase == 1) {
    ok = PlexorAddBlock(engine_, typeId_, id_) != 0;
    inEngine_ = ok;
  } else if (!inEngine_) {
    // A block the engine refused has been reported as such; its wires and
    // parameter cannot reach the engine either.
    ok = false;
  } else {
    for (int i = 0; i < kSlots; ++i) {
      const TInputLine* w = inputs_[static_cast<size_t>(i)].get();
      if (!w) continue;
      const int32_t r = PlexorConnectBlocks(engine_, w->source, id_, i);
      const int32_t slot = static_cast<int16_t>(static_cast<uint32_t>(r) >> 16);
      const int16_t kind = static_cast<int16_t>(r & 0xFFFF);
      if (slot != i || kind != static_cast<int16_t>(w->connectionKind)) {
        TUserInterface::Current().ErrorBox(QStringLiteral("Fehler bei PlexorConnectBlocks!"));
        ok = false;
      }
    }
    // A refused wire stays a failure when the parameter is taken.
    if (!paramText_.isEmpty()) ok = PlexorSetBlockParam(engine_, id_, enginetext::ToBytes(paramText_).c_str()) != 0 && ok;
  }
  ReadIndexDescription();
  return ok;
}

void TGraphBlock::RemoveFromEngine() {
  inEngine_ = false;
  if (!engine_) return;
  try {
    PlexorRemoveBlock(engine_, id_);
  } catch (...) {
    TUserInterface::Current().ErrorBox(QStringLiteral("Fehler beim Löschen des Blocks in der DLL!"));
  }
}

bool TGraphBlock::CanConnectFrom(const TBlock& source) const {
  return &source != this && engine_ && PlexorCanConnectBlocks(engine_, source.Id(), id_) != 0;
}

bool TGraphBlock::ChangeWire(int operation, int& slot, std::unique_ptr<TInputLine> wire) {
  bool ok = false;
  switch (operation) {
    case kConnect: {
      if (!wire || !engine_) break;
      const int32_t r = PlexorConnectBlocks(engine_, wire->source, id_, slot);
      const int32_t used = static_cast<int16_t>(static_cast<uint32_t>(r) >> 16);
      // A refused connection (-1) or a slot outside 0..15 stores nothing, so
      // the drawing never shows a wire that the engine does not have.
      if (r == -1 || used < 0 || used >= kSlots) break;
      if (slot < 0) {
        wire->menuLetter = -1;
        slot = used;
        ok = true;
      } else {
        wire->menuLetter = static_cast<int8_t>(slot);
        ok = used == slot;
      }
      if (!ok) {
        PlexorSplitBlockConnection(engine_, id_, used);
        break;
      }
      wire->connectionKind = static_cast<int8_t>(r & 0xFF);
      wire->Update();
      inputs_[static_cast<size_t>(slot)] = std::move(wire);
      ok = true;
      break;
    }
    case kSet:
      if (slot < 0 || slot >= kSlots || !wire) break;
      wire->Update();
      inputs_[static_cast<size_t>(slot)] = std::move(wire);
      ok = true;
      break;
    case kSplit:
      if (slot < 0 || slot >= kSlots || !inputs_[static_cast<size_t>(slot)]) break;
      if (engine_) PlexorSplitBlockConnection(engine_, id_, slot);
      inputs_[static_cast<size_t>(slot)].reset();
      ok = true;
      break;
    default:
      break;
  }
  Recount();
  return ok;
}

QString TGraphBlock::GetInputText(int slot) const {
  const TInputLine* w = GetInput(slot);
  return w ? w->ToText() : QString();
}
