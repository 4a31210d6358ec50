#include "hosts/win32/main_window.h"

#include <string>

#include "shell/script_frame.h"

namespace velkora::win32 {
namespace {

// The window's layout at 96 dots per inch.
constexpr int kClientWidth = 378;
constexpr int kClientHeight = 160;
constexpr int kLeft = 8;
constexpr int kControlWidth = 361;
constexpr int kStatusTop = 8;
constexpr int kStatusHeight = 25;
constexpr int kInputHeight = 21;
constexpr std::array<int, 5> kInputTops{40, 64, 88, 112, 136};

UINT CommandId(MenuCommand command) { return static_cast<UINT>(command); }

UniqueMenu MakeMenu(std::span<const MenuItem> items, bool popup) {
  UniqueMenu menu(popup ? CreatePopupMenu() : CreateMenu());
  for (const MenuItem& item : items) {
    if (item.caption == "-") {
      AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const std::string caption(item.caption);
    AppendMenuA(menu.get(), MF_STRING, CommandId(item.command), caption.c_str());
    if (item.default_item) SetMenuDefaultItem(menu.get(), CommandId(item.command), FALSE);
  }
  return menu;
}

}  // namespace

UniqueMenu MakeMainMenu() {
  UniqueMenu menu(CreateMenu());
  for (const MenuBarEntry& entry : MainMenu()) {
    const std::string caption(entry.caption);
    UniqueMenu popup = MakeMenu(entry.items, true);
    // Once appended, the popup belongs to the menu bar.
    if (AppendMenuA(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()),
                    caption.c_str())) {
      static_cast<void>(popup.release());
    }
  }
  return menu;
}

UniqueMenu MakeTrayMenu() { return MakeMenu(TrayMenu(), true); }

namespace {

std::string WindowText(HWND window) {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(
      static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

}  // namespace

MainWindow::MainWindow(HWND window, THaupt& haupt, MessageBoxes& boxes, Win32TrayShell* tray)
    : window_(window),
      haupt_(haupt),
      boxes_(dynamic_cast<Win32MessageBoxes*>(&boxes)),
      tray_(tray) {
  // The server's boxes are modal to this window.
  if (boxes_ != nullptr) boxes_->SetApplicationWindow(window_);
  BuildMenus();
  BuildControls();
  PlaceAndSize();
  ShowStayOnTop();

  haupt_.Frame().OnStatusChanged(
      [this](const std::string& text) { SetWindowTextA(status_line_, text.c_str()); });
  SetWindowTextA(status_line_, haupt_.StatusLine().c_str());
  haupt_.OnPara5Changed(
      [this](const std::string& text) { SetWindowTextA(input_lines_[4], text.c_str()); });
  if (tray_ != nullptr) {
    tray_->SetApplicationWindow(window_);
    tray_->OnError([&boxes](const std::exception& error) { ShowError(boxes, error.what()); });
    haupt_.TrayIcon().SetPopupMenu([this](ScreenPoint at) { ShowTrayMenu(at); });
  }

  switch (haupt_.Visibility()) {
    case THaupt::StartVisibility::kShown: ShowWindow(window_, SW_SHOWNORMAL); break;
    case THaupt::StartVisibility::kMinimizedToTray:
      PostMessageA(window_, kStartMinimizedMessage, 0, 0);
      break;
    case THaupt::StartVisibility::kHidden: break;
  }
}

MainWindow::~MainWindow() {
  if (boxes_ != nullptr) boxes_->SetApplicationWindow(nullptr);
  haupt_.Frame().OnStatusChanged(nullptr);
  haupt_.OnPara5Changed(nullptr);
  if (tray_ != nullptr) {
    haupt_.TrayIcon().SetPopupMenu(nullptr);
    tray_->OnError(nullptr);
    tray_->SetApplicationWindow(nullptr);
  }
}

void MainWindow::BuildMenus() {
  UniqueMenu menu = MakeMainMenu();
  // From here the window owns its menu bar and destroys it with itself.
  if (SetMenu(window_, menu.get())) main_menu_ = menu.release();
  tray_menu_ = MakeTrayMenu();
}

void MainWindow::BuildControls() {
  // The window's font, "MS Sans Serif" of 11 pixels, for every control.
  font_.reset(CreateFontA(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                          OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, "MS Sans Serif"));
  HINSTANCE instance = GetModuleHandleA(nullptr);
  status_line_ = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, kLeft,
                                 kStatusTop, kControlWidth, kStatusHeight, window_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusLineId)),
                                 instance, nullptr);
  SendMessageA(status_line_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  for (std::size_t i = 0; i < input_lines_.size(); ++i) {
    // Made in tab order.
    input_lines_[i] = CreateWindowExA(
        WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, kLeft,
        kInputTops[i], kControlWidth, kInputHeight, window_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstInputLineId + static_cast<int>(i))),
        instance, nullptr);
    SendMessageA(input_lines_[i], WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  }
  // Tab moves between the input lines.
  SetWindowLongPtrA(window_, GWL_EXSTYLE,
                    GetWindowLongPtrA(window_, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
}

void MainWindow::PlaceAndSize() {
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE)), TRUE,
                     static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_EXSTYLE)));
  SetWindowPos(window_, nullptr, haupt_.Left(), haupt_.Top(), frame.right - frame.left,
               frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::ShowStayOnTop() {
  const bool on_top = haupt_.StaysOnTop();
  SetWindowPos(window_, on_top ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CheckMenuItem(main_menu_, CommandId(MenuCommand::kVordergrund),
                MF_BYCOMMAND | (on_top ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::RunCommand(MenuCommand command) {
  if (command == MenuCommand::kVordergrund) {
    // The window follows the setting even when writing it failed.
    try {
      RunMenuCommand(haupt_, command);
    } catch (...) {
      ShowStayOnTop();
      throw;
    }
    ShowStayOnTop();
    return;
  }
  haupt_.Para1() = WindowText(input_lines_[0]);
  haupt_.Para2() = WindowText(input_lines_[1]);
  haupt_.Para3() = WindowText(input_lines_[2]);
  haupt_.Para4() = WindowText(input_lines_[3]);
  haupt_.Para5() = WindowText(input_lines_[4]);
  if (!RunMenuCommand(haupt_, command)) {
    // Both "&Ende": closing the window ends the server, after the question
    // while clients still hold objects.
    PostMessageA(window_, WM_CLOSE, 0, 0);
    return;
  }
  SetWindowTextA(input_lines_[4], haupt_.Para5().c_str());
}

void MainWindow::ShowTrayMenu(ScreenPoint at) {
  HWND owner = tray_->MessageWindow();
  // Without the owner in the foreground the menu would not close when the
  // user clicks elsewhere.
  SetForegroundWindow(owner);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(tray_menu_.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, at.x, at.y,
                     0, owner, nullptr));
  PostMessageA(owner, WM_NULL, 0, 0);
  if (auto command = MenuCommandFromId(chosen)) RunCommand(*command);
}

bool MainWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      // Menu items only; the controls' notifications carry their handle.
      // Enter and Esc in an input line arrive here too, as IDOK and
      // IDCANCEL from the dialog manager: they are no menu item and do
      // nothing.
      if (lparam == 0 && HIWORD(wparam) == 0) {
        if (auto command = MenuCommandFromId(LOWORD(wparam))) RunCommand(*command);
        result = 0;
        return true;
      }
      return false;
    case kStartMinimizedMessage:
      haupt_.WMStartMinimized();
      result = 0;
      return true;
    case WM_SYSCOMMAND:
      if ((wparam & 0xFFF0) == SC_MINIMIZE) {
        result = DefWindowProcA(window_, message, wparam, lparam);
        haupt_.ApplicationMinimized();
        return true;
      }
      if ((wparam & 0xFFF0) == SC_RESTORE && IsIconic(window_)) {
        result = DefWindowProcA(window_, message, wparam, lparam);
        haupt_.ApplicationRestored();
        return true;
      }
      return false;
    case WM_WINDOWPOSCHANGED:
      // The position saved at the end is the last one the window had on
      // screen, not the parking place of a minimised window.
      if (!IsIconic(window_)) {
        RECT rect{};
        GetWindowRect(window_, &rect);
        haupt_.SetPosition(rect.left, rect.top);
      }
      return false;
    default: return false;
  }
}

}  // namespace velkora::win32
