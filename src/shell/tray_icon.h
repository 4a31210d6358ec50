#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/tray_shell.h"

namespace velkora {

inline constexpr std::string_view kTrayIconError = "Cannot create shell notification icon";

// The application's title as the framework makes it from the program's
// file name: the name up to its first point, every letter after the first
// in lower case ("C:\\Tools\\VELKORA.EXE" gives "Velkora").
std::string ApplicationTitle(std::string_view program_path);

// Puts the application into the notification area while it is minimised.
// The host reports the application's minimise and restore (AppMinimize,
// AppRestore); the icon's mouse messages arrive through the message window
// the component makes. The icon shows the application's icon, its tip the
// hint or else the application's title.
//
// Main thread only.
class TTrayIcon {
 public:
  // Mouse events in the callback message's second parameter.
  static constexpr intptr_t kLeftButtonUp = 0x0202;
  static constexpr intptr_t kLeftButtonDoubleClick = 0x0203;
  static constexpr intptr_t kRightButtonUp = 0x0205;
  // The icon's callback message (WM_USER + 1).
  static constexpr uint32_t kCallbackMessage = 0x0401;

  // Inactive, not separate, no icon shown; makes the message window.
  TTrayIcon(TrayShell& shell, std::string_view application_title);
  // Removes the icon when active and ends the message window.
  ~TTrayIcon();
  TTrayIcon(const TTrayIcon&) = delete;
  TTrayIcon& operator=(const TTrayIcon&) = delete;

  bool Active() const { return active_; }
  // Adds the icon when the application is minimised (unless it is a
  // separate icon), removes it otherwise. Raises the icon error when the
  // shell refuses the icon.
  void SetActive(bool active);

  bool SeparateIcon() const { return separate_icon_; }
  // A separate icon stays while the application is shown. May raise the
  // icon error.
  void SetSeparateIcon(bool separate);

  const std::string& Hint() const { return hint_; }
  // The tip becomes the first 63 characters of the hint (no tip when it is
  // empty).
  void SetHint(std::string hint);

  uintptr_t Icon() const { return icon_; }
  void SetIcon(uintptr_t icon);

  bool AppMinimized() const { return app_minimized_; }
  bool IconShown() const { return icon_shown_; }
  const TrayIconRecord& Record() const { return record_; }

  // The application was minimised: hide its window, show the icon. Raises
  // the icon error when the shell refuses the icon (the next minimise tries
  // again).
  void AppMinimize();
  // The application was restored: bring its window back, remove the icon.
  void AppRestore();

  // The message window's handler: the callback message's mouse events
  // fire the events below; false for every other message.
  bool HandleMessage(uint32_t message, uintptr_t wparam, intptr_t lparam);

  // Events; none by default.
  void OnClick(std::function<void()> handler) { on_click_ = std::move(handler); }
  void OnDblClick(std::function<void()> handler) { on_dbl_click_ = std::move(handler); }
  // The right button with an empty shift state, at the cursor position.
  void OnRightClick(std::function<void(ScreenPoint)> handler) {
    on_right_click_ = std::move(handler);
  }
  void OnMinimize(std::function<void()> handler) { on_minimize_ = std::move(handler); }
  void OnRestore(std::function<void()> handler) { on_restore_ = std::move(handler); }
  // Shows the popup menu at a screen position; unset: no menu.
  void SetPopupMenu(std::function<void(ScreenPoint)> show) { popup_menu_ = std::move(show); }

 private:
  void AddIcon();
  void RemoveIcon();
  void ModifyIcon();
  void SetTip(std::string_view tip);

  TrayShell& shell_;
  bool active_ = false;
  bool separate_icon_ = false;
  bool shell_supported_ = false;
  bool app_minimized_ = false;
  bool icon_shown_ = false;
  std::string hint_;
  uintptr_t icon_ = 0;
  TrayIconRecord record_;

  std::function<void()> on_click_;
  std::function<void()> on_dbl_click_;
  std::function<void(ScreenPoint)> on_right_click_;
  std::function<void()> on_minimize_;
  std::function<void()> on_restore_;
  std::function<void(ScreenPoint)> popup_menu_;
};

}  // namespace velkora
