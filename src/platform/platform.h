#pragma once

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/locale.h"
#include "platform/message_box.h"
#include "platform/named_lock.h"
#include "platform/perf_data.h"
#include "platform/profile.h"
#include "platform/ras.h"
#include "platform/registry.h"
#include "platform/window_list.h"

namespace velkora {

// Everything the server asks of the operating system, handed out by one
// object per system: posix::PosixPlatform, win32::Win32Platform, and
// fakes::FakePlatform in the tests. A host makes its bundle once, at the
// start of the process, and hands it down by reference; no code below the
// hosts names an implementation.
//
// Every accessor returns the same object for the bundle's whole life; the
// objects live as long as the bundle. Each one's class comment says whether
// it may be used from several threads.
class Platform {
 public:
  Platform() = default;
  Platform(const Platform&) = delete;
  Platform& operator=(const Platform&) = delete;
  virtual ~Platform() = default;

  // The profile (INI file) functions: the server's settings and the INI
  // files scripts name.
  virtual Profile& IniFiles() = 0;
  virtual Clock& SystemClock() = 0;
  virtual Locale& UserLocale() = 0;
  virtual FileSystem& Files() = 0;
  virtual MessageBoxes& Boxes() = 0;
  // The single-instance guard's locks.
  virtual NamedLockFactory& Locks() = 0;
  virtual WindowList& TopLevelWindows() = 0;
  virtual RasLibrary& Ras() = 0;
  virtual PerfData& PerfCounters() = 0;
  // Where the server registers its class.
  virtual ClassesRegistry& Registry() = 0;
};

}  // namespace velkora
