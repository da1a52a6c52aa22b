#include "loads/calculator.h"

#include <cmath>
#include <limits>

#include "regional/format.h"

namespace loads {

namespace {

// The floating-point and conversion faults the calculation reports; they stop
// the step that raised them.
struct Fault {
  std::string text;
};

constexpr std::string_view kZeroDivide = "Floating point division by zero";
constexpr std::string_view kInvalidOp = "Invalid floating point operation";
constexpr std::string_view kOverflow = "Floating point overflow";

std::string NotAFloat(std::string_view text) {
  return "'" + std::string(text) + "' is not a valid floating point value";
}

double ReadFloat(const std::string& text, const regional::Regional& regional) {
  const auto value = regional::ParseFloat(text, regional);
  if (!value) throw Fault{NotAFloat(text)};
  return *value;
}

// Overflow and division by zero are errors here, not infinities: a cost
// nobody can read must not reach the labels.
double Checked(double result) {
  if (std::isinf(result)) throw Fault{std::string(kOverflow)};
  if (std::isnan(result)) throw Fault{std::string(kInvalidOp)};
  return result;
}

double Divide(double dividend, double divisor) {
  if (divisor == 0) {
    throw Fault{std::string(dividend == 0 || std::isnan(dividend) ? kInvalidOp : kZeroDivide)};
  }
  return Checked(dividend / divisor);
}

const std::string& In(const CostInputs& inputs, CostInput which) {
  return inputs[static_cast<std::size_t>(which)];
}

std::string Written(std::string_view format, double value, const regional::Regional& regional) {
  const regional::FormatArg arg = value;
  auto text = regional::Format(format, std::span(&arg, 1), regional);
  return text ? std::move(*text) : std::string(format);
}

// The case cost is its own guarded step: a reuse count that is not a whole
// number greater than zero costs nothing and is reported, the rest of the
// calculation still runs. Negative counts are refused too, since a negative
// case cost would lower the cartridge price.
double CaseCost(const std::string& usesText, double casePrice, std::vector<Message>& messages) {
  const auto uses = regional::ParseInteger(usesText);
  if (!uses || *uses <= 0) {
    messages.push_back({MessageKind::Plain, std::string(kCaseUsesMessage), {}});
    return 0;
  }
  return casePrice / static_cast<double>(*uses);
}

}  // namespace

Calculation Calculate(const CostInputs& inputs, const regional::Regional& regional) {
  Calculation result;
  try {
    const double bulletPrice = ReadFloat(In(inputs, CostInput::CoPalle), regional);
    const double bulletCost = Divide(bulletPrice, ReadFloat(In(inputs, CostInput::Palle), regional));
    const double primerPrice = ReadFloat(In(inputs, CostInput::CoInn), regional);
    const double primerCost =
        Divide(primerPrice, ReadFloat(In(inputs, CostInput::Inneschi), regional));
    const double grainPrice =
        Divide(ReadFloat(In(inputs, CostInput::CoPol), regional), kGrainsPerKilogram);
    const double powderCost =
        Checked(grainPrice * ReadFloat(In(inputs, CostInput::Polvere), regional));
    const double casePrice = ReadFloat(In(inputs, CostInput::CoBoss), regional);
    const double caseCost = CaseCost(In(inputs, CostInput::Bossoli), casePrice, result.messages);

    const double total = Checked(Checked(Checked(bulletCost + primerCost) + powderCost) + caseCost);
    const double cents = Checked(total * 100);
    const double lire = Checked(total * kLirePerEuro);
    const double box = Checked(total * kBoxSize);
    const double boxLire = Checked(lire * kBoxSize);

    result.labels = CostLabels{
        Written("La Palla Costa  %m", bulletCost, regional),
        Written("L'innesco Costa  %m", primerCost, regional),
        Written("La Polvere Costa  %m", powderCost, regional),
        Written("Il Bossolo Costa  %m", caseCost, regional),
        Written("  Centesimi di  %m  ", cents, regional),
        Written("  Vecchie Lire  %f ", lire, regional),
        Written("      %m     ", box, regional),
        Written("  Vecchie Lire  %f ", boxLire, regional),
    };
  } catch (const Fault& fault) {
    result.messages.push_back({MessageKind::Error, fault.text, {}});
    result.labels.reset();
  }
  return result;
}

bool IsValidFloat(std::string_view text, const regional::Regional& regional) {
  return regional::ParseFloat(text, regional).has_value();
}

}  // namespace loads
