#pragma once

#include "platform/named_lock.h"

namespace velkora::win32 {

// Named mutexes (CreateMutexA with initial ownership). The system drops the
// mutex when the last handle closes, also when the process dies.
class Win32NamedLockFactory final : public NamedLockFactory {
 public:
  std::unique_ptr<NamedLock> Acquire(const std::string& name, LockResult& result) override;
};

}  // namespace velkora::win32
