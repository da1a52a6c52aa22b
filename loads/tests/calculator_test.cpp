#include "loads/calculator.h"

#include <gtest/gtest.h>

namespace loads {
namespace {

regional::Regional Italian() {
  regional::Regional r;
  r.decimalSeparator = ",";
  r.thousandSeparator = ".";
  r.currencySymbol = "€";
  r.positivePrefix = "";
  r.positiveSuffix = " €";
  r.negativePrefix = "-";
  r.negativeSuffix = " €";
  return r;
}

regional::Regional American() { return regional::Neutral(); }  // "$1,234.50"

Message Plain(std::string_view text) { return {MessageKind::Plain, std::string(text), {}}; }
Message Error(std::string_view text) { return {MessageKind::Error, std::string(text), {}}; }

struct CalcCase {
  const char* name;
  regional::Regional regional;
  CostInputs inputs;
  std::vector<Message> messages;
  std::optional<CostLabels> labels;  // empty: every label keeps its text
};

const CostInputs kExampleUs{"10", "100", "5", "100", "50", "5", "0.5", "5"};

class CalculatorTest : public ::testing::TestWithParam<CalcCase> {};

TEST_P(CalculatorTest, WritesLabelsAndMessages) {
  const CalcCase& c = GetParam();
  const Calculation result = Calculate(c.inputs, c.regional);
  EXPECT_EQ(result.messages, c.messages);
  ASSERT_EQ(result.labels.has_value(), c.labels.has_value());
  if (c.labels) {
    for (std::size_t i = 0; i < kCostLabelCount; ++i) {
      EXPECT_EQ((*result.labels)[i], (*c.labels)[i]) << "label " << i;
    }
  }
}

CostLabels ExampleUs(const char* caseCost, const char* cents, const char* lire, const char* box,
                     const char* boxLire) {
  return {"La Palla Costa  $0.10",
          "L'innesco Costa  $0.05",
          "La Polvere Costa  $0.02",
          std::string("Il Bossolo Costa  ") + caseCost,
          std::string("  Centesimi di  ") + cents + "  ",
          std::string("  Vecchie Lire  ") + lire + " ",
          std::string("      ") + box + "     ",
          std::string("  Vecchie Lire  ") + boxLire + " "};
}

// Without the case: 0.1 + 0.05 + 50 / 15432 * 5 = 0.16620010368...
const CostLabels kNoCaseUs = ExampleUs("$0.00", "$16.62", "321.76", "$8.31", "16088.17");

CostInputs WithCaseUses(const char* uses) {
  CostInputs in = kExampleUs;
  in[static_cast<std::size_t>(CostInput::Bossoli)] = uses;
  return in;
}

CostInputs With(CostInput which, const char* text) {
  CostInputs in = kExampleUs;
  in[static_cast<std::size_t>(which)] = text;
  return in;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalculatorTest,
    ::testing::Values(
        CalcCase{"example_en_US", American(), kExampleUs, {},
                 ExampleUs("$0.10", "$26.62", "515.36", "$13.31", "25768.17")},
        CalcCase{"example_it_IT", Italian(),
                 {"10", "100", "5", "100", "50", " 5 ", "0,5", "5"}, {},
                 CostLabels{"La Palla Costa  0,10 €", "L'innesco Costa  0,05 €",
                            "La Polvere Costa  0,02 €", "Il Bossolo Costa  0,10 €",
                            "  Centesimi di  26,62 €  ", "  Vecchie Lire  515,36 ",
                            "      13,31 €     ", "  Vecchie Lire  25768,17 "}},
        CalcCase{"exponent_accepted", American(), With(CostInput::CoPalle, "1e1"), {},
                 ExampleUs("$0.10", "$26.62", "515.36", "$13.31", "25768.17")},
        CalcCase{"case_uses_zero", American(), WithCaseUses("0"),
                 {Plain(kCaseUsesMessage)}, kNoCaseUs},
        CalcCase{"case_uses_negative", American(), WithCaseUses("-5"),
                 {Plain(kCaseUsesMessage)}, kNoCaseUs},
        CalcCase{"case_uses_not_whole", American(), WithCaseUses("2.5"),
                 {Plain(kCaseUsesMessage)}, kNoCaseUs},
        CalcCase{"case_uses_not_whole_it", Italian(),
                 {"10", "100", "5", "100", "50", "5", "0,5", "2,5"},
                 {Plain(kCaseUsesMessage)},
                 CostLabels{"La Palla Costa  0,10 €", "L'innesco Costa  0,05 €",
                            "La Polvere Costa  0,02 €", "Il Bossolo Costa  0,00 €",
                            "  Centesimi di  16,62 €  ", "  Vecchie Lire  321,76 ",
                            "      8,31 €     ", "  Vecchie Lire  16088,17 "}},
        CalcCase{"case_uses_empty", American(), WithCaseUses(""),
                 {Plain(kCaseUsesMessage)}, kNoCaseUs},
        CalcCase{"bullets_zero", American(), With(CostInput::Palle, "0"),
                 {Error("Floating point division by zero")}, std::nullopt},
        CalcCase{"bullets_zero_and_free", American(), {"0", "0", "5", "100", "50", "5", "0.5", "5"},
                 {Error("Invalid floating point operation")}, std::nullopt},
        CalcCase{"primers_zero", American(), With(CostInput::Inneschi, "0"),
                 {Error("Floating point division by zero")}, std::nullopt},
        // The first text that does not convert is the one reported.
        CalcCase{"unreadable_text", American(), With(CostInput::CoPol, "50 euro"),
                 {Error("'50 euro' is not a valid floating point value")}, std::nullopt},
        CalcCase{"comma_in_dot_locale", American(), With(CostInput::CoBoss, "0,5"),
                 {Error("'0,5' is not a valid floating point value")}, std::nullopt},
        CalcCase{"dot_in_comma_locale", Italian(),
                 {"10", "100", "5", "100", "50", "5", "0.5", "5"},
                 {Error("'0.5' is not a valid floating point value")}, std::nullopt},
        CalcCase{"thousands_separator_refused", American(), With(CostInput::CoPalle, "1,000"),
                 {Error("'1,000' is not a valid floating point value")}, std::nullopt},
        // An unreadable price stops before the bad pack size is divided by.
        CalcCase{"order_of_reading", American(), {"x", "0", "", "", "", "", "", ""},
                 {Error("'x' is not a valid floating point value")}, std::nullopt},
        CalcCase{"empty_table", American(), {"", "", "", "", "", "", "", ""},
                 {Error("'' is not a valid floating point value")}, std::nullopt},
        CalcCase{"overflow", American(), {"1e308", "1e-308", "5", "100", "50", "5", "0.5", "5"},
                 {Error("Floating point overflow")}, std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

struct ConvCase {
  const char* name;
  regional::Regional regional;
  const char* input;
  std::vector<Message> messages;
  std::optional<std::string> output;
};

class ConverterTest : public ::testing::TestWithParam<ConvCase> {};

TEST_P(ConverterTest, WritesOutputAndMessages) {
  const ConvCase& c = GetParam();
  const Conversion result = ConvertPoundPrice(c.input, c.regional);
  EXPECT_EQ(result.messages, c.messages);
  EXPECT_EQ(result.output, c.output);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConverterTest,
    ::testing::Values(
        ConvCase{"initial_thirty", American(), "30", {}, "66"},
        ConvCase{"comma_locale", Italian(), "12,5", {}, "27,5"},
        ConvCase{"blanks_and_exponent", American(), " 1.25e1 ", {}, "27.5"},
        ConvCase{"large_uses_exponent", American(), "1e300", {}, "2.2E300"},
        ConvCase{"letters", American(), "trenta",
                 {Plain(kDataErrorMessage), Plain(kConversionErrorMessage)}, std::nullopt},
        ConvCase{"dot_in_comma_locale", Italian(), "12.5",
                 {Plain(kDataErrorMessage), Plain(kConversionErrorMessage)}, std::nullopt},
        ConvCase{"too_large", American(), "1.7e308",
                 {{MessageKind::ConfirmBadData, std::string(kBadDataText),
                   std::string(kBadDataCaption)}},
                 std::nullopt}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(IsValidFloat, FollowsTheRegion) {
  EXPECT_TRUE(IsValidFloat("2,5", Italian()));
  EXPECT_FALSE(IsValidFloat("2,5", American()));
  EXPECT_FALSE(IsValidFloat("", American()));
  EXPECT_FALSE(IsValidFloat("€5", Italian()));
}

}  // namespace
}  // namespace loads
