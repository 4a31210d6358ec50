#include "base/date_time.h"

#include <gtest/gtest.h>

namespace velkora {
namespace {

struct DayCase {
  int year, month, day;
  double number;
  int weekday;
};

class DayNumberTest : public testing::TestWithParam<DayCase> {};

TEST_P(DayNumberTest, EncodesDecodesAndNamesTheWeekday) {
  const DayCase& c = GetParam();
  EXPECT_EQ(EncodeDate(c.year, c.month, c.day), c.number);
  DateParts parts = DecodeDate(c.number);
  EXPECT_EQ(parts.year, c.year);
  EXPECT_EQ(parts.month, c.month);
  EXPECT_EQ(parts.day, c.day);
  EXPECT_EQ(DayOfWeek(c.number), c.weekday);
  // Before 1899 the time counts away from zero: -1.75 is day -1 at 18:00.
  double with_time = c.number < 0 ? c.number - 0.75 : c.number + 0.75;
  EXPECT_EQ(DayOfWeek(with_time), c.weekday) << "the time of day does not change the day";
}

INSTANTIATE_TEST_SUITE_P(Calendar, DayNumberTest,
                         testing::Values(DayCase{1899, 12, 30, 0, 7}, DayCase{1899, 12, 29, -1, 6},
                                         DayCase{1899, 12, 24, -6, 1}, DayCase{1899, 12, 23, -7, 7},
                                         DayCase{1900, 3, 1, 61, 5}, DayCase{2000, 2, 29, 36585, 3},
                                         DayCase{2004, 1, 1, 37987, 5},
                                         DayCase{2026, 12, 7, 46363, 2},
                                         DayCase{1, 1, 1, -693593, 2},
                                         DayCase{9999, 12, 31, 2958465, 6}));

TEST(DateTimeTest, EveryDayOfFourCenturiesRoundTrips) {
  double expected = EncodeDate(1801, 1, 1);
  for (int year = 1801; year <= 2200; ++year) {
    for (int month = 1; month <= 12; ++month) {
      for (int day = 1; day <= DaysInMonth(year, month); ++day) {
        ASSERT_EQ(EncodeDate(year, month, day), expected) << year << "-" << month << "-" << day;
        DateParts p = DecodeDate(expected);
        ASSERT_TRUE(p.year == year && p.month == month && p.day == day) << expected;
        expected += 1;
      }
    }
  }
}

TEST(DateTimeTest, ValidatesDates) {
  EXPECT_TRUE(IsValidDate(2024, 2, 29));
  EXPECT_FALSE(IsValidDate(2023, 2, 29));
  EXPECT_FALSE(IsValidDate(1900, 2, 29));
  EXPECT_TRUE(IsValidDate(2000, 2, 29));
  EXPECT_FALSE(IsValidDate(2024, 4, 31));
  EXPECT_FALSE(IsValidDate(2024, 13, 1));
  EXPECT_FALSE(IsValidDate(0, 1, 1));
  EXPECT_FALSE(IsValidDate(10000, 1, 1));
}

TEST(DateTimeTest, TimeOfDayRoundsToTheNearestMillisecond) {
  TimeParts t = DecodeTime(37987 + EncodeTime(7, 58, 30, 250));
  EXPECT_EQ(t.hour, 7);
  EXPECT_EQ(t.minute, 58);
  EXPECT_EQ(t.second, 30);
  EXPECT_EQ(t.millisecond, 250);
  // 0.4 ms below a full second still reads as the full second.
  t = DecodeTime(EncodeTime(12, 0, 0) - 0.0004 / kMillisecondsPerDay);
  EXPECT_EQ(t.hour, 12);
  EXPECT_EQ(t.second, 0);
  EXPECT_EQ(t.millisecond, 0);
  // Negative values: the fraction's absolute value is the time.
  t = DecodeTime(-1.25);
  EXPECT_EQ(t.hour, 6);
  EXPECT_EQ(DecodeDate(-1.25).day, 29);
}

TEST(DateTimeTest, RoundingCarriesIntoTheNextDay) {
  double almost_midnight = 37987 + 1 - 0.0002 / kMillisecondsPerDay;
  EXPECT_EQ(RoundToMillisecond(almost_midnight), 37988);
  EXPECT_EQ(RoundToMillisecond(-1.9999999999), 0);  // 29 Dec 23:59:59.99999 -> 30 Dec
  EXPECT_EQ(RoundToMillisecond(-1.25), -1.25);
  EXPECT_DOUBLE_EQ(RoundToMillisecond(37987.5 + 0.4 / kMillisecondsPerDay), 37987.5);
}

TEST(DateTimeTest, SplitsAndConvertsSeconds) {
  EXPECT_EQ(DatePart(37987.75), 37987);
  EXPECT_EQ(TimePart(37987.75), 0.75);
  EXPECT_EQ(SecondsToDays(43200), 0.5);
  EXPECT_EQ(DaysToSeconds(0.25), 21600);
  EXPECT_EQ(EncodeTime(18, 0, 0), 0.75);
}

}  // namespace
}  // namespace velkora
