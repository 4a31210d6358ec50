#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkora {

struct TopLevelWindow {
  uintptr_t handle = 0;
  std::string title;
};

// Other programs' top-level windows.
class WindowList {
 public:
  virtual ~WindowList() = default;
  // A snapshot of all top-level windows in the platform's order, with their
  // titles (empty when a window has none).
  virtual std::vector<TopLevelWindow> Snapshot() const = 0;
  // Posts a close request to a window; false when it could not be posted.
  virtual bool PostClose(uintptr_t handle) = 0;
};

}  // namespace velkora
