#include <gtest/gtest.h>

#include "report/print/page_numbers.h"

namespace report {
namespace {

using Kind = PageNumbersError::Kind;

struct Case {
  const char* text;
  int pageCount;
  std::vector<int> pages;
  std::optional<Kind> error = std::nullopt;
  const char* errorText = "";
};

std::vector<int> Range(int from, int to) {
  std::vector<int> pages;
  for (int page = from; page <= to; ++page) pages.push_back(page);
  return pages;
}

class PageNumbersTest : public ::testing::TestWithParam<Case> {};

TEST_P(PageNumbersTest, SelectsThePagesOrSaysWhy) {
  const Case& c = GetParam();
  const PageSelection got = ParsePageNumbers(QString::fromUtf8(c.text), c.pageCount);
  EXPECT_EQ(got.pages, c.pages);
  ASSERT_EQ(got.error.has_value(), c.error.has_value());
  if (c.error) {
    EXPECT_EQ(got.error->kind, *c.error);
    EXPECT_EQ(got.error->text.toStdString(), c.errorText);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, PageNumbersTest,
    ::testing::Values(
        Case{"", 4, Range(1, 4)},
        Case{"   ", 4, Range(1, 4)},
        Case{"1,3,5-12", 10, {1, 3, 5, 6, 7, 8, 9, 10}},
        Case{"4-", 6, {4, 5, 6}},
        Case{"2-,1", 3, {1, 2, 3}},
        Case{" 1 - 3 ", 9, {1, 2, 3}},
        Case{"1 0", 12, {10}},
        // Pages print in page order, once, whatever the order of the text.
        Case{"5,1,3-4,4", 9, {1, 3, 4, 5}},
        Case{"1,,3,", 3, {1, 3}},
        Case{"9-12", 10, {9, 10}},
        Case{"0-2", 5, {1, 2}},
        // Nothing left is an error, not "all pages".
        Case{"7-3", 10, {}, Kind::kNoPage, "7-3"},
        Case{"20", 10, {}, Kind::kNoPage, "20"},
        Case{"0", 10, {}, Kind::kNoPage, "0"},
        Case{",", 10, {}, Kind::kNoPage, ","},
        Case{"", 0, {}, Kind::kNoPage, ""},
        Case{"1,a", 10, {}, Kind::kNotANumber, "a"},
        Case{"1-b", 10, {}, Kind::kNotANumber, "b"},
        Case{"-3", 10, {}, Kind::kNotANumber, "-3"},
        Case{"1-2-3", 10, {}, Kind::kNotANumber, "1-2-3"},
        Case{"1.5", 10, {}, Kind::kNotANumber, "1.5"},
        Case{"+2", 10, {}, Kind::kNotANumber, "+2"},
        Case{"99999999999", 10, {}, Kind::kNotANumber, "99999999999"},
        Case{"1;2", 10, {}, Kind::kNotANumber, "1;2"}));

}  // namespace
}  // namespace report
