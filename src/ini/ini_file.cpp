#include "ini/ini_file.h"

#include <optional>

#include "base/error.h"

namespace velkora {

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // Written verbatim, a line break would start lines of its own (even a
  // section) that no read gives back as this value. The file is not to
  // blame, so the message names the argument.
  const auto has_break = [](std::string_view text) {
    return text.find_first_of("\r\n") != std::string_view::npos;
  };
  const char* broken = has_break(section) ? "Sektion"
                       : has_break(key)   ? "Schlüssel"
                       : has_break(value) ? "Wert"
                                          : nullptr;
  if (broken != nullptr) {
    throw Error(std::string(broken) + " mit Zeilenumbruch kann nicht nach " + FileName() +
                " geschrieben werden");
  }
  if (!ProfileFunctions().WriteString(section, key, value, FileName())) {
    throw Error("nach " + FileName() + " kann nicht geschrieben werden");
  }
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  (void)ProfileFunctions().WriteString(section, key, std::nullopt, FileName());
}

std::vector<std::string> TIniFile::ReadSections() { return ReadNames(std::nullopt); }

std::vector<std::string> TIniFile::ReadSection(std::string_view section) {
  return ReadNames(section);
}

std::vector<Profile::NamedValue> TIniFile::ReadSectionValues(std::string_view section) {
  return ProfileFunctions().GetSectionValues(section, kIniListBuffer, kIniValueBuffer, FileName());
}

}  // namespace velkora
