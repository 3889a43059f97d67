// CSerialLine: the loader's view of an opened tty, one byte at a time.
//
// It applies the download line settings (9600 bit/s, 8N1, raw, no flow
// control, DTR and RTS off) on top of whatever the descriptor had, and gives
// single-byte reads and writes with time-outs built on poll(). Reads never
// block past their time-out and a signal never ends a wait early (EINTR is
// retried). For the duration of the download the descriptor is switched to
// non-blocking I/O and, where the driver offers it, to low-latency mode; both
// are put back when the object goes away. The descriptor itself stays open:
// it belongs to the caller.
#pragma once

#include <atomic>
#include <cstdint>

class CSerialLine {
 public:
  enum class ReadResult { Byte, Nothing, Aborted, Failed };
  enum class WriteResult { Written, Failed };

  explicit CSerialLine(int fd) : Fd(fd) {}
  ~CSerialLine();
  CSerialLine(const CSerialLine&) = delete;
  CSerialLine& operator=(const CSerialLine&) = delete;

  // True when the descriptor is open and is a terminal (hung up or not).
  bool IsTerminal() const;

  // Applies the line settings. Refusals are not errors: a line that does not
  // take them shows up later as a failed write or a missing answer.
  void Configure();

  // Waits up to timeoutMs for one byte. With an abort flag the wait ends
  // with Aborted soon after the flag is set. Failed means the line is gone
  // (hang-up, end of file, I/O error), not merely quiet.
  ReadResult ReadByte(uint8_t* byte, int32_t timeoutMs, const std::atomic<int32_t>* abort = nullptr);

  // Writes exactly one byte. The line normally takes it at once; one that
  // will not take it within limitMs counts as a failed write rather than
  // blocking the caller forever.
  WriteResult WriteByte(uint8_t byte, int32_t limitMs);

 private:
  // Waits for events on the descriptor; returns the revents, 0 on time-out,
  // -1 on a poll failure. EINTR is retried with the time that is left.
  int WaitFor(short events, int32_t timeoutMs);

  int Fd;
  bool RestoreFlags = false;
  int SavedFlags = 0;
  bool RestoreLowLatency = false;
};
