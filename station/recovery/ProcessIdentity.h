// TProcessIdentity: which process wrote a recovery copy, precise enough to
// tell whether that very process still runs. A process id alone is not:
// after a crash or a reboot the id may belong to another program, so the
// boot id and the process's start time (both from /proc, where present)
// go with it.
#pragma once

#include <QString>
#include <cstdint>

struct TProcessIdentity {
  int64_t pid = 0;
  QString bootId;           // empty when unknown
  uint64_t startTicks = 0;  // clock ticks after boot; 0 when unknown

  // This process.
  static TProcessIdentity Self();
  // Whether the process still runs: the same boot, a live process with that
  // id, and (when both are known) the same start time.
  bool IsRunning() const;

  friend bool operator==(const TProcessIdentity&, const TProcessIdentity&) = default;
};
