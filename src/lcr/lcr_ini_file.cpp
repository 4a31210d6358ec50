#include "lcr/lcr_ini_file.h"

#include <algorithm>
#include <limits>

#include "base/ascii.h"

namespace velkora {
namespace {

// Key lists start with the buffer the server uses for lists elsewhere
// (kIniListBuffer) and grow until the whole list fits.
constexpr std::size_t kLargestListBuffer = std::size_t{1} << 28;

// The number a key name carries after `prefix`, when it is written in
// decimal without leading zeros and lies in [first, last].
bool NumberAfterPrefix(std::string_view name, std::string_view prefix, int32_t first, int32_t last,
                       int32_t& number) {
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

std::vector<int32_t> LcrIniFile::NumberedKeys(std::string_view section, std::string_view prefix,
                                              int32_t first, int32_t last) const {
  std::vector<int32_t> numbers;
  if (first > last) return numbers;
  std::vector<std::string> names;
  for (std::size_t buffer = kIniListBuffer;; buffer *= 2) {
    bool cut = false;
    names = ReadNames(section, buffer, &cut);
    if (!cut || buffer >= kLargestListBuffer) break;
  }
  for (const std::string& name : names) {
    int32_t number = 0;
    if (NumberAfterPrefix(name, prefix, first, last, number)) numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

}  // namespace velkora
