// The lines only in one of two texts, in text order, from a longest common
// subsequence. Texts too large for the table fall back to trimming the
// common start and end.
#pragma once

#include <QStringList>
#include <vector>

#include "TProjectDiff.h"

std::vector<TLineChange> DiffLines(const QStringList& oldLines, const QStringList& newLines);
