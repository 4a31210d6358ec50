#pragma once

// The main window's content: the status line, the five input lines, the
// menus and the tray icon's popup menu, around the window the server's
// start-up made. The logic of every menu command is THaupt's; this only
// moves text between the controls and THaupt and shows what THaupt says.

#include <windows.h>

#include <array>

#include "platform/message_box.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win32_message_boxes.h"
#include "platform/win32/win32_tray_shell.h"
#include "server/haupt.h"
#include "server/main_menu.h"

namespace velkora::win32 {

// The menu bar ("&Datei", "&Test") and the tray icon's popup menu, with
// the commands' values as item identifiers.
UniqueMenu MakeMainMenu();
UniqueMenu MakeTrayMenu();

// Control identifiers of the status line and the input lines.
inline constexpr int kStatusLineId = 10;
inline constexpr int kFirstInputLineId = 11;  // Para1; Para5 is 15

class MainWindow {
 public:
  // Fills `window` (caption, style and class are the start-up's), places
  // and sizes it, and shows it, leaves it hidden or has it minimise into
  // the notification area, as THaupt decided at its creation. `tray` may be
  // null where there is no notification area.
  MainWindow(HWND window, THaupt& haupt, MessageBoxes& boxes, Win32TrayShell* tray);
  ~MainWindow();
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // The window's messages that concern its content. True when handled, with
  // `result` to return; false sends the message on to the default handling.
  // Errors of THaupt's handlers escape to the caller.
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);

  // Posted by the window to itself at a normal start: into the tray.
  static constexpr UINT kStartMinimizedMessage = WM_USER + 1;

 private:
  void BuildMenus();
  void BuildControls();
  void PlaceAndSize();
  void ShowStayOnTop();
  void RunCommand(MenuCommand command);
  void ShowTrayMenu(ScreenPoint at);

  HWND window_;
  THaupt& haupt_;
  Win32MessageBoxes* boxes_;  // null when the boxes are not the system's
  Win32TrayShell* tray_;
  UniqueFont font_;
  UniqueMenu tray_menu_;
  HMENU main_menu_ = nullptr;  // the window's, destroyed with it
  HWND status_line_ = nullptr;
  std::array<HWND, 5> input_lines_{};
};

}  // namespace velkora::win32
