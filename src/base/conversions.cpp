#include "base/conversions.h"

#include <cmath>

#include "base/ascii.h"
#include "base/error.h"
#include "base/number_text.h"

namespace velkora {
namespace {

// Significant digits of the general number format.
constexpr int kGeneralFormatDigits = 15;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void Fail(const char* before, std::string_view text, const char* after) {
  throw ConvertError(before + std::string(text) + after);
}

// Digits of `value`, at least `width` of them.
std::string Padded(int value, int width) {
  std::string digits = std::to_string(value);
  if (static_cast<int>(digits.size()) < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

// The order of day, month and year in a date format: the order in which
// their letters first appear ("dd.mm.yyyy" gives "DMY").
std::string DateOrder(std::string_view format) {
  std::string order;
  for (char c : format) {
    char lower = AsciiLower(c);
    char letter = lower == 'd' ? 'D' : lower == 'm' ? 'M' : lower == 'y' ? 'Y' : 0;
    if (letter != 0 && order.find(letter) == std::string::npos) order += letter;
  }
  return order.size() == 3 ? order : "MDY";
}

// Reads up to `max_digits` decimal digits at `pos`; nothing when there is no
// digit or more than `max_digits` of them.
std::optional<int> ScanNumber(std::string_view text, size_t& pos, size_t max_digits,
                              size_t* count) {
  size_t first = pos;
  int value = 0;
  while (pos < text.size() && IsDigit(text[pos])) {
    if (pos - first == max_digits) return std::nullopt;
    value = value * 10 + (text[pos++] - '0');
  }
  if (pos == first) return std::nullopt;
  if (count != nullptr) *count = pos - first;
  return value;
}

}  // namespace

int32_t StrToInt(std::string_view text) {
  constexpr const char* kBefore = "'";
  constexpr const char* kAfter = "' ist kein gültiger Integerwert";
  size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) negative = text[pos++] == '-';
  bool hex = pos < text.size() && text[pos] == '$';
  if (hex) ++pos;
  if (pos == text.size()) Fail(kBefore, text, kAfter);

  // Decimal values must fit the signed range; hexadecimal ones are a bit
  // pattern of up to 32 bits, so "$FFFFFFFF" is -1.
  const uint64_t limit = hex ? 0xFFFFFFFFull : negative ? 0x80000000ull : 0x7FFFFFFFull;
  uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    char c = text[pos];
    int digit = IsDigit(c)                    ? c - '0'
                : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                              : -1;
    if (digit < 0) Fail(kBefore, text, kAfter);
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (value > limit) Fail(kBefore, text, kAfter);
  }
  uint32_t bits = static_cast<uint32_t>(value);
  if (negative) bits = 0u - bits;
  return static_cast<int32_t>(bits);
}

int32_t StrToIntDef(std::string_view text, int32_t fallback) {
  try {
    return StrToInt(text);
  } catch (const ConvertError&) {
    return fallback;
  }
}

double StrToFloat(std::string_view text, const FormatSettings& fs) {
  number_text::NumberSyntax syntax;
  syntax.decimal_separator = fs.decimal_separator;
  // The largest double written in the general format rounds up past the
  // double range; it must still read back as what was written.
  syntax.largest_within_digits = kGeneralFormatDigits;
  std::optional<double> value = number_text::ParseNumber(text, syntax);
  if (!value) Fail("'", text, "' ist kein gültiger Gleitkommawert");
  return *value;
}

std::string FloatToStr(double value, const FormatSettings& fs) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  constexpr int kPrecision = kGeneralFormatDigits;
  number_text::DecimalDigits d = number_text::ToDecimalDigits(value, kPrecision);
  // The general format of the classic runtime: fixed-point while the
  // integral part fits the 15 digits and the value (after rounding) is at
  // least 0.0001; scientific below that, so 0.0001 stays "0.0001" but
  // 0.00001 becomes "1E-5", and 1E15 (16 integral digits) is "1E15".
  if (d.exponent >= kPrecision || d.exponent < -4) {
    std::string text = number_text::MantissaText(d, fs.decimal_separator);
    text += 'E';
    text += std::to_string(d.exponent);
    return text;
  }
  return number_text::FixedText(d, fs.decimal_separator);
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

DateTime StrToDate(std::string_view text, const FormatSettings& fs, int current_year) {
  auto fail = [&]() { Fail("'", text, "' ist kein gültiges Datum"); };
  std::string_view body = TrimBlanks(text, kSpaceAndTab);
  int numbers[3] = {0, 0, 0};
  size_t digit_counts[3] = {0, 0, 0};
  int count = 0;
  size_t pos = 0;
  while (true) {
    std::optional<int> n = ScanNumber(body, pos, 4, &digit_counts[count]);
    if (!n) fail();
    numbers[count++] = *n;
    if (pos == body.size()) break;
    if (count == 3 || body[pos] != fs.date_separator) fail();
    ++pos;
  }
  if (count < 2) fail();

  std::string order = DateOrder(fs.short_date_format);
  int year = current_year;
  int month = 0;
  int day = 0;
  size_t year_digits = 4;
  if (count == 2) {
    // Without a year the two numbers are day and month in their order.
    order.erase(order.find('Y'), 1);
  }
  for (int i = 0; i < count; ++i) {
    switch (order[static_cast<size_t>(i)]) {
      case 'D': day = numbers[i]; break;
      case 'M': month = numbers[i]; break;
      default:
        year = numbers[i];
        year_digits = digit_counts[i];
        break;
    }
  }
  if (year_digits <= 2) {
    // Two-digit years fall in the 100 years that end 49 years after the
    // current one: in 2026, "76" is 1976 and "75" is 2075.
    int window_start = current_year - 50;
    year += window_start - window_start % 100;
    if (year < window_start) year += 100;
  }
  if (!IsValidDate(year, month, day)) fail();
  return EncodeDate(year, month, day);
}

DateTime StrToTime(std::string_view text, const FormatSettings& fs) {
  auto fail = [&]() { Fail("'", text, "' ist keine gültige Uhrzeit"); };
  std::string_view body = TrimBlanks(text, kSpaceAndTab);
  int parts[3] = {0, 0, 0};
  int count = 0;
  size_t pos = 0;
  while (true) {
    std::optional<int> n = ScanNumber(body, pos, 2, nullptr);
    if (!n) fail();
    parts[count++] = *n;
    if (pos == body.size()) break;
    if (count == 3 || body[pos] != fs.time_separator) fail();
    ++pos;
  }
  if (count < 2 || parts[0] > 23 || parts[1] > 59 || parts[2] > 59) fail();
  return EncodeTime(parts[0], parts[1], parts[2]);
}

namespace {

// Length of an AM/PM marker ("ampm", "am/pm", "a/p", any case) starting at
// `pos`, or 0.
size_t AmPmMarkerAt(std::string_view format, size_t pos) {
  for (std::string_view marker :
       {std::string_view("am/pm"), std::string_view("ampm"), std::string_view("a/p")}) {
    if (StartsWithIgnoreAsciiCase(format.substr(pos), marker)) return marker.size();
  }
  return 0;
}

// Position of the first AM/PM marker outside quoted text, or npos.
size_t FindAmPm(std::string_view format) {
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '"' || format[i] == '\'') {
      size_t close = format.find(format[i], i + 1);
      if (close == std::string_view::npos) break;
      i = close;
    } else if (AmPmMarkerAt(format, i) != 0) {
      return i;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string FormatDateTime(std::string_view format, DateTime value, const FormatSettings& fs) {
  // Round first so that 23:59:59.9996 shows as the next day's midnight
  // instead of a time of 24:00.
  DateTime rounded = RoundToMillisecond(value);
  DateParts date = DecodeDate(rounded);
  TimeParts time = DecodeTime(rounded);
  const bool twelve_hour = FindAmPm(format) != std::string_view::npos;
  const bool pm = time.hour >= 12;
  std::string out;
  size_t i = 0;
  while (i < format.size()) {
    char c = format[i];
    char lower = AsciiLower(c);
    size_t run = 1;
    if (size_t marker = AmPmMarkerAt(format, i); marker != 0) {
      std::string_view text = format.substr(i, marker);
      if (marker == 4) {
        out += pm ? fs.time_pm_string : fs.time_am_string;
      } else {
        // "am/pm" or "a/p": the letters of the marker's own half, in its case.
        size_t slash = text.find('/');
        out.append(pm ? text.substr(slash + 1) : text.substr(0, slash));
      }
      i += marker;
      continue;
    }
    while (i + run < format.size() && AsciiLower(format[i + run]) == lower) ++run;
    switch (lower) {
      case 'd':
      case 'm':
        if (run >= 3) {
          // Names: "ddd"/"mmm" the short, "dddd"/"mmmm" (and longer runs) the
          // long one, never the number repeated.
          const bool is_long = run >= 4;
          if (lower == 'd') {
            const auto weekday = static_cast<std::size_t>(DayOfWeek(rounded) - 1);
            out += is_long ? fs.long_day_names[weekday] : fs.short_day_names[weekday];
          } else if (date.month >= 1) {
            const auto month = static_cast<std::size_t>(date.month - 1);
            out += is_long ? fs.long_month_names[month] : fs.short_month_names[month];
          }
          break;
        }
        [[fallthrough]];
      case 'h':
      case 'n':
      case 's': {
        run = run >= 2 ? 2 : 1;  // "hhh" is "hh" followed by "h"
        int v = lower == 'd'   ? date.day
                : lower == 'm' ? date.month
                : lower == 'h' ? (twelve_hour ? (time.hour + 11) % 12 + 1 : time.hour)
                : lower == 'n' ? time.minute
                               : time.second;
        out += Padded(v, static_cast<int>(run));
        break;
      }
      case 'y': out += run <= 2 ? Padded(date.year % 100, 2) : Padded(date.year, 4); break;
      case 'z':
        run = run >= 3 ? 3 : 1;
        out += Padded(time.millisecond, static_cast<int>(run));
        break;
      case '/':
        run = 1;
        out += fs.date_separator;
        break;
      case ':':
        run = 1;
        out += fs.time_separator;
        break;
      case '"':
      case '\'': {
        size_t close = format.find(c, i + 1);
        size_t end = close == std::string_view::npos ? format.size() : close;
        out.append(format.substr(i + 1, end - i - 1));
        run = (close == std::string_view::npos ? format.size() : close + 1) - i;
        break;
      }
      default:
        run = 1;
        out += c;
        break;
    }
    i += run;
  }
  return out;
}

std::string DateTimeToStr(DateTime value, const FormatSettings& fs) {
  DateTime rounded = RoundToMillisecond(value);
  if (TimePart(rounded) == 0.0) return DateToStr(rounded, fs);
  return DateToStr(rounded, fs) + " " + TimeToStr(rounded, fs);
}

std::string DateToStr(DateTime value, const FormatSettings& fs) {
  return FormatDateTime(fs.short_date_format, value, fs);
}

std::string TimeToStr(DateTime value, const FormatSettings& fs) {
  return FormatDateTime(fs.long_time_format, value, fs);
}

}  // namespace velkora
