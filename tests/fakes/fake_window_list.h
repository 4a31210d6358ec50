#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/window_list.h"

namespace velkora::fakes {

// Top-level windows in the order given (topmost first). Close requests are
// recorded; a window asked to close stays in the list, as a real window
// does until its program gets round to it (or refuses).
class FakeWindowList : public WindowList {
 public:
  // Adds a window below the ones already there; returns its handle.
  uintptr_t Add(std::string title) {
    const uintptr_t handle = next_handle_;
    next_handle_ += 4;
    windows.push_back({handle, std::move(title)});
    return handle;
  }

  std::vector<TopLevelWindow> Snapshot() const override {
    ++snapshots;
    return windows;
  }
  bool PostClose(uintptr_t handle) override {
    close_requests.push_back(handle);
    return !refuse_close;
  }

  // The titles of the windows asked to close, in the order asked.
  std::vector<std::string> ClosedTitles() const {
    std::vector<std::string> titles;
    for (uintptr_t handle : close_requests) {
      for (const TopLevelWindow& w : windows) {
        if (w.handle == handle) titles.push_back(w.title);
      }
    }
    return titles;
  }

  std::vector<TopLevelWindow> windows;
  std::vector<uintptr_t> close_requests;
  bool refuse_close = false;
  mutable int snapshots = 0;

 private:
  uintptr_t next_handle_ = 0x10010;
};

}  // namespace velkora::fakes
