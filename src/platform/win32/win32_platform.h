#pragma once

#include "platform/platform.h"
#include "platform/portable/stand_ins.h"
#include "platform/win32/win32_clock.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_locale.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_message_pump.h"
#include "platform/win32/win32_named_lock.h"
#include "platform/win32/win32_perf_data.h"
#include "platform/win32/win32_profile.h"
#include "platform/win32/win32_ras.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_tray_shell.h"
#include "platform/win32/win32_window_list.h"

namespace velkora::win32 {

// What Windows offers the server, through the ANSI API.
class Win32Platform final : public Platform {
 public:
  Profile& IniFiles() override { return profile_; }
  Clock& SystemClock() override { return clock_; }
  Locale& UserLocale() override { return locale_; }
  FileSystem& Files() override { return files_; }
  MessageBoxes& Boxes() override { return boxes_; }
  MessagePump& Messages() override { return messages_; }
  NamedLockFactory& Locks() override { return locks_; }
  WindowList& TopLevelWindows() override { return windows_; }
  RasLibrary& Ras() override { return ras_; }
  PerfData& PerfCounters() override { return perf_; }
  TrayShell& Tray() override { return tray_; }
  // The tray's own type, for the host that names the application window.
  Win32TrayShell& Win32Tray() { return tray_; }
  ClassesRegistry& Registry() override { return registry_; }

 private:
  Win32Profile profile_;
  Win32Clock clock_;
  Win32Locale locale_;
  Win32FileSystem files_;
  Win32MessageBoxes boxes_;
  Win32MessagePump messages_;
  Win32NamedLockFactory locks_;
  Win32WindowList windows_;
  Win32RasLibrary ras_;
  Win32PerfData perf_;
  Win32TrayShell tray_;
  Win32ClassesRegistry registry_;
};

}  // namespace velkora::win32
