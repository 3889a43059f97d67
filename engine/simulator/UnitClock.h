// CUnitClock: where real-time simulation gets its time from.
//
// Real-time mode reads the local date and time into the clock registers, a
// millisecond counter into the 20 ms timer, and sleeps for short pauses. All
// three go through this interface so that tests can script time instead of
// waiting for it.
#pragma once

#include <cstdint>

struct CLocalTime {
  int Year = 0;     // full year, e.g. 2026
  int Month = 1;    // 1..12
  int Day = 1;      // 1..31
  int Weekday = 0;  // 0 Sunday .. 6 Saturday
  int Hour = 0, Minute = 0, Second = 0;
};

class CUnitClock {
 public:
  virtual ~CUnitClock() = default;
  // Milliseconds since some fixed start (the system's start for the real clock).
  virtual uint32_t Milliseconds() = 0;
  virtual CLocalTime LocalTime() = 0;
  virtual void Sleep(uint32_t milliseconds) = 0;
};

// The platform's monotonic clock, local time and sleep.
CUnitClock& SystemUnitClock();
