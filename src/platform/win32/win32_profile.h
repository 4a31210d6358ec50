#pragma once

#include "platform/profile.h"

namespace velkora::win32 {

// The profile functions of the system itself (GetPrivateProfileStringA,
// WritePrivateProfileStringA): the reference the portable engine imitates.
class Win32Profile final : public Profile {
 public:
  std::string GetString(std::optional<std::string_view> section,
                        std::optional<std::string_view> key, std::string_view default_text,
                        std::size_t buffer_size, const std::string& file) override;
  bool WriteString(std::string_view section, std::optional<std::string_view> key,
                   std::optional<std::string_view> value, const std::string& file) override;
};

}  // namespace velkora::win32
