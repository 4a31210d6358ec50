#include "shell/shell_context.h"

namespace velkora {

std::string ChangeFileExt(std::string_view path, std::string_view extension) {
  // Only a point inside the last path component starts an extension.
  const std::size_t last_separator = path.find_last_of("\\/:");
  const std::size_t point = path.find_last_of('.');
  const bool has_extension = point != std::string_view::npos &&
                             (last_separator == std::string_view::npos || point > last_separator);
  std::string result(has_extension ? path.substr(0, point) : path);
  result += extension;
  return result;
}

}  // namespace velkora
