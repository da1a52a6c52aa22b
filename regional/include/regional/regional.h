#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// How the user's region writes numbers and money, as plain data so that the
// cores (calculator, report expressions) read and write numbers the user's way
// without depending on Qt. `regional_qt` fills it from a QLocale.
namespace regional {

struct Regional {
  std::string decimalSeparator = ".";  // UTF-8; one character in every real locale
  std::string thousandSeparator = ",";
  std::string currencySymbol = "$";
  int currencyDecimals = 2;
  // A money amount is prefix + digits + suffix, with separate affixes for
  // amounts below zero, e.g. "$" / "" and "-$" / "" (en_US), "" / " €" and
  // "-" / " €" (it_IT).
  std::string positivePrefix = "$";
  std::string positiveSuffix;
  std::string negativePrefix = "-$";
  std::string negativeSuffix;
};

// The settings of the C locale as Qt writes it: "." and "," and a dollar sign.
Regional Neutral();

// Decimal digits of |value| rounded to `decimals` places, halves away from
// zero, taken from the value's 15 significant digits (so 0.125 -> "0.13" and
// 1.005 -> "1.01", as a person reading the number expects). Returns the
// integer digits and the fraction digits; `decimals` is clamped to 0..18.
struct DecimalDigits {
  std::string integer;   // at least "0"
  std::string fraction;  // exactly `decimals` characters
  bool negative = false; // value < 0 and not rounded to zero
};
DecimalDigits RoundToDecimals(double value, int decimals);

// "%m": money in the region's form, with thousands separators and
// `decimals` places (-1: the region's currency decimals).
std::string FormatMoney(double value, const Regional& regional, int decimals = -1);
// "%f": fixed point, `decimals` places, no thousands separator, leading minus.
std::string FormatFixed(double value, int decimals, const Regional& regional);
// "%n": like "%f" with thousands separators.
std::string FormatNumber(double value, int decimals, const Regional& regional);
// General form: the shortest text with at most `precision` significant digits;
// exponent notation ("1E20", "1,5E-7") only when the value needs more integer
// digits than `precision` or is below 0.00001.
std::string FormatGeneral(double value, const Regional& regional, int precision = 15);
// "%e": d.ddddE+ddd with `precision` significant digits.
std::string FormatScientific(double value, int precision, const Regional& regional);

// Text to number with the region's decimal separator. Blanks before and after
// and an exponent part are accepted; thousands separators, currency signs and
// any other character are not. Empty or blank text does not convert.
std::optional<double> ParseFloat(std::string_view text, const Regional& regional);
// A whole number: optional leading blanks, an optional sign and decimal
// digits, and nothing after them; it must fit 32 bits.
std::optional<std::int32_t> ParseInteger(std::string_view text);

}  // namespace regional
