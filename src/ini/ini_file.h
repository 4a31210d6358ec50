#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shell/ini_reader.h"

namespace velkora {

// The INI file accessor of the script functions: the server's reader
// (ReadString, ReadInteger) with the writes and the name lists. Every call
// goes to the file at once; one accessor is made for each script call and
// dropped at its end.
class TIniFile : public IniReader {
 public:
  using IniReader::IniReader;

  // Writes key=value, creating file and section. Raises
  // Error("nach <file> kann nicht geschrieben werden") when the profile
  // function refuses, and without calling it, when section, key or value
  // holds a line break, Error("<Sektion|Schlüssel|Wert> mit Zeilenumbruch
  // kann nicht nach <file> geschrieben werden") naming the first of them.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);

  // Removes the key; a missing file, section or key is no error, and the
  // profile function's answer is not looked at.
  void DeleteKey(std::string_view section, std::string_view key);

  // The section names, in file order, as far as they fit the list buffer
  // (the last one may come back cut).
  std::vector<std::string> ReadSections();
  // The key names of the section, in file order, with the same limit.
  std::vector<std::string> ReadSection(std::string_view section);
  // The key names of the section as ReadSection gives them, each with its
  // value as ReadString with an empty default gives it; the file is read
  // once for all of them where the profile functions allow.
  std::vector<Profile::NamedValue> ReadSectionValues(std::string_view section);
};

}  // namespace velkora
