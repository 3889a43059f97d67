// TProjectDiff: the differences between two versions of a project as plain
// values, grouped by comment, table and cell. Block and wire numbers are the
// block numbers within their cell; an old number refers to the old version.
#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "TRect.h"

enum class TChange : uint8_t { kAdded, kRemoved, kMoved, kChanged };

// One line of a line diff: kept (' '), only in the old text ('-') or only
// in the new one ('+'); the line numbers are 1-based, 0 where absent.
struct TLineChange {
  char op = ' ';
  int oldLine = 0;
  int newLine = 0;
  QString text;
};

struct TBlockDiff {
  TChange change = TChange::kChanged;
  int32_t oldNumber = 0;  // 0 for an added block
  int32_t newNumber = 0;  // 0 for a removed block
  int kind = 2;
  QString oldTypeName;
  QString newTypeName;
  QString oldContent;  // parameter or comment text
  QString newContent;
  QString oldStyle;
  QString newStyle;
  TRect oldBounds;
  TRect newBounds;
  bool typeChanged = false;
  bool moved = false;  // position changed (also for a changed block)
};

struct TWireDiff {
  TChange change = TChange::kAdded;  // kAdded or kRemoved
  // In the numbering of the version the wire belongs to (old for removed).
  int32_t target = 0;
  int32_t source = 0;
  int slot = 0;
  int connectionKind = 0;
  // The target in the new version (0 when it was removed) for grouping.
  int32_t newTarget = 0;
};

struct TCellDiff {
  TChange change = TChange::kChanged;  // kAdded, kRemoved or kChanged
  int32_t oldId = 0;
  int32_t newId = 0;
  QString oldName;
  QString newName;
  int blockCount = 0;  // of the added or removed cell
  std::vector<TBlockDiff> blocks;
  std::vector<TWireDiff> wires;

  bool Renamed() const { return change == TChange::kChanged && oldName != newName; }
};

struct TTableDiff {
  TChange change = TChange::kChanged;  // kAdded, kRemoved or kChanged
  int oldNumber = 0;
  int newNumber = 0;
  QString oldName;
  QString newName;
  QString oldSource;  // "intern" or the external file
  QString newSource;
  int lineCount = 0;  // of the added or removed table
  std::vector<TLineChange> lines;  // the changed lines of the data only
};

struct TProjectDiff {
  std::vector<TLineChange> comment;  // the changed lines only; empty when equal
  std::vector<TTableDiff> tables;
  std::vector<TCellDiff> cells;  // only cells with a difference

  bool Empty() const { return comment.empty() && tables.empty() && cells.empty(); }
};
