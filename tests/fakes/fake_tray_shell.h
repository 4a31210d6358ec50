#pragma once

#include <string>
#include <vector>

#include "platform/tray_shell.h"

namespace velkora::fakes {

// A notification area that holds at most one icon, and an application
// window whose state the test sets. Calls are recorded in `calls`.
class FakeTrayShell : public TrayShell {
 public:
  bool NotificationAreaSupported() const override { return supported; }
  void CreateMessageWindow(TrayMessageHandler h) override {
    calls.push_back("CreateWindow");
    handler = std::move(h);
  }
  void DestroyMessageWindow() override {
    calls.push_back("DestroyWindow");
    handler = nullptr;
  }
  bool AddIcon(const TrayIconRecord& record) override {
    calls.push_back("Add");
    if (refuse_add) return false;
    icon = record;
    icon_present = true;
    return true;
  }
  bool ModifyIcon(const TrayIconRecord& record) override {
    calls.push_back("Modify");
    if (icon_present) icon = record;
    return icon_present;
  }
  bool DeleteIcon(const TrayIconRecord&) override {
    calls.push_back("Delete");
    const bool was = icon_present;
    icon_present = false;
    return was;
  }
  uintptr_t ApplicationIcon() const override { return application_icon; }
  bool ApplicationMinimized() const override { return minimized; }
  bool ApplicationWindowVisible() const override { return visible; }
  void HideApplicationWindow() override {
    calls.push_back("Hide");
    visible = false;
  }
  void RestoreApplicationWindow() override {
    calls.push_back("Restore");
    visible = true;
  }
  ScreenPoint CursorPos() const override { return cursor; }

  int Count(const std::string& call) const {
    int n = 0;
    for (const std::string& c : calls) n += c == call;
    return n;
  }

  bool supported = true;
  bool refuse_add = false;
  bool minimized = false;
  bool visible = true;
  uintptr_t application_icon = 0x77;
  ScreenPoint cursor{640, 1010};

  TrayMessageHandler handler;
  bool icon_present = false;
  TrayIconRecord icon;
  std::vector<std::string> calls;
};

}  // namespace velkora::fakes
