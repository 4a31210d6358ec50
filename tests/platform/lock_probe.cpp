// lock_probe NAME RESULT_FILE [crash]
// Tries to take the named lock and writes "acquired", "exists" or "failed"
// to RESULT_FILE. With "crash" it then aborts while holding the lock, so the
// caller can check that the lock dies with its process.
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/posix/posix_named_lock.h"

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  velkora::posix::PosixNamedLockFactory factory;
  const velkora::LockResult lock = factory.Acquire(argv[1]);
  {
    std::ofstream out(argv[2], std::ios::trunc);
    out << (lock                                                   ? "acquired"
            : lock.error() == velkora::LockFailure::kAlreadyExists ? "exists"
                                                                   : "failed");
  }
  if (argc > 3 && std::string(argv[3]) == "crash") std::abort();
  return 0;
}
