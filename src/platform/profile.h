#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

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
                                std::optional<std::string_view> key, std::string_view default_text,
                                std::size_t buffer_size, const std::string& file) = 0;

  // WritePrivateProfileString.
  // - key and value given: write key=value, creating file and section.
  // - key given, no value: delete the key.
  // - no key: delete the section.
  // Returns false when the file cannot be written; the file is then as it was.
  virtual bool WriteString(std::string_view section, std::optional<std::string_view> key,
                           std::optional<std::string_view> value, const std::string& file) = 0;

  // One key of a section with the value read for it.
  struct NamedValue {
    std::string name;
    std::string value;
    bool operator==(const NamedValue&) const = default;
  };

  // The key names of `section` as GetString(section, nullopt, "",
  // list_buffer_size, file) lists them (split as SplitProfileList splits),
  // each with the value GetString(section, name, "", value_buffer_size,
  // file) gives for it. This asks the file once per name; an implementation
  // that can read the file once for all of them should, so that a long
  // section costs time in proportion to its length.
  // REQUIRES: both buffer sizes >= 1.
  virtual std::vector<NamedValue> GetSectionValues(std::string_view section,
                                                   std::size_t list_buffer_size,
                                                   std::size_t value_buffer_size,
                                                   const std::string& file);
};

// A NUL-separated list as GetString returns it, split into its names. Every
// NUL ends a name, an empty one included (the section "[]" is a real
// section); characters after the last NUL are a name the buffer cut short.
inline std::vector<std::string> SplitProfileList(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    const std::size_t end = list.find('\0');
    names.emplace_back(list.substr(0, end));
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return names;
}

inline std::vector<Profile::NamedValue> Profile::GetSectionValues(std::string_view section,
                                                                  std::size_t list_buffer_size,
                                                                  std::size_t value_buffer_size,
                                                                  const std::string& file) {
  std::vector<NamedValue> entries;
  for (std::string& name :
       SplitProfileList(GetString(section, std::nullopt, "", list_buffer_size, file))) {
    std::string value = GetString(section, name, "", value_buffer_size, file);
    entries.push_back({std::move(name), std::move(value)});
  }
  return entries;
}

}  // namespace velkora
