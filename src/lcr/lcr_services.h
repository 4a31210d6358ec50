#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "platform/profile.h"
#include "regex/perlre.h"
#include "shell/script_frame.h"

namespace velkora {

// What the tariff engine needs of the server around it, handed in by
// reference. Every referenced object outlives every evaluation that uses
// it; the engine keeps nothing of its own between two evaluations.
struct LcrServices {
  // The profile functions; the settings file, tk32.ini and the tariff files
  // are all read through them.
  Profile& profile;
  // The server's own settings file (sections "LCR" and "LCR <provider>").
  std::string settings_file;
  // The start instant of every evaluation.
  Clock& clock;
  // Date, time and number formats, read once per evaluation.
  Locale& locale;
  // Existence checks and the disk search for tk32.ini.
  FileSystem& files;
  // The engine's own error box.
  MessageBoxes& boxes;
  // The process-wide regular expression instance.
  TPerlre& perlre;
  // Status line, call line and result line of the script functions.
  ScriptFrame& frame;
  // Where the engine's own log lines go (the sink adds timestamp and
  // escaping). Empty while nothing is logged: the engine then does not even
  // format its many per-period lines.
  std::function<void(std::string_view)> log;

  // Whether a folder the disk search found for tk32.ini is stored in
  // TK32Pfad, so that later evaluations find it at once. A what-if run
  // writes nothing into the configuration it is given: it uses the folder
  // for its one evaluation and only logs it.
  bool store_found_tk32_folder = true;

  bool Logging() const { return static_cast<bool>(log); }
  void Log(std::string_view text) const {
    if (log) log(text);
  }
};

}  // namespace velkora
