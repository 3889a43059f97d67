#include "TRecoveryWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

QString Errno() { return QString::fromLocal8Bit(std::strerror(errno)); }

bool WriteAll(int fd, const char* data, qsizetype size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, static_cast<size_t>(size));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= n;
  }
  return true;
}

}  // namespace

TRecoveryWriter::TRecoveryWriter() : thread_([this] { Run(); }) {}

TRecoveryWriter::~TRecoveryWriter() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void TRecoveryWriter::Write(const QString& path, QByteArray bytes, const QString& thenRemove) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // Only the last job may be replaced: anything before it keeps its order.
    if (!jobs_.empty() && !jobs_.back().remove && jobs_.back().path == path) {
      jobs_.back().bytes = std::move(bytes);
      if (!thenRemove.isEmpty()) jobs_.back().thenRemove = thenRemove;
    } else {
      jobs_.push_back(Job{path, std::move(bytes), thenRemove, false});
    }
  }
  wake_.notify_one();
}

void TRecoveryWriter::Remove(const QString& path) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(Job{path, {}, {}, true});
  }
  wake_.notify_one();
}

void TRecoveryWriter::Flush() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return jobs_.empty() && !busy_; });
}

QString TRecoveryWriter::LastProblem() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return lastProblem_;
}

void TRecoveryWriter::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;  // stopping, and everything is done
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    busy_ = true;
    lock.unlock();
    QString problem;
    bool ok = true;
    if (job.remove) {
      ok = !QFileInfo::exists(job.path) || QFile::remove(job.path);
      if (!ok) problem = QStringLiteral("Die Wiederherstellungskopie %1 lässt sich nicht löschen.").arg(job.path);
    } else {
      ok = WriteFile(job.path, job.bytes, problem);
      if (ok && !job.thenRemove.isEmpty()) QFile::remove(job.thenRemove);
    }
    lock.lock();
    lastProblem_ = ok ? QString() : problem;
    busy_ = false;
    if (jobs_.empty()) idle_.notify_all();
  }
}

bool TRecoveryWriter::WriteFile(const QString& path, const QByteArray& bytes, QString& problem) {
  const QFileInfo info(path);
  const QByteArray target = QFile::encodeName(path);
  // A dot name, so that a list of copies never takes a half-written one.
  const QByteArray temp =
      QFile::encodeName(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".tmp"));
  const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) {
    problem = QStringLiteral("Die Wiederherstellungskopie %1 lässt sich nicht anlegen: %2").arg(path, Errno());
    return false;
  }
  // On the disk before the rename: after a power cut the copy is whole or
  // the old one is still there.
  bool ok = WriteAll(fd, bytes.constData(), bytes.size()) && ::fsync(fd) == 0;
  if (!ok) problem = QStringLiteral("Die Wiederherstellungskopie %1 lässt sich nicht schreiben: %2").arg(path, Errno());
  if (::close(fd) != 0 && ok) {
    problem = QStringLiteral("Die Wiederherstellungskopie %1 lässt sich nicht schreiben: %2").arg(path, Errno());
    ok = false;
  }
  if (ok && ::rename(temp.constData(), target.constData()) != 0) {
    problem = QStringLiteral("Die Wiederherstellungskopie %1 lässt sich nicht ablegen: %2").arg(path, Errno());
    ok = false;
  }
  if (!ok) {
    ::unlink(temp.constData());
    return false;
  }
  // The new directory entry, too.
  const int dir = ::open(QFile::encodeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return true;
}
