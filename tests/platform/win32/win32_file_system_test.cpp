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

  EXPECT_TRUE(fs.EmptyFile(file));
  EXPECT_TRUE(fs.FileExists(file));
  EXPECT_EQ(ReadBytes(file), "");
  EXPECT_FALSE(fs.EmptyFile(dir.File("none.log")));
  EXPECT_FALSE(fs.FileExists(dir.File("none.log")));
  EXPECT_TRUE(fs.RemoveFile(file));
  EXPECT_FALSE(fs.RemoveFile(file));
  EXPECT_FALSE(fs.AppendToFile(dir.File("nowhere\\x.log"), "x"));
}

TEST(Win32FileSystem, ReadsFoldersForAWalk) {
  TempDir dir;
  Win32FileSystem fs;
  ASSERT_TRUE(CreateDirectoryA(dir.File("Sub").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryA(dir.File("Sub\\Tiefer").c_str(), nullptr));
  WriteBytes(dir.File("tk32.ini"), "");
  EXPECT_EQ(fs.PathSeparator(), '\\');

  FileSystem::FolderIdentity top, sub, again;
  std::vector<FileSystem::WalkEntry> entries;
  ASSERT_TRUE(fs.ReadFolderForWalk(dir.path().string() + "\\", top, entries));
  std::vector<std::pair<std::string, bool>> seen;
  for (const auto& e : entries) seen.emplace_back(e.name, e.is_directory);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::pair<std::string, bool>>{{"Sub", true}, {"tk32.ini", false}}));

  ASSERT_TRUE(fs.ReadFolderForWalk(dir.File("Sub") + "\\", sub, entries));
  ASSERT_TRUE(fs.ReadFolderForWalk(dir.File("Sub\\Tiefer\\..") + "\\", again, entries));
  EXPECT_EQ(sub, again);
  EXPECT_FALSE(sub == top);
  EXPECT_FALSE(fs.ReadFolderForWalk(dir.File("tk32.ini") + "\\", top, entries));
  EXPECT_FALSE(fs.ReadFolderForWalk(dir.File("nowhere") + "\\", top, entries));
  EXPECT_TRUE(fs.IsOnFixedDisk(dir.path().string() + "\\"));

  // A link to a folder is listed, but not as a folder to enter, and is not
  // opened as one (where the system lets us make one).
  if (CreateSymbolicLinkA(dir.File("Verweis").c_str(), dir.File("Sub").c_str(),
                          SYMBOLIC_LINK_FLAG_DIRECTORY)) {
    ASSERT_TRUE(fs.ReadFolderForWalk(dir.path().string() + "\\", top, entries));
    for (const auto& e : entries) {
      if (e.name == "Verweis") {
        EXPECT_FALSE(e.is_directory);
      }
    }
    EXPECT_FALSE(fs.ReadFolderForWalk(dir.File("Verweis") + "\\", top, entries));
    RemoveDirectoryA(dir.File("Verweis").c_str());
  }
}

TEST(Win32FileSystem, FullPathsComeFromTheCurrentFolder) {
  Win32FileSystem fs;
  char buffer[MAX_PATH] = {};
  ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, buffer), 0u);
  std::string here = buffer;
  if (here.back() != '\\') here += '\\';
  EXPECT_EQ(fs.FullPath(".\\"), here);
  EXPECT_EQ(fs.FullPath("TK32\\"), here + "TK32\\");
  EXPECT_EQ(fs.FullPath("a\\..\\b\\.\\c"), here + "b\\c");
  EXPECT_EQ(fs.FullPath("C:\\Programme\\TK32\\"), "C:\\Programme\\TK32\\");
}

TEST(Win32FileSystem, FixedDrivesAreRootsInLetterOrder) {
  auto drives = Win32FileSystem().FixedDrives();
  ASSERT_FALSE(drives.empty());
  EXPECT_NE(std::find(drives.begin(), drives.end(), "C:\\"), drives.end());
  EXPECT_TRUE(std::is_sorted(drives.begin(), drives.end()));
}

}  // namespace
}  // namespace velkora::win32
