#pragma once

#include <cstdint>
#include <string>

namespace velkora {

// Dial-up adapter performance counters.
//
// Thread safety: the main thread only; implementations need not be safe for
// concurrent use.
class PerfData {
 public:
  PerfData() = default;
  PerfData(const PerfData&) = delete;
  PerfData& operator=(const PerfData&) = delete;
  virtual ~PerfData() = default;

  // The 32-bit counter `key` ("Dial-Up Adapter\\TotalBytesRecvd", ...);
  // 0 when it does not exist or cannot be read. Never raises.
  virtual uint32_t ReadCounter(const std::string& key) = 0;
};

}  // namespace velkora
