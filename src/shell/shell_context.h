#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace velkora {

// Everything the shell services need, handed down by reference instead of
// living in globals. One instance per process, made by the start-up
// sequence (or by a test) and outliving every user.
struct ShellContext {
  // The operating system, as the host's one bundle hands it out.
  Platform& platform;

  // Full path of the server's own settings file (SettingsFileName).
  std::string settings_file;
  // Full path of the log; its lines are written only while schreibe_log is
  // on.
  std::string log_file;
  // SchreibeLog, settled at start-up (ReadStartSettings): nothing reaches
  // the log while it is off. The one place the process keeps it.
  bool schreibe_log = false;
};

// `path` with its extension (the text after the last point of the last path
// component) replaced by `extension`, which includes its point; a path
// without extension gets `extension` appended.
std::string ChangeFileExt(std::string_view path, std::string_view extension);

}  // namespace velkora
