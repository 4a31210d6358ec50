#include "platform/win32/win32_locale.h"

#include <windows.h>

namespace velkora::win32 {
namespace {

// One locale string; `fallback` when the system has none.
std::string LocaleText(LCTYPE item, std::string_view fallback) {
  char buffer[128] = {};
  int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
  if (length <= 1) return std::string(fallback);
  return std::string(buffer, static_cast<std::size_t>(length - 1));
}

char LocaleChar(LCTYPE item, char fallback) {
  std::string text = LocaleText(item, "");
  return text.empty() ? fallback : text.front();
}

// Copies a quoted run (the system quotes with ') and returns the index after it.
std::size_t CopyQuoted(std::string_view picture, std::size_t i, std::string& out) {
  std::size_t end = picture.find('\'', i + 1);
  if (end == std::string_view::npos) end = picture.size() - 1;
  out.append(picture.substr(i, end - i + 1));
  return end + 1;
}

}  // namespace

std::string DatePictureFromSystem(std::string_view picture) {
  std::string out;
  for (std::size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {
      i = CopyQuoted(picture, i, out);
      continue;
    }
    out.push_back(c == 'M' ? 'm' : c);
    ++i;
  }
  return out;
}

std::string TimePictureFromSystem(std::string_view picture) {
  std::string out;
  for (std::size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'') {
      i = CopyQuoted(picture, i, out);
      continue;
    }
    if (c == 't') {
      while (i < picture.size() && picture[i] == 't') ++i;
      out += "ampm";
      continue;
    }
    if (c == 'H') {
      out.push_back('h');
    } else if (c == 'm') {
      out.push_back('n');
    } else {
      out.push_back(c);
    }
    ++i;
  }
  return out;
}

FormatSettings Win32Locale::Formats() const {
  FormatSettings defaults;
  FormatSettings fs;
  fs.decimal_separator = LocaleChar(LOCALE_SDECIMAL, defaults.decimal_separator);
  fs.thousand_separator = LocaleChar(LOCALE_STHOUSAND, defaults.thousand_separator);
  fs.date_separator = LocaleChar(LOCALE_SDATE, defaults.date_separator);
  fs.time_separator = LocaleChar(LOCALE_STIME, defaults.time_separator);
  std::string date_picture = LocaleText(LOCALE_SSHORTDATE, "");
  if (!date_picture.empty()) fs.short_date_format = DatePictureFromSystem(date_picture);
  std::string time_picture = LocaleText(LOCALE_STIMEFORMAT, "");
  if (!time_picture.empty()) fs.long_time_format = TimePictureFromSystem(time_picture);
  fs.time_am_string = LocaleText(LOCALE_S1159, defaults.time_am_string);
  fs.time_pm_string = LocaleText(LOCALE_S2359, defaults.time_pm_string);
  for (std::size_t i = 0; i < 12; ++i) {
    const LCTYPE offset = static_cast<LCTYPE>(i);
    fs.short_month_names[i] =
        LocaleText(LOCALE_SABBREVMONTHNAME1 + offset, defaults.short_month_names[i]);
    fs.long_month_names[i] = LocaleText(LOCALE_SMONTHNAME1 + offset, defaults.long_month_names[i]);
  }
  // The system counts weekdays from Monday (DAYNAME1) to Sunday (DAYNAME7).
  for (std::size_t i = 0; i < 7; ++i) {
    const LCTYPE offset = static_cast<LCTYPE>((i + 6) % 7);
    fs.short_day_names[i] =
        LocaleText(LOCALE_SABBREVDAYNAME1 + offset, defaults.short_day_names[i]);
    fs.long_day_names[i] = LocaleText(LOCALE_SDAYNAME1 + offset, defaults.long_day_names[i]);
  }
  return fs;
}

}  // namespace velkora::win32
