#include "platform/posix/posix_clock.h"

#include <time.h>

namespace velkora::posix {

DateTime PosixClock::Now() const {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  const time_t seconds = now.tv_sec;
  tm local{};
  if (::localtime_r(&seconds, &local) == nullptr) return 0.0;
  // A leap second has no place in a day fraction; it reads as the second before.
  const int second = local.tm_sec > 59 ? 59 : local.tm_sec;
  const int millisecond = static_cast<int>(now.tv_nsec / 1000000);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
         EncodeTime(local.tm_hour, local.tm_min, second, millisecond);
}

}  // namespace velkora::posix
