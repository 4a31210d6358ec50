// The icon the built velkora.exe carries: the shell shows it for the file,
// and the window and the notification area load it from there.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <utility>

#include "hosts/win32/server_path.h"
#include "platform/win32/resource_ids.h"
#include "platform/win32/unique_handle.h"

namespace velkora::win32 {
namespace {

TEST(ServerResources, CarryTheApplicationIconInEverySize) {
  UniqueModule exe(LoadLibraryExW(ServerPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
  ASSERT_TRUE(exe);
  HRSRC found = FindResourceA(exe.get(), MAKEINTRESOURCEA(VELKORA_APPLICATION_ICON), RT_GROUP_ICON);
  ASSERT_NE(found, nullptr) << "no RT_GROUP_ICON " << VELKORA_APPLICATION_ICON;
  const auto* group = static_cast<const uint8_t*>(LockResource(LoadResource(exe.get(), found)));
  ASSERT_NE(group, nullptr);
  const DWORD length = SizeofResource(exe.get(), found);

  // The group's header (reserved, type 1 = icon, count), then one entry of
  // 14 bytes per image: width, height (0 for 256), colours, reserved,
  // planes, bits per pixel, size, identifier of its RT_ICON.
  auto word = [&](std::size_t at) {
    uint16_t value;
    std::memcpy(&value, group + at, sizeof value);
    return value;
  };
  ASSERT_GE(length, 6u);
  EXPECT_EQ(word(2), 1);
  const std::size_t count = word(4);
  ASSERT_EQ(length, 6 + 14 * count);
  std::set<std::pair<int, int>> images;  // size, bits per pixel
  for (std::size_t i = 0; i < count; ++i) {
    const uint8_t* entry = group + 6 + 14 * i;
    EXPECT_EQ(entry[0], entry[1]) << "square";
    images.emplace(entry[0] == 0 ? 256 : entry[0], word(6 + 14 * i + 6));
    EXPECT_NE(FindResourceA(exe.get(), MAKEINTRESOURCEA(word(6 + 14 * i + 12)), RT_ICON), nullptr);
  }
  EXPECT_EQ(images,
            (std::set<std::pair<int, int>>{{16, 32}, {24, 32}, {32, 32}, {48, 32}, {256, 32}}));
}

}  // namespace
}  // namespace velkora::win32
