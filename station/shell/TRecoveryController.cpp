#include "TRecoveryController.h"

#include <QTimer>
#include <algorithm>

#include "RecoveryDirectory.h"
#include "TRecoveryCopy.h"
#include "TRecoveryDlg.h"
#include "TRecoveryList.h"
#include "TStationSettings.h"
#include "TTarvixForm.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

TRecoveryController::TRecoveryController(TTarvixForm& frame, const QString& directory)
    : QObject(&frame),
      frame_(frame),
      directory_(directory.isEmpty() ? recovery::StateDirectory() : directory),
      keeper_(directory_, writer_, [this] { return clock_.elapsed(); }) {
  clock_.start();
  due_ = new QTimer(this);
  due_->setSingleShot(true);
  connect(due_, &QTimer::timeout, this, [this] {
    TakeInterval();
    keeper_.Tick();
    Arm();
  });
  // A notification comes in the middle of a change; the keeper looks once
  // the change is complete (and once for a burst of notifications).
  changed_ = new QTimer(this);
  changed_->setSingleShot(true);
  changed_->setInterval(0);
  connect(changed_, &QTimer::timeout, this, [this] {
    TakeInterval();
    keeper_.Changed();
    Arm();
  });
}

TRecoveryController::~TRecoveryController() {
  if (followed_) followed_->RemoveSpecialView(this);
  writer_.Flush();
}

void TRecoveryController::TakeInterval() { keeper_.SetInterval(TStationSettings::Current().recoveryInterval); }

void TRecoveryController::Arm() {
  // A copy that cannot be written is said in the status bar, not hidden.
  const QString problem = !keeper_.Problem().isEmpty() ? keeper_.Problem() : writer_.LastProblem();
  if (problem != shownProblem_) {
    if (!problem.isEmpty())
      frame_.ShowStatusText(problem);
    else if (frame_.StatusPanel(1) == shownProblem_)
      frame_.ShowStatusText(QString());
    shownProblem_ = problem;
  }
  const int64_t at = keeper_.Schedule().DueAt();
  if (at < 0) {
    due_->stop();
    return;
  }
  due_->start(static_cast<int>(std::clamp<int64_t>(at - clock_.elapsed(), 0, INT32_MAX)));
}

void TRecoveryController::Follow(TTarvixPlusModel* project) {
  if (project == followed_) return;
  if (followed_) followed_->RemoveSpecialView(this);
  followed_ = project;
  if (followed_) followed_->AddSpecialView(this);
  TakeInterval();
  keeper_.Attach(followed_);
  Arm();
}

void TRecoveryController::ProjectChanged() { Follow(frame_.Project()); }

void TRecoveryController::ProjectClosing() {
  keeper_.Discard();
  Follow(nullptr);
}

void TRecoveryController::Sync() {
  if (frame_.Project() != followed_) Follow(frame_.Project());
  TakeInterval();
  keeper_.Sync();
  Arm();
}

void TRecoveryController::BeforeCompile() {
  TakeInterval();
  keeper_.WriteNow();
  Arm();
}

void TRecoveryController::ModelChanged(int32_t, int64_t, const TChangeRecord*) { changed_->start(); }

void TRecoveryController::ModelGone() {
  followed_ = nullptr;
  keeper_.Attach(nullptr);
  due_->stop();
}

void TRecoveryController::OfferCopies() {
  std::vector<TRecoveryEntry> entries = recovery::List(directory_);
  if (entries.empty()) return;
  TRecoveryDlg dialog(std::move(entries), &frame_);
  if (!dialog.Execute(&frame_)) return;
  OpenCopy(dialog.ChosenPath());
}

bool TRecoveryController::OpenCopy(const QString& path) {
  TUserInterface& ui = TUserInterface::Current();
  TRecoveryCopy copy;
  QString problem;
  if (!TRecoveryCopy::Read(path, copy, problem)) {
    ui.ErrorBox(QStringLiteral("Die Wiederherstellungskopie %1 ist nicht zu gebrauchen:\r%2\rSie bleibt erhalten.")
                    .arg(path, problem));
    return false;
  }
  std::unique_ptr<TTarvixPlusModel> project;
  try {
    project = std::make_unique<TTarvixPlusModel>();
  } catch (const TModelError&) {
    return false;
  }
  if (!project->LoadFromBytes(copy.body, copy.header.projectFile)) {
    ui.ErrorBox(QStringLiteral("Die Wiederherstellungskopie %1 lässt sich nicht laden; sie bleibt erhalten.").arg(path));
    return false;
  }
  // A copy that did not load whole stays until the user saves or discards
  // the project: the station's own copy would lack what was lost.
  const bool whole = project->LoadLosses().isEmpty();
  project->SetModified(true);
  if (!frame_.OpenProject(std::move(project))) return false;
  if (whole) keeper_.Adopt(path);
  Arm();
  return true;
}
