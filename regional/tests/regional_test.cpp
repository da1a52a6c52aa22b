#include "regional/regional.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

using regional::Regional;

Regional Italian() {
  Regional r;
  r.decimalSeparator = ",";
  r.thousandSeparator = ".";
  r.currencySymbol = "€";
  r.positivePrefix = "";
  r.positiveSuffix = " €";
  r.negativePrefix = "-";
  r.negativeSuffix = " €";
  return r;
}

struct MoneyCase {
  double value;
  int decimals;
  const char* us;
  const char* it;
};

TEST(FormatMoney, RoundsHalvesAwayFromZeroAndGroupsThousands) {
  const MoneyCase cases[] = {
      {0.0, -1, "$0.00", "0,00 €"},
      {0.125, -1, "$0.13", "0,13 €"},
      {1.005, -1, "$1.01", "1,01 €"},  // 1.00499999... in binary, 1.005 to a reader
      {1234.5, -1, "$1,234.50", "1.234,50 €"},
      {-1234.5, -1, "-$1,234.50", "-1.234,50 €"},
      {-0.004, -1, "$0.00", "0,00 €"},  // rounds to zero: no minus sign
      {999.995, 2, "$1,000.00", "1.000,00 €"},
      {1234567.891, 0, "$1,234,568", "1.234.568 €"},
      {26.62, 2, "$26.62", "26,62 €"},
      {0.1, 4, "$0.1000", "0,1000 €"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(regional::FormatMoney(c.value, Regional{}, c.decimals), c.us) << c.value;
    EXPECT_EQ(regional::FormatMoney(c.value, Italian(), c.decimals), c.it) << c.value;
  }
}

TEST(FormatFixed, TwoDecimalsNoGroupingLeadingMinus) {
  EXPECT_EQ(regional::FormatFixed(515.3632, 2, Italian()), "515,36");
  EXPECT_EQ(regional::FormatFixed(25768.1648, 2, Italian()), "25768,16");
  EXPECT_EQ(regional::FormatFixed(-3.5, 2, Regional{}), "-3.50");
  EXPECT_EQ(regional::FormatFixed(2.675, 2, Regional{}), "2.68");
  EXPECT_EQ(regional::FormatNumber(-1234567.5, 1, Italian()), "-1.234.567,5");
}

TEST(FormatGeneral, ShortestFormUpToFifteenDigits) {
  struct Case {
    double value;
    const char* text;
  } const cases[] = {
      {66.0, "66"},
      {27.5, "27,5"},
      {0.1 + 0.2, "0,3"},
      {-2.25, "-2,25"},
      {123456789012345.0, "123456789012345"},
      {1e15, "1E15"},
      {1e20, "1E20"},
      {1.5e-7, "1,5E-7"},
      {0.00001, "0,00001"},
      {0.0, "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(regional::FormatGeneral(c.value, Italian()), c.text);
  EXPECT_EQ(regional::FormatGeneral(std::numeric_limits<double>::infinity(), Italian()), "INF");
}

TEST(FormatScientific, MantissaAndThreeDigitExponent) {
  EXPECT_EQ(regional::FormatScientific(1234.5, 4, Regional{}), "1.235E+003");
  EXPECT_EQ(regional::FormatScientific(-0.00012, 2, Italian()), "-1,2E-004");
}

TEST(ParseFloat, LocaleSeparatorBlanksAndExponentOnly) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  } const cases[] = {
      {"12,5", true, 12.5},   {"  12,5  ", true, 12.5}, {"-0,25", true, -0.25},
      {"1,5e3", true, 1500},  {"1E-2", true, 0.01},     {",5", true, 0.5},
      {"5,", true, 5},        {"30", true, 30},         {"12.5", false, 0},
      {"1.234,5", false, 0},  {"€ 3", false, 0},        {"3 €", false, 0},
      {"", false, 0},         {"   ", false, 0},        {"abc", false, 0},
      {"1e", false, 0},       {"1e+", false, 0},        {"-", false, 0},
      {"1,2,3", false, 0},    {"1e400", false, 0},
  };
  for (const auto& c : cases) {
    const auto v = regional::ParseFloat(c.text, Italian());
    EXPECT_EQ(v.has_value(), c.ok) << '"' << c.text << '"';
    if (v && c.ok) {
      EXPECT_DOUBLE_EQ(*v, c.value) << c.text;
    }
  }
  EXPECT_DOUBLE_EQ(*regional::ParseFloat("12.5", Regional{}), 12.5);
  EXPECT_FALSE(regional::ParseFloat("12,5", Regional{}));
}

TEST(ParseInteger, SignAndDigitsAndNothingAfter) {
  EXPECT_EQ(regional::ParseInteger("5"), 5);
  EXPECT_EQ(regional::ParseInteger("  -12"), -12);
  EXPECT_EQ(regional::ParseInteger("+7"), 7);
  EXPECT_EQ(regional::ParseInteger("0"), 0);
  EXPECT_EQ(regional::ParseInteger("2147483647"), 2147483647);
  EXPECT_EQ(regional::ParseInteger("-2147483648"), std::numeric_limits<std::int32_t>::min());
  for (const char* bad : {"", " ", "2,5", "2.5", "5 ", "1e3", "2147483648", "x", "+", "0x10"}) {
    EXPECT_FALSE(regional::ParseInteger(bad)) << '"' << bad << '"';
  }
}

}  // namespace
