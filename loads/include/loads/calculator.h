#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "regional/regional.h"

// The cost calculator and the price converter of the main window, as plain
// functions of the texts the user sees: the window hands in the texts of its
// boxes and shows what comes back, so the rules can be checked case by case
// without a window.
namespace loads {

// How the window must show a message.
enum class MessageKind {
  Plain,          // text, OK, the application title as caption
  Error,          // the standard error box: the error's text, OK
  ConfirmBadData  // the "introdotti dati errati" question (OK/Cancel, stop icon)
};

struct Message {
  MessageKind kind = MessageKind::Plain;
  std::string text;
  std::string caption;  // only for ConfirmBadData

  friend bool operator==(const Message&, const Message&) = default;
};

// The eight cost boxes, in the order the calculator reads them.
enum class CostInput { CoPalle, Palle, CoInn, Inneschi, CoPol, Polvere, CoBoss, Bossoli };
inline constexpr std::size_t kCostInputCount = 8;
using CostInputs = std::array<std::string, kCostInputCount>;

// The eight result labels, in the order they are written.
enum class CostLabel { Palla, Innesco, Polvere, Bossolo, Centesimi, Lire, Euro50, Lire50 };
inline constexpr std::size_t kCostLabelCount = 8;
using CostLabels = std::array<std::string, kCostLabelCount>;

inline constexpr int kGrainsPerKilogram = 15432;
inline constexpr int kLirePerEuro = 1936;
inline constexpr int kBoxSize = 50;

inline constexpr std::string_view kCaseUsesMessage = "Divisione per zero non consentita";
inline constexpr std::string_view kBadDataText = "tornare al programma ? !";
inline constexpr std::string_view kBadDataCaption = "introdotti dati errati";
inline constexpr std::string_view kDataErrorMessage = "Errore nei Dati";
inline constexpr std::string_view kConversionErrorMessage = "Errore di conversione";

struct Calculation {
  // Messages to show, in order, before the labels are written.
  std::vector<Message> messages;
  // The new label texts; empty when the calculation stopped and every label
  // keeps the text it had.
  std::optional<CostLabels> labels;
};

// BitCalcolaClick without the window: reads the texts with the user's
// regional settings, computes the part costs and totals in double precision
// and writes the label texts.
Calculation Calculate(const CostInputs& inputs, const regional::Regional& regional);

struct Conversion {
  std::vector<Message> messages;
  // The new text of the output box; empty when it keeps its text.
  std::optional<std::string> output;
};

// BitconvertiClick without the window: a powder price per pound to a price per
// kilogram.
Conversion ConvertPoundPrice(std::string_view input, const regional::Regional& regional);

// True when the text converts to a floating-point number with these settings.
bool IsValidFloat(std::string_view text, const regional::Regional& regional);

}  // namespace loads
