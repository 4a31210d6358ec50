#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velkora {

struct TopLevelWindow {
  uintptr_t handle = 0;
  std::string title;
};

// Other programs' top-level windows. No call raises.
//
// Thread safety: safe to call from several threads. The windows belong to
// other programs and may be gone by the time a handle is used; PostClose
// then returns false.
class WindowList {
 public:
  WindowList() = default;
  WindowList(const WindowList&) = delete;
  WindowList& operator=(const WindowList&) = delete;
  virtual ~WindowList() = default;

  // A snapshot of all top-level windows in the platform's order, with their
  // titles (empty when a window has none).
  virtual std::vector<TopLevelWindow> Snapshot() const = 0;
  // Posts a close request to a window; false when it could not be posted.
  virtual bool PostClose(uintptr_t handle) = 0;
};

}  // namespace velkora
