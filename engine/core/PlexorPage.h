// CPlexorPage: one program cell of the station, with its blocks in the order
// they were added (the order in which the compiler visits them).
#pragma once

#include <string>

#include "Block.h"
#include "XXCollection.h"

class CPlexorPage {
 public:
  bool hasName = false;     // a page without a name defines no label
  std::string name;
  XXCollection<CBlock> blocks;
};
