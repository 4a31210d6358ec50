#pragma once

#include "platform/clock.h"

namespace velkora::posix {

// Local time from the system clock and the process's time zone
// (TZ / /etc/localtime), to the millisecond.
class PosixClock final : public Clock {
 public:
  DateTime Now() const override;
};

}  // namespace velkora::posix
