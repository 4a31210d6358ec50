#include "platform/win32/win32_window_list.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace velkora::win32 {
namespace {

TEST(Win32WindowList, FindsAndClosesOwnTopLevelWindow) {
  const std::string title =
      "Velkora Fenstertest " + std::to_string(GetCurrentProcessId()) + std::string(300, 'x');
  HWND window = CreateWindowExA(0, "STATIC", title.c_str(), WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) GTEST_SKIP() << "no display: windows cannot be created";

  Win32WindowList list;
  auto windows = list.Snapshot();
  auto found = std::find_if(windows.begin(), windows.end(), [&](const TopLevelWindow& w) {
    return w.handle == reinterpret_cast<uintptr_t>(window);
  });
  ASSERT_NE(found, windows.end());
  EXPECT_EQ(found->title, title.substr(0, 255));

  ASSERT_TRUE(list.PostClose(found->handle));
  MSG message;
  for (int i = 0; i < 100 && IsWindow(window); ++i) {
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(10);
  }
  EXPECT_FALSE(IsWindow(window));
}

}  // namespace
}  // namespace velkora::win32
