#include "SerialLoader.h"

#include <chrono>

#include "Plexor.h"
#include "SerialLine.h"
#include "plexor.h"

namespace {

constexpr uint8_t kStartByte = 2;
constexpr int32_t kOk = 0;

}  // namespace

bool CSerialLoader::BreakRequested() const {
  return Engine.BreakRequested.load(std::memory_order_relaxed) != 0;
}

int32_t CSerialLoader::Download(int fd) {
  const uint8_t* image = Engine.DownloadImage;
  const int32_t length = Engine.DownloadLength;
  // The length travels as two bytes; anything outside that is not an image
  // the compiler made.
  if (!image || length <= 0 || length > 0xFFFF) return PLEXOR_DL_NOT_COMPILED;
  CSerialLine line(fd);
  if (!line.IsTerminal()) return PLEXOR_DL_NOT_COMPILED;

  Engine.Progress.store(0, std::memory_order_relaxed);
  Engine.ProgressTotal.store(length, std::memory_order_relaxed);
  Engine.BreakRequested.store(0, std::memory_order_relaxed);

  line.Configure();
  if (int32_t r = Drain(line); r != kOk) return r;

  if (BreakRequested()) return PLEXOR_DL_ABORTED;
  if (int32_t r = Send(line, kStartByte); r != kOk) return r;
  const uint8_t header[2] = {static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length & 0xFF)};
  for (uint8_t byte : header) {
    if (BreakRequested()) return PLEXOR_DL_ABORTED;
    if (int32_t r = SendEchoed(line, byte); r != kOk) return r;
  }
  for (int32_t i = 0; i < length; ++i) {
    if (BreakRequested()) return PLEXOR_DL_ABORTED;
    if (int32_t r = SendEchoed(line, image[i]); r != kOk) return r;
    Engine.Progress.fetch_add(1, std::memory_order_relaxed);
  }
  return Engine.Progress.load(std::memory_order_relaxed);
}

// Discards what the unit sent before the download until a read returns no
// byte: the line stays quiet for one read time-out, or the read fails (a
// line that is gone then shows up as a failed write of the start byte). A
// unit that never goes quiet (a running program that prints) would keep
// this going for ever, so it is bounded.
int32_t CSerialLoader::Drain(CSerialLine& line) {
  using Clock = std::chrono::steady_clock;
  const auto limit = Clock::now() + std::chrono::milliseconds(Timeouts.DrainLimitMs);
  for (;;) {
    if (Clock::now() >= limit) return PLEXOR_DL_DRAIN;
    uint8_t stale;
    switch (line.ReadByte(&stale, Timeouts.DrainQuietMs, &Engine.BreakRequested)) {
      case CSerialLine::ReadResult::Byte: break;
      case CSerialLine::ReadResult::Nothing:
      case CSerialLine::ReadResult::Failed: return kOk;
      case CSerialLine::ReadResult::Aborted: return PLEXOR_DL_ABORTED;
    }
  }
}

int32_t CSerialLoader::Send(CSerialLine& line, uint8_t byte) {
  return line.WriteByte(byte, Timeouts.WriteLimitMs) == CSerialLine::WriteResult::Written ? kOk : PLEXOR_DL_WRITE;
}

int32_t CSerialLoader::SendEchoed(CSerialLine& line, uint8_t byte) {
  if (int32_t r = Send(line, byte); r != kOk) return r;
  uint8_t echo;
  if (line.ReadByte(&echo, Timeouts.OneByteReadMs()) != CSerialLine::ReadResult::Byte) return PLEXOR_DL_NO_ANSWER;
  return echo == byte ? kOk : PLEXOR_DL_WRONG_ECHO;
}
