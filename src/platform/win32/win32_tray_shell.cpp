#include "platform/win32/win32_tray_shell.h"

#include <shellapi.h>

#include <algorithm>
#include <cstring>

#include "platform/win32/application_icon.h"

namespace velkora::win32 {
namespace {

constexpr char kWindowClass[] = "VelkoraTrayIcon";

}  // namespace

Win32TrayShell::Win32TrayShell() {
  WNDCLASSEXA window_class{};
  window_class.cbSize = sizeof window_class;
  window_class.lpfnWndProc = &Win32TrayShell::WindowProc;
  window_class.hInstance = GetModuleHandleA(nullptr);
  window_class.lpszClassName = kWindowClass;
  window_class_.reset(RegisterClassExA(&window_class));
}

// The window goes before its class.
Win32TrayShell::~Win32TrayShell() { message_window_.reset(); }

bool Win32TrayShell::NotificationAreaSupported() const {
  // Every system a build of this program runs on has one (it came with
  // Windows 95 and NT 4).
  return true;
}

void Win32TrayShell::CreateMessageWindow(TrayMessageHandler handler) {
  handler_ = std::move(handler);
  message_window_.reset(CreateWindowExA(0, kWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                        GetModuleHandleA(nullptr), this));
}

void Win32TrayShell::DestroyMessageWindow() {
  message_window_.reset();
  handler_ = nullptr;
}

bool Win32TrayShell::Notify(DWORD operation, const TrayIconRecord& record) {
  NOTIFYICONDATAA data;
  std::memset(&data, 0, sizeof data);
  // The first form of the record: icon, callback and a tip of 63
  // characters, which every shell understands.
  data.cbSize = NOTIFYICONDATAA_V1_SIZE;
  data.hWnd = message_window_.get();
  data.uID = 0;
  data.uFlags = record.flags;
  data.uCallbackMessage = record.callback_message;
  data.hIcon = reinterpret_cast<HICON>(record.icon);
  const std::size_t tip = std::min(record.tip.size(), TrayIconRecord::kMaxTip);
  std::memcpy(data.szTip, record.tip.data(), tip);
  data.szTip[tip] = '\0';
  return Shell_NotifyIconA(operation, &data) != FALSE;
}

bool Win32TrayShell::AddIcon(const TrayIconRecord& record) { return Notify(NIM_ADD, record); }
bool Win32TrayShell::ModifyIcon(const TrayIconRecord& record) { return Notify(NIM_MODIFY, record); }
bool Win32TrayShell::DeleteIcon(const TrayIconRecord& record) { return Notify(NIM_DELETE, record); }

uintptr_t Win32TrayShell::ApplicationIcon() const {
  return reinterpret_cast<uintptr_t>(LoadApplicationIcon(IconSize::kSmall));
}

bool Win32TrayShell::ApplicationMinimized() const {
  if (application_window_ == nullptr) return false;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  return GetWindowPlacement(application_window_, &placement) &&
         placement.showCmd == SW_SHOWMINIMIZED;
}

bool Win32TrayShell::ApplicationWindowVisible() const {
  return application_window_ != nullptr && IsWindowVisible(application_window_);
}

void Win32TrayShell::HideApplicationWindow() {
  if (application_window_ != nullptr) ShowWindow(application_window_, SW_HIDE);
}

void Win32TrayShell::RestoreApplicationWindow() {
  if (application_window_ != nullptr) ShowWindow(application_window_, SW_RESTORE);
}

ScreenPoint Win32TrayShell::CursorPos() const {
  POINT point{};
  GetCursorPos(&point);
  return {point.x, point.y};
}

LRESULT CALLBACK Win32TrayShell::WindowProc(HWND window, UINT message, WPARAM wparam,
                                            LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* shell = reinterpret_cast<Win32TrayShell*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  // A modal box of the server disables the thread's windows, this one
  // too. Like any disabled window it then takes no clicks: the icon's
  // menu must not open a second box or end the server beneath the box.
  if (message >= WM_USER && !IsWindowEnabled(window)) return 0;
  if (shell != nullptr && shell->handler_) {
    try {
      if (shell->handler_(message, static_cast<uintptr_t>(wparam), static_cast<intptr_t>(lparam))) {
        return 0;
      }
    } catch (const std::exception& error) {
      if (shell->report_) shell->report_(error);
      return 0;
    }
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

}  // namespace velkora::win32
