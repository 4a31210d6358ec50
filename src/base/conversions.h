#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/date_time.h"
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
// "1,5E-7") when the exponent is below -5 or the integral part needs more
// than 15 digits.
std::string FloatToStr(double value, const FormatSettings& fs);

// Decimal text of an integer.
std::string IntToStr(int64_t value);

// Date in the order of the short date format (day, month, year for German
// settings) with the date separator; a one- or two-digit year is taken in the
// current century window; a missing year is the current year.
// "'%s' ist kein gültiges Datum"
DateTime StrToDate(std::string_view text, const FormatSettings& fs);

// hours:minutes[:seconds] with the time separator.
// "'%s' ist keine gültige Uhrzeit"
DateTime StrToTime(std::string_view text, const FormatSettings& fs);

// Formats with the runtime's format letters (see FormatSettings).
std::string FormatDateTime(std::string_view format, DateTime value, const FormatSettings& fs);

// Short date, a blank, long time; the date alone when the time is exactly
// midnight.
std::string DateTimeToStr(DateTime value, const FormatSettings& fs);
std::string DateToStr(DateTime value, const FormatSettings& fs);
std::string TimeToStr(DateTime value, const FormatSettings& fs);

}  // namespace velkora
