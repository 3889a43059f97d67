#include "TextPrinting.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>

#include "TTextEditor.h"

namespace textprint {

QStringList SelectedLines(const QStringList& lines, QPoint start, QPoint end) {
  QStringList out;
  if (start.y() < 0 || start.y() >= lines.size()) return out;
  const int last = std::min<int>(end.y(), lines.size() - 1);
  for (int i = start.y(); i <= last; ++i) {
    QString line = lines[i];
    if (i == end.y()) line.truncate(end.x());
    if (i == start.y()) {
      // Blanks keep the columns; a tab before the start would move them, so
      // it stays a tab.
      for (int c = 0; c < std::min<int>(start.x(), line.size()); ++c)
        if (line[c] != QLatin1Char('\t')) line[c] = QLatin1Char(' ');
    }
    out << line;
  }
  return out;
}

QString ExpandTabs(const QString& line, int tabWidth) {
  QString out;
  for (QChar c : line) {
    if (c == QLatin1Char('\t'))
      out += QString(tabWidth - out.size() % tabWidth, QLatin1Char(' '));
    else
      out += c;
  }
  return out;
}

int PrintLines(QPrinter& printer, const QString& jobName, const QStringList& lines, const QFont& font, int points) {
  printer.setDocName(jobName);
  printer.setPageMargins(QMarginsF(20, 20, 10, 20), QPageLayout::Millimeter);
  QPainter painter;
  if (!painter.begin(&printer)) return 0;
  QFont printFont(font);
  printFont.setPointSize(std::max(1, points));  // points, not the screen's pixels
  painter.setFont(printFont);
  const QFontMetrics metrics(printFont, &printer);
  const int lineHeight = std::max(1, metrics.lineSpacing());
  const QRect area = painter.viewport();
  int pages = 1;
  int y = 0;
  for (const QString& line : lines) {
    if (y > 0 && y + lineHeight > area.height()) {
      printer.newPage();
      ++pages;
      y = 0;
    }
    painter.drawText(0, y + metrics.ascent(), ExpandTabs(line, TTextEditor::kTabWidth));
    y += lineHeight;
  }
  painter.end();
  return pages;
}

}  // namespace textprint
