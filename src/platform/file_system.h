#pragma once

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
};

}  // namespace velkora
