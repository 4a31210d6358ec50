#pragma once

#include "platform/message_pump.h"

namespace velkora::win32 {

// The calling thread's message queue. A quit message met while pumping is
// posted again, so that the main loop still ends.
class Win32MessagePump final : public MessagePump {
 public:
  void ProcessMessages(uint32_t max_wait_ms) override;
  uint64_t SteadyMs() const override;
};

}  // namespace velkora::win32
