// TUndoAction: one recorded edit of a project, which can be taken back and
// made again.
//
// An action keeps in plain values what its edit changed. Undoing reads from
// the project what redoing will need, and redoing what undoing will need, so
// the values always match the project they are replayed on. Both change the
// project through its low-level operations, which keep the engine in step
// and tell the views exactly as the user's own edits do.
//
// A failure throws TModelError with the text for the user; TModel reports it
// and drops the action. Whatever can be checked beforehand is checked before
// anything changes, so such a failure leaves the project as it was.
#pragma once

class TTarvixPlusModel;

class TUndoAction {
 public:
  virtual ~TUndoAction() = default;

  virtual void Undo(TTarvixPlusModel& model) = 0;
  virtual void Redo(TTarvixPlusModel& model) = 0;
  // Whether replaying the edit changes what the compiler reads (blocks,
  // parameters, wires, tables, cells); TModel then makes a compiled program
  // stale. Only an edit that changes nothing but the drawing answers false.
  virtual bool ChangesProgram() const { return true; }
};
