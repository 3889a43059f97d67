#include "DiffReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

QString QuoteText(const QString& text) {
  QString out = QStringLiteral("\"");
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text[i];
    if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) continue;
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) out += QStringLiteral("\\n");
    else if (c == QLatin1Char('"') || c == QLatin1Char('\\')) out += QLatin1Char('\\') + c;
    else if (c.unicode() < 0x20) out += QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QLatin1Char('0'));
    else out += c;
  }
  return out + QLatin1Char('"');
}

namespace {

QString BlockName(int32_t number, const QString& typeName) { return QStringLiteral("Block %1 %2").arg(number).arg(typeName); }

QString Place(const TRect& r) { return QStringLiteral("(%1,%2)").arg(r.left).arg(r.top); }

// Parameter (a block without one has none to show) and place.
QString Described(int kind, const QString& content, const TRect& bounds) {
  if (content.isEmpty() && kind != 1) return Place(bounds);
  return QuoteText(content) + QLatin1Char(' ') + Place(bounds);
}

QString Count(int n, const char* one, const char* many) {
  return QStringLiteral("%1 %2").arg(n).arg(QString::fromUtf8(n == 1 ? one : many));
}

void AppendLines(QString& out, const std::vector<TLineChange>& lines, const QString& indent) {
  for (const TLineChange& l : lines)
    out += QStringLiteral("%1%2 Zeile %3: %4\n")
               .arg(indent)
               .arg(QLatin1Char(l.op))
               .arg(l.op == '-' ? l.oldLine : l.newLine)
               .arg(l.text);
}

QString CellTitle(int32_t id, const QString& name) { return QStringLiteral("Zelle %1 %2").arg(id).arg(QuoteText(name)); }

}  // namespace

QString BlockDiffText(const TBlockDiff& b) {
  switch (b.change) {
    case TChange::kAdded:
      return QStringLiteral("%1 hinzugefügt: %2").arg(BlockName(b.newNumber, b.newTypeName), Described(b.kind, b.newContent, b.newBounds));
    case TChange::kRemoved:
      return QStringLiteral("%1 entfernt: %2").arg(BlockName(b.oldNumber, b.oldTypeName), Described(b.kind, b.oldContent, b.oldBounds));
    case TChange::kMoved:
      return QStringLiteral("%1 verschoben: %2 → %3").arg(BlockName(b.newNumber, b.newTypeName), Place(b.oldBounds), Place(b.newBounds));
    case TChange::kChanged:
      break;
  }
  QString line = QStringLiteral("%1 geändert:").arg(BlockName(b.newNumber, b.newTypeName));
  QStringList parts;
  if (b.typeChanged) parts << QStringLiteral("Typ %1 → %2").arg(b.oldTypeName, b.newTypeName);
  if (b.oldContent != b.newContent) parts << QStringLiteral("%1 → %2").arg(QuoteText(b.oldContent), QuoteText(b.newContent));
  if (b.oldStyle != b.newStyle) parts << QStringLiteral("Schrift %1 → %2").arg(b.oldStyle, b.newStyle);
  if (b.moved) parts << QStringLiteral("verschoben %1 → %2").arg(Place(b.oldBounds), Place(b.newBounds));
  return line + QLatin1Char(' ') + parts.join(QStringLiteral(", "));
}

QString WireDiffText(const TWireDiff& w) {
  return QStringLiteral("Verbindung %1: Block %2 → Block %3, Eingang %4")
      .arg(w.change == TChange::kAdded ? QStringLiteral("hinzugefügt") : QStringLiteral("entfernt"))
      .arg(w.source)
      .arg(w.target)
      .arg(w.slot + 1);
}

namespace {

QString ChangeName(TChange c) {
  switch (c) {
    case TChange::kAdded: return QStringLiteral("added");
    case TChange::kRemoved: return QStringLiteral("removed");
    case TChange::kMoved: return QStringLiteral("moved");
    case TChange::kChanged: return QStringLiteral("changed");
  }
  return {};
}

QJsonArray JsonRect(const TRect& r) { return {r.left, r.top, r.right, r.bottom}; }

QJsonArray JsonLines(const std::vector<TLineChange>& lines) {
  QJsonArray a;
  for (const TLineChange& l : lines)
    a.append(QJsonObject{{QStringLiteral("op"), QString(QLatin1Char(l.op))},
                         {QStringLiteral("line"), l.op == '-' ? l.oldLine : l.newLine},
                         {QStringLiteral("text"), l.text}});
  return a;
}

}  // namespace

QString CommentDiffText(const std::vector<TLineChange>& lines) {
  if (lines.empty()) return {};
  QString out = QStringLiteral("Kommentar geändert:\n");
  AppendLines(out, lines, QStringLiteral("  "));
  return out;
}

QString TableDiffText(const TTableDiff& t) {
  if (t.change == TChange::kAdded)
    return QStringLiteral("Tabelle %1 %2 hinzugefügt (%3, %4)\n")
        .arg(t.newNumber)
        .arg(QuoteText(t.newName), t.newSource, Count(t.lineCount, "Zeile", "Zeilen"));
  if (t.change == TChange::kRemoved)
    return QStringLiteral("Tabelle %1 %2 entfernt (%3, %4)\n")
        .arg(t.oldNumber)
        .arg(QuoteText(t.oldName), t.oldSource, Count(t.lineCount, "Zeile", "Zeilen"));
  QString out = QStringLiteral("Tabelle %1 %2 geändert:\n").arg(t.newNumber).arg(QuoteText(t.newName));
  if (t.oldName != t.newName) out += QStringLiteral("  umbenannt, vorher %1\n").arg(QuoteText(t.oldName));
  if (t.oldSource != t.newSource) out += QStringLiteral("  %1 → %2\n").arg(t.oldSource, t.newSource);
  AppendLines(out, t.lines, QStringLiteral("  "));
  return out;
}

QString CellDiffText(const TCellDiff& c) {
  if (c.change == TChange::kAdded)
    return QStringLiteral("%1 hinzugefügt (%2)\n").arg(CellTitle(c.newId, c.newName), Count(c.blockCount, "Block", "Blöcke"));
  if (c.change == TChange::kRemoved)
    return QStringLiteral("%1 entfernt (%2)\n").arg(CellTitle(c.oldId, c.oldName), Count(c.blockCount, "Block", "Blöcke"));
  QString out = CellTitle(c.newId, c.newName);
  if (c.oldId != c.newId) out += QStringLiteral(" (vorher Zelle %1)").arg(c.oldId);
  out += QStringLiteral(":\n");
  if (c.Renamed()) out += QStringLiteral("  umbenannt, vorher %1\n").arg(QuoteText(c.oldName));
  for (const TBlockDiff& b : c.blocks) out += QStringLiteral("  ") + BlockDiffText(b) + QLatin1Char('\n');
  for (const TWireDiff& w : c.wires) out += QStringLiteral("  ") + WireDiffText(w) + QLatin1Char('\n');
  return out;
}

QString DiffReportText(const TProjectDiff& diff) {
  if (diff.Empty()) return QStringLiteral("Keine Unterschiede.\n");
  QString out = CommentDiffText(diff.comment);
  for (const TTableDiff& t : diff.tables) out += TableDiffText(t);
  for (const TCellDiff& c : diff.cells) out += CellDiffText(c);
  return out;
}

QString DiffStatLine(const TProjectDiff& diff) {
  if (diff.Empty()) return QStringLiteral("Keine Unterschiede.");
  int cellsAdded = 0, cellsRemoved = 0, cellsChanged = 0;
  int blocks[4] = {0, 0, 0, 0};
  int wiresAdded = 0, wiresRemoved = 0;
  for (const TCellDiff& c : diff.cells) {
    if (c.change == TChange::kAdded) ++cellsAdded;
    else if (c.change == TChange::kRemoved) ++cellsRemoved;
    else ++cellsChanged;
    for (const TBlockDiff& b : c.blocks) ++blocks[static_cast<int>(b.change)];
    for (const TWireDiff& w : c.wires) ++(w.change == TChange::kAdded ? wiresAdded : wiresRemoved);
  }
  int tables[4] = {0, 0, 0, 0};
  for (const TTableDiff& t : diff.tables) ++tables[static_cast<int>(t.change)];
  QStringList parts;
  parts << QStringLiteral("Zellen: %1 geändert, %2 hinzugefügt, %3 entfernt").arg(cellsChanged).arg(cellsAdded).arg(cellsRemoved);
  parts << QStringLiteral("Blöcke: %1 hinzugefügt, %2 entfernt, %3 verschoben, %4 geändert")
               .arg(blocks[0])
               .arg(blocks[1])
               .arg(blocks[2])
               .arg(blocks[3]);
  parts << QStringLiteral("Verbindungen: %1 hinzugefügt, %2 entfernt").arg(wiresAdded).arg(wiresRemoved);
  parts << QStringLiteral("Tabellen: %1 hinzugefügt, %2 entfernt, %3 geändert").arg(tables[0]).arg(tables[1]).arg(tables[3]);
  parts << (diff.comment.empty() ? QStringLiteral("Kommentar gleich") : QStringLiteral("Kommentar geändert"));
  return parts.join(QStringLiteral("; "));
}

QByteArray DiffJson(const TProjectDiff& diff) {
  QJsonObject root;
  root[QStringLiteral("equal")] = diff.Empty();
  root[QStringLiteral("comment")] = JsonLines(diff.comment);
  QJsonArray tables;
  for (const TTableDiff& t : diff.tables) {
    QJsonObject o{{QStringLiteral("change"), ChangeName(t.change)}};
    if (t.change != TChange::kAdded) {
      o[QStringLiteral("oldNumber")] = t.oldNumber;
      o[QStringLiteral("oldName")] = t.oldName;
      o[QStringLiteral("oldSource")] = t.oldSource;
    }
    if (t.change != TChange::kRemoved) {
      o[QStringLiteral("newNumber")] = t.newNumber;
      o[QStringLiteral("newName")] = t.newName;
      o[QStringLiteral("newSource")] = t.newSource;
    }
    if (t.change == TChange::kChanged) o[QStringLiteral("lines")] = JsonLines(t.lines);
    else o[QStringLiteral("lineCount")] = t.lineCount;
    tables.append(o);
  }
  root[QStringLiteral("tables")] = tables;
  QJsonArray cells;
  for (const TCellDiff& c : diff.cells) {
    QJsonObject o{{QStringLiteral("change"), ChangeName(c.change)}};
    if (c.change != TChange::kAdded) {
      o[QStringLiteral("oldId")] = c.oldId;
      o[QStringLiteral("oldName")] = c.oldName;
    }
    if (c.change != TChange::kRemoved) {
      o[QStringLiteral("newId")] = c.newId;
      o[QStringLiteral("newName")] = c.newName;
    }
    if (c.change != TChange::kChanged) {
      o[QStringLiteral("blockCount")] = c.blockCount;
      cells.append(o);
      continue;
    }
    o[QStringLiteral("renamed")] = c.Renamed();
    QJsonArray blocks;
    for (const TBlockDiff& b : c.blocks) {
      QJsonObject bo{{QStringLiteral("change"), ChangeName(b.change)}};
      if (b.change != TChange::kAdded) {
        bo[QStringLiteral("oldId")] = b.oldNumber;
        bo[QStringLiteral("oldType")] = b.oldTypeName;
        bo[QStringLiteral("oldText")] = b.oldContent;
        bo[QStringLiteral("oldBounds")] = JsonRect(b.oldBounds);
      }
      if (b.change != TChange::kRemoved) {
        bo[QStringLiteral("newId")] = b.newNumber;
        bo[QStringLiteral("newType")] = b.newTypeName;
        bo[QStringLiteral("newText")] = b.newContent;
        bo[QStringLiteral("newBounds")] = JsonRect(b.newBounds);
      }
      if (b.change == TChange::kChanged) {
        bo[QStringLiteral("typeChanged")] = b.typeChanged;
        bo[QStringLiteral("moved")] = b.moved;
        if (b.oldStyle != b.newStyle) {
          bo[QStringLiteral("oldStyle")] = b.oldStyle;
          bo[QStringLiteral("newStyle")] = b.newStyle;
        }
      }
      blocks.append(bo);
    }
    o[QStringLiteral("blocks")] = blocks;
    QJsonArray wires;
    for (const TWireDiff& w : c.wires)
      wires.append(QJsonObject{{QStringLiteral("change"), ChangeName(w.change)},
                               {QStringLiteral("source"), w.source},
                               {QStringLiteral("target"), w.target},
                               {QStringLiteral("input"), w.slot + 1},
                               {QStringLiteral("kind"), w.connectionKind}});
    o[QStringLiteral("wires")] = wires;
    cells.append(o);
  }
  root[QStringLiteral("cells")] = cells;
  return QJsonDocument(root).toJson(QJsonDocument::Indented);
}
