#include <cmath>
#include <cstdint>

#include "report/expr/date_time.h"
#include "report/expr/same_text.h"

namespace report::expr {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
// Days from 0001-01-01 and to 9999-12-31 relative to 1899-12-30.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

// Days since 1970-01-01 of a proleptic Gregorian date (the usual era-based
// conversion), so that leap years need no table.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, int& year, int& month, int& day) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  year = static_cast<int>(static_cast<std::int64_t>(yoe) + era * 400 + (month <= 2));
}

const std::int64_t kEpochOffset = DaysFromCivil(1899, 12, 30);

bool IsLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : kDays[m - 1];
}

std::string Padded(int value, int digits) {
  std::string text = std::to_string(value);
  if (static_cast<int>(text.size()) < digits) {
    text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
  }
  return text;
}

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithNoCase(std::string_view text, std::size_t at, std::string_view word) {
  return text.size() - at >= word.size() && SameText(text.substr(at, word.size()), word);
}

// Whether the picture asks for a 12-hour clock (quoted text aside).
bool UsesTwelveHours(std::string_view picture) {
  char quote = 0;
  for (std::size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    if (quote != 0) {
      if (c == quote) quote = 0;
      continue;
    }
    if (c == '"' || c == '\'') {
      quote = c;
    } else if (StartsWithNoCase(picture, i, "am/pm") || StartsWithNoCase(picture, i, "a/p") ||
               StartsWithNoCase(picture, i, "ampm")) {
      return true;
    }
  }
  return false;
}

class Writer {
 public:
  Writer(const CivilDateTime& t, double whole, double fraction, const DateTimeSettings& s)
      : m_t(t), m_hasDate(whole != 0), m_hasTime(fraction != 0), m_s(s) {}

  void Write(std::string_view picture, int depth, std::string& out) const {
    const bool twelve = UsesTwelveHours(picture);
    bool afterHour = false;
    std::size_t i = 0;
    while (i < picture.size()) {
      const char c = picture[i];
      const char lower = Lower(c);
      std::size_t run = 1;
      while (i + run < picture.size() && Lower(picture[i + run]) == lower) ++run;
      switch (lower) {
        case '"':
        case '\'': {
          const auto end = picture.find(c, i + 1);
          const auto stop = end == std::string_view::npos ? picture.size() : end;
          out += picture.substr(i + 1, stop - i - 1);
          i = stop == picture.size() ? stop : stop + 1;
          continue;
        }
        case 'c':
          // A bare time (day 0) shows no date, midnight shows no time.
          if (depth == 0) {
            const bool date = m_hasDate || !m_hasTime;
            if (date) Write(m_s.shortDateFormat, depth + 1, out);
            if (m_hasTime) {
              if (date) out += ' ';
              Write(m_s.longTimeFormat, depth + 1, out);
            }
          }
          run = 1;
          afterHour = false;
          break;
        case 'd':
          WriteDay(run, depth, out);
          afterHour = false;
          break;
        case 'm':
          if (afterHour && run <= 2) {
            out += run == 1 ? std::to_string(m_t.minute) : Padded(m_t.minute, 2);
          } else if (run <= 2) {
            out += run == 1 ? std::to_string(m_t.month) : Padded(m_t.month, 2);
          } else {
            out += (run == 3 ? m_s.shortMonthNames : m_s.longMonthNames)[m_t.month - 1];
          }
          afterHour = false;
          break;
        case 'y':
          out += run <= 2 ? Padded(m_t.year % 100, 2) : Padded(m_t.year, 4);
          afterHour = false;
          break;
        case 'h': {
          int hour = m_t.hour;
          if (twelve) hour = hour % 12 == 0 ? 12 : hour % 12;
          out += run == 1 ? std::to_string(hour) : Padded(hour, 2);
          afterHour = true;
          break;
        }
        case 'n':
          out += run == 1 ? std::to_string(m_t.minute) : Padded(m_t.minute, 2);
          afterHour = false;
          break;
        case 's':
          out += run == 1 ? std::to_string(m_t.second) : Padded(m_t.second, 2);
          afterHour = false;
          break;
        case 'z':
          out += run < 3 ? std::to_string(m_t.millisecond) : Padded(m_t.millisecond, 3);
          afterHour = false;
          break;
        case 't':
          if (depth == 0) Write(run == 1 ? m_s.shortTimeFormat : m_s.longTimeFormat, depth + 1, out);
          afterHour = false;
          break;
        case 'a':
          run = WriteMark(picture, i, out);
          break;
        case '/':
          out += m_s.dateSeparator;
          run = 1;
          break;
        case ':':
          out += m_s.timeSeparator;
          run = 1;
          break;
        default:
          out += picture.substr(i, run);
          break;
      }
      i += run;
    }
  }

 private:
  void WriteDay(std::size_t run, int depth, std::string& out) const {
    switch (run) {
      case 1: out += std::to_string(m_t.day); return;
      case 2: out += Padded(m_t.day, 2); return;
      case 3: out += m_s.shortDayNames[static_cast<std::size_t>(m_t.dayOfWeek)]; return;
      case 4: out += m_s.longDayNames[static_cast<std::size_t>(m_t.dayOfWeek)]; return;
      default:
        if (depth == 0) Write(run == 5 ? m_s.shortDateFormat : m_s.longDateFormat, depth + 1, out);
        return;
    }
  }

  // The morning/afternoon mark at `i`; returns the characters it used.
  std::size_t WriteMark(std::string_view picture, std::size_t i, std::string& out) const {
    const bool pm = m_t.hour >= 12;
    if (StartsWithNoCase(picture, i, "am/pm")) {
      out += picture.substr(pm ? i + 3 : i, 2);
      return 5;
    }
    if (StartsWithNoCase(picture, i, "a/p")) {
      out += picture.substr(pm ? i + 2 : i, 1);
      return 3;
    }
    if (StartsWithNoCase(picture, i, "ampm")) {
      out += pm ? m_s.timePmString : m_s.timeAmString;
      return 4;
    }
    out += picture[i];
    return 1;
  }

  const CivilDateTime& m_t;
  bool m_hasDate;
  bool m_hasTime;
  const DateTimeSettings& m_s;
};

}  // namespace

std::optional<DateTime> EncodeDateTime(int year, int month, int day, int hour, int minute,
                                       int second, int millisecond) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 ||
      day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
      second < 0 || second > 59 || millisecond < 0 || millisecond > 999) {
    return std::nullopt;
  }
  const auto days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                    kEpochOffset;
  const double time =
      static_cast<double>(((hour * 60 + minute) * 60 + second) * 1000 + millisecond) / kMsPerDay;
  // Before 1899-12-30 the time still counts forward from the day's start.
  return DateTime{days < 0 ? static_cast<double>(days) - time : static_cast<double>(days) + time};
}

std::optional<CivilDateTime> DecodeDateTime(DateTime value) {
  if (!std::isfinite(value.days) || value.days < kFirstDay - 1 || value.days >= kLastDay + 1) {
    return std::nullopt;
  }
  const double whole = std::trunc(value.days);
  std::int64_t ms = std::llround(std::fabs(value.days - whole) * kMsPerDay);
  if (ms >= kMsPerDay) ms = kMsPerDay - 1;
  const auto day = static_cast<std::int64_t>(whole);
  if (day < kFirstDay || day > kLastDay) return std::nullopt;
  CivilDateTime t;
  CivilFromDays(day + kEpochOffset, t.year, t.month, t.day);
  t.dayOfWeek = static_cast<int>(((day + 6) % 7 + 7) % 7);
  t.hour = static_cast<int>(ms / 3'600'000);
  t.minute = static_cast<int>(ms / 60'000 % 60);
  t.second = static_cast<int>(ms / 1000 % 60);
  t.millisecond = static_cast<int>(ms % 1000);
  return t;
}

std::optional<std::string> FormatDateTime(std::string_view picture, DateTime value,
                                          const DateTimeSettings& settings) {
  const auto civil = DecodeDateTime(value);
  if (!civil) return std::nullopt;
  const double whole = std::trunc(value.days);
  const Writer writer(*civil, whole, value.days - whole, settings);
  std::string out;
  writer.Write(picture.empty() ? std::string_view("c") : picture, 0, out);
  return out;
}

}  // namespace report::expr
