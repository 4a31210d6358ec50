#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/profile.h"

namespace velkora {

// One INI file read the way the tariff engine reads all of its files: key
// by key through the profile functions, each value through a
// 2048-character buffer (so at most 2047 characters), a missing file,
// section or key giving the default.
class LcrIniFile {
 public:
  LcrIniFile(Profile& profile, std::string file) : profile_(profile), file_(std::move(file)) {}

  const std::string& FileName() const { return file_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view default_text) const;
  // The text of the key as an integer: "0x"/"0X" followed by more text is
  // hexadecimal, so is a leading "$"; anything that is not an integer (also
  // an empty or missing value) gives `default_value`.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;

  // The numbers k from `first` to `last`, rising, for which the section has
  // a key named `prefix` followed by k in decimal without leading zeros
  // (letter case ignored, as in every lookup). Reading these keys gives the
  // same values as reading every key from prefix+first to prefix+last, but
  // costs one read per key that exists, however large `last` is.
  std::vector<int32_t> NumberedKeys(std::string_view section, std::string_view prefix,
                                    int32_t first, int32_t last) const;

 private:
  Profile& profile_;
  std::string file_;
};

}  // namespace velkora
