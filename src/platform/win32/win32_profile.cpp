#include "platform/win32/win32_profile.h"

#include <windows.h>

#include <vector>

namespace velkora::win32 {
namespace {

// The API wants zero-terminated strings or null for "not given".
class OptionalCString {
 public:
  explicit OptionalCString(std::optional<std::string_view> text)
      : given_(text.has_value()), text_(text.value_or("")) {}
  const char* get() const { return given_ ? text_.c_str() : nullptr; }

 private:
  bool given_;
  std::string text_;
};

}  // namespace

std::string Win32Profile::GetString(std::optional<std::string_view> section,
                                    std::optional<std::string_view> key,
                                    std::string_view default_text, std::size_t buffer_size,
                                    const std::string& file) {
  OptionalCString section_arg(section);
  OptionalCString key_arg(key);
  std::string default_arg(default_text);
  // Large enough for the API's own limit; the caller's size is what is passed.
  std::vector<char> buffer(buffer_size == 0 ? 1 : buffer_size, '\0');
  DWORD copied =
      GetPrivateProfileStringA(section_arg.get(), key_arg.get(), default_arg.c_str(), buffer.data(),
                               static_cast<DWORD>(buffer.size()), file.c_str());
  if (copied > buffer.size()) copied = static_cast<DWORD>(buffer.size());
  return std::string(buffer.data(), copied);
}

bool Win32Profile::WriteString(std::string_view section, std::optional<std::string_view> key,
                               std::optional<std::string_view> value, const std::string& file) {
  std::string section_arg(section);
  OptionalCString key_arg(key);
  OptionalCString value_arg(value);
  return WritePrivateProfileStringA(section_arg.c_str(), key_arg.get(), value_arg.get(),
                                    file.c_str()) != FALSE;
}

}  // namespace velkora::win32
