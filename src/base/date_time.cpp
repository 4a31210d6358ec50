#include "base/date_time.h"

#include <cmath>
#include <cstdint>

namespace velkora {
namespace {

constexpr int64_t kMsPerDay = 86400000;

// Day numbers of 1 January 0001 and 31 December 9999, the range in which
// values decode to calendar dates.
constexpr int64_t kFirstDay = -693593;
constexpr int64_t kLastDay = 2958465;

// Days between 1 March of year 0 (proleptic Gregorian) and 30 December 1899.
// Counting from 1 March puts the leap day at the end of the counted year,
// which turns month lengths into a simple linear formula.
constexpr int64_t kMarchZeroToEpoch = 693899;

int64_t DaysSinceMarchZero(int year, int month, int day) {
  int64_t y = month <= 2 ? year - 1 : year;
  int64_t m = month <= 2 ? month + 9 : month - 3;  // March = 0 ... February = 11
  int64_t day_of_year = (153 * m + 2) / 5 + day - 1;
  return y * 365 + y / 4 - y / 100 + y / 400 + day_of_year;
}

}  // namespace

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
         day <= DaysInMonth(year, month);
}

DateTime EncodeDate(int year, int month, int day) {
  return static_cast<double>(DaysSinceMarchZero(year, month, day) - kMarchZeroToEpoch);
}

DateTime EncodeTime(int hour, int minute, int second, int millisecond) {
  int64_t ms = ((static_cast<int64_t>(hour) * 60 + minute) * 60 + second) * 1000 + millisecond;
  return static_cast<double>(ms) / static_cast<double>(kMsPerDay);
}

DateParts DecodeDate(DateTime value) {
  if (!std::isfinite(value)) return {};
  double whole = std::trunc(value);
  if (whole < static_cast<double>(kFirstDay) || whole > static_cast<double>(kLastDay)) return {};
  // Split the day count into 400-year cycles (146097 days), then centuries,
  // 4-year cycles and years; all counts start on 1 March.
  int64_t n = static_cast<int64_t>(whole) + kMarchZeroToEpoch;
  int64_t cycle = n / 146097;
  int64_t day_of_cycle = n - cycle * 146097;
  int64_t year_of_cycle =
      (day_of_cycle - day_of_cycle / 1460 + day_of_cycle / 36524 - day_of_cycle / 146096) / 365;
  int64_t day_of_year =
      day_of_cycle - (365 * year_of_cycle + year_of_cycle / 4 - year_of_cycle / 100);
  int64_t m = (5 * day_of_year + 2) / 153;  // March = 0
  DateParts parts;
  parts.day = static_cast<int>(day_of_year - (153 * m + 2) / 5 + 1);
  parts.month = static_cast<int>(m < 10 ? m + 3 : m - 9);
  parts.year = static_cast<int>(cycle * 400 + year_of_cycle + (parts.month <= 2 ? 1 : 0));
  return parts;
}

TimeParts DecodeTime(DateTime value) {
  if (!std::isfinite(value)) return {};
  double fraction = std::fabs(value - std::trunc(value));
  // A time that rounds up to the next midnight reads as 00:00:00.000; callers
  // that also show the date round the whole value first (RoundToMillisecond).
  int64_t ms = std::llround(fraction * static_cast<double>(kMsPerDay)) % kMsPerDay;
  TimeParts parts;
  parts.millisecond = static_cast<int>(ms % 1000);
  parts.second = static_cast<int>(ms / 1000 % 60);
  parts.minute = static_cast<int>(ms / 60000 % 60);
  parts.hour = static_cast<int>(ms / 3600000);
  return parts;
}

int DayOfWeek(DateTime value) {
  double whole = std::isfinite(value) ? std::trunc(value) : 0.0;
  // fmod keeps the sign of the dividend; shift negative remainders up so
  // that days before 1899 get the right weekday too.
  int remainder = static_cast<int>(std::fmod(whole - 1.0, 7.0));
  if (remainder < 0) remainder += 7;
  return remainder + 1;
}

double DatePart(DateTime value) { return std::trunc(value); }

double TimePart(DateTime value) { return value - std::trunc(value); }

double SecondsToDays(double seconds) { return seconds / kSecondsPerDay; }

double DaysToSeconds(double days) { return days * kSecondsPerDay; }

DateTime RoundToMillisecond(DateTime value) {
  if (!std::isfinite(value)) return value;
  double day = std::trunc(value);
  int64_t ms = std::llround(std::fabs(value - day) * static_cast<double>(kMsPerDay));
  if (ms >= kMsPerDay) {
    // The time rounds up to midnight of the next calendar day. For negative
    // values the day number grows towards zero as well (-2 is the day
    // before -1), so the next day is day + 1 in both directions.
    return day + 1.0;
  }
  double time = static_cast<double>(ms) / static_cast<double>(kMsPerDay);
  return day < 0.0 || std::signbit(value) ? day - time : day + time;
}

}  // namespace velkora
