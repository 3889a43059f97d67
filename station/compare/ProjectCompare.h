// The comparison of two versions of a project.
//
// Cells are paired by id, then by name. Within a cell, blocks are paired by
// id where the type agrees and the block kept its place or its content;
// blocks whose ids were renumbered are then paired by type and place, then
// by type and content (the nearest), and only then by id alone. A pair
// differs when its type or content changed (changed) or only its place
// (moved); a renumbering alone is no difference. Wires are compared per
// input slot of paired blocks, with the sources translated through the
// pairing; the inputs of an added or removed block are added or removed
// wires too. The route of a wire is drawing only. Tables are paired by name,
// then by number.
#pragma once

#include "TProjectDiff.h"
#include "TProjectSnapshot.h"

TProjectDiff CompareProjects(const TProjectSnapshot& oldProject, const TProjectSnapshot& newProject);

// The block pairing of two versions of one cell: for every old block the
// index of its new block, or -1.
std::vector<int> PairBlocks(const TCellSnapshot& oldCell, const TCellSnapshot& newCell);
// The differences within a cell, its name aside.
void CompareCells(const TCellSnapshot& oldCell, const TCellSnapshot& newCell, TCellDiff& diff);
