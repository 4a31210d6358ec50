// velkora: the script-functions server for POSIX systems, with calls read
// as text lines from standard input (see velkora --help).

#include <limits.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "hosts/posix/posix_host.h"

namespace {

// Full path of the running program, as the server logs it as parameter 0.
std::string ExecutablePath(const char* argv0) {
  char buffer[PATH_MAX];
  ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) return std::string(buffer, static_cast<std::size_t>(n));
  if (argv0 != nullptr) {
    if (char* resolved = ::realpath(argv0, buffer)) return resolved;
    return argv0;
  }
  return "velkora";
}

}  // namespace

int main(int argc, char** argv) {
  // A reader that goes away must not kill the server before its shutdown
  // sequence; the failed write ends the message loop instead.
  ::signal(SIGPIPE, SIG_IGN);
  std::ios::sync_with_stdio(false);

  std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  auto env = [](const char* name) -> std::optional<std::string> {
    const char* value = std::getenv(name);
    if (value == nullptr) return std::nullopt;
    return std::string(value);
  };
  return velkora::RunPosixHost(args, ExecutablePath(argc > 0 ? argv[0] : nullptr),
                               {std::cin, std::cout, std::cerr}, env);
}
