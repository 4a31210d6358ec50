// IniReadSections, IniReadSection and IniReadSectionValues: whole lists of
// an INI file as one text, joined by the script's separator.

#include <exception>
#include <functional>
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

// The frame all three share: the call line, then the list joined by
// `trenner` and its result line, or the error report and the empty text.
std::string JoinedListCall(ScriptFrame& frame, const std::string& call_text,
                           const std::string& trenner,
                           const std::function<std::vector<std::string>()>& fill_list) {
  frame.LogCall(call_text);
  try {
    std::string result = JoinList(fill_list(), trenner);
    frame.LogResult(Quoted(result));
    return result;
  } catch (const std::exception& e) {
    frame.ReportException(e);
    return std::string();
  }
}

}  // namespace

std::string IniFunctions::IniReadSections(const std::string& datei, const std::string& trenner) {
  return JoinedListCall(frame_, CallText("IniReadSections", {datei, trenner}), trenner,
                        [&] { return TIniFile(profile_, datei).ReadSections(); });
}

std::string IniFunctions::IniReadSection(const std::string& datei, const std::string& sektion,
                                         const std::string& trenner) {
  return JoinedListCall(frame_, CallText("IniReadSection", {datei, sektion, trenner}), trenner,
                        [&] { return TIniFile(profile_, datei).ReadSection(sektion); });
}

std::string IniFunctions::IniReadSectionValues(const std::string& ini_datei,
                                               const std::string& sektion,
                                               const std::string& trenner) {
  return JoinedListCall(frame_, CallText("IniReadSectionValues", {ini_datei, sektion, trenner}),
                        trenner, [&] {
                          TIniFile ini(profile_, ini_datei);
                          EntryList entries;
                          for (const Profile::NamedValue& entry : ini.ReadSectionValues(sektion))
                            entries.Set(entry.name, entry.value);
                          return std::move(entries).Items();
                        });
}

}  // namespace velkora
