#pragma once

#include <cstdint>
#include <string>

namespace velkora {

// Dial-up adapter performance counters.
class PerfData {
 public:
  virtual ~PerfData() = default;
  // The 32-bit counter `key` ("Dial-Up Adapter\\TotalBytesRecvd", ...);
  // 0 when it does not exist or cannot be read.
  virtual uint32_t ReadCounter(const std::string& key) = 0;
};

}  // namespace velkora
