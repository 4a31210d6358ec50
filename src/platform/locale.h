#pragma once

#include "base/format_settings.h"

namespace velkora {

// The user's number, date and time formats.
//
// Thread safety: safe to call from several threads.
class Locale {
 public:
  Locale() = default;
  Locale(const Locale&) = delete;
  Locale& operator=(const Locale&) = delete;
  virtual ~Locale() = default;

  // The formats as they are set now: read afresh on every call, so a change
  // the user makes applies to the next call. A platform without a setting
  // gives the runtime's default for it (FormatSettings{}). Never raises.
  virtual FormatSettings Formats() const = 0;
};

}  // namespace velkora
