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
  // section) that no read gives back as this value. The file is not to
  // blame, so the message names the argument.
  const auto has_break = [](std::string_view text) { return text.find_first_of("\r\n") != std::string_view::npos; };
  const char* broken = has_break(section) ? "Sektion"
                       : has_break(key)   ? "Schlüssel"
                       : has_break(value) ? "Wert"
                                          : nullptr;
  if (broken != nullptr) {
    throw Error(std::string(broken) + " mit Zeilenumbruch kann nicht nach " + file_name_ + " geschrieben werden");
  }
  if (!profile_.WriteString(section, key, value, file_name_)) {
    throw Error("nach " + file_name_ + " kann nicht geschrieben werden");
  }
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  (void)profile_.WriteString(section, key, std::nullopt, file_name_);
}

std::vector<std::string> TIniFile::ReadSections() {
  return SplitProfileList(profile_.GetString(std::nullopt, std::nullopt, "", kIniListBuffer, file_name_));
}

std::vector<std::string> TIniFile::ReadSection(std::string_view section) {
  return SplitProfileList(profile_.GetString(section, std::nullopt, "", kIniListBuffer, file_name_));
}

std::vector<Profile::NamedValue> TIniFile::ReadSectionValues(std::string_view section) {
  return profile_.GetSectionValues(section, kIniListBuffer, kIniValueBuffer, file_name_);
}

}  // namespace velkora
