#include "lcr/ini_values.h"

#include <algorithm>
#include <limits>

#include "base/ascii.h"
#include "base/conversions.h"

namespace velkora {
namespace {

constexpr std::size_t kValueBuffer = 2048;
// Key lists start with the buffer the server uses for lists elsewhere and
// grow until the whole list fits.
constexpr std::size_t kFirstListBuffer = 16384;
constexpr std::size_t kLargestListBuffer = std::size_t{1} << 28;

// The number a key name carries after `prefix`, when it is written in
// decimal without leading zeros and lies in [first, last].
bool NumberAfterPrefix(std::string_view name, std::string_view prefix, int32_t first,
                       int32_t last, int32_t& number) {
  if (!StartsWithIgnoreAsciiCase(name, prefix)) return false;
  const std::string_view digits = name.substr(prefix.size());
  if (digits.empty() || digits.size() > 10) return false;
  if (digits.size() > 1 && digits[0] == '0') return false;
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < first || value > last) return false;
  number = static_cast<int32_t>(value);
  return true;
}

}  // namespace

std::string LcrIniFile::ReadString(std::string_view section, std::string_view key,
                                   std::string_view default_text) const {
  return profile_.GetString(section, key, default_text, kValueBuffer, file_);
}

int32_t LcrIniFile::ReadInteger(std::string_view section, std::string_view key,
                                int32_t default_value) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text = "$" + text.substr(2);
  }
  return StrToIntDef(text, default_value);
}

std::vector<int32_t> LcrIniFile::NumberedKeys(std::string_view section, std::string_view prefix,
                                              int32_t first, int32_t last) const {
  std::vector<int32_t> numbers;
  if (first > last) return numbers;
  std::string list;
  for (std::size_t buffer = kFirstListBuffer;; buffer *= 2) {
    list = profile_.GetString(section, std::nullopt, "", buffer, file_);
    // A list that did not fit comes back two characters short of the buffer.
    if (list.size() + 2 < buffer || buffer >= kLargestListBuffer) break;
  }
  std::size_t start = 0;
  while (start < list.size()) {
    std::size_t end = list.find('\0', start);
    if (end == std::string::npos) end = list.size();
    int32_t number = 0;
    if (NumberAfterPrefix(std::string_view(list).substr(start, end - start), prefix, first, last,
                          number)) {
      numbers.push_back(number);
    }
    start = end + 1;
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace velkora
