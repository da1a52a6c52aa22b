#include "regional/format.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using regional::FormatArg;

std::optional<std::string> F(const char* format, std::vector<FormatArg> args) {
  regional::Regional r;
  r.decimalSeparator = ",";
  r.thousandSeparator = ".";
  r.positivePrefix = "";
  r.positiveSuffix = " €";
  r.negativePrefix = "-";
  r.negativeSuffix = " €";
  return regional::Format(format, args, r);
}

TEST(Format, DirectivesWithWidthPrecisionAndIndex) {
  struct Case {
    const char* format;
    std::vector<FormatArg> args;
    const char* text;
  } const cases[] = {
      {"La Palla Costa  %m", {0.1}, "La Palla Costa  0,10 €"},
      {"  Vecchie Lire  %f ", {515.3632}, "  Vecchie Lire  515,36 "},
      {"%2.2m", {1234.5}, "1.234,50 €"},
      {"%12.2m", {3.0}, "      3,00 €"},
      {"%-6d|", {std::int64_t{42}}, "42    |"},
      {"%.4d", {std::int64_t{-7}}, "-0007"},
      {"%5.1f", {2.25}, "  2,3"},
      {"%x", {std::int64_t{255}}, "FF"},
      {"%n", {1234567.0}, "1.234.567,00"},
      {"%g", {0.5}, "0,5"},
      {"%.3s", {std::string("àbcd")}, "àbc"},
      {"%1:s %0:s", {std::string("a"), std::string("b")}, "b a"},
      {"100%%", {}, "100%"},
      {"%D", {std::int64_t{3}}, "3"},
  };
  for (const auto& c : cases) {
    const auto text = F(c.format, c.args);
    ASSERT_TRUE(text) << c.format;
    EXPECT_EQ(*text, c.text) << c.format;
  }
}

TEST(Format, MismatchesAndMalformedFormatsGiveNothing) {
  EXPECT_FALSE(F("%d", {1.5}));
  EXPECT_FALSE(F("%f", {std::int64_t{1}}));
  EXPECT_FALSE(F("%s", {1.5}));
  EXPECT_FALSE(F("%d %d", {std::int64_t{1}}));
  EXPECT_FALSE(F("%", {std::int64_t{1}}));
  EXPECT_FALSE(F("%5.", {1.0}));
  EXPECT_FALSE(F("%q", {1.0}));
  EXPECT_FALSE(F("%3:d", {std::int64_t{1}}));
}

}  // namespace
