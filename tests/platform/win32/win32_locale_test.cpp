#include "platform/win32/win32_locale.h"

#include <gtest/gtest.h>

namespace velkora::win32 {
namespace {

TEST(Win32Locale, TurnsSystemPicturesIntoRuntimePictures) {
  EXPECT_EQ(DatePictureFromSystem("dd.MM.yyyy"), "dd.mm.yyyy");
  EXPECT_EQ(DatePictureFromSystem("M/d/yyyy"), "m/d/yyyy");
  EXPECT_EQ(DatePictureFromSystem("yyyy-MM-dd 'KW'"), "yyyy-mm-dd 'KW'");
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

}  // namespace
}  // namespace velkora::win32
