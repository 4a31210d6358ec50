#pragma once

#include "platform/registry.h"

namespace velkora::win32 {

// Keys below HKEY_CLASSES_ROOT. Writing needs the right to change the
// machine's classes (an elevated process, or a per-user redirection).
class Win32ClassesRegistry final : public ClassesRegistry {
 public:
  bool SetDefaultValue(const std::string& key, const std::string& value) override;
  bool DeleteKey(const std::string& key) override;
};

}  // namespace velkora::win32
