#include "TRecoveryKeeper.h"

#include <QDateTime>

#include "RecoveryDirectory.h"
#include "TRecoveryCopy.h"
#include "TRecoveryWriter.h"
#include "TTarvixPlusModel.h"

TRecoveryKeeper::TRecoveryKeeper(QString directory, TRecoveryWriter& writer, Clock clock, TProcessIdentity self)
    : directory_(std::move(directory)),
      writer_(writer),
      clock_(std::move(clock)),
      self_(std::move(self)),
      startStamp_(QDateTime::currentMSecsSinceEpoch()) {}

QString TRecoveryKeeper::CopyPath() const {
  // Process id and start time keep a later process with the same id from
  // writing over a copy it must not touch.
  return QStringLiteral("%1/vorblen-%2-%3-%4%5")
      .arg(directory_)
      .arg(self_.pid)
      .arg(startStamp_)
      .arg(serial_)
      .arg(QString::fromLatin1(TRecoveryCopy::kSuffix));
}

void TRecoveryKeeper::Attach(const TTarvixPlusModel* project) {
  if (project == project_) return;
  project_ = project;
  ++serial_;
  hasCopy_ = false;
  adopted_.clear();
  schedule_.Settled();
  if (project_ && project_->Modified()) schedule_.Changed(clock_());
}

void TRecoveryKeeper::Changed() {
  if (!project_) return;
  if (!project_->Modified()) {
    Discard();
    return;
  }
  schedule_.Changed(clock_());
}

void TRecoveryKeeper::Sync() {
  if (!project_) return;
  if (!project_->Modified()) {
    if (hasCopy_ || schedule_.Pending() || !adopted_.isEmpty()) Discard();
    return;
  }
  if (!hasCopy_ && !schedule_.Pending()) schedule_.Changed(clock_());
}

bool TRecoveryKeeper::Tick() {
  if (!project_ || !schedule_.Due(clock_())) return false;
  if (!project_->Modified()) {
    Discard();
    return false;
  }
  return Write();
}

bool TRecoveryKeeper::WriteNow() {
  if (!project_ || !schedule_.Enabled() || !project_->Modified()) return false;
  if (!schedule_.Pending() && hasCopy_) return false;
  return Write();
}

void TRecoveryKeeper::Discard() {
  schedule_.Settled();
  if (hasCopy_) writer_.Remove(CopyPath());
  hasCopy_ = false;
  if (!adopted_.isEmpty()) writer_.Remove(adopted_);
  adopted_.clear();
}

void TRecoveryKeeper::Adopt(const QString& path) {
  adopted_ = path;
  if (!project_) return;
  if (!Write()) schedule_.Changed(clock_());
}

bool TRecoveryKeeper::Write() {
  if (!directoryMade_) {
    if (!recovery::MakeStateDirectory(directory_, problem_)) {
      // Tried again one interval later, not at every turn of the timer.
      schedule_.Settled();
      schedule_.Changed(clock_());
      return false;
    }
    directoryMade_ = true;
    problem_.clear();
  }
  TRecoveryCopy copy;
  copy.header.projectFile = project_->FileName();
  copy.header.time = QDateTime::currentMSecsSinceEpoch();
  copy.header.writer = self_;
  TRecoveryHeader::FileState(copy.header.projectFile, copy.header.fileTime, copy.header.fileSize);
  copy.body = project_->SaveToBytes();
  writer_.Write(CopyPath(), copy.Encode(), adopted_);
  adopted_.clear();
  hasCopy_ = true;
  schedule_.Settled();
  return true;
}
