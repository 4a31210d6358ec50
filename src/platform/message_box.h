#pragma once

#include <string>

namespace velkora {

enum class BoxIcon { kNone, kError, kWarning, kInformation, kQuestion };
enum class BoxButtons { kOk, kYesNo };
enum class BoxResult { kOk, kYes, kNo, kCancel, kFailed };

// Modal message boxes. Show blocks the caller until the user answers; while
// it waits the platform keeps dispatching messages, so other calls can run
// inside it.
//
// Thread safety: the main thread only (a box runs that thread's messages).
class MessageBoxes {
 public:
  MessageBoxes() = default;
  MessageBoxes(const MessageBoxes&) = delete;
  MessageBoxes& operator=(const MessageBoxes&) = delete;
  virtual ~MessageBoxes() = default;

  // Shows `text` under `caption` and returns the button the user pressed.
  // The box is modal to the application's window: that window takes no
  // input until the box is answered. `default_no` makes No the default
  // button of a Yes/No box; `task_modal` shows it without owner window,
  // modal for the whole task. kFailed when no box could be shown (no
  // display). Never raises.
  virtual BoxResult Show(const std::string& text, const std::string& caption, BoxIcon icon,
                         BoxButtons buttons = BoxButtons::kOk, bool default_no = false,
                         bool task_modal = false) = 0;
};

}  // namespace velkora
