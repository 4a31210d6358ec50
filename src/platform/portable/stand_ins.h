#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/format_settings.h"
#include "platform/locale.h"
#include "platform/perf_data.h"
#include "platform/ras.h"
#include "platform/registry.h"
#include "platform/tray_shell.h"
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

// No dial-up library: Load fails, and every call answers
// kRasErrorNotAvailable.
class UnavailableRasLibrary final : public RasLibrary {
 public:
  bool Load() override { return false; }
  void Unload() override {}
  uint32_t EnumConnections(std::size_t, std::vector<RasConnection>& records, uint32_t&) override {
    records.clear();
    return kRasErrorNotAvailable;
  }
  uint32_t GetConnectStatus(uintptr_t, RasConnectStatus&) override { return kRasErrorNotAvailable; }
  uint32_t HangUp(uintptr_t) override { return kRasErrorNotAvailable; }
  std::string ErrorString(uint32_t) override { return {}; }
  std::string SystemErrorText(uint32_t) override { return {}; }
  uint32_t EnumEntries(const std::string&, std::size_t, std::vector<std::string>& names) override {
    names.clear();
    return kRasErrorNotAvailable;
  }
};

// No dial-up statistics: every value is missing, so every counter reads 0.
class NoPerfCounters final : public PerfData {
 public:
  std::optional<RegistryValue> ReadStatValue(const std::string&) override { return std::nullopt; }
};

// No notification area and no application window to hide or show.
class NoTrayShell final : public TrayShell {
 public:
  bool NotificationAreaSupported() const override { return false; }
  void CreateMessageWindow(TrayMessageHandler) override {}
  void DestroyMessageWindow() override {}
  bool AddIcon(const TrayIconRecord&) override { return false; }
  bool ModifyIcon(const TrayIconRecord&) override { return false; }
  bool DeleteIcon(const TrayIconRecord&) override { return false; }
  uintptr_t ApplicationIcon() const override { return 0; }
  bool ApplicationMinimized() const override { return false; }
  bool ApplicationWindowVisible() const override { return false; }
  void HideApplicationWindow() override {}
  void RestoreApplicationWindow() override {}
  ScreenPoint CursorPos() const override { return {}; }
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
