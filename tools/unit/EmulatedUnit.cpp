#include "EmulatedUnit.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t kStartByte = 2;
constexpr int kPollSliceMs = 20;
constexpr int kAnswerLimitMs = 1000;

// Stale output: a mix that would confuse a loader that does not drain, the
// start byte and likely length bytes among it.
constexpr uint8_t kStalePattern[] = {'O', 'K', 13, 10, 2, 0, 9, 20, 255};

}  // namespace

uint16_t CEmulatedUnit::Checksum(const std::vector<uint8_t>& image) {
  uint32_t sum = 0;
  for (uint8_t b : image) sum += b;
  return static_cast<uint16_t>(sum);
}

bool CEmulatedUnit::Answer(uint8_t byte) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(kAnswerLimitMs);
  for (;;) {
    ssize_t n = ::write(Line.Master(), &byte, 1);
    if (n == 1) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN && Clock::now() < deadline) {
      pollfd p{Line.Master(), POLLOUT, 0};
      ::poll(&p, 1, kPollSliceMs);
      continue;
    }
    return false;
  }
}

CEmulatedUnit::Step CEmulatedUnit::Feed(uint8_t byte) {
  if (Options.Loopback) {
    Answer(byte);
    return Step::Continue;
  }
  if (!InTransfer) {
    if (byte == kStartByte) {
      InTransfer = true;
      Position = 0;
      Length = 0;
      Current = UnitDownload{};
      if (Options.HangUpAfter == 0) return Step::HangUp;
    }
    return Step::Continue;
  }
  const int32_t k = Position++;
  if (k == 0) Length = byte << 8;
  else if (k == 1) Length |= byte;
  else Current.Image.push_back(byte);

  if (Options.SilentFrom < 0 || k < Options.SilentFrom) {
    if (Options.DelayUs > 0) std::this_thread::sleep_for(std::chrono::microseconds(Options.DelayUs));
    Answer(k == Options.WrongEchoAt ? static_cast<uint8_t>(~byte) : byte);
  }
  if (Options.HangUpAfter >= 0 && Position >= Options.HangUpAfter) return Step::HangUp;
  if (k >= 1 && static_cast<int32_t>(Current.Image.size()) == Length) {
    InTransfer = false;
    Current.Checksum = Checksum(Current.Image);
    return Step::Completed;
  }
  return Step::Continue;
}

CEmulatedUnit::End CEmulatedUnit::Serve(const std::atomic<bool>& stop, int32_t maxDownloads, const DownloadHandler& onDownload) {
  if (!Line.IsOpen()) return End::LineFailed;
  for (int32_t i = 0; i < Options.StaleBytes; ++i) Answer(kStalePattern[i % sizeof kStalePattern]);

  int32_t completed = 0;
  auto lastByte = Clock::now();
  auto nextChatter = Clock::now() + std::chrono::milliseconds(Options.ChatterMs);
  uint8_t chunk[256];
  while (!stop.load(std::memory_order_relaxed)) {
    pollfd p{Line.Master(), POLLIN, 0};
    int wait = kPollSliceMs;
    if (Options.ChatterMs > 0 && !InTransfer) {
      auto untilChatter = std::chrono::duration_cast<std::chrono::milliseconds>(nextChatter - Clock::now()).count();
      wait = untilChatter < 0 ? 0 : untilChatter < wait ? static_cast<int>(untilChatter) : wait;
    }
    int ready = ::poll(&p, 1, wait);
    if (ready < 0 && errno != EINTR) return End::LineFailed;
    if (ready > 0 && (p.revents & POLLIN)) {
      ssize_t n = ::read(Line.Master(), chunk, sizeof chunk);
      if (n < 0 && errno != EINTR && errno != EAGAIN) return End::LineFailed;
      for (ssize_t i = 0; i < n; ++i) {
        ReceivedBytes.push_back(chunk[i]);
        switch (Feed(chunk[i])) {
          case Step::Continue: break;
          case Step::HangUp:
            // A hang-up throws away what the far end has not read yet.
            std::this_thread::sleep_for(std::chrono::milliseconds(Options.LingerMs));
            Line.HangUp();
            return End::HungUp;
          case Step::Completed:
            if (onDownload) onDownload(Current);
            if (maxDownloads > 0 && ++completed >= maxDownloads) return End::Done;
            break;
        }
      }
      if (n > 0) lastByte = Clock::now();
    } else if (ready > 0 && (p.revents & (POLLERR | POLLNVAL))) {
      return End::LineFailed;
    }
    const auto now = Clock::now();
    if (InTransfer && now - lastByte > std::chrono::milliseconds(Options.ResetMs)) InTransfer = false;
    if (!InTransfer && Options.ChatterMs > 0 && now >= nextChatter) {
      uint8_t tick = '.';
      if (::write(Line.Master(), &tick, 1) < 0) {
        // A full queue just drops the output, as a unit's serial buffer would.
      }
      nextChatter = now + std::chrono::milliseconds(Options.ChatterMs);
    }
  }
  // Whatever is still in flight was sent to the unit: record it.
  for (;;) {
    ssize_t n = ::read(Line.Master(), chunk, sizeof chunk);
    if (n <= 0) break;
    ReceivedBytes.insert(ReceivedBytes.end(), chunk, chunk + n);
  }
  return End::Stopped;
}
