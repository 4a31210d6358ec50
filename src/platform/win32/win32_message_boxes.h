#pragma once

#include <windows.h>

#include "platform/message_box.h"

namespace velkora::win32 {

// MessageBoxA. A box is modal to the application's window: while it is up
// that window is disabled, so its menus cannot run a second box or end the
// server beneath it. A shown application window owns the box; while it is
// hidden (tray, invisible operation, no window yet) the box is task-modal
// without owner, which disables the hidden windows too and gives the box a
// taskbar button of its own. Every box except the task-modal question comes
// to the front, since a script may have asked for it while another program
// had the focus. Without a display the system cannot show a box and the
// result is kFailed.
class Win32MessageBoxes final : public MessageBoxes {
 public:
  // The application window (null: none). The caller takes it away when
  // the window goes; until then a destroyed window counts as hidden.
  void SetApplicationWindow(HWND window) { application_window_ = window; }

  BoxResult Show(const std::string& text, const std::string& caption, BoxIcon icon,
                 BoxButtons buttons, bool default_no, bool task_modal) override;

 private:
  HWND application_window_ = nullptr;
};

}  // namespace velkora::win32
