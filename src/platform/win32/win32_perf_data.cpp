#include "platform/win32/win32_perf_data.h"

#include <windows.h>

#include "platform/win32/unique_handle.h"

namespace velkora::win32 {

std::optional<RegistryValue> Win32PerfData::ReadStatValue(const std::string& name) {
  UniqueHkey key;
  if (RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_QUERY_VALUE, key.put()) !=
      ERROR_SUCCESS) {
    return std::nullopt;
  }
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  RegistryValue value;
  value.type = type;
  value.data.resize(size);
  if (size > 0 && RegQueryValueExA(key.get(), name.c_str(), nullptr, &type, value.data.data(),
                                   &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  value.type = type;
  value.data.resize(size);
  return value;
}

}  // namespace velkora::win32
