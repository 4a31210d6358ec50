#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace velkora::win32 {

// The program's command line split into parameters the way the server has
// always read it: parameters are separated by control characters and
// blanks; double quotes group blanks into a parameter and are removed;
// a parameter that is empty after that (a lone "") is dropped.
std::vector<std::string> SplitCommandLine(std::string_view command_line);

}  // namespace velkora::win32
