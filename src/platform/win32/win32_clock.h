#pragma once

#include "platform/clock.h"

namespace velkora::win32 {

// Local time from GetLocalTime, to the millisecond.
class Win32Clock final : public Clock {
 public:
  DateTime Now() const override;
};

}  // namespace velkora::win32
