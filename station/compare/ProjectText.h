// A project as stable, readable text for line-based tools (git's textconv):
// the comment, the tables, then the cells in their order with one line per
// block in block-number order, giving type, number, parameter and inputs.
// Coordinates appear only with positions, so that moving a block or saving
// again changes nothing.
#pragma once

#include <QString>

#include "TProjectSnapshot.h"

QString ProjectText(const TProjectSnapshot& project, bool positions);
