#pragma once
// A calendar date with a time of day, as the register's date and time fields
// carry them. The zero date-time, 30 December 1899 at midnight, stands for "no
// date", the way the stored data of the desktop program has always marked it.

#include <chrono>

namespace plumgr {

struct DateTime {
  int Year = 1899;
  int Month = 12;
  int Day = 30;
  int Hour = 0;
  int Minute = 0;
  int Second = 0;

  static constexpr DateTime Zero() { return {}; }
  constexpr bool IsZero() const { return *this == DateTime{}; }
  friend constexpr bool operator==(const DateTime&, const DateTime&) = default;
};

// True when the date exists in the proleptic Gregorian calendar (years 1 to
// 9999) and the time lies within one day.
constexpr bool IsValidDateTime(const DateTime& t) {
  if (t.Year < 1 || t.Year > 9999) return false;
  const std::chrono::year_month_day date{std::chrono::year{t.Year},
                                         std::chrono::month{static_cast<unsigned>(t.Month)},
                                         std::chrono::day{static_cast<unsigned>(t.Day)}};
  return t.Month >= 1 && t.Day >= 1 && date.ok() && t.Hour >= 0 && t.Hour < 24 && t.Minute >= 0 &&
         t.Minute < 60 && t.Second >= 0 && t.Second < 60;
}

}  // namespace plumgr
