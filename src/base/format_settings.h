#pragma once

#include <string>

namespace velkora {

// The user's number, date and time formats, as the runtime uses them for its
// conversions. Format strings use the runtime's letters: d/dd day, m/mm
// month, yy/yyyy year, h/hh hour, n/nn minute, s/ss second, z/zzz
// millisecond, and ampm (the AM/PM text; "am/pm" and "a/p" give fixed
// letters) which makes h/hh count hours on a 12-hour clock.
struct FormatSettings {
  char decimal_separator = '.';
  char thousand_separator = ',';
  char date_separator = '/';
  char time_separator = ':';
  std::string short_date_format = "m/d/yyyy";
  std::string long_time_format = "h:nn:ss";
  std::string time_am_string = "AM";
  std::string time_pm_string = "PM";

  // dd.mm.yyyy, hh:nn:ss, decimal comma, point for thousands.
  static FormatSettings German();

  bool operator==(const FormatSettings&) const = default;
};

}  // namespace velkora
