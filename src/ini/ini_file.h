#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace velkora {

// Buffer sizes the INI functions hand to the profile functions: one value
// comes back with at most 2047 characters, a list of names with at most
// 16382 (names and their NULs).
inline constexpr std::size_t kIniValueBuffer = 2048;
inline constexpr std::size_t kIniListBuffer = 16384;

// The INI file accessor: a file name and the profile functions, nothing
// else. Every call goes to the file at once; one accessor is made for each
// script call and dropped at its end.
class TIniFile {
 public:
  TIniFile(Profile& profile, std::string file_name) : profile_(profile), file_name_(std::move(file_name)) {}
  TIniFile(const TIniFile&) = delete;
  TIniFile& operator=(const TIniFile&) = delete;

  const std::string& FileName() const { return file_name_; }

  // The value, or `default_text` when file, section or key is missing.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view default_text);

  // The value read with an empty default as a 32-bit integer: decimal, or
  // hexadecimal after "$" or after "0x"/"0X" (which count only with at least
  // one character after them). Anything else, a missing or empty value
  // included, gives `default_value`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value);

  // Writes key=value, creating file and section. Raises
  // Error("nach <file> kann nicht geschrieben werden") when the profile
  // function refuses, and without calling it, when section, key or value
  // holds a line break, Error("<Sektion|Schlüssel|Wert> mit Zeilenumbruch
  // kann nicht nach <file> geschrieben werden") naming the first of them.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // Removes the key; a missing file, section or key is no error, and the
  // profile function's answer is not looked at.
  void DeleteKey(std::string_view section, std::string_view key);

  // The section names, in file order, as far as they fit the list buffer
  // (the last one may come back cut).
  std::vector<std::string> ReadSections();
  // The key names of the section, in file order, with the same limit.
  std::vector<std::string> ReadSection(std::string_view section);
  // The key names of the section as ReadSection gives them, each with its
  // value as ReadString with an empty default gives it; the file is read
  // once for all of them where the profile functions allow.
  std::vector<Profile::NamedValue> ReadSectionValues(std::string_view section);

 private:
  Profile& profile_;
  std::string file_name_;
};

}  // namespace velkora
