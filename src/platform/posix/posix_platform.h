#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "platform/platform.h"
#include "platform/portable/stand_ins.h"
#include "platform/posix/ini_file_profile.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/posix_locale.h"
#include "platform/posix/posix_named_lock.h"
#include "platform/posix/stderr_message_boxes.h"

namespace velkora::posix {

// What a POSIX system offers the server: INI files through the portable
// engine, the system clock, the formats of the locale environment, message
// boxes written to a stream, flock() locks. It has no top-level windows the
// server can reach, no dial-up library (1157), no performance counters (0)
// and no class registry.
class PosixPlatform final : public Platform {
 public:
  struct Options {
    // Where message boxes are written, as "[caption] text".
    std::ostream& box_stream;
    // The environment the locale's names are read from.
    PosixLocale::EnvLookup env;
    // German formats whatever the environment says.
    bool german_formats = false;
    // Where INI files named without a full path lie (the platform's
    // functions look in one fixed folder for them); empty: the current
    // folder.
    std::string ini_folder;
  };

  explicit PosixPlatform(Options options);

  Profile& IniFiles() override { return profile_; }
  Clock& SystemClock() override { return clock_; }
  Locale& UserLocale() override { return *locale_; }
  FileSystem& Files() override { return files_; }
  MessageBoxes& Boxes() override { return boxes_; }
  NamedLockFactory& Locks() override { return locks_; }
  WindowList& TopLevelWindows() override { return windows_; }
  RasLibrary& Ras() override { return ras_; }
  PerfData& PerfCounters() override { return perf_; }
  ClassesRegistry& Registry() override { return registry_; }

 private:
  IniFileProfile profile_;
  PosixClock clock_;
  std::unique_ptr<Locale> locale_;
  PosixFileSystem files_;
  StderrMessageBoxes boxes_;
  PosixNamedLockFactory locks_;
  portable::EmptyWindowList windows_;
  portable::UnavailableRasLibrary ras_;
  portable::NoPerfCounters perf_;
  portable::NoClassesRegistry registry_;
};

}  // namespace velkora::posix
