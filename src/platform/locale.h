#pragma once

#include "base/format_settings.h"

namespace velkora {

// The user's number, date and time formats.
class Locale {
 public:
  virtual ~Locale() = default;
  // Read once per call; a platform without a setting gives the runtime's
  // defaults for it.
  virtual FormatSettings Formats() const = 0;
};

}  // namespace velkora
