#include "platform/win32/win32_named_lock.h"

#include "platform/win32/unique_handle.h"

namespace velkora::win32 {
namespace {

// Owns the mutex, which its creating thread holds.
class MutexLock final : public NamedLock {
 public:
  explicit MutexLock(UniqueHandle mutex) : mutex_(std::move(mutex)) {}
  // Closing alone would leave the mutex owned until this thread ends; a
  // process waiting for it should not wait that long.
  ~MutexLock() override { ReleaseMutex(mutex_.get()); }

 private:
  UniqueHandle mutex_;
};

LockResult Take(const std::string& name, DWORD wait_ms) {
  UniqueHandle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
  // Read at once: nothing may run between the call and the error query.
  const DWORD error = GetLastError();
  if (!mutex) return Unexpected(LockFailure::kFailed);
  if (error == ERROR_ALREADY_EXISTS) {
    // Someone else's mutex: ours only once they let go of it. A holder that
    // died without letting go leaves it abandoned, which makes it ours too.
    const DWORD waited = wait_ms == 0 ? WAIT_TIMEOUT : WaitForSingleObject(mutex.get(), wait_ms);
    if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
      return Unexpected(LockFailure::kAlreadyExists);
    }
  }
  return std::make_unique<MutexLock>(std::move(mutex));
}

}  // namespace

LockResult Win32NamedLockFactory::Acquire(const std::string& name) { return Take(name, 0); }

LockResult Win32NamedLockFactory::AcquireWaiting(const std::string& name,
                                                 std::chrono::milliseconds wait) {
  const auto ms = wait.count() <= 0 ? 0 : wait.count() >= INFINITE ? INFINITE - 1 : wait.count();
  return Take(name, static_cast<DWORD>(ms));
}

}  // namespace velkora::win32
