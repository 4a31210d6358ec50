#pragma once

#include <chrono>
#include <memory>
#include <string>

namespace velkora {

// A system-wide lock, held from acquisition until the handle is destroyed
// or the process dies.
class NamedLock {
 public:
  NamedLock() = default;
  NamedLock(const NamedLock&) = delete;
  NamedLock& operator=(const NamedLock&) = delete;
  virtual ~NamedLock() = default;
};

enum class LockResult {
  kAcquired,       // this process holds the lock now
  kAlreadyExists,  // somebody holds it: another process, or this one already
  kFailed,         // the lock could not be created for another reason
};

// Makes named locks that every process of the user's session sees.
//
// Thread safety: safe to call from several threads.
class NamedLockFactory {
 public:
  NamedLockFactory() = default;
  NamedLockFactory(const NamedLockFactory&) = delete;
  NamedLockFactory& operator=(const NamedLockFactory&) = delete;
  virtual ~NamedLockFactory() = default;

  // Creates and takes the lock `name`. Returns the result and, for
  // kAcquired, the owning handle (null otherwise). A name held by anybody,
  // this process included, gives kAlreadyExists. Never blocks, never raises.
  virtual std::unique_ptr<NamedLock> Acquire(const std::string& name, LockResult& result) = 0;

  // Like Acquire, but a lock held by another process is waited for, up to
  // `wait`: kAcquired as soon as its holder lets go (or dies) within that
  // time, kAlreadyExists when it is still held then. Blocks the calling
  // thread for at most `wait`; never raises.
  virtual std::unique_ptr<NamedLock> AcquireWaiting(const std::string& name,
                                                    std::chrono::milliseconds wait,
                                                    LockResult& result) = 0;
};

}  // namespace velkora
