#pragma once

#include <array>
#include <string>

namespace velkora {

// The user's number, date and time formats, as the runtime uses them for its
// conversions. Format strings use the runtime's letters: d/dd day, m/mm
// month, mmm/mmmm the month's short/long name, ddd/dddd the weekday's
// short/long name, yy/yyyy year, h/hh hour, n/nn minute, s/ss second, z/zzz
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
  // Names for the mmm/mmmm and ddd/dddd pictures: months from January,
  // weekdays from Sunday.
  std::array<std::string, 12> short_month_names = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> long_month_names = {"January",   "February", "March",    "April",
                                                  "May",       "June",     "July",     "August",
                                                  "September", "October",  "November", "December"};
  std::array<std::string, 7> short_day_names = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> long_day_names = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                               "Thursday", "Friday", "Saturday"};

  // dd.mm.yyyy, hh:nn:ss, decimal comma, point for thousands, German month
  // and day names.
  static FormatSettings German();

  bool operator==(const FormatSettings&) const = default;
};

}  // namespace velkora
