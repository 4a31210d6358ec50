#include "ini/ini_file.h"

#include <optional>

#include "base/error.h"

namespace velkora {

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // Written verbatim, a line break would start lines of its own (even a
  // section) that no read gives back as this value.
  const auto has_break = [](std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; };
  if (has_break(section) || has_break(key) || has_break(value) ||
      !ProfileFunctions().WriteString(section, key, value, FileName())) {
    throw Error("nach " + FileName() + " kann nicht geschrieben werden");
  }
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  (void)ProfileFunctions().WriteString(section, key, std::nullopt, FileName());
}

std::vector<std::string> TIniFile::ReadSections() { return ReadNames(std::nullopt); }

std::vector<std::string> TIniFile::ReadSection(std::string_view section) { return ReadNames(section); }

}  // namespace velkora
