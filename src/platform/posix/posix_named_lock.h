#pragma once

#include "platform/named_lock.h"

namespace velkora::posix {

// Named locks as exclusive flock() locks on a file named after the lock, in
// $XDG_RUNTIME_DIR (private to the user) or else /tmp (with the user id in
// the file name). The kernel drops the lock when its holder's descriptor
// closes, so the lock dies with the process, however it ends. The file
// itself stays behind on purpose: removing it would let a second process
// lock a fresh file while the first still holds the old one.
class PosixNamedLockFactory final : public NamedLockFactory {
 public:
  LockResult Acquire(const std::string& name) override;
  // Tries again every few milliseconds until the wait is over.
  LockResult AcquireWaiting(const std::string& name, std::chrono::milliseconds wait) override;
};

// Path of the lock file for `name`; exposed for tests.
std::string NamedLockPath(const std::string& name);

}  // namespace velkora::posix
