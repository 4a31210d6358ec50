#include "platform/win32/win32_locale.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/conversions.h"
#include "base/date_time.h"

namespace velkora::win32 {
namespace {

TEST(Win32Locale, TurnsSystemPicturesIntoRuntimePictures) {
  EXPECT_EQ(DatePictureFromSystem("dd.MM.yyyy"), "dd.mm.yyyy");
  EXPECT_EQ(DatePictureFromSystem("M/d/yyyy"), "m/d/yyyy");
  EXPECT_EQ(DatePictureFromSystem("yyyy-MM-dd 'KW'"), "yyyy-mm-dd 'KW'");
  EXPECT_EQ(DatePictureFromSystem("dddd, d. MMMM yyyy"), "dddd, d. mmmm yyyy");
  EXPECT_EQ(TimePictureFromSystem("HH:mm:ss"), "hh:nn:ss");
  EXPECT_EQ(TimePictureFromSystem("h:mm:ss tt"), "h:nn:ss ampm");
  EXPECT_EQ(TimePictureFromSystem("H.mm 'Uhr'"), "h.nn 'Uhr'");
  // An unterminated quote runs to the end instead of reading past it.
  EXPECT_EQ(TimePictureFromSystem("HH 'm"), "hh 'm");
}

TEST(Win32Locale, UserFormatsUseRuntimeLetters) {
  FormatSettings fs = Win32Locale().Formats();
  EXPECT_EQ(fs.short_date_format.find('M'), std::string::npos);
  EXPECT_NE(fs.short_date_format.find('m'), std::string::npos);
  EXPECT_EQ(fs.long_time_format.find('H'), std::string::npos);
  EXPECT_NE(fs.long_time_format.find('n'), std::string::npos);
  EXPECT_NE(fs.decimal_separator, '\0');
  EXPECT_NE(fs.decimal_separator, fs.thousand_separator);
}

// The names come from the system in its own order (weekdays from Monday);
// a picture with names then shows them. Checked against the system's own
// formatting, whatever locale the test runs under. Short names are the
// locale's abbreviations (the system's date formatting may use another
// form of them, "Dez." for "Dez" under Wine's German).
TEST(Win32Locale, NamesComeFromTheUserLocale) {
  const FormatSettings fs = Win32Locale().Formats();
  SYSTEMTIME monday{};
  monday.wYear = 2026;
  monday.wMonth = 12;
  monday.wDay = 7;
  monday.wDayOfWeek = 1;
  auto system_text = [&](const char* picture) {
    char buffer[128] = {};
    GetDateFormatA(LOCALE_USER_DEFAULT, 0, &monday, picture, buffer, sizeof buffer);
    return std::string(buffer);
  };
  auto locale_text = [](LCTYPE item) {
    char buffer[128] = {};
    GetLocaleInfoA(LOCALE_USER_DEFAULT, item, buffer, sizeof buffer);
    return std::string(buffer);
  };
  EXPECT_EQ(fs.long_day_names[1], system_text("dddd"));
  EXPECT_EQ(fs.long_month_names[11], system_text("MMMM"));
  EXPECT_EQ(fs.short_day_names[1], locale_text(LOCALE_SABBREVDAYNAME1));
  EXPECT_EQ(fs.short_day_names[0], locale_text(LOCALE_SABBREVDAYNAME7));
  EXPECT_EQ(fs.short_month_names[11], locale_text(LOCALE_SABBREVMONTHNAME12));
  // Whole pictures, as a system set to them would format the log's date.
  const DateTime date = EncodeDate(2026, 12, 7);
  EXPECT_EQ(FormatDateTime(DatePictureFromSystem("dddd, d. MMMM yyyy"), date, fs),
            system_text("dddd, d. MMMM yyyy"));
  EXPECT_EQ(FormatDateTime(DatePictureFromSystem("dd-MMM-yyyy"), date, fs),
            "07-" + locale_text(LOCALE_SABBREVMONTHNAME12) + "-2026");
  monday.wDay = 6;
  monday.wDayOfWeek = 0;
  EXPECT_EQ(fs.long_day_names[0], system_text("dddd"));
}

}  // namespace
}  // namespace velkora::win32
