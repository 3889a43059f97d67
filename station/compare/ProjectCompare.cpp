#include "ProjectCompare.h"

#include <QHash>
#include <cstdlib>
#include <limits>
#include <unordered_map>

#include "LineDiff.h"

namespace {

QString TypeKey(const TBlockSnapshot& b) { return QStringLiteral("%1/%2").arg(b.kind).arg(b.typeId); }

// A wire on a slot of a paired block, its source given in the new numbering
// (-1 for a source without a partner).
struct SlotWire {
  int32_t source = -1;
  int connectionKind = 0;
  bool present = false;
  bool operator==(const SlotWire&) const = default;
};

QString TableSource(const TTableSnapshot& t) {
  return t.internal ? QStringLiteral("intern") : QStringLiteral("extern: %1").arg(t.externalFile);
}

}  // namespace

std::vector<int> PairBlocks(const TCellSnapshot& oldCell, const TCellSnapshot& newCell) {
  const auto& olds = oldCell.blocks;
  const auto& news = newCell.blocks;
  std::vector<int> pair(olds.size(), -1);
  std::vector<bool> taken(news.size(), false);
  std::unordered_map<int32_t, int> newByNumber;
  for (size_t j = 0; j < news.size(); ++j) newByNumber.emplace(news[j].number, static_cast<int>(j));
  auto link = [&](size_t i, int j) {
    pair[i] = j;
    taken[static_cast<size_t>(j)] = true;
  };
  auto sameNumber = [&](size_t i) -> int {
    const auto it = newByNumber.find(olds[i].number);
    return it == newByNumber.end() || taken[static_cast<size_t>(it->second)] ? -1 : it->second;
  };

  // 1: same id and type, and the block kept its place or its content.
  for (size_t i = 0; i < olds.size(); ++i) {
    const int j = sameNumber(i);
    if (j < 0) continue;
    const TBlockSnapshot& n = news[static_cast<size_t>(j)];
    if (olds[i].SameType(n) && (olds[i].SamePlace(n) || olds[i].SameContent(n))) link(i, j);
  }
  // 2: renumbered: same type and place.
  QMultiHash<QString, int> byPlace;
  for (size_t j = news.size(); j-- > 0;)
    if (!taken[j])
      byPlace.insert(QStringLiteral("%1@%2,%3").arg(TypeKey(news[j])).arg(news[j].bounds.left).arg(news[j].bounds.top),
                     static_cast<int>(j));
  for (size_t i = 0; i < olds.size(); ++i) {
    if (pair[i] >= 0) continue;
    const QString key = QStringLiteral("%1@%2,%3").arg(TypeKey(olds[i])).arg(olds[i].bounds.left).arg(olds[i].bounds.top);
    for (auto it = byPlace.find(key); it != byPlace.end() && it.key() == key; ++it)
      if (!taken[static_cast<size_t>(it.value())]) {
        link(i, it.value());
        break;
      }
  }
  // 3: renumbered and moved: same type and content, the nearest.
  QMultiHash<QString, int> byContent;
  for (size_t j = 0; j < news.size(); ++j)
    if (!taken[j]) byContent.insert(TypeKey(news[j]) + QLatin1Char('\n') + news[j].content + QLatin1Char('\n') + news[j].style, static_cast<int>(j));
  for (size_t i = 0; i < olds.size(); ++i) {
    if (pair[i] >= 0) continue;
    const QString key = TypeKey(olds[i]) + QLatin1Char('\n') + olds[i].content + QLatin1Char('\n') + olds[i].style;
    int best = -1;
    int64_t bestDistance = std::numeric_limits<int64_t>::max();
    for (auto it = byContent.find(key); it != byContent.end() && it.key() == key; ++it) {
      const int j = it.value();
      if (taken[static_cast<size_t>(j)]) continue;
      const TRect& a = olds[i].bounds;
      const TRect& b = news[static_cast<size_t>(j)].bounds;
      const int64_t d = std::llabs(int64_t{a.left} - b.left) + std::llabs(int64_t{a.top} - b.top);
      if (d < bestDistance || (d == bestDistance && j < best)) {
        best = j;
        bestDistance = d;
      }
    }
    if (best >= 0) link(i, best);
  }
  // 4: same id and type: edited and moved. 5: same id and place: the type
  // changed where the block stands.
  for (size_t i = 0; i < olds.size(); ++i) {
    if (pair[i] >= 0) continue;
    const int j = sameNumber(i);
    if (j >= 0 && olds[i].SameType(news[static_cast<size_t>(j)])) link(i, j);
  }
  for (size_t i = 0; i < olds.size(); ++i) {
    if (pair[i] >= 0) continue;
    const int j = sameNumber(i);
    if (j >= 0 && olds[i].kind == news[static_cast<size_t>(j)].kind && olds[i].SamePlace(news[static_cast<size_t>(j)])) link(i, j);
  }
  return pair;
}

void CompareCells(const TCellSnapshot& oldCell, const TCellSnapshot& newCell, TCellDiff& diff) {
  const auto& olds = oldCell.blocks;
  const auto& news = newCell.blocks;
  const std::vector<int> pair = PairBlocks(oldCell, newCell);
  std::vector<int> back(news.size(), -1);
  std::unordered_map<int32_t, int32_t> oldToNewNumber;
  for (size_t i = 0; i < olds.size(); ++i)
    if (pair[i] >= 0) {
      back[static_cast<size_t>(pair[i])] = static_cast<int>(i);
      oldToNewNumber.emplace(olds[i].number, news[static_cast<size_t>(pair[i])].number);
    }

  auto blockDiff = [](TChange change, const TBlockSnapshot* o, const TBlockSnapshot* n) {
    TBlockDiff d;
    d.change = change;
    if (o) {
      d.oldNumber = o->number;
      d.kind = o->kind;
      d.oldTypeName = o->typeName;
      d.oldContent = o->content;
      d.oldStyle = o->style;
      d.oldBounds = o->bounds;
    }
    if (n) {
      d.newNumber = n->number;
      d.kind = n->kind;
      d.newTypeName = n->typeName;
      d.newContent = n->content;
      d.newStyle = n->style;
      d.newBounds = n->bounds;
    }
    return d;
  };

  // In the new cell's order, removed blocks after.
  for (size_t j = 0; j < news.size(); ++j) {
    const TBlockSnapshot& n = news[j];
    if (back[j] < 0) {
      diff.blocks.push_back(blockDiff(TChange::kAdded, nullptr, &n));
      for (const TWireSnapshot& w : n.inputs) diff.wires.push_back({TChange::kAdded, n.number, w.source, w.slot, w.connectionKind, n.number});
      continue;
    }
    const TBlockSnapshot& o = olds[static_cast<size_t>(back[j])];
    const bool typeChanged = !o.SameType(n);
    const bool contentChanged = typeChanged || !o.SameContent(n);
    const bool moved = !o.SamePlace(n);
    if (contentChanged || moved) {
      TBlockDiff d = blockDiff(contentChanged ? TChange::kChanged : TChange::kMoved, &o, &n);
      d.typeChanged = typeChanged;
      d.moved = moved;
      diff.blocks.push_back(std::move(d));
    }
    // Wires of the pair, slot by slot.
    std::vector<SlotWire> before(16), after(16);
    for (const TWireSnapshot& w : o.inputs) {
      if (w.slot < 0 || w.slot >= 16) continue;
      const auto it = oldToNewNumber.find(w.source);
      before[static_cast<size_t>(w.slot)] = {it == oldToNewNumber.end() ? -1 : it->second, w.connectionKind, true};
    }
    for (const TWireSnapshot& w : n.inputs)
      if (w.slot >= 0 && w.slot < 16) after[static_cast<size_t>(w.slot)] = {w.source, w.connectionKind, true};
    for (int slot = 0; slot < 16; ++slot) {
      const SlotWire& b = before[static_cast<size_t>(slot)];
      const SlotWire& a = after[static_cast<size_t>(slot)];
      if (b == a) continue;
      if (b.present)
        for (const TWireSnapshot& w : o.inputs)
          if (w.slot == slot) diff.wires.push_back({TChange::kRemoved, o.number, w.source, slot, w.connectionKind, n.number});
      if (a.present) diff.wires.push_back({TChange::kAdded, n.number, a.source, slot, a.connectionKind, n.number});
    }
  }
  for (size_t i = 0; i < olds.size(); ++i) {
    if (pair[i] >= 0) continue;
    diff.blocks.push_back(blockDiff(TChange::kRemoved, &olds[i], nullptr));
    for (const TWireSnapshot& w : olds[i].inputs) diff.wires.push_back({TChange::kRemoved, olds[i].number, w.source, w.slot, w.connectionKind, 0});
  }
}

TProjectDiff CompareProjects(const TProjectSnapshot& oldProject, const TProjectSnapshot& newProject) {
  TProjectDiff result;
  for (const TLineChange& line : DiffLines(oldProject.comment, newProject.comment))
    if (line.op != ' ') result.comment.push_back(line);

  // Tables by name, then by number.
  const auto& oldTables = oldProject.tables;
  const auto& newTables = newProject.tables;
  std::vector<int> tablePair(newTables.size(), -1);
  std::vector<bool> oldTableTaken(oldTables.size(), false);
  for (size_t j = 0; j < newTables.size(); ++j)
    for (size_t i = 0; i < oldTables.size(); ++i)
      if (!oldTableTaken[i] && oldTables[i].name == newTables[j].name) {
        tablePair[j] = static_cast<int>(i);
        oldTableTaken[i] = true;
        break;
      }
  for (size_t j = 0; j < newTables.size(); ++j)
    for (size_t i = 0; i < oldTables.size() && tablePair[j] < 0; ++i)
      if (!oldTableTaken[i] && oldTables[i].number == newTables[j].number) {
        tablePair[j] = static_cast<int>(i);
        oldTableTaken[i] = true;
      }
  for (size_t j = 0; j < newTables.size(); ++j) {
    const TTableSnapshot& n = newTables[j];
    TTableDiff d;
    d.newNumber = n.number;
    d.newName = n.name;
    d.newSource = TableSource(n);
    if (tablePair[j] < 0) {
      d.change = TChange::kAdded;
      d.lineCount = static_cast<int>(n.data.size());
      result.tables.push_back(std::move(d));
      continue;
    }
    const TTableSnapshot& o = oldTables[static_cast<size_t>(tablePair[j])];
    d.oldNumber = o.number;
    d.oldName = o.name;
    d.oldSource = TableSource(o);
    for (const TLineChange& line : DiffLines(o.data, n.data))
      if (line.op != ' ') d.lines.push_back(line);
    if (d.oldName != d.newName || d.oldSource != d.newSource || !d.lines.empty()) result.tables.push_back(std::move(d));
  }
  for (size_t i = 0; i < oldTables.size(); ++i) {
    if (oldTableTaken[i]) continue;
    TTableDiff d;
    d.change = TChange::kRemoved;
    d.oldNumber = oldTables[i].number;
    d.oldName = oldTables[i].name;
    d.oldSource = TableSource(oldTables[i]);
    d.lineCount = static_cast<int>(oldTables[i].data.size());
    result.tables.push_back(std::move(d));
  }

  // Cells by id, then by name.
  const auto& oldCells = oldProject.cells;
  const auto& newCells = newProject.cells;
  std::unordered_map<int32_t, size_t> oldById;
  QHash<QString, size_t> oldByName;
  for (size_t i = oldCells.size(); i-- > 0;) {
    oldById[oldCells[i].id] = i;
    oldByName.insert(oldCells[i].name, i);
  }
  std::vector<int> cellPair(newCells.size(), -1);
  std::vector<bool> oldCellTaken(oldCells.size(), false);
  for (size_t j = 0; j < newCells.size(); ++j) {
    const auto it = oldById.find(newCells[j].id);
    if (it != oldById.end() && !oldCellTaken[it->second]) {
      cellPair[j] = static_cast<int>(it->second);
      oldCellTaken[it->second] = true;
    }
  }
  for (size_t j = 0; j < newCells.size(); ++j) {
    if (cellPair[j] >= 0) continue;
    const auto it = oldByName.constFind(newCells[j].name);
    if (it != oldByName.cend() && !oldCellTaken[it.value()]) {
      cellPair[j] = static_cast<int>(it.value());
      oldCellTaken[it.value()] = true;
    }
  }
  for (size_t j = 0; j < newCells.size(); ++j) {
    const TCellSnapshot& n = newCells[j];
    TCellDiff d;
    d.newId = n.id;
    d.newName = n.name;
    if (cellPair[j] < 0) {
      d.change = TChange::kAdded;
      d.blockCount = static_cast<int>(n.blocks.size());
      result.cells.push_back(std::move(d));
      continue;
    }
    const TCellSnapshot& o = oldCells[static_cast<size_t>(cellPair[j])];
    d.oldId = o.id;
    d.oldName = o.name;
    CompareCells(o, n, d);
    if (d.Renamed() || !d.blocks.empty() || !d.wires.empty()) result.cells.push_back(std::move(d));
  }
  for (size_t i = 0; i < oldCells.size(); ++i) {
    if (oldCellTaken[i]) continue;
    TCellDiff d;
    d.change = TChange::kRemoved;
    d.oldId = oldCells[i].id;
    d.oldName = oldCells[i].name;
    d.blockCount = static_cast<int>(oldCells[i].blocks.size());
    result.cells.push_back(std::move(d));
  }
  return result;
}
