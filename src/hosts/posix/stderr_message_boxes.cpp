#include "hosts/posix/stderr_message_boxes.h"

namespace velkora {

BoxResult StderrMessageBoxes::Show(const std::string& text, const std::string& caption, BoxIcon,
                                   BoxButtons buttons, bool default_no, bool) {
  out_ << '[' << caption << "] " << text << std::endl;
  if (buttons == BoxButtons::kYesNo) return default_no ? BoxResult::kNo : BoxResult::kYes;
  return BoxResult::kOk;
}

}  // namespace velkora
