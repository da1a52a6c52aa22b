#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "report/expr/format_settings.h"
#include "report/expr/value.h"

// Date-times as report values hold them (days since 1899-12-30, the fraction
// being the time of day) and their pictures.
namespace report::expr {

struct CivilDateTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int dayOfWeek = 6;  // 0 = Sunday
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

// Nothing for a day outside the years 1..9999.
std::optional<DateTime> EncodeDateTime(int year, int month, int day, int hour = 0, int minute = 0,
                                       int second = 0, int millisecond = 0);
// For a negative value the whole part counts the days before 1899-12-30 and
// the fraction, taken without its sign, is the time. Nothing outside 1..9999.
std::optional<CivilDateTime> DecodeDateTime(DateTime value);

// A date-time picture:
//   d dd ddd dddd   day, two-digit day, short and long day name
//   ddddd dddddd    short and long date form of the settings
//   m mm mmm mmmm   month, two-digit month, short and long name (minutes right after h or hh)
//   yy yyyy         year        h hh  hour    n nn  minute     s ss  second   z zzz milliseconds
//   t tt            short and long time form       c   short date and long time ("" too)
//   am/pm a/p ampm  12-hour clock with those marks (ampm: the settings' marks)
//   / :             the settings' date and time separators
//   "..." '...'     literal text; any other character stands for itself
// Nothing when the value lies outside the years 1..9999.
std::optional<std::string> FormatDateTime(std::string_view picture, DateTime value,
                                          const DateTimeSettings& settings);

}  // namespace report::expr
