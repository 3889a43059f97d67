// The block factory: block type id -> block class.
#pragma once

#include <cstdint>
#include <vector>

class CBlock;

// A new block of the type, or nullptr for an id the factory does not know.
CBlock* CreateBlock(int32_t typeId, int32_t blockId);

// Every type id the factory accepts, ascending.
const std::vector<int32_t>& KnownBlockTypes();
