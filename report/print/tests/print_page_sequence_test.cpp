#include <gtest/gtest.h>

#include "report/print/page_sequence.h"

namespace report {
namespace {

constexpr int B = kBlankSide;

struct Case {
  const char* name;
  std::vector<int> selected;
  SequenceOptions options;
  std::vector<int> sides;
};

SequenceOptions Opts(int copies, bool collate, bool reverse, PrintPages pages = PrintPages::ppAll,
                     bool twoSided = false) {
  return SequenceOptions{copies, collate, reverse, pages, twoSided};
}

class PageSequenceTest : public ::testing::TestWithParam<Case> {};

TEST_P(PageSequenceTest, SendsTheSidesInOrder) {
  const Case& c = GetParam();
  EXPECT_EQ(PageSequence(c.selected, c.options), c.sides) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Table, PageSequenceTest,
    ::testing::Values(
        Case{"one copy", {1, 2, 3}, Opts(1, true, false), {1, 2, 3}},
        Case{"one copy reversed", {1, 2, 3}, Opts(1, true, true), {3, 2, 1}},
        Case{"collated copies", {1, 2, 3}, Opts(2, true, false), {1, 2, 3, 1, 2, 3}},
        Case{"collated copies reversed", {1, 2, 3}, Opts(2, true, true), {3, 2, 1, 3, 2, 1}},
        Case{"uncollated copies", {1, 2, 3}, Opts(2, false, false), {1, 1, 2, 2, 3, 3}},
        Case{"uncollated copies reversed", {1, 2, 3}, Opts(3, false, true), {3, 3, 3, 2, 2, 2, 1, 1, 1}},
        Case{"odd pages", {1, 2, 3, 4, 5}, Opts(1, true, false, PrintPages::ppOdd), {1, 3, 5}},
        Case{"even pages", {1, 2, 3, 4, 5}, Opts(1, true, false, PrintPages::ppEven), {2, 4}},
        Case{"odd pages reversed, even count", {1, 2, 3, 4, 5, 6}, Opts(1, true, true, PrintPages::ppOdd),
             {5, 3, 1}},
        Case{"odd of a selection", {2, 3, 7, 8}, Opts(1, true, false, PrintPages::ppOdd), {3, 7}},
        Case{"two-sided collated pads each copy", {1, 2, 3}, Opts(2, true, false, PrintPages::ppAll, true),
             {1, 2, 3, B, 1, 2, 3, B}},
        Case{"two-sided with an even count needs no pad", {1, 2}, Opts(2, true, false, PrintPages::ppAll, true),
             {1, 2, 1, 2}},
        Case{"two-sided uncollated", {1, 2}, Opts(2, false, false, PrintPages::ppAll, true), {1, 1, 2, 2}},
        Case{"no copies means one", {1, 2}, Opts(0, true, false), {1, 2}},
        Case{"filter leaves nothing", {1, 3}, Opts(2, true, false, PrintPages::ppEven), {}},
        Case{"nothing selected", {}, Opts(2, true, false), {}}));

}  // namespace
}  // namespace report
