#pragma once

#include <cstdint>

namespace velkora {

// A date-time value counts days since 30 December 1899: the integral part is
// the day number, the fractional part the time of day. 1 January 2004 is
// 37987. Negative values (before 1899) follow the runtime's convention: the
// integral part is the day, the fractional part's absolute value the time.
using DateTime = double;

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr double kMillisecondsPerDay = 86400000.0;

struct DateParts {
  int year = 0;
  int month = 0;
  int day = 0;
};

struct TimeParts {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// True when year/month/day names a real day between years 1 and 9999.
bool IsValidDate(int year, int month, int day);
bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Day number of a date; the caller guarantees IsValidDate.
DateTime EncodeDate(int year, int month, int day);
// Fraction of a day; the caller guarantees 0<=h<24, 0<=n,s<60, 0<=ms<1000.
DateTime EncodeTime(int hour, int minute, int second, int millisecond = 0);

// Calendar date of a date-time value (its integral part).
DateParts DecodeDate(DateTime value);
// Time of day of a date-time value, rounded to the nearest millisecond.
TimeParts DecodeTime(DateTime value);

// Weekday with Sunday = 1 ... Saturday = 7.
int DayOfWeek(DateTime value);

// Integral part (the day) and fractional part (the time) of a value.
double DatePart(DateTime value);
double TimePart(DateTime value);

// Conversions between seconds and fractions of a day.
double SecondsToDays(double seconds);
double DaysToSeconds(double days);

// Rounds a date-time value to the nearest millisecond.
DateTime RoundToMillisecond(DateTime value);

}  // namespace velkora
