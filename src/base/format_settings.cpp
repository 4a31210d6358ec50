#include "base/format_settings.h"

namespace velkora {

FormatSettings FormatSettings::German() {
  FormatSettings fs;
  fs.decimal_separator = ',';
  fs.thousand_separator = '.';
  fs.date_separator = '.';
  fs.time_separator = ':';
  fs.short_date_format = "dd.mm.yyyy";
  fs.long_time_format = "hh:nn:ss";
  fs.short_month_names = {"Jan", "Feb", "Mär", "Apr", "Mai", "Jun",
                          "Jul", "Aug", "Sep", "Okt", "Nov", "Dez"};
  fs.long_month_names = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                         "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
  fs.short_day_names = {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"};
  fs.long_day_names = {"Sonntag",    "Montag",  "Dienstag", "Mittwoch",
                       "Donnerstag", "Freitag", "Samstag"};
  return fs;
}

}  // namespace velkora
