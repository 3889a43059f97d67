// TCommandTable: every menu and menu item, tool bar and tool button of the
// main window, once, in the order they appear. TCommandBars builds the menu
// bar and the tool bars by walking it; the frame routes what they trigger.
//
// An entry with a command tag goes to DoChildCommand (and is enabled by
// IsCommandEnabled); one without a tag names a frame action, which the frame
// carries out itself.
#pragma once

#include <QKeyCombination>
#include <cstdint>
#include <span>

#include "TWindowClass.h"

// What an item without a command tag does.
enum class TFrameAction : uint8_t {
  None,
  NewProject,
  OpenProject,
  CompareWith,
  PrintSetup,
  Exit,
  ToggleToolBars,
  ToggleStatusBar,
  FocusProject,
  ShowWindow,  // the window class of the entry
  NewCellEditor,
  CheckProgram,
  RealTime,
  VirtualTime,
  OptionsEnvironment,
  OptionsColors,
  Cascade,
  TileHorizontally,
  TileVertically,
  CloseAll,
  HelpContents,
  TipOfDay,
  About,
};

// The picture of a tool button (CommandPictures.h paints them).
enum class TPicture : uint8_t {
  None,
  Open,
  Save,
  Cut,
  Copy,
  Paste,
  Clear,
  Undo,
  Redo,
  Compile,
  Download,
  Run,
  SingleStep,
  RunToCell,
  Breakpoint,
  ClearBreakpoints,
  Stop,
  Reset,
  RealTime,
  VirtualTime,
  NewCell,
  Comment,
  AlignLeft,
  AlignTop,
  AlignRight,
  AlignBottom,
};

struct TCommand {
  enum class Kind : uint8_t {
    Menu,          // a menu of the menu bar; the items up to the next one are its own
    Item,          // a menu item
    Separator,     // in a menu or a tool bar
    RecentFiles,   // the most-recently-used files between two separators
    BlockGroups,   // a submenu per block group of the catalogue
    ToolBar,       // a tool bar; the buttons up to the next one are its own
    ToolBarBreak,  // the tool bars after it start a new row
    Button,        // a tool button
    Palette,       // the program's block palette, and this button when the palette has none of its name
  };
  enum class Check : uint8_t { None, Unchecked, Checked };

  Kind kind = Kind::Separator;
  const char* name = "";     // the object name (tests and the settings find items by it)
  const char* caption = "";  // UTF-8; of a button: its hint, also its accessible name
  int key = 0;               // QKeyCombination::toCombined(); 0: none
  int32_t tag = 0;           // the command; 0: the action
  TFrameAction action = TFrameAction::None;
  TWindowClass window = TWindowClass::ProgramCell;  // for TFrameAction::ShowWindow
  TPicture picture = TPicture::None;
  Check check = Check::None;
};

std::span<const TCommand> CommandTable();
