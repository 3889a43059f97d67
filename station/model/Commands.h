// The command tags of the station. Every menu item, tool button and palette
// button carries one of these numbers; the frame routes it to whoever
// executes it, and the model's run control takes the simulator ones.
#pragma once

#include <cstdint>

namespace cmd {
enum TCommand : int32_t {
  kNone = 0,
  kSubmenu = 1,  // menu items that only open a submenu

  // File.
  kSave = 100,
  kSaveAs = 101,
  kPrint = 102,

  // Edit.
  kUndo = 150,
  kRedo = 151,
  kCut = 152,
  kCopy = 153,
  kPaste = 154,
  kClear = 155,
  kClearContents = 160,

  // Development.
  kCompile = 250,
  kDownload = 251,

  // Simulator.
  kToggleBreakpoint = 300,
  kRunToCell = 301,
  kRun = 303,
  kSingleStep = 304,
  kReset = 305,
  kClearBreakpoints = 306,
  kStop = 307,

  // Cell editor popup menus.
  kAddWatch = 500,
  kEditWatchValue = 501,  // watch window: "Wert verändern..."

  // Cell editor view: current values during a simulation, zoom.
  kLiveValues = 510,
  kZoomIn = 511,
  kZoomOut = 512,

  // Project tree and insertion.
  kOpen = 600,
  kInsertCell = 601,
  kInsertTable = 602,
  kInsertTableRef = 603,

  // Cell editor popup menus: the right-clicked block or wire.
  kBlockProperties = 620,
  kBlockBitmap = 621,
  kBlockHelp = 622,
  kSplitConnection = 630,
  kDeleteBend = 631,
  // Cell editor: selects the blocks whose full ids the sender's "blockIds"
  // property lists (the compare window's changed blocks).
  kSelectBlocks = 640,

  // Alignment (left, top, right, bottom edges).
  kAlignLeft = 700,
  kAlignTop = 701,
  kAlignRight = 702,
  kAlignBottom = 703,

  // Palette: 20000 + block type inserts a block of that type; 29999 a comment.
  kInsertBlockBase = 20000,
  kInsertTextBlock = 29999,
};

constexpr bool IsInsertBlock(int32_t command) { return command > kInsertBlockBase && command < kInsertTextBlock; }
constexpr int32_t BlockTypeOf(int32_t command) { return command - kInsertBlockBase; }
}  // namespace cmd
