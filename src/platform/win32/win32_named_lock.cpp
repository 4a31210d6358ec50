#include "platform/win32/win32_named_lock.h"

#include "platform/win32/unique_handle.h"

namespace velkora::win32 {
namespace {

class MutexLock final : public NamedLock {
 public:
  explicit MutexLock(UniqueHandle mutex) : mutex_(std::move(mutex)) {}

 private:
  UniqueHandle mutex_;
};

}  // namespace

std::unique_ptr<NamedLock> Win32NamedLockFactory::Acquire(const std::string& name,
                                                          LockResult& result) {
  UniqueHandle mutex(CreateMutexA(nullptr, TRUE, name.c_str()));
  // Read at once: nothing may run between the call and the error query.
  const DWORD error = GetLastError();
  if (!mutex) {
    result = LockResult::kFailed;
    return nullptr;
  }
  if (error == ERROR_ALREADY_EXISTS) {
    result = LockResult::kAlreadyExists;
    return nullptr;
  }
  result = LockResult::kAcquired;
  return std::make_unique<MutexLock>(std::move(mutex));
}

}  // namespace velkora::win32
