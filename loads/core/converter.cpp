#include <cmath>
#include <limits>

#include "loads/calculator.h"
#include "regional/regional.h"

namespace loads {

namespace {
// Pounds per kilogram as the price lists round it, kept in extended precision
// so that 30 gives exactly 66.
constexpr long double kPoundsPerKilogram = 2.2L;
}  // namespace

Conversion ConvertPoundPrice(std::string_view input, const regional::Regional& regional) {
  Conversion result;
  if (!IsValidFloat(input, regional)) {
    result.messages.push_back({MessageKind::Plain, std::string(kDataErrorMessage), {}});
  }
  const auto pounds = regional::ParseFloat(input, regional);
  if (!pounds) {
    result.messages.push_back({MessageKind::Plain, std::string(kConversionErrorMessage), {}});
    return result;
  }
  const auto product = static_cast<double>(static_cast<long double>(*pounds) * kPoundsPerKilogram);
  if (!std::isfinite(product)) {
    result.messages.push_back(
        {MessageKind::ConfirmBadData, std::string(kBadDataText), std::string(kBadDataCaption)});
    return result;
  }
  result.output = regional::FormatGeneral(product, regional);
  return result;
}

}  // namespace loads
