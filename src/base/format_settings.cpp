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
  return fs;
}

}  // namespace velkora
