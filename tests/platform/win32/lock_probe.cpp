// Tries to take a named lock and reports the outcome as exit code:
// 0 acquired, 1 already held elsewhere, 2 failed, 3 bad usage.
//   win32_lock_probe <name> [hold-milliseconds]
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/win32/win32_named_lock.h"

int main(int argc, char** argv) {
  if (argc < 2) return 3;
  velkora::win32::Win32NamedLockFactory factory;
  const velkora::LockResult lock = factory.Acquire(argv[1]);
  if (argc > 2) Sleep(static_cast<DWORD>(std::atoi(argv[2])));
  if (lock) return 0;
  return lock.error() == velkora::LockFailure::kAlreadyExists ? 1 : 2;
}
