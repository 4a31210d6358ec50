#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "base/ascii.h"
#include "platform/posix/file_descriptor.h"

namespace velkora::posix {
namespace {

using UniqueDir = UniqueAny<DIR*, &::closedir>;

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*") pattern = "*";
  // Iterative match with one backtrack point: the last '*' seen.
  std::size_t p = 0, n = 0, star = std::string_view::npos, resume = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      resume = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool PosixFileSystem::FileExists(const std::string& path) const {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool PosixFileSystem::DirectoryExists(const std::string& path) const {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PosixFileSystem::RemoveFile(const std::string& path) {
  struct stat info {};
  if (::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  return ::unlink(path.c_str()) == 0;
}

bool PosixFileSystem::AppendToFile(const std::string& path, std::string_view bytes) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666));
  if (!fd || !WriteAll(fd.get(), bytes)) return false;
  return ::close(fd.release()) == 0;
}

std::vector<std::string> PosixFileSystem::ListDirectory(const std::string& folder,
                                                        std::string_view pattern) const {
  std::vector<std::string> names;
  UniqueDir dir(::opendir(folder.empty() ? "." : folder.c_str()));
  if (!dir) return names;
  const int dir_fd = ::dirfd(dir.get());
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name == "." || name == ".." || !WildcardMatch(pattern, name)) continue;
    struct stat info {};
    const bool is_dir = ::fstatat(dir_fd, entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
    names.emplace_back(is_dir ? std::string(name) + "/" : std::string(name));
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::vector<std::string> PosixFileSystem::FixedDrives() const { return {"/"}; }

}  // namespace velkora::posix
