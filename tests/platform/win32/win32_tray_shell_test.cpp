#include "platform/win32/win32_tray_shell.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "platform/win32/unique_handle.h"

namespace velkora::win32 {
namespace {

using UniqueBitmap = UniqueAny<HBITMAP, &::DeleteObject>;

// The notification area shows the executable's own icon at the small size,
// never the system's generic one. This test program carries the server's
// icon under the server's resource identifier (application_icon.rc).
TEST(Win32TrayShell, HandsTheShellTheApplicationsOwnSmallIcon) {
  Win32TrayShell shell;
  HICON icon = reinterpret_cast<HICON>(shell.ApplicationIcon());
  ASSERT_NE(icon, nullptr);
  EXPECT_NE(icon, LoadIconA(nullptr, IDI_APPLICATION));

  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(icon, &info));
  UniqueBitmap color(info.hbmColor);
  UniqueBitmap mask(info.hbmMask);
  ASSERT_TRUE(color);
  BITMAP bitmap{};
  ASSERT_TRUE(GetObjectA(color.get(), sizeof bitmap, &bitmap));
  const int size = GetSystemMetrics(SM_CXSMICON);
  EXPECT_EQ(bitmap.bmWidth, size);
  EXPECT_EQ(bitmap.bmHeight, size);

  // Above the letter, in the middle of the top edge, the icon is its blue
  // (#1D4F91), which no system icon has.
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = size;
  format.bmiHeader.biHeight = -size;  // top row first
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<uint32_t> pixels(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
  HDC screen = GetDC(nullptr);
  const int rows = GetDIBits(screen, color.get(), 0, static_cast<UINT>(size), pixels.data(),
                             &format, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  ASSERT_EQ(rows, size);
  const uint32_t pixel = pixels[static_cast<std::size_t>(size + size / 2)];  // second row
  const int red = (pixel >> 16) & 0xFF, green = (pixel >> 8) & 0xFF, blue = pixel & 0xFF;
  EXPECT_LE(std::abs(red - 0x1D), 16) << std::hex << pixel;
  EXPECT_LE(std::abs(green - 0x4F), 16) << std::hex << pixel;
  EXPECT_LE(std::abs(blue - 0x91), 16) << std::hex << pixel;
}

}  // namespace
}  // namespace velkora::win32
