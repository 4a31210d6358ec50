#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkora {

inline constexpr uint32_t kRasErrorNotAvailable = 1157;  // the RAS library is missing

struct RasConnection {
  uintptr_t handle = 0;
  std::string entry_name;
};

// The dial-up (RAS) library. It never raises: every call returns the
// platform's result code (0 for success; kRasErrorNotAvailable on a system
// without the library).
//
// Thread safety: the main thread only; implementations need not be safe for
// concurrent use.
class RasLibrary {
 public:
  RasLibrary() = default;
  RasLibrary(const RasLibrary&) = delete;
  RasLibrary& operator=(const RasLibrary&) = delete;
  virtual ~RasLibrary() = default;

  // The active connections, replacing the contents of `connections`.
  virtual uint32_t EnumConnections(std::vector<RasConnection>& connections) = 0;
  // Starts hanging up a connection and returns at once; the connection may
  // still be listed for a while (poll GetConnectStatus).
  virtual uint32_t HangUp(uintptr_t connection) = 0;
  // Connection state of a handle; a non-zero result means the handle is gone.
  virtual uint32_t GetConnectStatus(uintptr_t connection) = 0;
};

}  // namespace velkora
