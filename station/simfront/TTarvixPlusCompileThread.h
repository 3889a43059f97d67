// TTarvixPlusCompileThread: the worker that compiles (and downloads) the
// project behind the compiler window.
//
// Only the four long engine calls run on the worker: PlexorCompilerInit,
// PlexorCompile, PlexorCompilerDone and PlexorDownload. Everything else is a
// stage the worker hands to the user-interface thread, where the window's
// ShowStage runs while the worker waits. The worker touches no Qt object:
// it wakes the user-interface thread through an eventfd watched by a socket
// notifier, and the stage itself passes under a mutex.
//
// The object belongs to the compiler window and is joined before the window
// goes away; a worker still waiting for a stage then goes on without it.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "plexor.h"

class QSocketNotifier;

class TTarvixPlusCompileThread {
 public:
  enum Stage : uint8_t {
    kDone = 0,
    kCompiling = 1,
    kTables = 2,
    kDownloading = 3,
    kCompiled = 4,
    kFailed = 5,
    kDownloadEnded = 6,
    kStopped = 7,
  };
  // Runs on the user-interface thread for each stage.
  using StageHandler = std::function<void(uint8_t stage)>;

  // Starts the worker at once. `port` is the open line (download only),
  // `hasTables` whether the project has tables to load in stage 2.
  TTarvixPlusCompileThread(StageHandler showStage, PlexorHandle engine, bool download, int port, bool hasTables);
  ~TTarvixPlusCompileThread();
  TTarvixPlusCompileThread(const TTarvixPlusCompileThread&) = delete;
  TTarvixPlusCompileThread& operator=(const TTarvixPlusCompileThread&) = delete;

  // Asks the worker to stop between stages (the engine is told separately).
  void Terminate() { terminated_.store(true); }
  bool Terminated() const { return terminated_.load(); }
  // The worker has left Execute.
  bool Ended() const { return ended_.load(); }
  // Compile result, then download result; read it inside a stage.
  int32_t Result() const { return result_; }

  // Stages still to come are dropped; waits for the worker to end.
  void Join();

 private:
  void Execute();
  void Run();
  // Worker: shows a stage on the user-interface thread and waits for it.
  void Show(uint8_t stage);
  // User-interface thread: runs the stage the worker asked for.
  void Deliver();

  const StageHandler showStage_;
  const PlexorHandle engine_;
  const bool download_;
  const int port_;
  const bool hasTables_;

  int32_t result_ = 0;
  std::atomic<bool> terminated_{false};
  std::atomic<bool> ended_{false};

  std::mutex mutex_;
  std::condition_variable answered_;
  bool pending_ = false;   // a stage waits for the user-interface thread
  bool detached_ = false;  // no more stages are shown
  uint8_t stage_ = 0;

  int wakeFd_ = -1;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::thread thread_;
};
