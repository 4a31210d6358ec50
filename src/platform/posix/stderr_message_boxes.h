#pragma once

#include <ostream>
#include <string>

#include "platform/message_box.h"

namespace velkora::posix {

// Message boxes for a host without a display: each box is written to a
// stream (standard error) as "[caption] text", line breaks in the text kept,
// and counts as answered with its default button: OK for an OK box, Yes for
// a Yes/No box unless No is the default. Nobody can answer, so the default
// is what a user pressing Enter would have chosen.
class StderrMessageBoxes final : public MessageBoxes {
 public:
  explicit StderrMessageBoxes(std::ostream& out) : out_(out) {}

  BoxResult Show(const std::string& text, const std::string& caption, BoxIcon icon,
                 BoxButtons buttons, bool default_no, bool task_modal) override;

 private:
  std::ostream& out_;
};

}  // namespace velkora::posix
