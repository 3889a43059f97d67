// TCheckResults: the findings of the last program check of each open
// project, where the result window and the cell editors read them.
//
// Running a check keeps its findings and tells the project's views with
// notify::kCheckResults; the cell editors mark the blocks, the result
// window lists them. The findings of a project go when the project does.
#pragma once

#include <vector>

#include "TFinding.h"

class TTarvixPlusModel;

class TCheckResults {
 public:
  // Checks the project, keeps the findings and tells its views.
  static const std::vector<TFinding>& Run(TTarvixPlusModel& model);
  // The findings of the last check of the project; null before any.
  static const std::vector<TFinding>* Last(const TTarvixPlusModel* model);
  // The findings of one block (from the last check), most severe first.
  static std::vector<TFinding> OfBlock(const TTarvixPlusModel* model, int32_t blockId);
};
