#include "ProjectText.h"

#include <algorithm>

#include "DiffReport.h"

namespace {

QString InputsText(const TBlockSnapshot& b) {
  QStringList parts;
  for (const TWireSnapshot& w : b.inputs) {
    QString part = QStringLiteral("%1←%2").arg(w.slot + 1).arg(w.source);
    if (w.connectionKind != 1) part += QStringLiteral("/%1").arg(w.connectionKind);
    parts << part;
  }
  return parts.join(QStringLiteral(", "));
}

}  // namespace

QString ProjectText(const TProjectSnapshot& project, bool positions) {
  QString out = QStringLiteral("Kommentar:\n");
  for (const QString& line : project.comment) out += QStringLiteral("  ") + line + QLatin1Char('\n');
  for (const TTableSnapshot& t : project.tables) {
    if (!t.internal) {
      out += QStringLiteral("Tabelle %1 %2 (extern: %3)\n").arg(t.number).arg(QuoteText(t.name), t.externalFile);
      continue;
    }
    out += QStringLiteral("Tabelle %1 %2 (intern):\n").arg(t.number).arg(QuoteText(t.name));
    for (const QString& line : t.data) out += QStringLiteral("  ") + line + QLatin1Char('\n');
  }
  for (const TCellSnapshot& c : project.cells) {
    out += QStringLiteral("Zelle %1 %2:\n").arg(c.id).arg(QuoteText(c.name));
    std::vector<const TBlockSnapshot*> blocks;
    blocks.reserve(c.blocks.size());
    for (const TBlockSnapshot& b : c.blocks) blocks.push_back(&b);
    std::stable_sort(blocks.begin(), blocks.end(), [](const TBlockSnapshot* a, const TBlockSnapshot* b) { return a->number < b->number; });
    for (const TBlockSnapshot* b : blocks) {
      QString line = QStringLiteral("  %1 %2").arg(b->number, 4).arg(b->typeName);
      if (b->kind == TBlockSnapshot::kFunctional) line += QStringLiteral(" (%1)").arg(b->typeId);
      if (!b->content.isEmpty() || b->kind == TBlockSnapshot::kComment) line += QLatin1Char(' ') + QuoteText(b->content);
      if (!b->inputs.empty()) line += QStringLiteral(" ← ") + InputsText(*b);
      if (positions) {
        line += QStringLiteral(" @%1,%2").arg(b->bounds.left).arg(b->bounds.top);
        if (!b->style.isEmpty()) line += QLatin1Char(' ') + b->style;
      }
      out += line + QLatin1Char('\n');
    }
  }
  return out;
}
