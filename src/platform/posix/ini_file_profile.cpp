#include "platform/posix/ini_file_profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <string>

#include "platform/portable/ini_engine.h"
#include "platform/posix/file_descriptor.h"

namespace velkora::posix {
namespace {


enum class ReadOutcome { kRead, kMissing, kFailed };

ReadOutcome ReadWholeFile(const std::string& path, std::string& bytes, struct stat& info) {
  bytes.clear();
  // O_NONBLOCK: a FIFO in place of the file must not hang the call.
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!fd) return errno == ENOENT ? ReadOutcome::kMissing : ReadOutcome::kFailed;
  if (::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode)) return ReadOutcome::kFailed;
  // Read the size fstat reported, then keep going in case the file grew
  // meanwhile; the buffer only grows when it is really full.
  bytes.resize(static_cast<std::size_t>(info.st_size) + 1);
  std::size_t filled = 0;
  for (;;) {
    if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
    const ssize_t got = ::read(fd.get(), bytes.data() + filled, bytes.size() - filled);
    if (got < 0) {
      if (errno == EINTR) continue;
      return ReadOutcome::kFailed;
    }
    if (got == 0) break;
    filled += static_cast<std::size_t>(got);
  }
  bytes.resize(filled);
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

}  // namespace

std::string IniFileProfile::GetString(std::optional<std::string_view> section,
                                      std::optional<std::string_view> key, std::string_view default_text,
                                      std::size_t buffer_size, const std::string& file) {
  std::string bytes;
  struct stat info {};
  // A file that is missing or unreadable reads as empty: the caller gets the
  // default, as the platform gives it.
  if (file.empty() || ReadWholeFile(file, bytes, info) != ReadOutcome::kRead) bytes.clear();
  return portable::ini_engine::GetString(bytes, section, key, default_text, buffer_size);
}

bool IniFileProfile::WriteString(std::string_view section, std::optional<std::string_view> key,
                                 std::optional<std::string_view> value, const std::string& file) {
  if (file.empty()) return false;
  std::string target;
  if (!ResolveLinks(file, target)) return false;

  std::string old_bytes;
  struct stat info {};
  const ReadOutcome outcome = ReadWholeFile(target, old_bytes, info);
  if (outcome == ReadOutcome::kFailed) return false;  // never replace what we could not read
  const bool existed = outcome == ReadOutcome::kRead;
  // The read-only attribute's counterpart: no write bit at all refuses the
  // write even for a user (root) whom the kernel would let through.
  if (existed && ((info.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)) return false;

  const std::optional<std::string> new_bytes = portable::ini_engine::WriteString(old_bytes, section, key, value);
  if (!new_bytes) return false;
  if (existed && *new_bytes == old_bytes) return true;

  const std::string folder = DirectoryOf(target);
  const std::string stem = folder + "/." + BaseNameOf(target) + ".tmp-" + std::to_string(::getpid()) + "-";
  // A new file gets the usual 0666 less the umask; a replacement gets exactly
  // the original's bits, set below with fchmod because the umask would strip
  // some of them at creation.
  const mode_t create_mode = existed ? 0600 : 0666;
  if (Fails(WriteStep::kCreateTemp)) return false;
  UniqueFd fd;
  std::string temp_path;
  const auto seed = static_cast<unsigned long long>(
      std::chrono::steady_clock::now().time_since_epoch().count());
  for (unsigned attempt = 0; attempt < 100 && !fd; ++attempt) {
    temp_path = stem + std::to_string(seed + attempt);
    fd = UniqueFd(::open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, create_mode));
    if (!fd && errno != EEXIST) return false;
  }
  if (!fd) return false;
  TempFileGuard guard(temp_path);

  if (existed) {
    // Ownership is best effort: only a privileged process may give a file
    // away, and a replacement owned by the writer is still a correct file.
    if (info.st_uid != ::geteuid() || info.st_gid != ::getegid()) {
      [[maybe_unused]] const int ignored = ::fchown(fd.get(), info.st_uid, info.st_gid);
    }
    if (::fchmod(fd.get(), info.st_mode & 07777) != 0) return false;
  }
  if (Fails(WriteStep::kWriteTemp) || !WriteAll(fd.get(), *new_bytes)) return false;
  if (Fails(WriteStep::kSyncTemp) || ::fsync(fd.get()) != 0) return false;
  if (::close(fd.release()) != 0) return false;
  if (Fails(WriteStep::kRename) || ::rename(temp_path.c_str(), target.c_str()) != 0) return false;
  guard.Dismiss();

  // Make the rename itself durable.
  UniqueFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
  return true;
}

}  // namespace velkora::posix
