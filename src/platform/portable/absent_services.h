#pragma once

// Stand-ins for platform services a system does not have: no dial-up
// networking, no dial-up statistics, no notification area. Each behaves
// exactly as the interface says an absent service does.

#include "platform/perf_data.h"
#include "platform/ras.h"
#include "platform/tray_shell.h"

namespace velkora {

// Dial-up networking is not installed: Load fails and every call answers
// kRasErrorNotAvailable.
class AbsentRasLibrary final : public RasLibrary {
 public:
  bool Load() override { return false; }
  void Unload() override {}
  uint32_t EnumConnections(std::size_t, std::vector<RasConnection>& records,
                           uint32_t&) override {
    records.clear();
    return kRasErrorNotAvailable;
  }
  uint32_t GetConnectStatus(uintptr_t, RasConnectStatus&) override {
    return kRasErrorNotAvailable;
  }
  uint32_t HangUp(uintptr_t) override { return kRasErrorNotAvailable; }
  std::string ErrorString(uint32_t) override { return {}; }
  std::string SystemErrorText(uint32_t) override { return {}; }
  uint32_t EnumEntries(const std::string&, std::size_t, std::vector<std::string>& names) override {
    names.clear();
    return kRasErrorNotAvailable;
  }
};

// No dial-up statistics: every value is missing.
class AbsentPerfData final : public PerfData {
 public:
  std::optional<RegistryValue> ReadStatValue(const std::string&) override {
    return std::nullopt;
  }
};

// No notification area and no application window.
class AbsentTrayShell final : public TrayShell {
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

}  // namespace velkora
