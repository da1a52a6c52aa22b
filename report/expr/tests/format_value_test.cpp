#include "report/expr/display_format.h"

#include <gtest/gtest.h>

#include <limits>

#include "report/expr/date_time.h"
#include "report/expr/picture_format.h"
#include "test_settings.h"

namespace report::expr {
namespace {

using testing::English;
using testing::Italian;

DisplayFormat Format(FormatKind kind, const char* formatStr, const char* separator = "") {
  return DisplayFormat{kind, formatStr, separator};
}

struct Case {
  Value value;
  DisplayFormat format;
  const char* english;  // "$1,234.50"
  const char* italian;  // "1.234,50 €"
};

void Check(const Case& c) {
  EXPECT_EQ(FormatValue(c.value, c.format, English()), c.english)
      << "'" << c.format.formatStr << "' sep '" << c.format.decimalSeparator << "'";
  EXPECT_EQ(FormatValue(c.value, c.format, Italian()), c.italian)
      << "'" << c.format.formatStr << "' sep '" << c.format.decimalSeparator << "'";
}

constexpr auto kNumeric = FormatKind::fkNumeric;

TEST(FormatValue, MoneyWithTheMemosDecimalComma) {
  const Case cases[] = {
      {Value(1234.5), Format(kNumeric, "%2.2m", ","), "$1,234,50", "1.234,50 €"},
      {Value(1234.5), Format(kNumeric, "%2.2m"), "$1,234.50", "1.234,50 €"},
      {Value(-1234.5), Format(kNumeric, "%2.2m", ","), "-$1,234,50", "-1.234,50 €"},
      {Value(0.1), Format(kNumeric, "%2.2m", ","), "$0,10", "0,10 €"},
      {Value(0.125), Format(kNumeric, "%2.2m", ","), "$0,13", "0,13 €"},
      {Value(3), Format(kNumeric, "%2.2m", ","), "$3,00", "3,00 €"},
      {Value(Currency{12345}), Format(kNumeric, "%2.2m"), "$1.23", "1,23 €"},
      {Value(), Format(kNumeric, "%2.2m", ","), "$0,00", "0,00 €"},  // an unknown name
      {Value(3.0), Format(kNumeric, "%12.2m"), "       $3.00", "      3,00 €"},
      {Value(2.5), Format(kNumeric, "%2.2m", ",."), "$2.50", "2,50 €"},  // not one character
      {Value(2.5), Format(kNumeric, "%2.2m", "·"), "$2·50", "2·50 €"},   // one character, two bytes
  };
  for (const auto& c : cases) Check(c);
}

TEST(FormatValue, PrintfStyleFormats) {
  const Case cases[] = {
      {Value(42), Format(kNumeric, "%d"), "42", "42"},
      {Value(42.7), Format(kNumeric, "%5d pezzi"), "   43 pezzi", "   43 pezzi"},
      {Value(1.005), Format(kNumeric, "%.2f"), "1.01", "1,01"},
      {Value(1234567.0), Format(kNumeric, "%n"), "1,234,567.00", "1.234.567,00"},
      {Value(0.5), Format(kNumeric, "%g"), "0.5", "0,5"},
      {Value("2,5"), Format(kNumeric, "%.1f"), "2,5", "2,5"},  // read as a number only in it_IT
      // Formats that cannot take the value fall back to its natural text.
      {Value(255), Format(kNumeric, "%x"), "255", "255"},
      {Value("abc"), Format(kNumeric, "%2.2m"), "abc", "abc"},
      {Value(1.5), Format(kNumeric, "%q"), "1.5", "1,5"},
      {Value(2.5), Format(kNumeric, ""), "2.5", "2,5"},
      {Value::Null(), Format(kNumeric, "%2.2m"), "", ""},
      {Value(0.1), Format(FormatKind::fkText, "%2.2m", ","), "0.1", "0,1"},
  };
  for (const auto& c : cases) Check(c);
}

TEST(FormatValue, PictureFormatsWhenTheFormatHasAHash) {
  const Case cases[] = {
      {Value(1234.5), Format(kNumeric, "#,##0.00"), "1,234.50", "1.234,50"},
      {Value(1234.5), Format(kNumeric, "#,##0.00", ","), "1,234,50", "1.234,50"},
      {Value(1234567), Format(kNumeric, "#,##0"), "1,234,567", "1.234.567"},
      {Value(0.5), Format(kNumeric, "#.##"), ".5", ",5"},
      {Value(0), Format(kNumeric, "#"), "", ""},
      {Value(-5), Format(kNumeric, "#,##0.00;(#,##0.00);zero"), "(5.00)", "(5,00)"},
      {Value(0), Format(kNumeric, "#,##0.00;(#,##0.00);zero"), "zero", "zero"},
      {Value("x"), Format(kNumeric, "#,##0.00"), "x", "x"},
      // Without '#' a format is printf-style, and "0.00" is plain text there.
      {Value(1.5), Format(kNumeric, "0.00"), "0.00", "0.00"},
  };
  for (const auto& c : cases) Check(c);
}

TEST(FormatFloat, DigitPlaceholdersLiteralsAndSections) {
  struct Picture {
    const char* picture;
    double value;
    const char* text;
  } const cases[] = {
      {"0.00", -0.001, "0.00"},  // rounded to zero: no sign
      {"0.0", -2.5, "-2.5"},
      {"000", 7, "007"},
      {"'Tot: '0.0", 2.25, "Tot: 2.3"},
      {"\"n. \"0", 3, "n. 3"},
      {"00-00", 1234, "12-34"},
      {"00-00", 123456, "1234-56"},  // extra digits go to the first placeholder
      {"0.###", 1.5, "1.5"},
      {"0.000", 1.5, "1.500"},
      {".##", 12.5, "12.5"},
      {"#,##0", 999.5, "1,000"},
      {"#,##0;;", -3, "-3"},  // an empty section means the first one
      {"0", 1e20, "100000000000000000000"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatFloat(c.picture, c.value, {}), c.text) << c.picture << " " << c.value;
  }
  EXPECT_FALSE(FormatFloat("0.00", std::numeric_limits<double>::infinity(), {}));
}

TEST(FormatValue, DateTimePictures) {
  const DateTime created{40525.9485128241};  // 13 December 2010, 22:45:51
  constexpr auto kDate = FormatKind::fkDateTime;
  const Case cases[] = {
      {Value(created), Format(kDate, "dd/mm/yyyy hh:nn"), "13/12/2010 22:45", "13/12/2010 22:45"},
      {Value(created), Format(kDate, "dddd d mmmm yyyy"), "Monday 13 December 2010",
       "lunedì 13 dicembre 2010"},
      {Value(created), Format(kDate, "ddd d mmm"), "Mon 13 Dec", "Mon 13 Dec"},
      {Value(created), Format(kDate, "ddddd"), "12/13/2010", "13/12/2010"},
      {Value(created), Format(kDate, "hh:mm:ss"), "22:45:51", "22:45:51"},  // m after h: minutes
      {Value(created), Format(kDate, "h:nn am/pm"), "10:45 pm", "10:45 pm"},
      {Value(created), Format(kDate, "h A/P"), "10 P", "10 P"},
      {Value(created), Format(kDate, "yy-m-d"), "10-12-13", "10-12-13"},
      {Value(created), Format(kDate, "'Ore' t"), "Ore 10:45 PM", "Ore 22:45"},
      {Value(created), Format(kDate, "\"d\" d"), "d 13", "d 13"},
      {Value(created), Format(kDate, ""), "12/13/2010 10:45:51 PM", "13/12/2010 22:45:51"},
      {Value(40525), Format(kDate, "dd/mm/yyyy"), "13/12/2010", "13/12/2010"},
      {Value("ieri"), Format(kDate, "dd/mm/yyyy"), "ieri", "ieri"},
      {Value(1e300), Format(kDate, "dd/mm/yyyy"), "1E300", "1E300"},
  };
  for (const auto& c : cases) Check(c);

  // The settings' own forms may not refer to themselves without end.
  FormatSettings looping = English();
  looping.dates.shortDateFormat = "ddddd c";
  EXPECT_EQ(FormatValue(Value(created), Format(kDate, "ddddd"), looping), " ");
}

TEST(FormatValue, BooleanTexts) {
  constexpr auto kBoolean = FormatKind::fkBoolean;
  const Case cases[] = {
      {Value(true), Format(kBoolean, "Sì,No"), "Sì", "Sì"},
      {Value(false), Format(kBoolean, "Sì,No"), "No", "No"},
      {Value(1), Format(kBoolean, "Sì,No"), "Sì", "Sì"},
      {Value("True"), Format(kBoolean, "Sì,No"), "Sì", "Sì"},
      {Value("forse"), Format(kBoolean, "Sì,No"), "No", "No"},
      {Value(true), Format(kBoolean, "a,b,c"), "a", "a"},
      {Value(false), Format(kBoolean, "a,b,c"), "b,c", "b,c"},
      {Value(true), Format(kBoolean, "Solo"), "Solo", "Solo"},
      {Value(false), Format(kBoolean, "Solo"), "", ""},
  };
  for (const auto& c : cases) Check(c);
}

}  // namespace
}  // namespace report::expr
