#include "shell/ini_reader.h"

#include "base/conversions.h"

namespace velkora {

std::string IniReader::ReadString(std::string_view section, std::string_view key,
                                  std::string_view default_text) const {
  return profile_.GetString(section, key, default_text, kIniValueBuffer, file_name_);
}

int32_t IniReader::ReadInteger(std::string_view section, std::string_view key,
                               int32_t default_value) const {
  std::string text = ReadString(section, key, "");
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    text.replace(0, 2, "$");
  }
  return StrToIntDef(text, default_value);
}

std::vector<std::string> IniReader::ReadNames(std::optional<std::string_view> section,
                                              std::size_t buffer, bool* cut) const {
  const std::string list = profile_.GetString(section, std::nullopt, "", buffer, file_name_);
  if (cut != nullptr) *cut = list.size() + 2 >= buffer;
  return SplitProfileList(list);
}

}  // namespace velkora
