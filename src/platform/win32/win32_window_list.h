#pragma once

#include "platform/window_list.h"

namespace velkora::win32 {

// Top-level windows in Z order (EnumWindows), titles read as ANSI text into
// a 256-byte buffer, so longer titles come back cut to 255 characters.
class Win32WindowList final : public WindowList {
 public:
  std::vector<TopLevelWindow> Snapshot() const override;
  bool PostClose(uintptr_t handle) override;
};

}  // namespace velkora::win32
