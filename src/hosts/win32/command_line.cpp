#include "hosts/win32/command_line.h"

namespace velkora::win32 {

std::vector<std::string> SplitCommandLine(std::string_view command_line) {
  std::vector<std::string> params;
  std::size_t i = 0;
  const auto is_separator = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (i < command_line.size()) {
    while (i < command_line.size() && is_separator(command_line[i])) ++i;
    if (i >= command_line.size()) break;
    std::string param;
    bool quoted = false;
    for (; i < command_line.size(); ++i) {
      const char c = command_line[i];
      if (c == '"') {
        quoted = !quoted;
      } else if (!quoted && is_separator(c)) {
        break;
      } else {
        param.push_back(c);
      }
    }
    if (!param.empty()) params.push_back(std::move(param));
  }
  return params;
}

}  // namespace velkora::win32
