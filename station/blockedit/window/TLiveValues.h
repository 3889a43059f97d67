// TLiveValues: the current values of the watchable blocks of a cell, shown
// as small labels above the blocks while a simulation runs or is halted.
//
// The window reads them at most ten times a second and only for the blocks
// in its visible area; a value is read through the block's map code, which
// is asked once per block and forgotten whenever the cell changes.
#pragma once

#include <QFont>
#include <QRegion>
#include <cstdint>
#include <map>

#include "TRect.h"

class QPainter;
class TBlockList;

class TLiveValues {
 public:
  TLiveValues();

  // Reads the values of the watchable blocks that intersect the visible
  // rectangle; answers the label area whose text changed.
  QRegion Refresh(const TBlockList& cell, const TRect& visible);
  // Forgets map codes and values (the cell changed, or values were switched off).
  QRegion Clear(const TBlockList* cell);
  void Paint(QPainter& painter, const TBlockList& cell, const TRect& clip) const;

  bool Empty() const { return values_.empty(); }
  // The shown value of a block, or false when it has none.
  bool ValueOf(int32_t blockId, int32_t& value) const;
  // Where the label of a block with that value lies.
  TRect LabelRect(const TRect& block, int32_t value) const;

 private:
  struct Entry {
    int32_t mapCode = 0;  // 0: not watchable
    int32_t value = 0;
    bool read = false;
  };
  QFont font_;
  int textHeight_ = 12;
  std::map<int32_t, Entry> values_;
};
