// TModelView: what a document window or another observer of a model sees.
//
// Windows (cell editors, table editors, the terminal...) and non-window
// observers (the project tree) register with their model and are told about
// every change with a notification code; the model never knows their class.
#pragma once

#include <cstdint>

struct TChangeRecord;

class TModelView {
 public:
  virtual ~TModelView() = default;
  // A change of the model: a notification code with its data (a cell id, a
  // table number, an index ...) and, for block changes, the change record.
  virtual void ModelChanged(int32_t code, int64_t data, const TChangeRecord* record) = 0;
  // Stores pending edits of the view into the model (before a save).
  virtual void CommitEdits() {}
  // The model is being destroyed: drop the reference to it (and close).
  virtual void ModelGone() {}
};
