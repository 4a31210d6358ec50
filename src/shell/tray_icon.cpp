#include "shell/tray_icon.h"

#include "base/ascii.h"
#include "base/error.h"

namespace velkora {

std::string ApplicationTitle(std::string_view program_path) {
  const std::size_t slash = program_path.find_last_of("\\/");
  std::string_view name =
      slash == std::string_view::npos ? program_path : program_path.substr(slash + 1);
  name = name.substr(0, name.find('.'));
  std::string title(name);
  for (std::size_t i = 1; i < title.size(); ++i) title[i] = AsciiLower(title[i]);
  return title;
}

TTrayIcon::TTrayIcon(TrayShell& shell, std::string_view application_title) : shell_(shell) {
  shell_supported_ = shell_.NotificationAreaSupported();
  icon_ = shell_.ApplicationIcon();
  shell_.CreateMessageWindow([this](uint32_t message, uintptr_t wparam, intptr_t lparam) {
    return HandleMessage(message, wparam, lparam);
  });
  record_.icon = icon_;
  record_.flags = TrayIconRecord::kMessageFlag | TrayIconRecord::kIconFlag;
  record_.callback_message = kCallbackMessage;
  // No hint is set yet: the tip is the title.
  SetTip(application_title);
  app_minimized_ = shell_.ApplicationMinimized();
}

TTrayIcon::~TTrayIcon() {
  if (active_) RemoveIcon();
  shell_.DestroyMessageWindow();
}

void TTrayIcon::SetTip(std::string_view tip) {
  record_.tip = std::string(tip.substr(0, TrayIconRecord::kMaxTip));
  if (record_.tip.empty()) {
    record_.flags &= ~TrayIconRecord::kTipFlag;
  } else {
    record_.flags |= TrayIconRecord::kTipFlag;
  }
}

void TTrayIcon::AddIcon() {
  if (!active_ || !shell_supported_ || icon_shown_) return;
  if (!shell_.AddIcon(record_)) throw Error(std::string(kTrayIconError));
  icon_shown_ = true;
}

void TTrayIcon::RemoveIcon() {
  if (shell_supported_) shell_.DeleteIcon(record_);  // nothing to do when it fails
  icon_shown_ = false;
}

void TTrayIcon::ModifyIcon() {
  if (active_ && shell_supported_) shell_.ModifyIcon(record_);
}

void TTrayIcon::SetActive(bool active) {
  active_ = active;
  if (active_ && app_minimized_ != separate_icon_) {
    AddIcon();
  } else {
    RemoveIcon();
  }
}

void TTrayIcon::SetSeparateIcon(bool separate) {
  separate_icon_ = separate;
  if (separate_icon_ && active_) AddIcon();
  if (!separate_icon_ && active_ && !app_minimized_) RemoveIcon();
}

void TTrayIcon::SetHint(std::string hint) {
  if (hint == hint_) return;
  hint_ = std::move(hint);
  SetTip(hint_);
  ModifyIcon();
}

void TTrayIcon::SetIcon(uintptr_t icon) {
  if (icon == icon_) return;
  icon_ = icon;
  record_.icon = icon;
  ModifyIcon();
}

void TTrayIcon::AppMinimize() {
  if (active_) {
    shell_.HideApplicationWindow();
    if (!icon_shown_) AddIcon();
  }
  app_minimized_ = true;
  if (on_minimize_) on_minimize_();
}

void TTrayIcon::AppRestore() {
  if (active_) {
    shell_.RestoreApplicationWindow();
    if (!separate_icon_) RemoveIcon();
  }
  if (on_restore_) on_restore_();
  app_minimized_ = false;
}

bool TTrayIcon::HandleMessage(uint32_t message, uintptr_t /*wparam*/, intptr_t lparam) {
  if (message != kCallbackMessage) return false;
  switch (lparam) {
    case kLeftButtonUp:
      if (on_click_) on_click_();
      break;
    case kLeftButtonDoubleClick:
      if (on_dbl_click_) on_dbl_click_();
      break;
    case kRightButtonUp: {
      const ScreenPoint at = shell_.CursorPos();
      // The menu is offered while the application is out of sight, or always
      // for a separate icon.
      if (popup_menu_ && (!shell_.ApplicationWindowVisible() || separate_icon_)) popup_menu_(at);
      if (on_right_click_) on_right_click_(at);
      break;
    }
    default: break;
  }
  return true;
}

}  // namespace velkora
