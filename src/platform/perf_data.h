#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velkora {

// Registry value types, numbered as the platform numbers them.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;

// One value as the registry holds it.
struct RegistryValue {
  uint32_t type = kRegNone;
  std::vector<uint8_t> data;
};

// The platform's dial-up statistics (on Windows the dynamic registry data
// below HKEY_DYN_DATA, key "\PerfStats\StatData").
//
// Thread safety: the main thread only; implementations need not be safe for
// concurrent use.
class PerfData {
 public:
  PerfData() = default;
  PerfData(const PerfData&) = delete;
  PerfData& operator=(const PerfData&) = delete;
  virtual ~PerfData() = default;

  // The value `name` (passed to the platform unchanged) with its type and
  // all its data. The key is opened for this one read, never created, and
  // closed again. nullopt when the key or the value does not exist or
  // cannot be read, and on a platform that keeps no such statistics.
  // Never raises.
  virtual std::optional<RegistryValue> ReadStatValue(const std::string& name) = 0;
};

}  // namespace velkora
