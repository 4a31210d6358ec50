#pragma once

#include "platform/message_pump.h"

namespace velkora::posix {

// The POSIX host takes one call at a time from its input and has no
// messages to serve: a wait only passes time.
class PosixMessagePump final : public MessagePump {
 public:
  void ProcessMessages(uint32_t max_wait_ms) override;
  uint64_t SteadyMs() const override;
};

}  // namespace velkora::posix
