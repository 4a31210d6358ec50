#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/format_settings.h"
#include "platform/locale.h"
#include "platform/perf_data.h"
#include "platform/ras.h"
#include "platform/registry.h"
#include "platform/window_list.h"

// Stand-ins for what a system does not have: each answers the way the
// server's functions expect from a system without the feature, so that the
// same functions run everywhere. All are safe to use from several threads.
namespace velkora::portable {

// No top-level windows to list or close.
class EmptyWindowList final : public WindowList {
 public:
  std::vector<TopLevelWindow> Snapshot() const override { return {}; }
  bool PostClose(uintptr_t) override { return false; }
};

// No dial-up library: no connections, and every call answers
// kRasErrorNotAvailable.
class UnavailableRasLibrary final : public RasLibrary {
 public:
  uint32_t EnumConnections(std::vector<RasConnection>& connections) override {
    connections.clear();
    return kRasErrorNotAvailable;
  }
  uint32_t HangUp(uintptr_t) override { return kRasErrorNotAvailable; }
  uint32_t GetConnectStatus(uintptr_t) override { return kRasErrorNotAvailable; }
};

// No performance counters: every counter reads 0.
class NoPerfCounters final : public PerfData {
 public:
  uint32_t ReadCounter(const std::string&) override { return 0; }
};

// No class registry: nothing can be registered, so every change fails.
class NoClassesRegistry final : public ClassesRegistry {
 public:
  bool SetDefaultValue(const std::string&, const std::string&) override { return false; }
  bool DeleteKey(const std::string&) override { return false; }
};

// Formats fixed when the bundle is made, whatever the user's settings say.
class FixedLocale final : public Locale {
 public:
  explicit FixedLocale(FormatSettings formats) : formats_(std::move(formats)) {}
  FormatSettings Formats() const override { return formats_; }

 private:
  const FormatSettings formats_;
};

}  // namespace velkora::portable
