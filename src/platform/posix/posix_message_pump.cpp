#include "platform/posix/posix_message_pump.h"

#include <time.h>

namespace velkora::posix {

void PosixMessagePump::ProcessMessages(uint32_t max_wait_ms) {
  timespec pause{static_cast<time_t>(max_wait_ms / 1000),
                 static_cast<long>(max_wait_ms % 1000) * 1000000L};
  nanosleep(&pause, nullptr);
}

uint64_t PosixMessagePump::SteadyMs() const {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<uint64_t>(now.tv_sec) * 1000u + static_cast<uint64_t>(now.tv_nsec) / 1000000u;
}

}  // namespace velkora::posix
