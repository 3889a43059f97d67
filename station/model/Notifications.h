// The notification codes a project sends to its views.
#pragma once

#include <cstdint>

namespace notify {
enum : int32_t {
  kCellInserted = 2000,
  kCellMoved = 2001,
  kCellDeleted = 2002,
  kCellRenamed = 2003,
  kBlocksInserted = 2015,
  kBlocksMoved = 2016,
  kBlocksDeleted = 2017,
  kBlockEdited = 2018,
  kWireChanged = 2031,
  kErrorMark = 2050,
  kCheckResults = 2055,  // the program checks ran; their findings are new
  kGridChanged = 2100,
  kBlockIndicesChanged = 2101,
  kBreakpointSet = 2200,
  kBreakpointRemoved = 2201,
  kBreakpointsCleared = 2202,
  kCurrentCell = 2205,
  kSimulationReset = 2210,
  kWatchAdded = 2215,
  kWatchPresent = 2216,
  kWatchesRefreshed = 2217,
  kWatchRemoved = 2218,
  kDataFileChanged = 2220,
  kTerminalLine = 2225,
  kTableInserted = 2500,
  kTableRenamed = 2501,
  kTableDeleted = 2502,
};
}  // namespace notify
