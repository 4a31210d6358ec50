#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace velkora {

// Buffer sizes the server hands to the profile functions: one value comes
// back with at most 2047 characters, a list of names with at most 16382
// (names and their NULs).
inline constexpr std::size_t kIniValueBuffer = 2048;
inline constexpr std::size_t kIniListBuffer = 16384;

// Typed reads of one INI file through the profile functions, the same for
// every file the server reads: the files scripts name and the tariff
// engine's files. Every call goes to the file at once; nothing is cached.
// A reader is made for one call and dropped at its end.
class IniReader {
 public:
  IniReader(Profile& profile, std::string file_name)
      : profile_(profile), file_name_(std::move(file_name)) {}
  IniReader(const IniReader&) = delete;
  IniReader& operator=(const IniReader&) = delete;

  const std::string& FileName() const { return file_name_; }

  // The value (at most 2047 characters), or `default_text` when file,
  // section or key is missing.
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_text) const;

  // The value read with an empty default as a 32-bit integer: decimal, or
  // hexadecimal after "$" or after "0x"/"0X" (which count only with at least
  // one character after them). Anything else, a missing or empty value
  // included, gives `default_value`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;

  // The section names (`section` nullopt) or the key names of `section`, in
  // file order, as far as they fit `buffer` characters with their NULs (the
  // last one may come back cut, see SplitProfileList). `cut` (optional) is set
  // to whether the list may not have fit: it came back two characters short
  // of the buffer, as a cut list does.
  std::vector<std::string> ReadNames(std::optional<std::string_view> section,
                                     std::size_t buffer = kIniListBuffer,
                                     bool* cut = nullptr) const;

 protected:
  // For the writes and whole-section reads of a type that adds them.
  Profile& ProfileFunctions() const { return profile_; }

 private:
  Profile& profile_;
  std::string file_name_;
};

}  // namespace velkora
