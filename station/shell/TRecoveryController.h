// TRecoveryController: the station's side of recovery copies. It keeps the
// frame's open project in a TRecoveryKeeper: a timer writes the copy when
// it is due, a change noticed from the model's notifications arms it, the
// frame calls in before a compile or a download, after commands (a clean
// save) and when a project closes. At start it offers the copies of ended
// stations in the dialog "Wiederherstellung" and opens the one chosen.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <memory>

#include "TModelView.h"
#include "TRecoveryKeeper.h"
#include "TRecoveryWriter.h"

class QTimer;
class TTarvixForm;
class TTarvixPlusModel;

class TRecoveryController : public QObject, public TModelView {
  Q_OBJECT

 public:
  // Copies go to directory (empty: the user's state directory).
  explicit TRecoveryController(TTarvixForm& frame, const QString& directory = {});
  // Waits for copies still being written; the current copy stays, as after
  // a crash, unless the project was closed before.
  ~TRecoveryController() override;

  // The frame shows another project (or none).
  void ProjectChanged();
  // The open project closes with the user's consent: its copy goes.
  void ProjectClosing();
  // After a command: a project saved or back at its file's state loses its
  // copy, a modified one without a copy waits for one.
  void Sync();
  // Before a compile or a download.
  void BeforeCompile();

  // Shows the dialog "Wiederherstellung" when copies of ended stations
  // exist and opens the copy the user chooses.
  void OfferCopies();
  // Opens a copy as the modified project under its file's name. False when
  // the copy is damaged, does not load, or the current project stays.
  bool OpenCopy(const QString& path);

  const QString& Directory() const { return directory_; }
  TRecoveryKeeper& Keeper() { return keeper_; }
  TRecoveryWriter& Writer() { return writer_; }

  // TModelView
  void ModelChanged(int32_t code, int64_t data, const struct TChangeRecord* record) override;
  void ModelGone() override;

 private:
  void Follow(TTarvixPlusModel* project);
  void Arm();
  void TakeInterval();

  TTarvixForm& frame_;
  QString directory_;
  TRecoveryWriter writer_;
  QElapsedTimer clock_;
  TRecoveryKeeper keeper_;
  QTimer* due_ = nullptr;
  QTimer* changed_ = nullptr;
  TTarvixPlusModel* followed_ = nullptr;
  QString shownProblem_;
};
