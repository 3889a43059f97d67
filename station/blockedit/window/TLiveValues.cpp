#include "TLiveValues.h"

#include <QFontMetrics>
#include <QPainter>

#include "TBlockList.h"
#include "TFontMapper.h"
#include "TGraphBlock.h"
#include "plexor.h"

TLiveValues::TLiveValues() : font_(TFontMapper::Make(QStringLiteral("MS Sans Serif"), 7)) {
  textHeight_ = QFontMetrics(font_).height();
}

TRect TLiveValues::LabelRect(const TRect& block, int32_t value) const {
  const int w = QFontMetrics(font_).horizontalAdvance(QString::number(value)) + 4;
  return {block.left, block.top - textHeight_, block.left + w, block.top};
}

QRegion TLiveValues::Refresh(const TBlockList& cell, const TRect& visible) {
  QRegion changed;
  PlexorHandle engine = cell.Engine();
  if (!engine) return changed;
  for (int i = 0; i < cell.Count(); ++i) {
    const TBlock* b = cell.Items(i);
    if (b->GetKind() != 2) continue;
    const TRect area{b->Bounds().left, b->Bounds().top - textHeight_, b->Bounds().right + 40, b->Bounds().bottom};
    if (!area.Intersects(visible)) continue;
    auto [it, fresh] = values_.try_emplace(b->Id());
    Entry& e = it->second;
    if (fresh) e.mapCode = b->IsWatchable() ? PlexorGetMapCode(engine, b->Id()) : 0;
    if (e.mapCode <= 0) continue;
    const int32_t v = PlexorGetValue(engine, e.mapCode);
    if (e.read && v == e.value) continue;
    if (e.read) changed += LabelRect(b->Bounds(), e.value).ToQRect();
    e.value = v;
    e.read = true;
    changed += LabelRect(b->Bounds(), v).ToQRect();
  }
  return changed;
}

QRegion TLiveValues::Clear(const TBlockList* cell) {
  QRegion shown;
  if (cell) {
    for (const auto& [id, e] : values_) {
      if (!e.read) continue;
      if (const TBlock* b = cell->FindBlock(id); b && b->Id() == id) shown += LabelRect(b->Bounds(), e.value).ToQRect();
    }
  }
  values_.clear();
  return shown;
}

bool TLiveValues::ValueOf(int32_t blockId, int32_t& value) const {
  auto it = values_.find(blockId);
  if (it == values_.end() || !it->second.read) return false;
  value = it->second.value;
  return true;
}

void TLiveValues::Paint(QPainter& painter, const TBlockList& cell, const TRect& clip) const {
  if (values_.empty()) return;
  painter.save();
  painter.setFont(font_);
  for (int i = 0; i < cell.Count(); ++i) {
    const TBlock* b = cell.Items(i);
    auto it = values_.find(b->Id());
    if (it == values_.end() || !it->second.read) continue;
    const TRect r = LabelRect(b->Bounds(), it->second.value);
    if (!r.Intersects(clip)) continue;
    // Dark label, light text: readable on any block picture and grid colour.
    painter.fillRect(r.ToQRect(), QColor(0x20, 0x40, 0x80));
    painter.setPen(Qt::white);
    painter.drawText(r.ToQRect(), Qt::AlignCenter, QString::number(it->second.value));
  }
  painter.restore();
}
