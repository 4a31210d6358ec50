#pragma once

#include "platform/named_lock.h"

namespace velkora::win32 {

// Named mutexes (CreateMutexA with initial ownership). A holder releases
// its mutex before closing it, so a waiting process gets it at once; the
// system drops the mutex when the last handle closes, also when the process
// dies, and hands a waiter a mutex whose holder died as abandoned.
class Win32NamedLockFactory final : public NamedLockFactory {
 public:
  LockResult Acquire(const std::string& name) override;
  LockResult AcquireWaiting(const std::string& name, std::chrono::milliseconds wait) override;
};

}  // namespace velkora::win32
