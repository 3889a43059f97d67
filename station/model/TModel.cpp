#include "TModel.h"

#include <QFileInfo>
#include <algorithm>
#include <exception>

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
  FileUndo(std::move(action));
}

void TModel::FileUndo(std::unique_ptr<TUndoAction> action) {
  modified_ = true;
  undoList_.push_front(std::move(action));
  if (undoList_.size() > kMaxUndo) {
    undoList_.pop_back();
    undoTruncated_ = true;
  }
}

void TModel::Replay(bool undo) {
  auto& from = undo ? undoList_ : redoList_;
  if (from.empty()) return;
  TWaitCursor wait;
  std::unique_ptr<TUndoAction> action = std::move(from.front());
  from.pop_front();
  bool failed = true;
  QString failure;
  try {
    Perform(*action, undo);
    failed = false;
  } catch (const TModelError& error) {
    failure = error.message;
  } catch (const std::exception& error) {
    failure = QString::fromUtf8(error.what());
  }
  // Decided for every action, whether it succeeded or not: a failed replay
  // may have changed part of what it touches.
  if (action->ChangesProgram()) ProgramEdited();
  if (failed) {
    TUserInterface::Current().Beep(TUserInterface::Sound::Warning);
    TUserInterface::Current().ErrorBox(failure);
    // The action is dropped; the project may differ from what the history
    // describes, so undoing the rest can no longer return to the file.
    modified_ = true;
    unrecordedChange_ = true;
    return;
  }
  if (undo) {
    // Back at the saved state only when the history held every change since.
    if (undoList_.empty() && !undoTruncated_ && !unrecordedChange_) modified_ = false;
    redoList_.push_front(std::move(action));
    if (redoList_.size() > kMaxUndo) redoList_.pop_back();
  } else {
    FileUndo(std::move(action));
  }
}

void TModel::ClearUndo() {
  undoList_.clear();
  redoList_.clear();
}
