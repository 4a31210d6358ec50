#pragma once

#include <cstdint>

namespace velkora {

// What a wait on the main thread needs: keep serving the thread's messages
// (window messages and incoming automation calls, which may re-enter the
// waiting code) and measure how long it has waited.
//
// Thread safety: the main thread only; implementations need not be safe for
// concurrent use.
class MessagePump {
 public:
  MessagePump() = default;
  MessagePump(const MessagePump&) = delete;
  MessagePump& operator=(const MessagePump&) = delete;
  virtual ~MessagePump() = default;

  // Dispatches every message waiting for the calling thread; when none is
  // waiting, first waits at most `max_wait_ms` for one to arrive.
  virtual void ProcessMessages(uint32_t max_wait_ms) = 0;
  // Milliseconds since an arbitrary start on a clock that never goes back
  // (changes of the wall clock do not move it).
  virtual uint64_t SteadyMs() const = 0;
};

}  // namespace velkora
