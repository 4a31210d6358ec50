#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace velkora {

// The platform's private profile (INI file) functions, with their exact
// rules for reading, listing, writing and buffer truncation. No call raises:
// a file that cannot be read reads as empty, a failed write returns false.
//
// Thread safety: the main thread only; implementations need not be safe for
// concurrent use. Other programs may change a file between two calls:
// nothing is cached.
class Profile {
 public:
  Profile() = default;
  Profile(const Profile&) = delete;
  Profile& operator=(const Profile&) = delete;
  virtual ~Profile() = default;

  // GetPrivateProfileString.
  // - section and key given: the value of the key, or `default_text` with
  //   trailing spaces removed when file, section or key is missing; at most
  //   buffer_size-1 characters.
  // - section given, no key: the key names of the section.
  // - no section: the section names.
  // A list is NUL-joined with a NUL after every name; when it does not fit a
  // buffer of buffer_size characters (the final extra NUL included), the last
  // name is cut so that the result is buffer_size-2 characters long.
  // Returns exactly the characters the platform reports as copied (its
  // return value is the length of the result). REQUIRES: buffer_size >= 1.
  virtual std::string GetString(std::optional<std::string_view> section,
                                std::optional<std::string_view> key,
                                std::string_view default_text, std::size_t buffer_size,
                                const std::string& file) = 0;

  // WritePrivateProfileString.
  // - key and value given: write key=value, creating file and section.
  // - key given, no value: delete the key.
  // - no key: delete the section.
  // Returns false when the file cannot be written; the file is then as it was.
  virtual bool WriteString(std::string_view section, std::optional<std::string_view> key,
                           std::optional<std::string_view> value, const std::string& file) = 0;
};

}  // namespace velkora
