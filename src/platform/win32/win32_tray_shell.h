#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "platform/tray_shell.h"
#include "platform/win32/unique_handle.h"

namespace velkora::win32 {

// The notification area through Shell_NotifyIconA, with a hidden top-level
// window of its own for the icon's messages. The application window is the
// main window, which has the taskbar button; until the host names it,
// there is nothing to hide or restore.
class Win32TrayShell final : public TrayShell {
 public:
  Win32TrayShell();
  ~Win32TrayShell() override;

  void SetApplicationWindow(HWND window) { application_window_ = window; }
  // An error raised while a message was handled ends there (no C++ error
  // may cross the system's window procedure) and is handed to `report`.
  void OnError(std::function<void(const std::exception&)> report) { report_ = std::move(report); }
  // The hidden window that receives the icon's messages (null without a
  // desktop); popup menus are shown from it.
  HWND MessageWindow() const { return message_window_.get(); }

  bool NotificationAreaSupported() const override;
  void CreateMessageWindow(TrayMessageHandler handler) override;
  void DestroyMessageWindow() override;
  bool AddIcon(const TrayIconRecord& record) override;
  bool ModifyIcon(const TrayIconRecord& record) override;
  bool DeleteIcon(const TrayIconRecord& record) override;
  uintptr_t ApplicationIcon() const override;
  bool ApplicationMinimized() const override;
  bool ApplicationWindowVisible() const override;
  void HideApplicationWindow() override;
  void RestoreApplicationWindow() override;
  ScreenPoint CursorPos() const override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  bool Notify(DWORD operation, const TrayIconRecord& record);

  HWND application_window_ = nullptr;
  UniqueWindowClass window_class_;
  UniqueWindow message_window_;
  TrayMessageHandler handler_;
  std::function<void(const std::exception&)> report_;
};

}  // namespace velkora::win32
