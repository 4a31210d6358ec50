// Feeds arbitrary text to the runtime's conversions from text (integer,
// floating-point, date, time, Boolean) and arbitrary doubles and format
// pictures to the conversions to text. They read INI values, tariff files
// and script arguments, all written by others: no input may crash them,
// every failure must be the conversion's own error, and what the server
// writes as text must read back as the value it wrote.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/conversions.h"
#include "base/error.h"
#include "base/variant.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

// German formats, or the runtime's defaults (point, month first), by the
// first byte of the input.
velkora::FormatSettings Formats(uint8_t selector) {
  return (selector & 1) != 0 ? velkora::FormatSettings::German() : velkora::FormatSettings{};
}

void Integers(std::string_view text) {
  int32_t value = 0;
  try {
    value = velkora::StrToInt(text);
  } catch (const velkora::ConvertError&) {
    Check(velkora::StrToIntDef(text, 4711) == 4711 && velkora::StrToIntDef(text, -3) == -3);
    return;
  }
  Check(velkora::StrToIntDef(text, value == 0 ? 1 : 0) == value);
  Check(velkora::StrToInt(velkora::IntToStr(value)) == value);
}

void Floats(std::string_view text, const velkora::FormatSettings& fs) {
  double value = 0;
  try {
    value = velkora::StrToFloat(text, fs);
  } catch (const velkora::ConvertError&) {
    return;
  }
  Check(std::isfinite(value));
}

// What IniWrite stores for a double must be what IniRead takes back, up to
// the 15 digits the text keeps.
void FloatText(double value, const velkora::FormatSettings& fs) {
  const std::string text = velkora::FloatToStr(value, fs);
  Check(!text.empty() && text.size() < 32);
  if (!std::isfinite(value)) return;
  const double magnitude = std::fabs(value);
  // Near the ends of the range, rounding to 15 digits leaves the doubles.
  if (magnitude > 1e307 || (magnitude != 0 && magnitude < 1e-307)) return;
  const double back = velkora::StrToFloat(text, fs);
  Check(std::fabs(back - value) <= magnitude * 1e-14);
  for (const velkora::Variant& v :
       {velkora::Variant::R8(value), velkora::Variant::R4(static_cast<float>(value))}) {
    const std::string variant_text = velkora::VariantToText(v, fs);
    Check(!variant_text.empty() && variant_text.size() < 32);
  }
}

void Dates(std::string_view text, const velkora::FormatSettings& fs, int current_year) {
  velkora::DateTime date = 0;
  try {
    date = velkora::StrToDate(text, fs, current_year);
  } catch (const velkora::ConvertError&) {
    return;
  }
  const velkora::DateParts parts = velkora::DecodeDate(date);
  Check(velkora::IsValidDate(parts.year, parts.month, parts.day));
  Check(velkora::DatePart(date) == date);
  // Both short date formats write four-digit years: a date reads back as
  // itself.
  Check(velkora::StrToDate(velkora::DateToStr(date, fs), fs, current_year) == date);
}

void Times(std::string_view text, const velkora::FormatSettings& fs) {
  velkora::DateTime time = 0;
  try {
    time = velkora::StrToTime(text, fs);
  } catch (const velkora::ConvertError&) {
    return;
  }
  Check(time >= 0 && time < 1);
  velkora::FormatSettings clock24 = fs;
  clock24.long_time_format = "hh:nn:ss";
  const double back = velkora::StrToTime(velkora::TimeToStr(time, clock24), clock24);
  Check(std::fabs(back - time) * velkora::kMillisecondsPerDay < 1);
}

void Booleans(std::string_view text, const velkora::FormatSettings& fs) {
  try {
    (void)velkora::TextToBool(text, fs);
  } catch (const velkora::VariantTypeError&) {}
}

// A format picture from outside: the output grows with it, but boundedly.
void Pictures(std::string_view picture, double value, const velkora::FormatSettings& fs) {
  if (!std::isfinite(value) || std::fabs(value) > 2958465.0) return;  // 31.12.9999
  if (value < -693593.0) return;                                      // 01.01.0001
  const std::string text = velkora::FormatDateTime(picture, value, fs);
  Check(text.size() <= 16 * picture.size() + 16);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const velkora::FormatSettings fs = Formats(data[0]);
  const int current_year = 1950 + (data[0] >> 1);  // 1950 ... 2077
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  Integers(text);
  Floats(text, fs);
  Dates(text, fs, current_year);
  Times(text, fs);
  Booleans(text, fs);

  if (text.size() >= sizeof(double)) {
    double value = 0;
    std::memcpy(&value, text.data(), sizeof value);
    FloatText(value, fs);
    Pictures(text.substr(sizeof value, 64), value, fs);
  }
  return 0;
}
