// TChangeRecord: what a block notification tells the views: the cell, the
// block (0 when several blocks are concerned) and the areas to repaint.
#pragma once

#include <cstdint>

#include "TRect.h"

struct TChangeRecord {
  int32_t cellId = 0;
  int32_t blockId = 0;
  uint8_t flag = 1;  // the editor's change code for an edited block, else 1
  TRect oldArea;
  TRect newArea;
};
