#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/posix_file_system.h"

namespace velkora::testing_support {

// The real POSIX file system with one folder as its only fixed drive, so a
// walk over "every drive" covers a tree a test or benchmark made. Counts the
// folders read.
class OneFolderDrive final : public FileSystem {
 public:
  // `root` ends in '/'.
  explicit OneFolderDrive(std::string root) : root_(std::move(root)) {}
  bool FileExists(const std::string& p) const override { return real_.FileExists(p); }
  bool DirectoryExists(const std::string& p) const override { return real_.DirectoryExists(p); }
  bool RemoveFile(const std::string& p) override { return real_.RemoveFile(p); }
  bool EmptyFile(const std::string& p) override { return real_.EmptyFile(p); }
  bool AppendToFile(const std::string& p, std::string_view b) override {
    return real_.AppendToFile(p, b);
  }
  std::vector<std::string> ListDirectory(const std::string& f, std::string_view p) const override {
    return real_.ListDirectory(f, p);
  }
  std::vector<std::string> FixedDrives() const override { return {root_}; }
  std::string FullPath(const std::string& p) const override { return real_.FullPath(p); }
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

}  // namespace velkora::testing_support
