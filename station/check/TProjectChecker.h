// TProjectChecker: finds mistakes in a project's program before it runs.
//
// It reads the cells of the model and asks the engine, through the flat
// interface, what each block is (output, inputs, map code, symbolic name,
// parameter), then applies the rules of TCheckRules: inputs the compiler
// wants, blocks without effect, unreachable cells, unused variables, busy
// loops, unknown jump targets and tables, constants out of range and
// comparisons with a fixed result. It changes nothing, neither the model
// nor the engine.
#pragma once

#include <vector>

#include "TFinding.h"

class TTarvixPlusModel;

class TProjectChecker {
 public:
  // Findings in program order: the project's own (tables) first, then cell
  // by cell in the order the cells run, each cell by block number.
  static std::vector<TFinding> Check(const TTarvixPlusModel& model);
};
