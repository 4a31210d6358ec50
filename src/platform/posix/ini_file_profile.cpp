#include "platform/posix/ini_file_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <memory>
#include <string>

#include "platform/portable/ini_engine.h"
#include "platform/posix/file_descriptor.h"

namespace velkora::posix {
namespace {

enum class ReadOutcome { kRead, kMissing, kFailed };

// A file's bytes in a buffer that is not cleared before the read fills it:
// clearing a large file's worth of memory costs a good part of what the
// read itself does.
class FileBytes {
 public:
  // Room for `capacity` bytes in all, keeping those filled so far.
  void Reserve(std::size_t capacity) {
    if (capacity <= capacity_) return;
    auto bigger = std::make_unique_for_overwrite<char[]>(capacity);
    if (size_ > 0) std::memcpy(bigger.get(), data_.get(), size_);
    data_ = std::move(bigger);
    capacity_ = capacity;
  }
  char* free_space() { return data_.get() + size_; }
  std::size_t free_size() const { return capacity_ - size_; }
  void Filled(std::size_t count) { size_ += count; }
  void clear() { size_ = 0; }

  std::string_view view() const { return {data_.get(), size_}; }
  operator std::string_view() const { return view(); }
  friend bool operator==(std::string_view text, const FileBytes& bytes) {
    return text == bytes.view();
  }

 private:
  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

ReadOutcome ReadWholeFile(const std::string& path, FileBytes& bytes, struct stat& info) {
  bytes.clear();
  // O_NONBLOCK: a FIFO in place of the file must not hang the call.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return errno == ENOENT ? ReadOutcome::kMissing : ReadOutcome::kFailed;
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadOutcome::kFailed;
  // Read the size fstat reported, then keep going in case the file grew
  // meanwhile; the buffer only grows when it is really full.
  bytes.Reserve(static_cast<std::size_t>(info.st_size) + 1);
  for (;;) {
    if (bytes.free_size() == 0) bytes.Reserve(2 * bytes.view().size());
    const ssize_t got = ::read(fd.get(), bytes.free_space(), bytes.free_size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return ReadOutcome::kFailed;
    }
    if (got == 0) break;
    bytes.Filled(static_cast<std::size_t>(got));
  }
  return ReadOutcome::kRead;
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Follows symbolic links to the path that really holds the file, so that
// the rename replaces the target and not the link. A dangling link resolves
// to its (missing) target, which the write then creates.
bool ResolveLinks(std::string path, std::string& target) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
      if (errno != ENOENT) return false;
      target = path;
      return true;
    }
    if (!S_ISLNK(info.st_mode)) {
      target = path;
      return true;
    }
    std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
    const ssize_t len = ::readlink(path.c_str(), link.data(), link.size());
    if (len < 0 || static_cast<std::size_t>(len) >= link.size()) return false;
    link.resize(static_cast<std::size_t>(len));
    path = (!link.empty() && link.front() == '/') ? link : DirectoryOf(path) + "/" + link;
  }
  return false;  // a loop of links
}

// Removes the temporary file unless the rename consumed it.
class TempFileGuard {
 public:
  explicit TempFileGuard(std::string path) : path_(std::move(path)) {}
  TempFileGuard(const TempFileGuard&) = delete;
  TempFileGuard& operator=(const TempFileGuard&) = delete;
  ~TempFileGuard() {
    if (!path_.empty()) ::unlink(path_.c_str());
  }
  void Dismiss() { path_.clear(); }

 private:
  std::string path_;
};

// Whether a refusal to create or rename in the folder is one that writing
// the file itself may still get past: a writable file in a folder the user
// may not change, a sticky folder holding another user's file, or a file
// system whose name limit leaves no room for a temporary name beside it.
bool FolderRefused(int error) { return error == EACCES || error == EPERM || error == ENAMETOOLONG; }

// Allocates the file's blocks up to `size` bytes without changing a byte
// of it. A file system that cannot allocate ahead lets the write find out.
bool Reserve(int fd, std::size_t size) {
  const int error = ::posix_fallocate(fd, 0, static_cast<off_t>(size));
  return error == 0 || error == EOPNOTSUPP || error == EINVAL;
}

// The start of the temporary names beside `target`: hidden, in the same
// folder (a rename cannot cross file systems), and short whatever the
// file's own name is, so that a name near the system's limit of 255 bytes
// still leaves room for it. The first bytes of the name stay in it, cut
// where a UTF-8 character starts, so that a leftover shows whose it was.
std::string TempStem(const std::string& target) {
  constexpr std::size_t kKeptBytes = 24;
  std::string base = BaseNameOf(target);
  if (base.size() > kKeptBytes) {
    std::size_t cut = kKeptBytes;
    while (cut > 0 && (static_cast<unsigned char>(base[cut]) & 0xC0) == 0x80) --cut;
    base.resize(cut);
  }
  return DirectoryOf(target) + "/." + base + ".tmp-" + std::to_string(::getpid()) + "-";
}

// Whether this process may write the existing file at all. No write bit
// refuses the write even for a user (root) whom the kernel would let
// through: the counterpart of the read-only attribute.
bool MayWrite(const std::string& target, const struct stat& info) {
  return (info.st_mode & 0222) != 0 && ::access(target.c_str(), W_OK) == 0;
}

// Makes the last rename in `folder` durable; where the folder cannot be
// opened the rename has happened all the same.
void SyncFolder(const std::string& folder) {
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) (void)::fsync(dir.get());
}

}  // namespace

bool IniFileProfile::WriteInPlace(const std::string& target, const struct stat& read_info,
                                  std::string_view bytes) const {
  UniqueFd fd(::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK));
  if (!fd) return false;
  // The content was computed from what was read; another file put in its
  // place meanwhile must not receive it.
  struct stat now {};
  if (::fstat(fd.get(), &now) != 0 || !S_ISREG(now.st_mode) || now.st_dev != read_info.st_dev ||
      now.st_ino != read_info.st_ino) {
    return false;
  }
  // A longer content needs its room on the disk before the first byte
  // changes: a disk that fills up half-way would leave the new start
  // followed by the old end.
  if (bytes.size() > static_cast<std::size_t>(now.st_size) && !Reserve(fd.get(), bytes.size())) {
    // Whatever part of the room was had goes again; the content is as it was.
    struct stat after {};
    if (::fstat(fd.get(), &after) == 0 && after.st_size != now.st_size)
      (void)::ftruncate(fd.get(), now.st_size);
    return false;
  }
  // Freshly opened, the descriptor writes from the file's start.
  if (Fails(WriteStep::kWriteInPlace) || !WriteAll(fd.get(), bytes)) return false;
  if (::ftruncate(fd.get(), static_cast<off_t>(bytes.size())) != 0) return false;
  if (::fsync(fd.get()) != 0) return false;
  return ::close(fd.release()) == 0;
}

std::string IniFileProfile::PathOf(const std::string& file) const {
  if (file.empty() || file.front() == '/' || relative_folder_.empty()) return file;
  return relative_folder_ + "/" + file;
}

std::string IniFileProfile::GetString(std::optional<std::string_view> section,
                                      std::optional<std::string_view> key,
                                      std::string_view default_text, std::size_t buffer_size,
                                      const std::string& file) {
  FileBytes bytes;
  struct stat info {};
  // A file that is missing or unreadable reads as empty: the caller gets the
  // default, as the platform gives it.
  if (file.empty() || ReadWholeFile(PathOf(file), bytes, info) != ReadOutcome::kRead) bytes.clear();
  return portable::ini_engine::GetString(bytes, section, key, default_text, buffer_size);
}

std::vector<Profile::NamedValue> IniFileProfile::GetSectionValues(std::string_view section,
                                                                  std::size_t list_buffer_size,
                                                                  std::size_t value_buffer_size,
                                                                  const std::string& file) {
  FileBytes bytes;
  struct stat info {};
  if (file.empty() || ReadWholeFile(PathOf(file), bytes, info) != ReadOutcome::kRead) bytes.clear();
  return portable::ini_engine::GetSectionValues(bytes, section, list_buffer_size,
                                                value_buffer_size);
}

IniFileProfile::TempFile IniFileProfile::CreateTempFile(const std::string& target,
                                                        mode_t mode) const {
  TempFile temp;
  if (Fails(WriteStep::kCreateTemp)) return temp;
  const std::string stem = TempStem(target);
  const auto seed =
      static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    temp.path = stem + std::to_string(seed + attempt);
    temp.fd = UniqueFd(
        ::open(temp.path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode));
    if (temp.fd) return temp;
    temp.error = errno;
    if (temp.error != EEXIST) break;
  }
  temp.path.clear();
  return temp;
}

IniFileProfile::Replacement IniFileProfile::ReplaceViaTempFile(const std::string& target,
                                                               const struct stat* original,
                                                               std::string_view bytes) const {
  // With nothing to keep, a file that may be written in place is one that
  // exists: a new one has no place to be written to.
  const Replacement in_place = original ? Replacement::kWriteInPlace : Replacement::kFailed;
  // A new file gets the usual 0666 less the umask; a replacement gets exactly
  // the original's bits, set below with fchmod because the umask would strip
  // some of them at creation.
  TempFile temp = CreateTempFile(target, original ? 0600 : 0666);
  if (!temp.fd) return FolderRefused(temp.error) ? in_place : Replacement::kFailed;
  TempFileGuard guard(temp.path);

  if (original) {
    // A replacement must belong to whoever owned the file. Where this
    // process may not give it away, the file is written in place instead,
    // so that its owner (and group) keep it.
    if ((original->st_uid != ::geteuid() || original->st_gid != ::getegid()) &&
        ::fchown(temp.fd.get(), original->st_uid, original->st_gid) != 0) {
      return in_place;
    }
    if (::fchmod(temp.fd.get(), original->st_mode & 07777) != 0) return Replacement::kFailed;
  }
  if (Fails(WriteStep::kWriteTemp) || !WriteAll(temp.fd.get(), bytes)) return Replacement::kFailed;
  if (Fails(WriteStep::kSyncTemp) || ::fsync(temp.fd.get()) != 0) return Replacement::kFailed;
  if (::close(temp.fd.release()) != 0) return Replacement::kFailed;
  if (Fails(WriteStep::kRename)) return Replacement::kFailed;
  if (::rename(temp.path.c_str(), target.c_str()) != 0) {
    // A sticky folder lets only the owner replace a file.
    return FolderRefused(errno) ? in_place : Replacement::kFailed;
  }
  guard.Dismiss();
  SyncFolder(DirectoryOf(target));
  return Replacement::kDone;
}

bool IniFileProfile::WriteString(std::string_view section, std::optional<std::string_view> key,
                                 std::optional<std::string_view> value, const std::string& file) {
  if (file.empty()) return false;
  std::string target;
  if (!ResolveLinks(PathOf(file), target)) return false;

  FileBytes old_bytes;
  struct stat info {};
  const ReadOutcome outcome = ReadWholeFile(target, old_bytes, info);
  if (outcome == ReadOutcome::kFailed) return false;  // never replace what we could not read
  const bool existed = outcome == ReadOutcome::kRead;
  if (existed && !MayWrite(target, info)) return false;

  const std::optional<std::string> new_bytes =
      portable::ini_engine::WriteString(old_bytes, section, key, value);
  if (!new_bytes) return false;
  // Nothing to change: the file stays untouched, and a delete from a file
  // that is not there creates none.
  if (*new_bytes == old_bytes) return true;
  // A replacement would be a new file under one of the names only, and the
  // other names would keep the old content.
  if (existed && info.st_nlink > 1) return WriteInPlace(target, info, *new_bytes);

  switch (ReplaceViaTempFile(target, existed ? &info : nullptr, *new_bytes)) {
    case Replacement::kDone: return true;
    case Replacement::kWriteInPlace: return WriteInPlace(target, info, *new_bytes);
    case Replacement::kFailed: break;
  }
  return false;
}

}  // namespace velkora::posix
