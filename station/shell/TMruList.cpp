#include "TMruList.h"

void TMruList::SetNames(const QStringList& names) {
  names_.clear();
  for (const QString& name : names)
    if (!name.isEmpty() && !names_.contains(name) && names_.size() < kKept) names_ << name;
}

void TMruList::Add(const QString& name) {
  if (name.isEmpty()) return;
  names_.removeAll(name);
  names_.prepend(name);
  while (names_.size() > kKept) names_.removeLast();
}

void TMruList::Remove(const QString& name) { names_.removeAll(name); }

QString TMruList::Caption(int index, const QString& name) {
  QString shown = name;
  if (name.size() >= kLongName) {
    // Either separator counts: names may come from the other platform.
    auto first = [&] {
      const qsizetype a = name.indexOf(QLatin1Char('/'), 1), b = name.indexOf(QLatin1Char('\\'), 1);
      return a < 0 ? b : (b < 0 ? a : std::min(a, b));
    }();
    const qsizetype last = std::max(name.lastIndexOf(QLatin1Char('/')), name.lastIndexOf(QLatin1Char('\\')));
    if (first > 0 && last > first) shown = name.left(first) + QStringLiteral("...") + name.mid(last);
  }
  // A literal "&" in a name must not become an accelerator.
  shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return QStringLiteral("&%1 %2").arg(index + 1).arg(shown);
}
