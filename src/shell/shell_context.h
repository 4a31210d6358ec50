#pragma once

#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "platform/profile.h"

namespace velkora {

// Everything the shell services need, handed down by reference instead of
// living in globals. One instance per process, made by the start-up
// sequence (or by a test) and outliving every user.
struct ShellContext {
  Profile& profile;
  Clock& clock;
  Locale& locale;
  FileSystem& files;
  MessageBoxes& boxes;

  // Full path of the server's own settings file (SettingsFileName).
  std::string settings_file;
  // Full path of the log; empty while logging is off.
  std::string log_file;
  // The SchreibeLog flag: nothing reaches the log while it is false.
  bool schreibe_log = false;
};

// `path` with its extension (the text after the last point of the last path
// component) replaced by `extension`, which includes its point; a path
// without extension gets `extension` appended.
std::string ChangeFileExt(std::string_view path, std::string_view extension);

}  // namespace velkora
