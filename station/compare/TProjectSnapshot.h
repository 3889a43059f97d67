// TProjectSnapshot: what a loaded project says as plain values (comment,
// tables, cells with their blocks and wires), so two versions can be
// compared and written out without keeping their models alive.
#pragma once

#include <QPoint>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "TRect.h"

class TTarvixPlusModel;

struct TWireSnapshot {
  int slot = 0;            // input slot of the target, 0-based
  int32_t source = 0;      // block number (low word) of the source
  int connectionKind = 0;  // as the cell body carries it
  std::vector<QPoint> points;
};

struct TBlockSnapshot {
  static constexpr int kComment = 1;
  static constexpr int kFunctional = 2;

  int32_t number = 0;  // block number within its cell (low word of the id)
  int kind = kFunctional;
  int32_t typeId = 0;  // 0 for comments
  QString typeName;
  QString content;  // parameter text, or the comment's text
  QString style;    // the comment's font line; empty for functional blocks
  TRect bounds;
  std::vector<TWireSnapshot> inputs;  // by ascending slot

  bool SameType(const TBlockSnapshot& o) const { return kind == o.kind && typeId == o.typeId; }
  bool SameContent(const TBlockSnapshot& o) const { return content == o.content && style == o.style; }
  bool SamePlace(const TBlockSnapshot& o) const { return bounds.left == o.bounds.left && bounds.top == o.bounds.top; }
};

struct TCellSnapshot {
  int32_t id = 0;
  QString name;
  std::vector<TBlockSnapshot> blocks;  // in paint order, as the file keeps them
};

struct TTableSnapshot {
  int number = 0;
  QString name;
  bool internal = true;
  QString externalFile;
  QStringList data;  // internal tables only
};

struct TProjectSnapshot {
  QStringList comment;
  std::vector<TTableSnapshot> tables;
  std::vector<TCellSnapshot> cells;

  static TProjectSnapshot Of(const TTarvixPlusModel& model);
};

// The catalogue's name of a block type, or "Typ N" for one it does not list.
QString BlockTypeName(int32_t typeId);
