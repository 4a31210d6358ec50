// IniReadSections, IniReadSection and IniReadSectionValues: whole lists of
// an INI file as one text, joined by the script's separator.

#include <exception>
#include <optional>
#include <unordered_map>

#include "base/ascii.h"
#include "ini/ini_file.h"
#include "ini/ini_functions.h"
#include "shell/join_list.h"

namespace velkora {
namespace {

// The entries key=value of a section in the order a string list keeps
// them when each is set by name: a later entry of a name already present
// (without regard to ASCII case) takes that entry's place, an empty value
// removes it. Indexed by name, so a section of thousands of keys stays
// linear.
class EntryList {
 public:
  void Set(const std::string& key, const std::string& value) {
    const std::string folded = AsciiLowered(key);
    const auto found = index_.find(folded);
    if (value.empty()) {
      if (found != index_.end()) {
        entries_[found->second].reset();
        index_.erase(found);
      }
      return;
    }
    std::string entry = key + "=" + value;
    if (found != index_.end()) {
      entries_[found->second] = std::move(entry);
    } else {
      index_.emplace(folded, entries_.size());
      entries_.push_back(std::move(entry));
    }
  }

  std::vector<std::string> Items() && {
    std::vector<std::string> items;
    items.reserve(index_.size());
    for (std::optional<std::string>& entry : entries_) {
      if (entry) items.push_back(std::move(*entry));
    }
    return items;
  }

 private:
  std::vector<std::optional<std::string>> entries_;  // removed entries stay as gaps
  std::unordered_map<std::string, std::size_t> index_;
};

}  // namespace

std::string IniFunctions::IniReadSections(const std::string& datei, const std::string& trenner) {
  frame_.LogCall(CallText("IniReadSections", {datei, trenner}));
  std::string result;
  try {
    TIniFile ini(profile_, datei);
    result = JoinList(ini.ReadSections(), trenner);
    frame_.LogResult(Quoted(result));
  } catch (const std::exception& e) {
    frame_.ReportException(e);
    result.clear();
  }
  return result;
}

std::string IniFunctions::IniReadSection(const std::string& datei, const std::string& sektion,
                                         const std::string& trenner) {
  frame_.LogCall(CallText("IniReadSection", {datei, sektion, trenner}));
  std::string result;
  try {
    TIniFile ini(profile_, datei);
    result = JoinList(ini.ReadSection(sektion), trenner);
    frame_.LogResult(Quoted(result));
  } catch (const std::exception& e) {
    frame_.ReportException(e);
    result.clear();
  }
  return result;
}

std::string IniFunctions::IniReadSectionValues(const std::string& ini_datei, const std::string& sektion,
                                               const std::string& trenner) {
  frame_.LogCall(CallText("IniReadSectionValues", {ini_datei, sektion, trenner}));
  std::string result;
  try {
    TIniFile ini(profile_, ini_datei);
    EntryList entries;
    for (const std::string& key : ini.ReadSection(sektion)) entries.Set(key, ini.ReadString(sektion, key, ""));
    result = JoinList(std::move(entries).Items(), trenner);
    frame_.LogResult(Quoted(result));
  } catch (const std::exception& e) {
    frame_.ReportException(e);
    result.clear();
  }
  return result;
}

}  // namespace velkora
