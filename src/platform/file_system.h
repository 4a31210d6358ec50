#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velkora {

// The few file operations the server needs. Paths are 8-bit text in the
// platform's form. No call raises: failures are results.
//
// Thread safety: safe to call from several threads. Other programs share
// the files, so any answer may be out of date by the time it is used.
class FileSystem {
 public:
  FileSystem() = default;
  FileSystem(const FileSystem&) = delete;
  FileSystem& operator=(const FileSystem&) = delete;
  virtual ~FileSystem() = default;

  // True when a file (not a folder) of that path exists.
  virtual bool FileExists(const std::string& path) const = 0;
  // True when a folder of that path exists.
  virtual bool DirectoryExists(const std::string& path) const = 0;
  // Deletes a file; false when it could not be deleted (also when missing).
  // Not called DeleteFile: <windows.h> makes that a macro, which would rename
  // the member in some files and not in others.
  virtual bool RemoveFile(const std::string& path) = 0;
  // Cuts an existing file to length 0, keeping the file itself and with it
  // its permissions; false when it is missing or cannot be written.
  virtual bool EmptyFile(const std::string& path) = 0;
  // Appends bytes to a file, creating it when missing; the file is opened
  // and closed inside the call. False on any failure.
  virtual bool AppendToFile(const std::string& path, std::string_view bytes) = 0;
  // Names (not paths) of the entries of a folder matching a wildcard
  // pattern (* and ?, case-insensitive); folders end in the platform's
  // separator. Empty when the folder cannot be read.
  virtual std::vector<std::string> ListDirectory(const std::string& folder,
                                                 std::string_view pattern) const = 0;
  // Roots of the fixed drives ("C:\\" ...); "/" on POSIX.
  virtual std::vector<std::string> FixedDrives() const = 0;

  // `path` as a full path: a relative one is taken from the process's
  // current folder as it is now; "." and ".." steps are resolved by name
  // and a trailing separator stays. Unchanged when the current folder
  // cannot be found out.
  virtual std::string FullPath(const std::string& path) const = 0;

  // The character between the names of a path ('\\' on Windows, '/' on
  // POSIX); the roots of FixedDrives end in it.
  virtual char PathSeparator() const = 0;

  // --- walking the folders of a disk ---------------------------------------

  // Which folder a path reaches: two paths that reach the same folder give
  // the same identity, two different folders that exist at the same time
  // never do. `volume` tells the file system (disk, partition) apart.
  struct FolderIdentity {
    uint64_t volume = 0;
    uint64_t index = 0;
    bool operator==(const FolderIdentity&) const = default;
  };

  // One entry of a folder as a walk sees it. `is_directory` is true only
  // for a real folder the walk may enter: never for a symbolic link, a
  // junction or another reparse point, whatever it points to.
  struct WalkEntry {
    std::string name;
    bool is_directory = false;
  };

  // Reads one folder for a walk. `folder` ends in PathSeparator(). Returns
  // false when the folder cannot be opened or listed, or when the path
  // itself ends in a symbolic link, junction or other reparse point (a walk
  // never follows them). Otherwise sets `identity` and replaces `entries`
  // with every entry of the folder except "." and "..", hidden and system
  // entries included, in the platform's enumeration order (unsorted).
  virtual bool ReadFolderForWalk(const std::string& folder, FolderIdentity& identity,
                                 std::vector<WalkEntry>& entries) const = 0;

  // True when the folder lies on a local fixed disk: false for pseudo file
  // systems (/proc, /sys, /dev, RAM-backed ones), network shares and
  // removable media. A walk asks this when it steps onto another volume.
  virtual bool IsOnFixedDisk(const std::string& folder) const = 0;
};

}  // namespace velkora
