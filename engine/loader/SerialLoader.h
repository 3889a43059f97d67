// CSerialLoader: sends the compiled download image to a unit over a tty.
//
// The protocol: drain whatever the unit still has to say, send the start
// byte 2, then the image length (high byte, low byte) and the image bytes,
// each of which the unit must echo before the next one goes out. Progress
// counts image bytes. PlexorBreak is honoured while draining, before the
// start byte, before each length byte and before each image byte; a byte
// already on its way completes its echo first, so the line never carries a
// byte the loader did not account for.
#pragma once

#include <cstdint>

class CPlexor;
class CSerialLine;

// The loader's waits. The defaults are those of a real unit; tests shorten
// them to keep the drain (one full read time-out of silence) quick.
struct LoaderTimeouts {
  int32_t ReadConstantMs = 1000;  // per read, plus ReadPerByteMs per byte
  int32_t ReadPerByteMs = 50;
  int32_t DrainQuietMs = 1050;    // silence that ends the drain: one single-byte read
  int32_t DrainLimitMs = 3000;    // a unit still talking after this fails the drain
  int32_t WriteLimitMs = 5000;    // a line that will not take one byte in this long is broken

  int32_t OneByteReadMs() const { return ReadConstantMs + ReadPerByteMs; }
};

class CSerialLoader {
 public:
  CSerialLoader(CPlexor& engine, const LoaderTimeouts& timeouts) : Engine(engine), Timeouts(timeouts) {}

  // Runs one download over the tty fd. Returns the number of image bytes
  // sent, or a PLEXOR_DL_* code.
  int32_t Download(int fd);

 private:
  int32_t Drain(CSerialLine& line);
  int32_t Send(CSerialLine& line, uint8_t byte);
  int32_t SendEchoed(CSerialLine& line, uint8_t byte);
  bool BreakRequested() const;

  CPlexor& Engine;
  LoaderTimeouts Timeouts;
};
