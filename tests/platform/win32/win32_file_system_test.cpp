#include "platform/win32/win32_file_system.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "support/temp_dir.h"

namespace velkora::win32 {
namespace {

using testing_support::ReadBytes;
using testing_support::TempDir;
using testing_support::WriteBytes;

TEST(Win32FileSystem, AppendsTestsListsAndDeletes) {
  TempDir dir;
  Win32FileSystem fs;
  std::string file = dir.File("log.txt");
  EXPECT_FALSE(fs.FileExists(file));
  ASSERT_TRUE(fs.AppendToFile(file, "one\r\n"));
  ASSERT_TRUE(fs.AppendToFile(file, "two\r\n"));
  EXPECT_EQ(ReadBytes(file), "one\r\ntwo\r\n");
  EXPECT_TRUE(fs.FileExists(file));
  EXPECT_FALSE(fs.DirectoryExists(file));

  ASSERT_TRUE(CreateDirectoryA(dir.File("Sub").c_str(), nullptr));
  EXPECT_TRUE(fs.DirectoryExists(dir.File("Sub")));
  EXPECT_FALSE(fs.FileExists(dir.File("Sub")));

  auto names = fs.ListDirectory(dir.path().string(), "*.*");
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Sub\\", "log.txt"}));
  EXPECT_EQ(fs.ListDirectory(dir.path().string(), "*.TXT"), std::vector<std::string>{"log.txt"});
  EXPECT_TRUE(fs.ListDirectory(dir.File("nowhere"), "*.*").empty());

  EXPECT_TRUE(fs.RemoveFile(file));
  EXPECT_FALSE(fs.RemoveFile(file));
  EXPECT_FALSE(fs.AppendToFile(dir.File("nowhere\\x.log"), "x"));
}

TEST(Win32FileSystem, FixedDrivesAreRootsInLetterOrder) {
  auto drives = Win32FileSystem().FixedDrives();
  ASSERT_FALSE(drives.empty());
  EXPECT_NE(std::find(drives.begin(), drives.end(), "C:\\"), drives.end());
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
}

}  // namespace
}  // namespace velkora::win32
