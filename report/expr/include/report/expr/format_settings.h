#pragma once

#include <array>
#include <string>

#include "regional/regional.h"

namespace report::expr {

// How dates and times are written. `regional` has no dates yet, so they live
// here; the defaults are the neutral English ones and the report layer fills
// them from the user's locale.
struct DateTimeSettings {
  std::string dateSeparator = "/";
  std::string timeSeparator = ":";
  std::string shortDateFormat = "m/d/yyyy";
  std::string longDateFormat = "dddd, mmmm d, yyyy";
  std::string shortTimeFormat = "h:nn AMPM";
  std::string longTimeFormat = "h:nn:ss AMPM";
  std::string timeAmString = "AM";
  std::string timePmString = "PM";
  std::array<std::string, 12> shortMonthNames{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                              "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  std::array<std::string, 12> longMonthNames{"January", "February", "March",     "April",
                                             "May",     "June",     "July",      "August",
                                             "September", "October", "November", "December"};
  // Sunday first.
  std::array<std::string, 7> shortDayNames{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  std::array<std::string, 7> longDayNames{"Sunday",   "Monday", "Tuesday", "Wednesday",
                                          "Thursday", "Friday", "Saturday"};
};

// Everything a value needs to become text the user's way.
struct FormatSettings {
  regional::Regional numbers;
  DateTimeSettings dates;
};

}  // namespace report::expr
