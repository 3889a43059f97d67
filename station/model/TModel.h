// TModel: the document framework under the project.
//
// A model keeps its views, the modified flag and the undo and redo history
// (newest first, at most 100 actions each), and runs the open, save and close
// protocol. Everything that asks the user goes through TUserInterface, so a
// model works without windows.
#pragma once

#include <QString>
#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "TModelView.h"

class TUndoAction;

class TModel {
 public:
  static constexpr size_t kMaxUndo = 100;

  TModel() = default;
  virtual ~TModel();
  TModel(const TModel&) = delete;
  TModel& operator=(const TModel&) = delete;

  // Views are told about every change; a view registered twice or removed
  // without being registered is an internal error, reported and ignored.
  void AddView(TModelView* view);
  void RemoveView(TModelView* view);
  void AddSpecialView(TModelView* view);
  void RemoveSpecialView(TModelView* view);
  const std::vector<TModelView*>& Views() const { return views_; }
  void UpdateViews(int32_t code, int64_t data = 0, const struct TChangeRecord* record = nullptr);
  virtual void CommitViews();

  virtual bool CloseQuery();
  virtual bool InitNew() { return true; }
  // Loads the file; a load that stopped or lost content leaves the model
  // marked LoadIncomplete.
  bool Open(const QString& fileName);
  // Writes the project to its file; over a file that was not read
  // completely only after the user agreed, else under a new name.
  bool Save();
  // Writes the project under a name the user chooses; with rename the model
  // takes that name.
  bool SaveAs(bool rename);
  virtual void GetFileDialogStrings(QString& ext, QString& filter) const;
  virtual QString GetDefaultName() const { return QStringLiteral("Unbenannt"); }
  virtual bool LoadFromFile(const QString&) { return true; }
  // Whether the last LoadFromFile lost content it had read (it still
  // answered true).
  virtual bool LoadLostContent() const { return false; }
  // False for an empty name; an I/O failure throws TModelError.
  virtual bool SaveToFile(const QString&) { return true; }
  // The file name without its directory (and without the model's own
  // extension), or the default name.
  QString DisplayName() const;

  // History. PushUndo records a user's edit made just now; Undo and Redo
  // replay the newest action of their list and move it to the other list.
  // An action that fails is reported and dropped.
  void PushUndo(std::unique_ptr<TUndoAction> action);
  void Undo() { Replay(true); }
  void Redo() { Replay(false); }
  void ClearUndo();
  bool CanUndo() const { return !undoList_.empty(); }
  bool CanRedo() const { return !redoList_.empty(); }
  const std::deque<std::unique_ptr<TUndoAction>>& UndoList() const { return undoList_; }
  const std::deque<std::unique_ptr<TUndoAction>>& RedoList() const { return redoList_; }

  // The project's file, empty for a project never saved.
  const QString& FileName() const { return fileName_; }
  void SetFileName(const QString& fileName) { fileName_ = fileName; }
  bool Modified() const { return modified_; }
  // Marking the project modified here is an edit the history does not
  // record (comment, table data): undoing can then no longer return to the
  // saved file.
  void SetModified(bool modified) {
    modified_ = modified;
    if (modified) unrecordedChange_ = true;
  }
  // The undo history lost its oldest action, so undoing everything no
  // longer returns to the saved file.
  bool UndoTruncated() const { return undoTruncated_; }
  // An edit without an undo action happened, or an undo or redo failed,
  // since the project was opened or saved.
  bool UnrecordedChange() const { return unrecordedChange_; }
  // The file was not read completely (loading stopped with a failure or
  // lost content): saving over it must not happen unasked.
  bool LoadIncomplete() const { return loadIncomplete_; }

 protected:
  // Tells every view that the model goes away; called first by the
  // destructor of the most derived model.
  void DetachViews();
  // An undo or redo changed what the compiler reads: a compiled program is
  // stale now.
  virtual void ProgramEdited() {}
  // Lets the action undo or redo itself on the document; a failure throws.
  virtual void Perform(TUndoAction& action, bool undo) = 0;

  bool destroying_ = false;
  QString fileName_;
  bool modified_ = false;
  bool undoTruncated_ = false;
  bool unrecordedChange_ = false;
  bool loadIncomplete_ = false;

 private:
  bool SaveUnder(const QString& fileName);
  // Undo and Redo: the one place that decides the Modified mark, the
  // program's staleness and where the action goes.
  void Replay(bool undo);
  // Files an action at the front of the undo list, dropping the oldest
  // beyond kMaxUndo.
  void FileUndo(std::unique_ptr<TUndoAction> action);

  std::vector<TModelView*> views_;
  std::vector<TModelView*> specialViews_;
  std::deque<std::unique_ptr<TUndoAction>> undoList_;
  std::deque<std::unique_ptr<TUndoAction>> redoList_;
};

// An error that ends a model operation; its text is shown to the user.
struct TModelError {
  QString message;
};
