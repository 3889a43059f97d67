// The differences between two project versions written out: a German report
// for people, a summary line, and JSON for programs.
#pragma once

#include <QByteArray>
#include <QString>

#include "TProjectDiff.h"

// A text on one line in double quotes: line breaks as \n, quotes and
// backslashes escaped, so every block stays on one line of a report.
QString QuoteText(const QString& text);

// "Keine Unterschiede." for equal versions; otherwise one paragraph for the
// comment, per table and per cell.
QString DiffReportText(const TProjectDiff& diff);
// The parts of the report: each a paragraph whose first line names the
// element and whose further lines, indented, list its differences.
QString CommentDiffText(const std::vector<TLineChange>& lines);
QString TableDiffText(const TTableDiff& table);
QString CellDiffText(const TCellDiff& cell);
// One line of a cell's paragraph.
QString BlockDiffText(const TBlockDiff& block);
QString WireDiffText(const TWireDiff& wire);

// One line counting the differences by kind.
QString DiffStatLine(const TProjectDiff& diff);
// The whole difference as an indented JSON document.
QByteArray DiffJson(const TProjectDiff& diff);
