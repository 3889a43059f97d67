// TRecoveryKeeper: keeps the recovery copy of one open project. It follows
// the timing rules of TRecoverySchedule against a clock it is given, turns
// the project into the bytes saving would write (on the calling thread: the
// model is not shared) and hands them to a TRecoveryWriter. The station
// drives it from a timer and the model's notifications; tests drive it with
// a fake clock.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "ProcessIdentity.h"
#include "TRecoverySchedule.h"

class TRecoveryWriter;
class TTarvixPlusModel;

class TRecoveryKeeper {
 public:
  using Clock = std::function<int64_t()>;  // milliseconds, monotonic

  TRecoveryKeeper(QString directory, TRecoveryWriter& writer, Clock clock,
                  TProcessIdentity self = TProcessIdentity::Self());

  void SetInterval(int32_t seconds) { schedule_.SetInterval(seconds); }
  const TRecoverySchedule& Schedule() const { return schedule_; }

  // The project to keep (null: none). Another project gets a copy file of
  // its own; the previous one's copy stays unless it was discarded.
  void Attach(const TTarvixPlusModel* project);
  const TTarvixPlusModel* Project() const { return project_; }

  // The project changed: a modified project waits for its copy, one that is
  // back at its file's state needs none.
  void Changed();
  // As Changed, for callers that cannot tell whether anything changed (after
  // any command): only a change of the modified state counts.
  void Sync();
  // Writes the copy when it is due. True when one was handed to the writer.
  bool Tick();
  // Before a compile or a download: changes not yet in a copy go into one
  // at once. True when one was handed to the writer.
  bool WriteNow();
  // The project's state is in its file or the user threw it away: the copy
  // (and one the project was restored from) goes.
  void Discard();
  // The project was opened from the copy at path. That copy goes once this
  // station's own copy is on disk, which is written at once.
  void Adopt(const QString& path);

  // The file this project's copy goes to.
  QString CopyPath() const;
  bool HasCopy() const { return hasCopy_; }
  // Why the last copy could not be made (directory), empty when it could.
  const QString& Problem() const { return problem_; }

 private:
  bool Write();

  QString directory_;
  TRecoveryWriter& writer_;
  Clock clock_;
  TProcessIdentity self_;
  int64_t startStamp_ = 0;
  int32_t serial_ = 0;
  const TTarvixPlusModel* project_ = nullptr;
  TRecoverySchedule schedule_;
  bool hasCopy_ = false;
  bool directoryMade_ = false;
  QString adopted_;
  QString problem_;
};
