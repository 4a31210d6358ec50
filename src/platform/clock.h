#pragma once

#include "base/date_time.h"

namespace velkora {

// The current local date and time.
class Clock {
 public:
  virtual ~Clock() = default;
  // Local time now, with millisecond resolution where the platform has it.
  virtual DateTime Now() const = 0;
};

}  // namespace velkora
