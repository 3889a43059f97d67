// TRecoveryWriter: puts recovery copies on disk and takes them away again,
// on a thread of its own, so that a slow disk never holds up typing. Jobs
// run in the order they were given (a removal queued after a write removes
// what that write made); a write still waiting for its turn is replaced by
// a newer one of the same file, so a stalled disk keeps at most one copy's
// bytes per file in memory.
#pragma once

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

class TRecoveryWriter {
 public:
  TRecoveryWriter();
  // Finishes every job given so far.
  ~TRecoveryWriter();
  TRecoveryWriter(const TRecoveryWriter&) = delete;
  TRecoveryWriter& operator=(const TRecoveryWriter&) = delete;

  // Writes bytes to path through a temporary file and a rename; once that
  // worked, removes thenRemove (if named).
  void Write(const QString& path, QByteArray bytes, const QString& thenRemove = {});
  void Remove(const QString& path);
  // Waits until every job given so far is done.
  void Flush();
  // The reason the last job failed; empty when it succeeded.
  QString LastProblem() const;

  // The write itself, on the calling thread: a temporary file beside path
  // (only the user may read it), flushed to the disk, then renamed over path.
  static bool WriteFile(const QString& path, const QByteArray& bytes, QString& problem);

 private:
  struct Job {
    QString path;
    QByteArray bytes;
    QString thenRemove;
    bool remove = false;
  };
  void Run();

  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<Job> jobs_;
  bool busy_ = false;
  bool stopping_ = false;
  QString lastProblem_;
  std::thread thread_;
};
