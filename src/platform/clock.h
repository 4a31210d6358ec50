#pragma once

#include "base/date_time.h"

namespace velkora {

// The current local date and time. Core code never reads the system clock
// itself, so that tests can fix the time.
//
// Thread safety: safe to call from several threads.
class Clock {
 public:
  Clock() = default;
  Clock(const Clock&) = delete;
  Clock& operator=(const Clock&) = delete;
  virtual ~Clock() = default;

  // Local time now (the time zone of the user), with millisecond resolution
  // where the platform has it. Never raises; two calls may go backwards when
  // the user or the system sets the clock.
  virtual DateTime Now() const = 0;
};

}  // namespace velkora
