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
  bool AppendToFile(const std::string& path, std::string_view bytes) override;
  std::vector<std::string> ListDirectory(const std::string& folder,
                                         std::string_view pattern) const override;
  std::vector<std::string> FixedDrives() const override;
};

// The wildcard match ListDirectory uses; exposed for tests.
bool WildcardMatch(std::string_view pattern, std::string_view name);

}  // namespace velkora::posix
