#pragma once

#include "platform/message_box.h"

namespace velkora::win32 {

// MessageBoxA without owner window. Without a display the system cannot show
// a box and the result is kFailed.
class Win32MessageBoxes final : public MessageBoxes {
 public:
  BoxResult Show(const std::string& text, const std::string& caption, BoxIcon icon,
                 BoxButtons buttons, bool default_no, bool task_modal) override;
};

}  // namespace velkora::win32
