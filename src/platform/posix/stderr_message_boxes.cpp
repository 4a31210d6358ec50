#include "platform/posix/stderr_message_boxes.h"

#include <string>

namespace velkora::posix {

BoxResult StderrMessageBoxes::Show(const std::string& text, const std::string& caption, BoxIcon,
                                   BoxButtons buttons, bool default_no, bool) {
  // Box texts use Windows line breaks, paragraphs often as bare CRs; a
  // terminal would draw a bare CR over the line before it.
  std::string shown;
  shown.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      shown += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      shown += text[i];
    }
  }
  out_ << '[' << caption << "] " << shown << std::endl;
  if (buttons == BoxButtons::kYesNo) return default_no ? BoxResult::kNo : BoxResult::kYes;
  return BoxResult::kOk;
}

}  // namespace velkora::posix
