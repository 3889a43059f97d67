// Small projects for the comparison tests, described as values and written
// as project files, so that each case states only what it changes.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

#include "CellBodyText.h"

namespace small {

struct Wire {
  int slot;
  int32_t source;  // block number
  int kind = 1;
};

struct Block {
  int32_t number;
  int32_t type;  // 0: a comment
  int x;
  int y;
  QString param;
  std::vector<Wire> inputs;
};

struct Cell {
  int32_t id;
  QString name;
  std::vector<Block> blocks;
  Block* Find(int32_t number) {
    for (Block& b : blocks)
      if (b.number == number) return &b;
    return nullptr;
  }
  void Remove(int32_t number) {
    std::erase_if(blocks, [number](const Block& b) { return b.number == number; });
  }
};

struct Table {
  QString name;
  QStringList data;
};

struct Project {
  QStringList comment;
  std::vector<Table> tables;
  std::vector<Cell> cells;

  QStringList Lines() const {
    QStringList l = {"MARLIX Tarvix plus - project file", "Version=1.0", QString::number(tables.size() + 1), ""};
    if (!comment.isEmpty()) l << "#COMMENT_START" << comment << "#COMMENT_END" << "";
    for (const Table& t : tables) l << "#TABLE_START" << "Name=" + t.name << t.data << "#TABLE_END" << "";
    for (const Cell& c : cells) {
      l << "#CELL_START" << QStringLiteral("ID=%1").arg(c.id) << "NAME=" + c.name << "";
      const int32_t base = c.id << 16;
      for (const Block& b : c.blocks) {
        l << "#BLOCK_START" << (b.type ? "GraphBlock" : "TextBlock") << QStringLiteral("ID=%1").arg(base + b.number);
        if (!b.type) {
          l << QStringLiteral("%1,%2,%3,%4").arg(b.x).arg(b.y).arg(b.x + 80).arg(b.y + 14) << b.param
            << "Font=Arial,9,0,0,0,0,0" << "#BLOCK_END" << "";
          continue;
        }
        l << QStringLiteral("%1,%2,%3,%4").arg(b.x).arg(b.y).arg(b.x + 40).arg(b.y + 40);
        for (const Wire& w : b.inputs)
          l << QStringLiteral("IN%1=%2,%3:%4,%5,%6,%7")
                   .arg(w.slot, 2, 10, QLatin1Char('0'))
                   .arg(base + w.source)
                   .arg(w.kind)
                   .arg(b.x - 30)
                   .arg(b.y + 10)
                   .arg(b.x)
                   .arg(b.y + 10);
        l << QStringLiteral("TYPE=%1").arg(b.type);
        if (!b.param.isEmpty()) l << "#DLLDATA_START" << b.param << "#DLLDATA_END";
        l << "#BLOCK_END" << "";
      }
      l << "#CELL_END" << "";
    }
    return l;
  }

  bool Write(const QString& fileName) const {
    QFile f(fileName);
    return f.open(QIODevice::WriteOnly) && f.write(cellbody::BytesFromLines(Lines())) >= 0;
  }
};

// A counter cell beside a cell with one constant, a comment and a table.
inline Project Base() {
  Project p;
  p.comment = {"Zählt und gibt aus.", "Zweite Zeile."};
  p.tables = {{"Kennlinie", {"1 2 3", "4 5 6", "7 8 9"}}};
  Cell main{1, "Zählen", {}};
  main.blocks = {
      {1, 700, 20, 20, "1", {}},
      {2, 200, 120, 20, {}, {{0, 3}, {1, 1}}},
      {3, 602, 220, 20, "1", {{0, 2}}},
      {4, 702, 20, 100, "Stand: ", {}},
      {5, 900, 120, 100, "1", {{0, 4, 2}}},
      {6, 0, 20, 160, "Hinweis", {}},
  };
  Cell side{2, "Neben", {{1, 700, 20, 20, "5", {}}}};
  p.cells = {main, side};
  return p;
}

}  // namespace small
