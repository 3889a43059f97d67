#include "TTarvixPlusCompileThread.h"

#include <QSocketNotifier>
#include <sys/eventfd.h>
#include <unistd.h>

TTarvixPlusCompileThread::TTarvixPlusCompileThread(StageHandler showStage, PlexorHandle engine, bool download,
                                                   int port, bool hasTables)
    : showStage_(std::move(showStage)), engine_(engine), download_(download), port_(port), hasTables_(hasTables) {
  wakeFd_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
  if (wakeFd_ >= 0) {
    notifier_ = std::make_unique<QSocketNotifier>(wakeFd_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { Deliver(); });
  }
  thread_ = std::thread([this] { Execute(); });
}

TTarvixPlusCompileThread::~TTarvixPlusCompileThread() {
  Join();
  notifier_.reset();
  if (wakeFd_ >= 0) ::close(wakeFd_);
}

void TTarvixPlusCompileThread::Join() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    detached_ = true;
  }
  answered_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void TTarvixPlusCompileThread::Execute() {
  Run();
  ended_.store(true);
}

void TTarvixPlusCompileThread::Run() {
  Show(kCompiling);
  if (!PlexorCompilerInit(engine_)) return Show(kFailed);
  result_ = PlexorCompile(engine_);
  if (result_ != 0) return Show(kFailed);
  if (Terminated()) return Show(kStopped);
  if (hasTables_) Show(kTables);
  // A refused table has finished the window already; an abort that came
  // before the tables has not, so every early end still shows kStopped.
  if (Terminated()) return Show(kStopped);
  if (!PlexorCompilerDone(engine_)) return Show(kFailed);
  Show(kCompiled);
  if (Terminated()) return Show(kStopped);
  if (download_) {
    Show(kDownloading);
    result_ = PlexorDownload(engine_, port_);
    Show(kDownloadEnded);
  }
  Show(Terminated() ? kStopped : kDone);
}

void TTarvixPlusCompileThread::Show(uint8_t stage) {
  std::unique_lock<std::mutex> lock(mutex_);
  if (detached_ || wakeFd_ < 0) return;
  stage_ = stage;
  pending_ = true;
  const uint64_t one = 1;
  // The counter cannot overflow: there is at most one wake-up outstanding.
  [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
  answered_.wait(lock, [this] { return !pending_ || detached_; });
}

void TTarvixPlusCompileThread::Deliver() {
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t got = ::read(wakeFd_, &count, sizeof count);
  uint8_t stage = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!pending_ || detached_) return;
    stage = stage_;
  }
  // The worker waits meanwhile, so the stage may use the engine freely.
  showStage_(stage);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_ = false;
  }
  answered_.notify_all();
}
