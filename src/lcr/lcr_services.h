#pragma once

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
  // Status line, call and result lines, and the engine's log lines.
  ScriptFrame& frame;
  // False while nothing reaches the log: the engine then does not even
  // format its many per-period lines.
  bool log_enabled = true;

  void Log(std::string_view text) const {
    if (log_enabled) frame.WriteLog(text);
  }
};

}  // namespace velkora
