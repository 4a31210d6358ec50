#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
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
    if (p < pattern.size() &&
        (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
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

bool PosixFileSystem::EmptyFile(const std::string& path) {
  UniqueFd fd(::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC));
  return fd && ::close(fd.release()) == 0;
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

std::string PosixFileSystem::FullPath(const std::string& path) const {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  if (error) return path;
  return full.lexically_normal().string();
}

bool PosixFileSystem::ReadFolderForWalk(const std::string& folder, FolderIdentity& identity,
                                        std::vector<WalkEntry>& entries) const {
  // Without the trailing '/' a final symbolic link is not followed: with it,
  // the kernel would resolve the link before O_NOFOLLOW could refuse it.
  std::string path = folder;
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  if (path.empty()) path = ".";
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return false;
  struct stat info {};
  if (::fstat(fd.get(), &info) != 0) return false;
  identity.volume = static_cast<uint64_t>(info.st_dev);
  identity.index = static_cast<uint64_t>(info.st_ino);

  entries.clear();
  // Raw directory records: a walk over a whole disk reads each folder once
  // and needs nothing but names and types.
  alignas(struct dirent64) std::array<char, 32768> buffer;
  for (;;) {
    const ssize_t got = ::getdents64(fd.get(), buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) break;
    for (ssize_t offset = 0; offset < got;) {
      const auto* record = reinterpret_cast<const struct dirent64*>(buffer.data() + offset);
      offset += record->d_reclen;
      const char* name = record->d_name;
      if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
      bool is_directory = record->d_type == DT_DIR;
      if (record->d_type == DT_UNKNOWN) {
        // Some file systems do not fill in the type.
        struct stat entry {};
        is_directory =
            ::fstatat(fd.get(), name, &entry, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(entry.st_mode);
      }
      entries.push_back(WalkEntry{name, is_directory});
    }
  }
  return true;
}

bool PosixFileSystem::IsOnFixedDisk(const std::string& folder) const {
  struct statfs info {};
  if (::statfs(folder.empty() ? "." : folder.c_str(), &info) != 0) return false;
  // Magic numbers of the kernel's file system types that hold no disk.
  static constexpr std::array<uint64_t, 32> kNotOnDisk = {
      0x9fa0,      // proc
      0x62656572,  // sysfs
      0x1cd1,      // devpts
      0x01021994,  // tmpfs, devtmpfs
      0x858458f6,  // ramfs
      0x27e0eb,    // cgroup
      0x63677270,  // cgroup2
      0x73636673,  // securityfs
      0x64626720,  // debugfs
      0x74726163,  // tracefs
      0x6165676c,  // pstore
      0xcafe4a11,  // bpf
      0x19800202,  // mqueue
      0x958458f6,  // hugetlbfs
      0x62656570,  // configfs
      0x65735543,  // fusectl
      0x42494e4d,  // binfmt_misc
      0x0187,      // autofs
      0xde5e81e4,  // efivarfs
      0xf97cff8c,  // selinuxfs
      0x6e736673,  // nsfs
      0x50495045,  // pipefs
      0x534f434b,  // sockfs
      0x6969,      // nfs
      0x517b,      // smb
      0xff534d42,  // cifs
      0xfe534d42,  // smb2
      0x5346414f,  // afs
      0x00c36400,  // ceph
      0x73757245,  // coda
      0x9660,      // iso9660
      0x15013346,  // udf
  };
  const auto type = static_cast<uint64_t>(static_cast<uint32_t>(info.f_type));
  return std::find(kNotOnDisk.begin(), kNotOnDisk.end(), type) == kNotOnDisk.end();
}

}  // namespace velkora::posix
