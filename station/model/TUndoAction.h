// TUndoAction: one recorded edit of a project.
//
// Performing an action first files its inverse (filled from the model's
// current state), then makes the change through the model's low-level
// operations, so the engine stays in step and the views are told exactly as
// for the user's own edits.
#pragma once

#include <QStringList>
#include <memory>

class TModel;
class TTarvixPlusModel;

class TUndoAction {
 public:
  virtual ~TUndoAction() = default;

  // An empty action of the inverse class.
  virtual std::unique_ptr<TUndoAction> NewInverse() const = 0;
  // Records in inverse what reverses this action, read from the model now.
  virtual void FillInverse(TUndoAction& inverse, TTarvixPlusModel& model) const = 0;
  // Files the inverse, then makes the change; false when it failed.
  virtual bool Perform(TModel& model, bool toUndoList);
  // Whether replaying the action changes what the compiler reads (blocks,
  // parameters, wires, tables, cells); the model then makes a compiled
  // program stale. Only an action that changes nothing but the drawing
  // answers false.
  virtual bool ChangesProgram() const { return true; }

 protected:
  // Files the inverse into the list opposite to the one being replayed.
  void FileInverse(TTarvixPlusModel& model, bool toUndoList) const;
  // The change itself.
  virtual bool Apply(TTarvixPlusModel& model) = 0;
};

// Actions that keep serialised cell or block data.
class TCellDataUndoAction : public TUndoAction {
 public:
  QStringList Lines;
};
