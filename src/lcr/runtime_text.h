#pragma once

#include <string_view>

namespace velkora {

// The runtime's trim, which the tariff formats were written for: the blank
// and every control character go at both ends.
constexpr std::string_view TrimRuntime(std::string_view text) {
  std::size_t first = 0;
  std::size_t last = text.size();
  while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
  while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
  return text.substr(first, last - first);
}

}  // namespace velkora
