#include "TRecoverySchedule.h"

#include <algorithm>

void TRecoverySchedule::SetInterval(int32_t seconds) { seconds_ = std::clamp(seconds, 0, kMaxSeconds); }

void TRecoverySchedule::Changed(int64_t now) {
  if (pending_) return;
  pending_ = true;
  firstChange_ = now;
}

int64_t TRecoverySchedule::DueAt() const {
  if (!pending_ || !Enabled()) return -1;
  return firstChange_ + int64_t{seconds_} * 1000;
}
