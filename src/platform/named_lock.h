#pragma once

#include <memory>
#include <string>

namespace velkora {

// A system-wide lock, held from acquisition until the handle is destroyed
// or the process dies.
class NamedLock {
 public:
  virtual ~NamedLock() = default;
};

enum class LockResult {
  kAcquired,       // this process holds the lock now
  kAlreadyExists,  // another process holds it
  kFailed,         // the lock could not be created for another reason
};

class NamedLockFactory {
 public:
  virtual ~NamedLockFactory() = default;
  // Creates and takes the lock `name`. Returns the result and, for
  // kAcquired, the owning handle (null otherwise). Never blocks.
  virtual std::unique_ptr<NamedLock> Acquire(const std::string& name, LockResult& result) = 0;
};

}  // namespace velkora
