#pragma once

#include "platform/file_system.h"

namespace velkora::win32 {

// Files through the ANSI API. ListDirectory leaves out "." and ".." so that a
// walk over the folders cannot run in circles; hidden and system entries are
// listed like any other.
class Win32FileSystem final : public FileSystem {
 public:
  bool FileExists(const std::string& path) const override;
  bool DirectoryExists(const std::string& path) const override;
  bool RemoveFile(const std::string& path) override;
  bool EmptyFile(const std::string& path) override;
  bool AppendToFile(const std::string& path, std::string_view bytes) override;
  std::vector<std::string> ListDirectory(const std::string& folder,
                                         std::string_view pattern) const override;
  std::vector<std::string> FixedDrives() const override;
  // GetFullPathNameA: also a drive-relative path takes that drive's folder.
  std::string FullPath(const std::string& path) const override;
  char PathSeparator() const override { return '\\'; }
  // The folder is opened as itself (a junction or symbolic link is not
  // followed); its identity is the volume serial number and the file index.
  // Entries whose long name has no form in the ANSI code page come with
  // their short (8.3) name, which reaches the same entry.
  bool ReadFolderForWalk(const std::string& folder, FolderIdentity& identity,
                         std::vector<WalkEntry>& entries) const override;
  // The drive type of the folder's volume is DRIVE_FIXED.
  bool IsOnFixedDisk(const std::string& folder) const override;
};

}  // namespace velkora::win32
