#pragma once

#include "platform/platform.h"
#include "platform/portable/stand_ins.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_named_lock.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_window_list.h"

namespace velkora::win32 {

// What Windows offers the server, through the ANSI API. The dial-up library
// and the performance counters are not bound yet: until they are, the server
// answers as on a system without them (1157 and 0).
class Win32Platform final : public Platform {
 public:
  Profile& IniFiles() override { return profile_; }
  Clock& SystemClock() override { return clock_; }
  Locale& UserLocale() override { return locale_; }
  FileSystem& Files() override { return files_; }
  MessageBoxes& Boxes() override { return boxes_; }
  NamedLockFactory& Locks() override { return locks_; }
  WindowList& TopLevelWindows() override { return windows_; }
  RasLibrary& Ras() override { return ras_; }
  PerfData& PerfCounters() override { return perf_; }
  ClassesRegistry& Registry() override { return registry_; }

 private:
  Win32Profile profile_;
  Win32Clock clock_;
  Win32Locale locale_;
  Win32FileSystem files_;
  Win32MessageBoxes boxes_;
  Win32NamedLockFactory locks_;
  Win32WindowList windows_;
  portable::UnavailableRasLibrary ras_;
  portable::NoPerfCounters perf_;
  Win32ClassesRegistry registry_;
};

}  // namespace velkora::win32
