// Reading and writing simulated variables by map code, for the station's
// watch list and panels.
//
// A map code is width << 24 | area << 16 | index: width 1 word, 2 byte,
// 3 bit; area 1 user cells, 2 digital ports, 3 analog inputs, 4 analog
// outputs, 5 system registers. Codes outside that table read 0 and are
// refused by the setter.
#pragma once

#include <cstdint>

#include "UnitModel.h"

namespace valueaccess {

int32_t Get(const CUnitModel& unit, int32_t mapCode);
// Returns false (nothing stored) for a value that does not fit the width or
// a code outside the table.
bool Set(CUnitModel& unit, int32_t mapCode, int32_t value);

}  // namespace valueaccess
