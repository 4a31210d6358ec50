#pragma once

#include <string>

namespace velkora {

// The user's number, date and time formats, as the runtime uses them for its
// conversions. Format strings use the runtime's letters: d/dd day, m/mm
// month, yy/yyyy year, h/hh hour, n/nn minute, s/ss second.
struct FormatSettings {
  char decimal_separator = '.';
  char thousand_separator = ',';
  char date_separator = '/';
  char time_separator = ':';
  std::string short_date_format = "m/d/yyyy";
  std::string long_time_format = "h:nn:ss";

  // dd.mm.yyyy, hh:nn:ss, decimal comma, point for thousands.
  static FormatSettings German();

  bool operator==(const FormatSettings&) const = default;
};

}  // namespace velkora
