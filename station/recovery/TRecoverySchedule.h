// TRecoverySchedule: when the next recovery copy is due. Times are
// milliseconds of any monotonic clock, so tests drive it with a fake one.
//
// A change that is not yet in a copy makes a copy due one interval after
// it; later changes do not push that time back, so steady typing still gets
// a copy every interval, and a quiet project gets none. An interval of 0
// switches copies off.
#pragma once

#include <cstdint>

class TRecoverySchedule {
 public:
  static constexpr int32_t kDefaultSeconds = 30;
  static constexpr int32_t kMaxSeconds = 3600;

  explicit TRecoverySchedule(int32_t seconds = kDefaultSeconds) { SetInterval(seconds); }

  // Seconds between copies, clamped to 0..kMaxSeconds.
  void SetInterval(int32_t seconds);
  int32_t Interval() const { return seconds_; }
  bool Enabled() const { return seconds_ > 0; }

  // The project changed at now.
  void Changed(int64_t now);
  // Every change so far is in a copy (or in the project file).
  void Settled() { pending_ = false; }
  // Changes wait for a copy.
  bool Pending() const { return pending_; }
  // When the next copy is due; -1 when none is.
  int64_t DueAt() const;
  bool Due(int64_t now) const { return DueAt() >= 0 && now >= DueAt(); }

 private:
  int32_t seconds_ = kDefaultSeconds;
  bool pending_ = false;
  int64_t firstChange_ = 0;
};
