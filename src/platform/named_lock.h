#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "base/expected.h"

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

// Why a lock was not taken.
enum class LockFailure {
  kAlreadyExists,  // somebody holds it: another process, or this one already
  kFailed,         // the lock could not be created for another reason
};

// The owning handle of a lock this process holds now, or why it does not.
using LockResult = Expected<std::unique_ptr<NamedLock>, LockFailure>;

// Makes named locks that every process of the user's session sees.
//
// Thread safety: safe to call from several threads.
class NamedLockFactory {
 public:
  NamedLockFactory() = default;
  NamedLockFactory(const NamedLockFactory&) = delete;
  NamedLockFactory& operator=(const NamedLockFactory&) = delete;
  virtual ~NamedLockFactory() = default;

  // Creates and takes the lock `name`: its owning handle (never null), or
  // the failure. A name held by anybody, this process included, gives
  // kAlreadyExists. Never blocks, never raises.
  virtual LockResult Acquire(const std::string& name) = 0;

  // Like Acquire, but a lock held by another process is waited for, up to
  // `wait`: taken as soon as its holder lets go (or dies) within that time,
  // kAlreadyExists when it is still held then. Blocks the calling thread for
  // at most `wait`; never raises.
  virtual LockResult AcquireWaiting(const std::string& name, std::chrono::milliseconds wait) = 0;
};

}  // namespace velkora
