#include "UnitClock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace {

class CSystemUnitClock final : public CUnitClock {
 public:
  uint32_t Milliseconds() override {
    // steady_clock counts from the system's start on the platforms we build for.
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }

  CLocalTime LocalTime() override {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    CLocalTime t;
    t.Year = tm.tm_year + 1900;
    t.Month = tm.tm_mon + 1;
    t.Day = tm.tm_mday;
    t.Weekday = tm.tm_wday;
    t.Hour = tm.tm_hour;
    t.Minute = tm.tm_min;
    t.Second = tm.tm_sec;
    return t;
  }

  void Sleep(uint32_t milliseconds) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
};

}  // namespace

CUnitClock& SystemUnitClock() {
  static CSystemUnitClock clock;
  return clock;
}
