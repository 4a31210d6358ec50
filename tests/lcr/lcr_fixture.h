#pragma once

// A tariff engine over fakes: settings and TK32 files in the fake profile,
// German formats, the clock at Monday 7 December 2026, 07:58:30, logging on.

#include <string>
#include <vector>

#include "base/error.h"
#include "fakes/shell_fixture.h"
#include "lcr/evaluation.h"
#include "lcr/lcr_services.h"
#include "lcr/ranking.h"
#include "regex/perlre.h"
#include "shell/script_frame.h"

namespace velkora::testing_lcr {

class LcrFixture {
 public:
  fakes::ShellFixture f;
  TPerlre perlre{true, kPerlreCaseless};
  ScriptFrame frame{f.shell};
  LcrServices services{f.profile,
                       f.shell.settings_file,
                       f.clock,
                       f.locale,
                       f.files,
                       f.boxes,
                       perlre,
                       frame,
                       [this](std::string_view text) { frame.WriteLog(text); }};

  // A value in the settings file.
  void Setting(const std::string& section, const std::string& key, const std::string& value) {
    f.profile.Set(f.shell.settings_file, section, key, value);
  }
  // A value in any other file of the fake profile.
  void Ini(const std::string& file, const std::string& section, const std::string& key,
           const std::string& value) {
    f.profile.Set(file, section, key, value);
  }

  // A mode-0 provider under key `k` whose eight day types all use the
  // profile line `zeile`, with connection fee `ew`.
  void Provider(int k, const std::string& name, const std::string& zeile,
                const std::string& ew = "0") {
    Setting("LCR", std::to_string(k), name);
    const std::string section = "LCR " + name;
    Setting(section, "Ew", ew);
    for (const char* day : {"Ft", "So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"}) {
      Setting(section, day, "Standard");
    }
    Setting(section, "Standard", zeile);
  }

  // The log's entries without their timestamps (the clock stands still, so
  // each line starts with the same 20 characters).
  std::vector<std::string> LogLines() {
    std::vector<std::string> lines;
    const std::string& log = f.Log();
    std::size_t start = 0;
    while (start < log.size()) {
      std::size_t end = log.find("\r\n", start);
      if (end == std::string::npos) end = log.size();
      lines.push_back(log.substr(start + 20, end - start - 20));
      start = end + 2;
    }
    return lines;
  }
  void ClearLog() { f.files.files.erase(f.shell.log_file); }

  // Texts of the boxes shown so far.
  std::vector<std::string> Boxes() const {
    std::vector<std::string> texts;
    for (const auto& box : f.boxes.shown) texts.push_back(box.text);
    return texts;
  }

  // One evaluation; returns the list result with ";" and sets `name`.
  std::string Evaluate(const std::string& dauer, std::string* name = nullptr) {
    std::string n, list;
    VerbindungskostenAuswerten(services, dauer, n, list, ";");
    if (name) *name = n;
    return list;
  }
};

// The message KonfigurationEinlesen raises, or "" when it loads.
inline std::string LoadError(LcrEvaluation& ev) {
  try {
    ev.KonfigurationEinlesen();
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

}  // namespace velkora::testing_lcr
