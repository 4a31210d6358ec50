#include "platform/win32/win32_registry.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace velkora::win32 {
namespace {

std::string DefaultValue(const std::string& key) {
  char value[256] = {};
  LONG size = sizeof value;
  if (RegQueryValueA(HKEY_CLASSES_ROOT, key.c_str(), value, &size) != ERROR_SUCCESS)
    return "<none>";
  return value;
}

TEST(Win32ClassesRegistry, CreatesNestedKeysAndDeletesThemLeafFirst) {
  const std::string root = "VelkoraTest." + std::to_string(GetCurrentProcessId());
  const std::string leaf = root + "\\Clsid";
  Win32ClassesRegistry registry;
  ASSERT_TRUE(registry.SetDefaultValue(leaf, "{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}"));
  ASSERT_TRUE(registry.SetDefaultValue(root, "App Objekt"));
  EXPECT_EQ(DefaultValue(leaf), "{3025F4E6-9C23-4DCE-A429-4B7FBEF8B2EC}");
  EXPECT_EQ(DefaultValue(root), "App Objekt");
  ASSERT_TRUE(registry.SetDefaultValue(root, "neu"));
  EXPECT_EQ(DefaultValue(root), "neu");

  // A key with subkeys is not deleted; removal goes leaf first.
  EXPECT_FALSE(registry.DeleteKey(root));
  EXPECT_TRUE(registry.DeleteKey(leaf));
  EXPECT_TRUE(registry.DeleteKey(root));
  EXPECT_EQ(DefaultValue(root), "<none>");
  EXPECT_FALSE(registry.DeleteKey(root));
}

}  // namespace
}  // namespace velkora::win32
