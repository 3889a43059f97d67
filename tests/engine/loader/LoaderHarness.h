// Test rig for the loader: a pseudo-terminal with an emulated unit serving
// its master side on a thread, the slave side opened for the loader, and an
// engine holding a given download image.
#pragma once

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "EmulatedUnit.h"
#include "EngineFixture.h"
#include "Plexor.h"
#include "PseudoTerminal.h"
#include "SerialLoader.h"

namespace lt {

// Short waits keep the drain (one read time-out of silence) quick while
// leaving a loaded machine plenty of time for each echo.
inline LoaderTimeouts QuickTimeouts() {
  LoaderTimeouts t;
  t.ReadConstantMs = 200;
  t.ReadPerByteMs = 5;
  t.DrainQuietMs = 205;
  t.DrainLimitMs = 2000;
  t.WriteLimitMs = 2000;
  return t;
}

// Waits (a few seconds at most) until count bytes wait to be read on fd, so
// a test's stale output is on the line before the loader starts draining.
inline bool WaitPending(int fd, int count) {
  for (int i = 0; i < 5000; ++i) {
    int pending = 0;
    if (::ioctl(fd, FIONREAD, &pending) == 0 && pending >= count) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return false;
}

class UnitOnLine {
 public:
  explicit UnitOnLine(const UnitOptions& options = {}, int loaderOpenFlags = O_RDWR) {
    if (!Pty.Open()) return;
    LoaderFd = ::open(Pty.Path().c_str(), loaderOpenFlags | O_NOCTTY);
    Unit = std::make_unique<CEmulatedUnit>(Pty, options);
    Thread = std::thread([this] {
      Ended = Unit->Serve(StopFlag, 0, [this](const UnitDownload& d) { Downloads.push_back(d); });
    });
    if (LoaderFd >= 0 && options.StaleBytes > 0 && !WaitPending(LoaderFd, options.StaleBytes)) {
      ::close(LoaderFd);
      LoaderFd = -1;
    }
  }
  ~UnitOnLine() {
    Stop();
    if (LoaderFd >= 0) ::close(LoaderFd);
  }
  UnitOnLine(const UnitOnLine&) = delete;
  UnitOnLine& operator=(const UnitOnLine&) = delete;

  bool Ready() const { return LoaderFd >= 0 && Unit != nullptr; }
  int Fd() const { return LoaderFd; }

  // Stops the unit; afterwards Received() and Downloads are stable.
  void Stop() {
    StopFlag.store(true);
    if (Thread.joinable()) Thread.join();
  }
  const std::vector<uint8_t>& Received() const { return Unit->Received(); }

  CPseudoTerminal Pty;
  std::vector<UnitDownload> Downloads;
  CEmulatedUnit::End Ended = CEmulatedUnit::End::Stopped;

 private:
  int LoaderFd = -1;
  std::atomic<bool> StopFlag{false};
  std::unique_ptr<CEmulatedUnit> Unit;
  std::thread Thread;
};

// An engine whose download image is the given bytes (kept alive here).
class EngineWithImage {
 public:
  explicit EngineWithImage(std::vector<uint8_t> image) : Image(std::move(image)) {
    Raw()->DownloadImage = Image.data();
    Raw()->DownloadLength = static_cast<int32_t>(Image.size());
  }
  CPlexor* Raw() const { return Engine.get(); }
  int32_t Download(int fd, const LoaderTimeouts& t = QuickTimeouts()) { return CSerialLoader(*Raw(), t).Download(fd); }
  int32_t Progress() const { return Raw()->Progress.load(); }

  vt::Engine Engine;
  std::vector<uint8_t> Image;
};

// What a complete download of image puts on the wire.
inline std::vector<uint8_t> WireBytes(const std::vector<uint8_t>& image) {
  std::vector<uint8_t> wire = {2, static_cast<uint8_t>(image.size() >> 8), static_cast<uint8_t>(image.size() & 0xFF)};
  wire.insert(wire.end(), image.begin(), image.end());
  return wire;
}

inline const std::vector<uint8_t> kExampleImage = {20, 0, 5, 30, 31, 13, 10, 0, 255};

}  // namespace lt
