#pragma once

#include "platform/perf_data.h"

namespace velkora::win32 {

// The dial-up statistics below HKEY_DYN_DATA "PerfStats\StatData". Only
// the Windows 9x family fills them; elsewhere the key is missing or empty
// and every read gives nullopt.
class Win32PerfData final : public PerfData {
 public:
  std::optional<RegistryValue> ReadStatValue(const std::string& name) override;
};

}  // namespace velkora::win32
