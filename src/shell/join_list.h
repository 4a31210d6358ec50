#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkora {

// The items in order with `separator` between neighbours, nothing before
// the first or after the last; an empty list gives the empty text. The
// separator may be empty or several characters long.
inline std::string JoinList(const std::vector<std::string>& items, std::string_view separator) {
  std::string joined;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i != 0) joined += separator;
    joined += items[i];
  }
  return joined;
}

}  // namespace velkora
