// The breadth-first search for tk32.ini over the fixed drives.

#include "lcr/tk32_search.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace velkora {
namespace {

using fakes::FakeFileSystem;

TEST(Tk32Search, BreadthFirstOverTheDrivesInOrder) {
  FakeFileSystem fs;
  fs.fixed_drives = {"/c/", "/d/"};
  fs.AddWalkFolder("/c/");
  fs.AddWalkFolder("/c/tief/");
  fs.AddWalkFolder("/c/tief/tiefer/").entries.push_back({"tk32.ini", false});
  fs.AddWalkFolder("/c/flach/").entries.push_back({"tk32.ini", false});
  fs.AddWalkFolder("/d/").entries.push_back({"tk32.ini", false});
  fs.files["/c/tief/tiefer/tk32.ini"] = "";
  fs.files["/c/flach/tk32.ini"] = "";
  fs.files["/d/tk32.ini"] = "";
  // All drive roots come first, then the folders one level down, and so on.
  EXPECT_EQ(SearchFixedDrivesFor(fs, "tk32.ini"), "/d/");
  EXPECT_EQ(fs.walk_reads, (std::vector<std::string>{"/c/", "/d/"}));
  // The shallower of the two on the first drive wins over the deeper one
  // listed first.
  fs.files.erase("/d/tk32.ini");
  fs.walk_reads.clear();
  EXPECT_EQ(SearchFixedDrivesFor(fs, "tk32.ini"), "/c/flach/");
  EXPECT_EQ(fs.walk_reads, (std::vector<std::string>{"/c/", "/d/", "/c/tief/", "/c/flach/"}));

  fs.files.erase("/c/flach/tk32.ini");
  EXPECT_EQ(SearchFixedDrivesFor(fs, "tk32.ini"), "/c/tief/tiefer/");
  fs.files.erase("/c/tief/tiefer/tk32.ini");
  EXPECT_EQ(SearchFixedDrivesFor(fs, "tk32.ini"), "");
}

TEST(Tk32Search, LinksLoopsAndForeignVolumesAreNotEntered) {
  FakeFileSystem fs;
  auto& root = fs.AddWalkFolder("/");
  // A link to a folder that holds the file: listed, but not a folder to enter.
  root.entries.push_back({"verweis", false});
  fs.walk_folders["/verweis/"].entries.push_back({"tk32.ini", false});
  // A folder mounted inside itself: the same identity under a longer path.
  fs.AddWalkFolder("/schleife/");
  fs.walk_folders["/schleife/"].entries.push_back({"innen", true});
  fs.walk_folders["/schleife/innen/"] = fs.walk_folders["/schleife/"];
  fs.walk_folders["/schleife/innen/innen/"] = fs.walk_folders["/schleife/"];
  // A pseudo file system on a volume of its own.
  auto& proc = fs.AddWalkFolder("/proc/");
  proc.identity.volume = 9;
  proc.fixed_disk = false;
  proc.entries.push_back({"tk32.ini", false});
  fs.files["/verweis/tk32.ini"] = "";
  fs.files["/proc/tk32.ini"] = "";

  EXPECT_EQ(SearchFixedDrivesFor(fs, "tk32.ini"), "");
  EXPECT_EQ(fs.walk_reads,
            (std::vector<std::string>{"/", "/schleife/", "/proc/", "/schleife/innen/"}));
}

TEST(Tk32Search, CaseAndUnreadableFolders) {
  FakeFileSystem fs;
  fs.AddWalkFolder("/").entries.push_back({"gesperrt", true});
  fs.walk_folders["/"].entries.push_back({"gross", true});
  fs.AddWalkFolder("/gross/").entries.push_back({"TK32.INI", false});
  // On a system whose names keep their case, TK32.INI is not tk32.ini: the
  // listing only makes the search ask.
  EXPECT_EQ(SearchFixedDrivesFor(fs, "tk32.ini"), "");
  // A folder that cannot be listed is still asked for the file directly.
  fs.files["/gesperrt/tk32.ini"] = "";
  EXPECT_EQ(SearchFixedDrivesFor(fs, "tk32.ini"), "/gesperrt/");
}

}  // namespace
}  // namespace velkora
