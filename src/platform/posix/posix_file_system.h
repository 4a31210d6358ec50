#pragma once

#include "platform/file_system.h"

namespace velkora::posix {

// FileSystem over POSIX calls. ListDirectory returns names in byte order,
// leaves out "." and "..", marks folders with a trailing '/', and matches
// the pattern as the platform's wildcards do: '*' any run, '?' one
// character, ASCII case ignored, and "*.*" matching every name (also names
// without a dot).
class PosixFileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  bool DirectoryExists(const std::string& path) const override;
  bool RemoveFile(const std::string& path) override;
  bool EmptyFile(const std::string& path) override;
  bool AppendToFile(const std::string& path, std::string_view bytes) override;
  std::vector<std::string> ListDirectory(const std::string& folder,
                                         std::string_view pattern) const override;
  std::vector<std::string> FixedDrives() const override;
  std::string FullPath(const std::string& path) const override;
  char PathSeparator() const override { return '/'; }
  // Entries come in the order the kernel lists them. The folder is opened
  // without following a final symbolic link; its identity is its device and
  // inode number.
  bool ReadFolderForWalk(const std::string& folder, FolderIdentity& identity,
                         std::vector<WalkEntry>& entries) const override;
  // False for the kernel's pseudo file systems (proc, sysfs, devtmpfs and
  // other RAM-backed ones, cgroups, ...), network file systems and optical
  // media.
  bool IsOnFixedDisk(const std::string& folder) const override;
};

// The wildcard match ListDirectory uses; exposed for tests.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace velkora::posix
