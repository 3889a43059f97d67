// Printing the text of the table and comment editors as plain lines.
#pragma once

#include <QFont>
#include <QPoint>
#include <QStringList>

class QPrinter;

namespace textprint {

// The lines a selection prints: the selected lines, the first one with the
// characters before the selection start turned into blanks (so the columns
// stay where they were), the last one cut at the selection end. Points are
// (column, line), 0-based; the end is exclusive.
QStringList SelectedLines(const QStringList& lines, QPoint start, QPoint end);

// Tabs expanded to the editor's tab width.
QString ExpandTabs(const QString& line, int tabWidth);

// Prints lines in the font (family and style of font, size in points) on the
// configured printer, titled with the job name; the answer is the number of
// pages, 0 when the printer could not be started.
int PrintLines(QPrinter& printer, const QString& jobName, const QStringList& lines, const QFont& font, int points);

}  // namespace textprint
