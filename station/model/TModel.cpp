#include "TModel.h"

#include <QFileInfo>
#include <algorithm>

#include "TChangeRecord.h"
#include "TUndoAction.h"
#include "UserInterface.h"

namespace {

// An internal error of view registration: reported and otherwise ignored.
void ReportView(const void* model, const char* operation, const void* view, const char* problem) {
  TUserInterface::Current().Beep(TUserInterface::Sound::Warning);
  TUserInterface::Current().ErrorBox(QString::asprintf("Model %p [%s]: View %p ", model, operation, view) +
                                     QString::fromUtf8(problem));
}

bool Contains(const std::vector<TModelView*>& list, TModelView* view) {
  return std::find(list.begin(), list.end(), view) != list.end();
}

}  // namespace

TModel::~TModel() { DetachViews(); }

void TModel::DetachViews() {
  if (destroying_) return;
  destroying_ = true;
  std::vector<TModelView*> views;
  views.swap(views_);
  for (TModelView* v : views) v->ModelGone();
  specialViews_.clear();
  undoList_.clear();
  redoList_.clear();
}

void TModel::AddView(TModelView* view) {
  if (Contains(views_, view)) return ReportView(this, "AddView", view, "schon enthalten");
  views_.push_back(view);
}

void TModel::RemoveView(TModelView* view) {
  if (destroying_) return;
  auto it = std::find(views_.begin(), views_.end(), view);
  if (it == views_.end()) return ReportView(this, "RemoveView", view, "nicht enthalten");
  views_.erase(it);
}

void TModel::AddSpecialView(TModelView* view) {
  if (Contains(specialViews_, view)) return ReportView(this, "AddSpecialView", view, "schon enthalten");
  specialViews_.push_back(view);
}

void TModel::RemoveSpecialView(TModelView* view) {
  auto it = std::find(specialViews_.begin(), specialViews_.end(), view);
  if (it != specialViews_.end()) specialViews_.erase(it);
}

void TModel::UpdateViews(int32_t code, int64_t data, const TChangeRecord* record) {
  // A view may unregister while it is told; work on copies.
  std::vector<TModelView*> views = views_;
  for (TModelView* v : views) v->ModelChanged(code, data, record);
  std::vector<TModelView*> special = specialViews_;
  for (TModelView* v : special) v->ModelChanged(code, data, record);
}

void TModel::CommitViews() {
  std::vector<TModelView*> views = views_;
  for (TModelView* v : views) v->CommitEdits();
}

bool TModel::CloseQuery() {
  CommitViews();
  if (!modified_) return true;
  switch (TUserInterface::Current().AskYesNoCancel(QStringLiteral("%1 wurde geändert. Speichern?").arg(DisplayName()))) {
    case TUserInterface::Answer::Cancel: return false;
    case TUserInterface::Answer::Yes: return Save();
    case TUserInterface::Answer::No: return true;
  }
  return false;
}

bool TModel::Open(const QString& fileName) {
  TWaitCursor wait;
  fileName_ = fileName;
  // Whatever made the load stop or lose content, what the model holds now
  // is less than the file: saving it unasked would destroy the rest.
  const bool ok = LoadFromFile(fileName);
  loadIncomplete_ = !ok || LoadLostContent();
  return ok;
}

bool TModel::SaveUnder(const QString& fileName) {
  TWaitCursor wait;
  CommitViews();
  try {
    if (!SaveToFile(fileName)) return false;
  } catch (const TModelError& error) {
    // The old file is untouched and the project stays modified.
    TUserInterface::Current().ErrorBox(error.message);
    return false;
  }
  ClearUndo();
  modified_ = false;
  unrecordedChange_ = false;
  return true;
}

bool TModel::Save() {
  if (fileName_.isEmpty()) return SaveAs(true);
  if (loadIncomplete_ &&
      !TUserInterface::Current().AskYesNoDefaultNo(
          QStringLiteral("%1 wurde nicht vollständig gelesen. Trotzdem überschreiben?").arg(DisplayName())))
    return SaveAs(true);
  if (!SaveUnder(fileName_)) return false;
  loadIncomplete_ = false;
  return true;
}

bool TModel::SaveAs(bool rename) {
  QString ext, filter;
  GetFileDialogStrings(ext, filter);
  if (!filter.endsWith(QLatin1Char('|'))) filter += QLatin1Char('|');
  filter += QStringLiteral("Alle Dateien (*.*)|*.*");
  TUserInterface::FileRequest request{QStringLiteral("Speichere %1 als").arg(DisplayName()), filter, ext, fileName_};
  QString name = TUserInterface::Current().SaveFileName(request);
  if (name.isEmpty()) return false;
  if (!SaveUnder(name)) return false;
  // A copy leaves the file the project came from as incomplete as before.
  if (rename) {
    fileName_ = name;
    loadIncomplete_ = false;
  }
  return true;
}

void TModel::GetFileDialogStrings(QString&, QString&) const {
  throw TModelError{QStringLiteral("TModel.GetFileDialogStrings nicht überschrieben")};
}

QString TModel::DisplayName() const {
  if (fileName_.isEmpty()) return GetDefaultName();
  QString name = fileName_;
  name.replace(QLatin1Char('\\'), QLatin1Char('/'));
  name = name.mid(name.lastIndexOf(QLatin1Char('/')) + 1);
  QString ext, filter;
  try {
    GetFileDialogStrings(ext, filter);
  } catch (const TModelError&) {
    return name;
  }
  QString suffix = QLatin1Char('.') + ext;
  if (!ext.isEmpty() && name.endsWith(suffix, Qt::CaseInsensitive)) name.chop(suffix.size());
  return name;
}

// ---- history --------------------------------------------------------------

void TModel::PushUndo(std::unique_ptr<TUndoAction> action) {
  redoList_.clear();
  modified_ = true;
  undoList_.push_front(std::move(action));
  if (undoList_.size() > kMaxUndo) {
    undoList_.pop_back();
    undoTruncated_ = true;
  }
}

void TModel::FileInverse(std::unique_ptr<TUndoAction> inverse, bool toUndoList) {
  if (toUndoList) {
    modified_ = true;
    undoList_.push_front(std::move(inverse));
    if (undoList_.size() > kMaxUndo) {
      undoList_.pop_back();
      undoTruncated_ = true;
    }
  } else {
    redoList_.push_front(std::move(inverse));
    if (redoList_.size() > kMaxUndo) redoList_.pop_back();
  }
}

namespace {

// Takes the action out of its list whatever happened while it ran.
std::unique_ptr<TUndoAction> Take(std::deque<std::unique_ptr<TUndoAction>>& list, TUndoAction* action) {
  for (auto it = list.begin(); it != list.end(); ++it)
    if (it->get() == action) {
      std::unique_ptr<TUndoAction> owned = std::move(*it);
      list.erase(it);
      return owned;
    }
  return nullptr;
}

}  // namespace

bool TModel::Replay(TUndoAction& action, bool toUndoList) {
  bool ok = false;
  try {
    ok = action.Perform(*this, toUndoList);
  } catch (const TModelError& error) {
    TUserInterface::Current().ErrorBox(error.message);
  }
  // Decided here for every action, whether it succeeded or not: a failed
  // replay may have changed part of what it touches.
  if (action.ChangesProgram()) ProgramEdited();
  return ok;
}

void TModel::Undo() {
  if (undoList_.empty()) return;
  TWaitCursor wait;
  TUndoAction* action = undoList_.front().get();
  const bool ok = Replay(*action, false);
  // Back at the saved state only when the history holds every change since.
  if (ok && undoList_.size() == 1 && !undoTruncated_ && !unrecordedChange_) modified_ = false;
  Take(undoList_, action);
}

void TModel::Redo() {
  if (redoList_.empty()) return;
  TWaitCursor wait;
  TUndoAction* action = redoList_.front().get();
  if (Replay(*action, true)) modified_ = true;
  Take(redoList_, action);
}

void TModel::ClearUndo() {
  undoList_.clear();
  redoList_.clear();
}
