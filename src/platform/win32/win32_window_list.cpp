#include "platform/win32/win32_window_list.h"

#include <windows.h>

namespace velkora::win32 {
namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM context) {
  auto& windows = *reinterpret_cast<std::vector<TopLevelWindow>*>(context);
  char title[256] = {};
  int length = GetWindowTextA(window, title, sizeof title);
  if (length < 0) length = 0;
  windows.push_back(
      {reinterpret_cast<uintptr_t>(window), std::string(title, static_cast<std::size_t>(length))});
  return TRUE;
}

}  // namespace

std::vector<TopLevelWindow> Win32WindowList::Snapshot() const {
  std::vector<TopLevelWindow> windows;
  EnumWindows(&CollectWindow, reinterpret_cast<LPARAM>(&windows));
  return windows;
}

bool Win32WindowList::PostClose(uintptr_t handle) {
  return PostMessageA(reinterpret_cast<HWND>(handle), WM_CLOSE, 0, 0) != FALSE;
}

}  // namespace velkora::win32
