// The disk search over a real folder tree with links that point back up and
// across.

#include <gtest/gtest.h>

#include <filesystem>

#include "lcr/tk32_search.h"
#include "support/one_folder_drive.h"
#include "support/temp_dir.h"

namespace velkora {
namespace {

namespace fs = std::filesystem;

using testing_support::OneFolderDrive;

TEST(Tk32SearchOnDisk, FollowsNoLinkAndEndsInLoops) {
  testing_support::TempDir dir;
  const fs::path root = dir.path();
  fs::create_directories(root / "a" / "b" / "c");
  fs::create_directories(root / "versteckt");
  testing_support::WriteBytes((root / "versteckt" / "tk32.ini").string(), "");
  fs::create_directory_symlink(root, root / "a" / "zurueck");  // a loop
  fs::create_directory_symlink(root / "versteckt", root / "a" / "b" / "quer");

  OneFolderDrive drive(root.string() + "/");
  // The only tk32.ini lies in a folder that a link points to as well; the
  // search finds it under its real path.
  EXPECT_EQ(SearchFixedDrivesFor(drive, "tk32.ini"), root.string() + "/versteckt/");

  fs::rename(root / "versteckt", root / "a" / "b" / "c" / "tief");
  fs::remove(root / "a" / "b" / "quer");
  fs::create_directory_symlink(root / "a" / "b" / "c" / "tief", root / "quer");
  drive.reads = 0;
  EXPECT_EQ(SearchFixedDrivesFor(drive, "tk32.ini"), root.string() + "/a/b/c/tief/");
  EXPECT_EQ(drive.reads, 5);  // root, a, b, c, tief: each once, no link taken

  fs::remove(root / "a" / "b" / "c" / "tief" / "tk32.ini");
  EXPECT_EQ(SearchFixedDrivesFor(drive, "tk32.ini"), "");
}

}  // namespace
}  // namespace velkora
