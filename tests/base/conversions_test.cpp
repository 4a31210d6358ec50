#include "base/conversions.h"

#include <gtest/gtest.h>

#include <limits>

#include "base/error.h"

namespace velkora {
namespace {

const FormatSettings kGerman = FormatSettings::German();

std::string ErrorOf(auto&& call) {
  try {
    call();
  } catch (const ConvertError& e) {
    return e.Message();
  }
  return "no error";
}

TEST(StrToIntTest, ReadsDecimalAndHexadecimal) {
  struct {
    const char* text;
    int32_t value;
  } cases[] = {
      {"0", 0},
      {"42", 42},
      {"-42", -42},
      {"+7", 7},
      {"007", 7},
      {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},
      {"$10", 16},
      {"$ff", 255},
      {"-$10", -16},
      {"$7FFFFFFF", INT32_MAX},
      {"$FFFFFFFF", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(StrToInt(c.text), c.value) << c.text;
}

TEST(StrToIntTest, RefusesEverythingElse) {
  for (const char* text : {"", "-", "$", "+$", "1.5", " 1", "1 ", "0x10", "12a", "2147483648",
                           "-2147483649", "$100000000", "1e3", "--1"}) {
    EXPECT_EQ(ErrorOf([&] { StrToInt(text); }),
              "'" + std::string(text) + "' ist kein gültiger Integerwert");
    EXPECT_EQ(StrToIntDef(text, -7), -7) << text;
  }
}

TEST(StrToFloatTest, ReadsTheLocaleForm) {
  EXPECT_EQ(StrToFloat("0,32", kGerman), 0.32);
  EXPECT_EQ(StrToFloat(" -1,5E3 ", kGerman), -1500);
  EXPECT_EQ(StrToFloat("12", kGerman), 12);
  EXPECT_EQ(StrToFloat("1e-2", kGerman), 0.01);
  EXPECT_EQ(StrToFloat("1e-400", kGerman), 0);
  EXPECT_EQ(StrToFloat("0.25", FormatSettings{}), 0.25);
  for (const char* text :
       {"", " ", "0.32", "1.000,5", "1e", "1e+", ",", "abc", "1,5x", "1e400", "inf", "nan"}) {
    EXPECT_EQ(ErrorOf([&] { StrToFloat(text, kGerman); }),
              "'" + std::string(text) + "' ist kein gültiger Gleitkommawert");
  }
}

TEST(FloatToStrTest, GeneralFormat) {
  struct {
    double value;
    const char* german;
  } cases[] = {
      {0, "0"},
      {-0.0, "0"},
      {0.32, "0,32"},
      {-1.5, "-1,5"},
      {100, "100"},
      {0.1 + 0.2, "0,3"},
      {1.0 / 3, "0,333333333333333"},
      {2.0 / 3, "0,666666666666667"},
      {123456789012345, "123456789012345"},
      {999999999999999.4, "999999999999999"},
      {999999999999999.9, "1E15"},
      {1e15, "1E15"},
      {1e20, "1E20"},
      {-2.5e20, "-2,5E20"},
      {0.0001, "0,0001"},
      {0.00012, "0,00012"},
      {0.00001, "1E-5"},
      {1.5e-7, "1,5E-7"},
      {1e-100, "1E-100"},
      {3.14159265358979, "3,14159265358979"},
  };
  for (const auto& c : cases) EXPECT_EQ(FloatToStr(c.value, kGerman), c.german) << c.value;
  EXPECT_EQ(FloatToStr(0.5, FormatSettings{}), "0.5");
}

TEST(FloatToStrTest, RoundTripsThroughStrToFloat) {
  const double largest = std::numeric_limits<double>::max();
  for (double v : {0.32, 12.5, -7.25, 1e20, 1.5e-7, 123456.789, largest, -largest}) {
    EXPECT_EQ(StrToFloat(FloatToStr(v, kGerman), kGerman), v);
  }
  // Only what rounds to the largest double's own text reads as it; beyond
  // that a text is still too large.
  EXPECT_EQ(StrToFloat("1,7976931348623199E308", kGerman), largest);
  EXPECT_EQ(StrToFloat("0,0179769313486232E310", kGerman), largest);
  for (const char* text : {"1,79769313486233E308", "1,797693134862321E308", "1,8E308", "1E309"}) {
    EXPECT_EQ(ErrorOf([&] { StrToFloat(text, kGerman); }),
              "'" + std::string(text) + "' ist kein gültiger Gleitkommawert");
  }
}

TEST(StrToDateTest, ReadsTheShortDateOrder) {
  constexpr int kYear = 2026;
  EXPECT_EQ(StrToDate("01.01.2004", kGerman, kYear), 37987);
  EXPECT_EQ(StrToDate("1.1.2004", kGerman, kYear), 37987);
  EXPECT_EQ(StrToDate(" 1.1.04 ", kGerman, kYear), 37987);
  EXPECT_EQ(StrToDate("7.12.76", kGerman, kYear), EncodeDate(1976, 12, 7));
  EXPECT_EQ(StrToDate("7.12.75", kGerman, kYear), EncodeDate(2075, 12, 7));
  EXPECT_EQ(StrToDate("24.12", kGerman, kYear), EncodeDate(2026, 12, 24));
  EXPECT_EQ(StrToDate("29.02.2000", kGerman, kYear), EncodeDate(2000, 2, 29));
  FormatSettings us;  // m/d/yyyy
  EXPECT_EQ(StrToDate("12/24/2026", us, kYear), EncodeDate(2026, 12, 24));
  FormatSettings iso;
  iso.short_date_format = "yyyy-mm-dd";
  iso.date_separator = '-';
  EXPECT_EQ(StrToDate("2004-01-01", iso, kYear), 37987);
}

TEST(StrToDateTest, RefusesInvalidDates) {
  for (const char* text :
       {"", "1", "29.02.2023", "32.01.2004", "1.13.2004", "0.1.2004", "1.1.0000", "1.1.2004.5",
        "1/1/2004", "1.1.2004 10:00", "1..2004", "a.b.c", "1.1.20045"}) {
    EXPECT_EQ(ErrorOf([&] { StrToDate(text, kGerman, 2026); }),
              "'" + std::string(text) + "' ist kein gültiges Datum");
  }
}

TEST(StrToTimeTest, ReadsHoursMinutesAndSeconds) {
  EXPECT_EQ(StrToTime("18:00", kGerman), 0.75);
  EXPECT_EQ(StrToTime("07:58:30", kGerman), EncodeTime(7, 58, 30));
  EXPECT_EQ(StrToTime(" 0:0:0 ", kGerman), 0);
  EXPECT_EQ(StrToTime("23:59:59", kGerman), EncodeTime(23, 59, 59));
  for (const char* text :
       {"", "12", "24:00", "12:60", "12:00:60", "12.00", "12:00:00:00", "1:2:3x", "123:00"}) {
    EXPECT_EQ(ErrorOf([&] { StrToTime(text, kGerman); }),
              "'" + std::string(text) + "' ist keine gültige Uhrzeit");
  }
}

TEST(FormatDateTimeTest, FormatLettersAndSeparators) {
  DateTime v = EncodeDate(2026, 3, 7) + EncodeTime(9, 5, 2, 45);
  EXPECT_EQ(FormatDateTime("dd.mm.yyyy hh:nn:ss", v, kGerman), "07.03.2026 09:05:02");
  EXPECT_EQ(FormatDateTime("d.m.yy h:n:s", v, kGerman), "7.3.26 9:5:2");
  EXPECT_EQ(FormatDateTime("DD/MM/YYYY HH:NN:SS.zzz", v, kGerman), "07.03.2026 09:05:02.045");
  EXPECT_EQ(FormatDateTime("'d' \"mm\" d", v, kGerman), "d mm 7");
}

// A short date picture with names ("dd-MMM-yyyy" on a system set up so)
// must show the names, not the number again and again.
TEST(FormatDateTimeTest, MonthAndWeekdayNames) {
  const DateTime monday = EncodeDate(2026, 12, 7);
  EXPECT_EQ(FormatDateTime("dd-mmm-yyyy", monday, kGerman), "07-Dez-2026");
  EXPECT_EQ(FormatDateTime("dddd, d. MMMM yyyy", monday, kGerman), "Montag, 7. Dezember 2026");
  EXPECT_EQ(FormatDateTime("ddd dd.mm.", monday + EncodeTime(23, 0, 0), kGerman), "Mo 07.12.");
  EXPECT_EQ(FormatDateTime("mmmm ddd", EncodeDate(2026, 3, 1), kGerman), "März So");
  FormatSettings english;
  EXPECT_EQ(FormatDateTime("ddd, d mmm yyyy", EncodeDate(2004, 1, 1), english), "Thu, 1 Jan 2004");
  EXPECT_EQ(FormatDateTime("dddd mmmm", EncodeDate(1899, 12, 30), english), "Saturday December");
  // The day follows rounding to the millisecond, like the digits do.
  EXPECT_EQ(FormatDateTime("dddd dd", monday - 0.0001 / kMillisecondsPerDay, kGerman), "Montag 07");
  // Names never show in a picture of numbers.
  EXPECT_EQ(FormatDateTime("d/m", monday, kGerman), "7.12");
  FormatSettings picture = kGerman;
  picture.short_date_format = "dd-mmm-yyyy";
  EXPECT_EQ(DateTimeToStr(monday + EncodeTime(9, 15, 2), picture), "07-Dez-2026 09:15:02");
}

TEST(FormatDateTimeTest, TwelveHourClockWithAmPm) {
  FormatSettings us;  // h:nn:ss ampm, as a system with an AM/PM time picture gives it
  us.long_time_format = "h:nn:ss ampm";
  EXPECT_EQ(TimeToStr(EncodeTime(0, 5, 0), us), "12:05:00 AM");
  EXPECT_EQ(TimeToStr(EncodeTime(2, 27, 38), us), "2:27:38 AM");
  EXPECT_EQ(TimeToStr(EncodeTime(12, 0, 1), us), "12:00:01 PM");
  EXPECT_EQ(TimeToStr(EncodeTime(23, 59, 59), us), "11:59:59 PM");
  us.time_pm_string = "nachm.";
  EXPECT_EQ(FormatDateTime("hh:nn AMPM", EncodeTime(13, 4, 0), us), "01:04 nachm.");
  EXPECT_EQ(FormatDateTime("h am/pm, H A/P", EncodeTime(15, 0, 0), us), "3 pm, 3 P");
  // Without a marker the clock stays at 24 hours, and a quoted one is text.
  EXPECT_EQ(FormatDateTime("hh:nn 'ampm'", EncodeTime(15, 0, 0), us), "15:00 ampm");
}

TEST(DateTimeToStrTest, LeavesOutMidnight) {
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 7) + EncodeTime(9, 15, 2), kGerman),
            "07.12.2026 09:15:02");
  EXPECT_EQ(DateTimeToStr(EncodeDate(2026, 12, 7), kGerman), "07.12.2026");
  EXPECT_EQ(DateTimeToStr(37988 - 0.0001 / kMillisecondsPerDay, kGerman), "02.01.2004");
  EXPECT_EQ(DateTimeToStr(0.5, kGerman), "30.12.1899 12:00:00");
  EXPECT_EQ(DateToStr(37987.5, kGerman), "01.01.2004");
  EXPECT_EQ(TimeToStr(37987.5, kGerman), "12:00:00");
}

}  // namespace
}  // namespace velkora
