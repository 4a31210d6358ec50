// The disk search over a real folder tree with links that point back up and
// across.

#include <gtest/gtest.h>

#include <filesystem>

#include "lcr/tk32_search.h"
#include "platform/posix/posix_file_system.h"
#include "support/temp_dir.h"

namespace velkora {
namespace {

namespace fs = std::filesystem;

// The real file system with one folder as its only drive.
class OneFolderDrive final : public FileSystem {
 public:
  explicit OneFolderDrive(std::string root) : root_(std::move(root)) {}
  bool FileExists(const std::string& p) const override { return real_.FileExists(p); }
  bool DirectoryExists(const std::string& p) const override { return real_.DirectoryExists(p); }
  bool RemoveFile(const std::string& p) override { return real_.RemoveFile(p); }
  bool AppendToFile(const std::string& p, std::string_view b) override { return real_.AppendToFile(p, b); }
  std::vector<std::string> ListDirectory(const std::string& f, std::string_view p) const override {
    return real_.ListDirectory(f, p);
  }
  std::vector<std::string> FixedDrives() const override { return {root_}; }
  char PathSeparator() const override { return '/'; }
  bool ReadFolderForWalk(const std::string& f, FolderIdentity& id,
                         std::vector<WalkEntry>& e) const override {
    ++reads;
    return real_.ReadFolderForWalk(f, id, e);
  }
  bool IsOnFixedDisk(const std::string& f) const override { return real_.IsOnFixedDisk(f); }

  mutable int reads = 0;

 private:
  posix::PosixFileSystem real_;
  std::string root_;
};

TEST(Tk32SearchOnDisk, FollowsNoLinkAndEndsInLoops) {
  testing_support::TempDir dir;
  const fs::path root = dir.path();
  fs::create_directories(root / "a" / "b" / "c");
  fs::create_directories(root / "versteckt");
  testing_support::WriteBytes((root / "versteckt" / "tk32.ini").string(), "");
  fs::create_directory_symlink(root, root / "a" / "zurueck");             // a loop
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
