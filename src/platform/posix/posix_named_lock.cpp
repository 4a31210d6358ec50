#include "platform/posix/posix_named_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "platform/posix/file_descriptor.h"

namespace velkora::posix {
namespace {

class FlockLock final : public NamedLock {
 public:
  explicit FlockLock(UniqueFd fd) : fd_(std::move(fd)) {}

 private:
  UniqueFd fd_;  // closing it releases the lock
};

// Lock names may hold any character; the file name keeps letters, digits,
// '-', '_' and '.', and escapes the rest as %XX so that distinct names
// never share a file.
std::string EscapeName(const std::string& name) {
  std::string out;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' ||
        u == '_' || (u == '.' && !out.empty())) {
      out.push_back(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", u);
      out.append(hex);
    }
  }
  return out;
}

}  // namespace

std::string NamedLockPath(const std::string& name) {
  const char* runtime_dir = std::getenv("XDG_RUNTIME_DIR");
  struct stat info {};
  if (runtime_dir && runtime_dir[0] == '/' && ::stat(runtime_dir, &info) == 0 &&
      S_ISDIR(info.st_mode)) {
    return std::string(runtime_dir) + "/velkora-" + EscapeName(name) + ".lock";
  }
  return "/tmp/velkora-" + std::to_string(::getuid()) + "-" + EscapeName(name) + ".lock";
}

LockResult PosixNamedLockFactory::Acquire(const std::string& name) {
  const std::string path = NamedLockPath(name);
  // O_NOFOLLOW: in a shared /tmp a planted symlink must not redirect us.
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd) return Unexpected(LockFailure::kFailed);
  while (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) continue;
    return Unexpected(errno == EWOULDBLOCK ? LockFailure::kAlreadyExists : LockFailure::kFailed);
  }
  return std::make_unique<FlockLock>(std::move(fd));
}

}  // namespace velkora::posix

namespace velkora::posix {

LockResult PosixNamedLockFactory::AcquireWaiting(const std::string& name,
                                                 std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  for (;;) {
    LockResult lock = Acquire(name);
    if (lock || lock.error() != LockFailure::kAlreadyExists ||
        std::chrono::steady_clock::now() >= deadline) {
      return lock;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

}  // namespace velkora::posix
