#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace velkora {

// The notification icon as the shell is told about it: the icon of the
// tray component's message window with id 0.
struct TrayIconRecord {
  static constexpr uint32_t kMessageFlag = 1;  // callback_message is valid
  static constexpr uint32_t kIconFlag = 2;     // icon is valid
  static constexpr uint32_t kTipFlag = 4;      // tip is valid
  static constexpr std::size_t kMaxTip = 63;   // characters the shell takes

  uint32_t flags = 0;
  uint32_t callback_message = 0;
  uintptr_t icon = 0;  // the platform's icon handle
  std::string tip;     // at most kMaxTip characters
};

struct ScreenPoint {
  int32_t x = 0;
  int32_t y = 0;
};

// A message that reached the tray component's hidden window. The handler
// answers whether it dealt with it; if not, the window passes it to the
// platform's default window procedure.
using TrayMessageHandler = std::function<bool(uint32_t message, uintptr_t wparam, intptr_t lparam)>;

// What the tray component asks of the desktop shell (the notification
// area) and of the application's own window, the one that has the taskbar
// button.
//
// Thread safety: the main thread only; implementations need not be safe for
// concurrent use.
class TrayShell {
 public:
  TrayShell() = default;
  TrayShell(const TrayShell&) = delete;
  TrayShell& operator=(const TrayShell&) = delete;
  virtual ~TrayShell() = default;

  // Whether the shell has a notification area at all (on Windows: major
  // version 4 or later). Without one no Add/Modify/DeleteIcon is called.
  virtual bool NotificationAreaSupported() const = 0;

  // Creates the hidden window that receives the icon's callback messages
  // and hands every message to `handler`. Called once, before any icon
  // call; DestroyMessageWindow ends it (also when it could not be made).
  virtual void CreateMessageWindow(TrayMessageHandler handler) = 0;
  virtual void DestroyMessageWindow() = 0;

  // Adds, changes or removes the notification icon. True when the shell
  // accepted the request.
  virtual bool AddIcon(const TrayIconRecord& record) = 0;
  virtual bool ModifyIcon(const TrayIconRecord& record) = 0;
  virtual bool DeleteIcon(const TrayIconRecord& record) = 0;

  // The application's icon (its handle), shown in the notification area.
  virtual uintptr_t ApplicationIcon() const = 0;
  // Whether the application window is minimised (its placement says so).
  virtual bool ApplicationMinimized() const = 0;
  // Whether the application window is visible.
  virtual bool ApplicationWindowVisible() const = 0;
  // Hides the application window with its taskbar button, or brings it
  // back (restored from minimised).
  virtual void HideApplicationWindow() = 0;
  virtual void RestoreApplicationWindow() = 0;
  // Where the mouse cursor is, in screen coordinates.
  virtual ScreenPoint CursorPos() const = 0;
};

}  // namespace velkora
