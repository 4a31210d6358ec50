#include "ini/ini_file.h"

#include <optional>

#include "base/conversions.h"
#include "base/error.h"

namespace velkora {

std::string TIniFile::ReadString(std::string_view section, std::string_view key,
                                 std::string_view default_text) {
  return profile_.GetString(section, key, default_text, kIniValueBuffer, file_name_);
}

int32_t TIniFile::ReadInteger(std::string_view section, std::string_view key, int32_t default_value) {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text.replace(0, 2, "$");
  return StrToIntDef(text, default_value);
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  // Written verbatim, a line break would start lines of its own (even a
  // section) that no read gives back as this value.
  const auto has_break = [](std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; };
  if (has_break(section) || has_break(key) || has_break(value) ||
      !profile_.WriteString(section, key, value, file_name_)) {
    throw Error("nach " + file_name_ + " kann nicht geschrieben werden");
  }
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  (void)profile_.WriteString(section, key, std::nullopt, file_name_);
}

std::vector<std::string> TIniFile::ReadSections() {
  return SplitNameList(profile_.GetString(std::nullopt, std::nullopt, "", kIniListBuffer, file_name_));
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) {
  return SplitNameList(profile_.GetString(section, std::nullopt, "", kIniListBuffer, file_name_));
}

std::vector<std::string> SplitNameList(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    const std::size_t end = list.find('\0');
    names.emplace_back(list.substr(0, end));
    if (end == std::string_view::npos) break;
    list.remove_prefix(end + 1);
  }
  return names;
}

}  // namespace velkora
