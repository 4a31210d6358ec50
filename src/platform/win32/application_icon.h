#pragma once

#include <windows.h>

namespace velkora::win32 {

enum class IconSize {
  kLarge,  // the system's icon size (SM_CXICON): window class, Alt+Tab
  kSmall,  // the small size (SM_CXSMICON): caption, taskbar, notification area
};

// The application's icon from the resources of `module` (null: the
// process's executable), at the size the system uses for `size`; the
// system's generic application icon when the module carries none. The
// handle is shared: the system frees it with the module, never the caller.
HICON LoadApplicationIcon(IconSize size, HMODULE module = nullptr);

}  // namespace velkora::win32
