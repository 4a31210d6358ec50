#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/date_time.h"
#include "base/error.h"
#include "base/format_settings.h"

namespace velkora {

// The runtime's own text conversions. Each failing conversion raises
// ConvertError with the German message given beside it.

// Optional sign, then decimal digits, or hexadecimal digits after "$".
// Blanks around the number are not accepted; the value must fit 32 bits.
// "'%s' ist kein gültiger Integerwert"
int32_t StrToInt(std::string_view text);
// The same, returning `fallback` instead of raising.
int32_t StrToIntDef(std::string_view text, int32_t fallback);

// Optional sign, digits with the locale's decimal separator, optional
// exponent ("E" or "e", optional sign, digits). Leading and trailing blanks
// are allowed; "" is not.
// "'%s' ist kein gültiger Gleitkommawert"
double StrToFloat(std::string_view text, const FormatSettings& fs);

// General format: up to 15 significant digits, trailing zeros dropped, the
// locale's decimal separator, no grouping; scientific form ("1E20", "1E-5",
// "1,5E-7") when the magnitude after rounding is below 0.0001 or the
// integral part needs more than 15 digits. Infinities and NaN give "INF",
// "-INF" and "NAN".
std::string FloatToStr(double value, const FormatSettings& fs);

// Decimal text of an integer.
std::string IntToStr(int64_t value);

// Date in the order of the short date format (day, month, year for German
// settings) with the date separator, blanks around it allowed. A one- or
// two-digit year is taken in the 100-year window from current_year - 50 to
// current_year + 49; a missing year ("24.12") is current_year (the caller
// takes it from its Clock, so that tests can fix it). Years of three or four
// digits are taken as written.
// "'%s' ist kein gültiges Datum"
DateTime StrToDate(std::string_view text, const FormatSettings& fs, int current_year);

// hours:minutes[:seconds] with the time separator, one or two digits each,
// blanks around it allowed; hours 0-23, minutes and seconds 0-59.
// "'%s' ist keine gültige Uhrzeit"
DateTime StrToTime(std::string_view text, const FormatSettings& fs);

// Formats with the runtime's format letters (see FormatSettings), in any
// letter case: d dd m mm yy yyyy h hh n nn s ss, z zzz (milliseconds),
// ddd dddd mmm mmmm (the weekday's and month's names from `fs`); "/"
// and ":" stand for the date and time separators; text in double or single
// quotes is copied; every other character is copied as it is. The value is
// rounded to the nearest millisecond first.
std::string FormatDateTime(std::string_view format, DateTime value, const FormatSettings& fs);

// Short date, a blank, long time; the date alone when the time is exactly
// midnight.
std::string DateTimeToStr(DateTime value, const FormatSettings& fs);
std::string DateToStr(DateTime value, const FormatSettings& fs);
std::string TimeToStr(DateTime value, const FormatSettings& fs);

}  // namespace velkora
