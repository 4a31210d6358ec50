// Test helper for the Wine end-to-end runs: looks at the server's main
// window from outside, as a user would see it, and works its menus, input
// lines and notification icon.
//
//   window_probe describe <title>
//       Prints the window ("window ...") and its child controls
//       ("control ...", placed in the client area), one per line, UTF-8.
//       (Wine does not let another process read a window's menus; the unit
//       tests check them.)
//   window_probe box <caption>
//       Prints the owner's title of the open message box with this caption
//       ("owner=<title>", empty without owner) and whether it is the
//       foreground window ("foreground=1"); exit code 1 when none is open.
//   window_probe open-boxes
//       Prints how many message boxes are open.
//   window_probe command <title> <id>
//       Posts the WM_COMMAND of the menu item with this identifier.
//   window_probe menu-open <title> <letter>
//       Opens the menu bar's menu with this mnemonic, as Alt+letter does.
//   window_probe settext <title> <control id> <text>
//   window_probe gettext <title> <control id>
//   window_probe syscommand <title> minimize|close
//   window_probe tray-icons
//       Prints how many icons Wine's stand-alone notification area shows.
//   window_probe tray-rect
//       Prints the first notification icon's place on screen as WxH+X+Y.
//   window_probe tray-mouse up|rup [<count>]
//       Posts a left or right click (button down and up) to the first
//       notification icon, `count` times in a row (default 1).
//   window_probe popup-key <letter>|esc|none <timeout_ms>
//       Waits for an open popup menu and sends it the key (none: only waits).
//   window_probe wait-gone <title> <timeout_ms>
//       Exit code 0 once no window of that title is left.
// Exit code 0 on success, 1 when the window or item was not found.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../wide_text.h"

namespace {

std::wstring ClassName(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// The text through WM_GETTEXT, which the system carries across processes.
std::wstring Text(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR unused = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                      5000, &unused);
  return text;
}

struct FindRequest {
  std::wstring title;
  std::wstring class_name;
  HWND found = nullptr;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM param) {
  auto* request = reinterpret_cast<FindRequest*>(param);
  wchar_t title[512] = {};
  GetWindowTextW(window, title, 512);
  if (!request->title.empty() && request->title != title) return TRUE;
  if (!request->class_name.empty() && request->class_name != ClassName(window)) return TRUE;
  request->found = window;
  return FALSE;
}

HWND FindWindowBy(const std::wstring& title, const std::wstring& class_name = {}) {
  FindRequest request{title, class_name};
  EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&request));
  return request.found;
}

BOOL CALLBACK PrintControl(HWND child, LPARAM parent_param) {
  HWND parent = reinterpret_cast<HWND>(parent_param);
  RECT rect{};
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
  std::printf("control id=%d class=%s left=%ld top=%ld width=%ld height=%ld text=%s\n",
              GetDlgCtrlID(child), ToUtf8(ClassName(child)).c_str(), rect.left, rect.top,
              rect.right - rect.left, rect.bottom - rect.top, ToUtf8(Text(child)).c_str());
  return TRUE;
}

int Describe(HWND window) {
  RECT rect{}, client{};
  GetWindowRect(window, &rect);
  GetClientRect(window, &client);
  POINT client_origin{0, 0};
  ClientToScreen(window, &client_origin);
  const LONG style = GetWindowLongW(window, GWL_STYLE);
  const LONG ex_style = GetWindowLongW(window, GWL_EXSTYLE);
  // The caption last: it may hold blanks.
  std::printf(
      "window class=%s visible=%d enabled=%d iconic=%d topmost=%d left=%ld top=%ld "
      "right=%ld bottom=%ld client=%ldx%ld clientleft=%ld clienttop=%ld sysmenu=%d "
      "minimizebox=%d maximizebox=%d thickframe=%d caption=%s\n",
      ToUtf8(ClassName(window)).c_str(), IsWindowVisible(window) ? 1 : 0,
      IsWindowEnabled(window) ? 1 : 0, IsIconic(window) ? 1 : 0, (ex_style & WS_EX_TOPMOST) ? 1 : 0,
      rect.left, rect.top, rect.right, rect.bottom, client.right, client.bottom, client_origin.x,
      client_origin.y, (style & WS_SYSMENU) ? 1 : 0, (style & WS_MINIMIZEBOX) ? 1 : 0,
      (style & WS_MAXIMIZEBOX) ? 1 : 0, (style & WS_THICKFRAME) ? 1 : 0,
      ToUtf8(Text(window)).c_str());
  EnumChildWindows(window, PrintControl, reinterpret_cast<LPARAM>(window));
  return 0;
}

std::vector<HWND> TrayIcons() {
  std::vector<HWND> icons;
  HWND tray = FindWindowBy(L"", L"__winex11_standalone_tray");
  if (tray == nullptr || !IsWindowVisible(tray)) return icons;
  HWND child = nullptr;
  while ((child = FindWindowExW(tray, child, L"__winex11_tray_icon", nullptr)) != nullptr) {
    if (IsWindowVisible(child)) icons.push_back(child);
  }
  return icons;
}

BOOL CALLBACK CollectBoxes(HWND window, LPARAM param) {
  if (IsWindowVisible(window) && ClassName(window) == L"#32770") {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  }
  return TRUE;
}

std::vector<HWND> OpenBoxes() {
  std::vector<HWND> boxes;
  EnumWindows(CollectBoxes, reinterpret_cast<LPARAM>(&boxes));
  return boxes;
}

int Usage() {
  std::fprintf(stderr, "usage: see the head of window_probe.cpp\n");
  return 64;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty()) return Usage();
  const std::string& mode = args[0];
  if (mode == "tray-icons") {
    std::printf("%zu\n", TrayIcons().size());
    return 0;
  }
  if (mode == "tray-rect") {
    std::vector<HWND> icons = TrayIcons();
    if (icons.empty()) return 1;
    RECT rect{};
    GetWindowRect(icons[0], &rect);
    std::printf("%ldx%ld+%ld+%ld\n", rect.right - rect.left, rect.bottom - rect.top, rect.left,
                rect.top);
    return 0;
  }
  if (mode == "tray-mouse" && (args.size() == 2 || args.size() == 3)) {
    std::vector<HWND> icons = TrayIcons();
    if (icons.empty()) return 1;
    const UINT down = args[1] == "rup" ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    const UINT up = args[1] == "rup" ? WM_RBUTTONUP : WM_LBUTTONUP;
    const int count = args.size() == 3 ? std::atoi(args[2].c_str()) : 1;
    for (int i = 0; i < count; ++i) {
      PostMessageW(icons[0], down, 0, MAKELPARAM(5, 5));
      PostMessageW(icons[0], up, 0, MAKELPARAM(5, 5));
    }
    return 0;
  }
  if (mode == "popup-key" && args.size() == 3) {
    const DWORD timeout_ms = static_cast<DWORD>(std::atoi(args[2].c_str()));
    const DWORD start = GetTickCount();
    HWND popup = nullptr;
    while ((popup = FindWindowBy(L"", L"#32768")) == nullptr || !IsWindowVisible(popup)) {
      if (GetTickCount() - start >= timeout_ms) return 1;
      Sleep(100);
    }
    if (args[1] == "none") return 0;
    if (args[1] == "esc") {
      PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageW(popup, WM_KEYUP, VK_ESCAPE, 0);
      return 0;
    }
    const WPARAM key = static_cast<WPARAM>(std::toupper(static_cast<unsigned char>(args[1][0])));
    PostMessageW(popup, WM_KEYDOWN, key, 0);
    PostMessageW(popup, WM_CHAR, static_cast<WPARAM>(std::tolower(static_cast<int>(key))), 0);
    PostMessageW(popup, WM_KEYUP, key, 0);
    return 0;
  }
  if (mode == "open-boxes") {
    std::printf("%zu\n", OpenBoxes().size());
    return 0;
  }
  if (mode == "box" && args.size() == 2) {
    for (HWND box : OpenBoxes()) {
      if (Text(box) != Widen(args[1], CP_UTF8)) continue;
      HWND owner = GetWindow(box, GW_OWNER);
      std::printf("owner=%s foreground=%d\n", owner ? ToUtf8(Text(owner)).c_str() : "",
                  GetForegroundWindow() == box ? 1 : 0);
      return 0;
    }
    return 1;
  }
  if (args.size() < 2) return Usage();
  if (mode == "wait-gone" && args.size() == 3) {
    const DWORD timeout_ms = static_cast<DWORD>(std::atoi(args[2].c_str()));
    const DWORD start = GetTickCount();
    while (FindWindowBy(Widen(args[1], CP_UTF8)) != nullptr) {
      if (GetTickCount() - start >= timeout_ms) return 1;
      Sleep(100);
    }
    return 0;
  }
  HWND window = FindWindowBy(Widen(args[1], CP_UTF8));
  if (window == nullptr) {
    std::fprintf(stderr, "no window titled %s\n", args[1].c_str());
    return 1;
  }
  if (mode == "describe") return Describe(window);
  if (mode == "command" && args.size() == 3) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(std::atoi(args[2].c_str()), 0), 0);
    return 0;
  }
  if (mode == "menu-open" && args.size() == 3) {
    PostMessageW(window, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(std::tolower(args[2][0])));
    return 0;
  }
  if ((mode == "settext" && args.size() == 4) || (mode == "gettext" && args.size() == 3)) {
    HWND control = GetDlgItem(window, std::atoi(args[2].c_str()));
    if (control == nullptr) return 1;
    if (mode == "gettext") {
      std::printf("%s\n", ToUtf8(Text(control)).c_str());
      return 0;
    }
    const std::wstring text = Widen(args[3], CP_UTF8);
    DWORD_PTR unused = 0;
    SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                        SMTO_ABORTIFHUNG, 5000, &unused);
    return 0;
  }
  if (mode == "syscommand" && args.size() == 3) {
    const WPARAM command = args[2] == "minimize" ? SC_MINIMIZE : SC_CLOSE;
    PostMessageW(window, WM_SYSCOMMAND, command, 0);
    return 0;
  }
  return Usage();
}
