// CEmulatedUnit: a Tarvix plus unit as far as the download line can tell.
//
// It waits for the start byte 2, then reads the image length (high byte,
// low byte) and that many image bytes, echoing every byte after the start
// byte. Bytes that arrive while it waits for a start byte are ignored, as a
// unit would. Options inject the faults a loader must survive: a unit that
// stops answering, a wrong echo, a slow unit, a line that hangs up, stale
// output and a program that keeps printing. In loop-back mode it is no unit
// at all but a wire that returns every byte, start byte included.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <vector>

#include "PseudoTerminal.h"

// Byte numbers count the bytes after the start byte from 0: 0 and 1 are the
// length, 2 the first image byte. A negative number turns a fault off.
struct UnitOptions {
  int32_t SilentFrom = -1;    // no answer from this byte on (0: never answers)
  int32_t WrongEchoAt = -1;   // this byte is answered with its complement
  int32_t HangUpAfter = -1;   // close the line after answering this many bytes
  int32_t DelayUs = 0;        // pause before each answer
  int32_t StaleBytes = 0;     // bytes left over from a program, sent once at the start
  int32_t ChatterMs = 0;      // while idle, send one byte every this many ms (0: quiet)
  int32_t ResetMs = 2000;     // a transfer that stalls this long is dropped
  int32_t LingerMs = 100;     // before hanging up, time for the last answer to arrive
  bool Loopback = false;
};

// One complete download as the unit received it.
struct UnitDownload {
  std::vector<uint8_t> Image;
  uint16_t Checksum = 0;  // sum of the image bytes, modulo 65536
};

class CEmulatedUnit {
 public:
  enum class End { Stopped, Done, HungUp, LineFailed };
  using DownloadHandler = std::function<void(const UnitDownload&)>;

  CEmulatedUnit(CPseudoTerminal& line, const UnitOptions& options) : Line(line), Options(options) {}

  // Serves the line until stop is set, maxDownloads downloads are complete
  // (0: no limit), the unit hangs up or the line fails. On stop, bytes still
  // in flight are collected without answering them.
  End Serve(const std::atomic<bool>& stop, int32_t maxDownloads = 0, const DownloadHandler& onDownload = {});

  // Every byte the unit read from the line, in order.
  const std::vector<uint8_t>& Received() const { return ReceivedBytes; }
  // Bytes of the transfer that was under way when serving ended.
  int32_t BytesInTransfer() const { return Position; }

  static uint16_t Checksum(const std::vector<uint8_t>& image);

 private:
  enum class Step { Continue, Completed, HangUp };
  Step Feed(uint8_t byte);
  bool Answer(uint8_t byte);

  CPseudoTerminal& Line;
  UnitOptions Options;
  std::vector<uint8_t> ReceivedBytes;
  bool InTransfer = false;
  int32_t Position = 0;  // bytes of the current transfer after the start byte
  int32_t Length = 0;
  UnitDownload Current;
};
