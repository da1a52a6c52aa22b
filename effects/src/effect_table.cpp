#include "effects/effect_table.h"

#include <cstddef>

#include "block_moves/block_moves.h"
#include "fades_and_blinds/fades_and_blinds.h"
#include "shapes_and_dissolves/shapes_and_dissolves.h"
#include "strip_reveals/strip_reveals.h"

namespace effects {

namespace {

// The names are shown to the user and stored as they are, including the
// misspellings of rows 76, 135, 136 and 146 to 149, and the names that rows 33
// and 34 share with rows 18 and 25.
constexpr std::array<std::string_view, kEffectCount> kNames = {
    "Expand from right",
    "Expand from left",
    "Slide in from right",
    "Slide in from left",
    "Reveal from left",
    "Reveal from right",
    "Expand in from right",
    "Expand in from left",
    "Expand in to middle",
    "Expand out from middle",
    "Reveal out from middle",
    "Reveal in from sides",
    "Expand in from sides",
    "Unroll from left",
    "Unroll from right",
    "Build up from right",
    "Build up from left",
    "Expand from bottom",
    "Expand from top",
    "Slide in from bottom",
    "Slide in from top",
    "Reveal from top",
    "Reveal from bottom",
    "Expand in from bottom",
    "Expand in from top",
    "Expand in to middle (horizontal)",
    "Expand out from middle (horizontal)",
    "Reveal from middle (horizontal)",
    "Slide in from top and bottom",
    "Expand in from top and bottom",
    "Unroll from top",
    "Unroll from bottom",
    "Expand from bottom",
    "Expand in from top",
    "Expand from bottom right",
    "Expand from top right",
    "Expand from top left",
    "Expand from bottom left",
    "Slide in from bottom right",
    "Slide in from top right",
    "Slide in from top left",
    "Slide in from bottom left",
    "Reveal from top left",
    "Reveal from bottom left",
    "Reveal from bottom right",
    "Reveal from top right",
    "Appear and Contract to top left",
    "Appear and Contract to bottom left",
    "Appear and Contract to bottom right",
    "Appear and Contract to top right",
    "Appear and Contract to middle",
    "Expand out from centre",
    "Reveal out from centre",
    "Reveal in to centre",
    "Quarters Reveal in to middle",
    "Quarters Expand to middle",
    "Quarters Slide in to middle",
    "Curved Reveal from left",
    "Curved Reveal from right",
    "Bars in from right",
    "Bars in from left",
    "Bars left then right",
    "Bars right then left",
    "Bars from both sides",
    "Uneven shred from right",
    "Uneven shred from left",
    "Uneven shred out from middle (horizontal)",
    "Uneven shred in to middle (horizontal)",
    "Curved Reveal from top",
    "Curved Reveal from bottom",
    "Bars from bottom",
    "Bars from top",
    "Bars top then bottom",
    "Bars bottom then top",
    "Bars from top and bottom",
    "Unven shred from bottom",
    "Uneven shred from top",
    "Uneven shred from horizon",
    "Uneven shred in to horizon",
    "Curved reveal from top left",
    "Curved reveal from top right",
    "Curved reveal from bottom left",
    "Curved reveal from bottom right",
    "Elliptic reveal out from centre",
    "Elliptic reveal in to centre",
    "Criss Cross reveal from bottom right",
    "Criss Cross reveal from top right",
    "Criss Cross reveal from bottom left",
    "Criss Cross reveal from top left",
    "Criss Cross reveal bounce from top left",
    "Criss Cross reveal bounce from bottom left",
    "Criss Cross reveal bounce from top right",
    "Criss Cross reveal bounce from bottom right",
    "Criss Cross reveal from right top and bottom",
    "Criss Cross reveal from left top and bottom",
    "Criss Cross reveal from left right and bottom",
    "Criss Cross reveal from left right and top",
    "Criss Cross reveal from top left right and bottom",
    "Criss Cross reveal from bottom left top right",
    "Uneven shred from bottom and right",
    "Uneven shred from top and right",
    "Uneven shred from bottom and left",
    "Uneven shred from top and left",
    "Uneven shred from horizon and right",
    "Uneven shred from horizon and left",
    "Uneven shred from bottom and vert middle",
    "Uneven shred from top and vert middle",
    "Uneven shred from centre",
    "Uneven shred to centre",
    "Reveal diagonal from top left",
    "Reveal diagonal from top right",
    "Reveal diagonal from bottom left",
    "Reveal diagonal from bottom right",
    "Diagonal sweep from top left bottom right anticlockwise",
    "Diagonal sweep from top left bottom right clockwise",
    "Starburst clockwise from center",
    "Starburst anticlockwise from center",
    "Triangular shred",
    "Fade",
    "Pivot from top left",
    "Pivot from bottom left",
    "Pivot from top right",
    "Pivot from bottom right",
    "Speckle appear from right",
    "Speckle appear from left",
    "Speckle appear from bottom",
    "Speckle appear from top",
    "Random squares appear",
    "Push right",
    "Push left",
    "Push and squeeze right",
    "Push and squeeze left",
    "Push down",
    "Push up",
    "Push and sqeeze down",
    "Push and sqeeze up",
    "Blind vertically",
    "Blind horizontally",
    "Uneven blind from left",
    "Uneven blind from right",
    "Uneven blind from top",
    "Uneven blind from bottom",
    "Rectangular shred",
    "Sweep clockwise",
    "Sweep anticlockwise",
    "Rectangles apear from left and disapear to right",
    "Rectangles apear from right and disapear to left",
    "Rectangles apear from up and disapear to bottom",
    "Rectangles apear from bottom and disapear to up",
    "Rotational rectangle in center",
    "Rotational star in center",
    "Spiral rectangle",
    "Circular shred",
    "Reveal V from left",
    "Reveal V from right",
    "Reveal V from top",
    "Reveal V from bottom",
    "Bow Tie Horizontal",
    "Bow Tie Vertical",
    "Diagonal Cross In",
    "Diagonal Cross Out",
    "Zigzag Horizontal",
    "Zigzag Vertical",
    "Diamond shred",
    "Reveal diamond out from centre",
    "Reveal diamond in to centre",
    "Diagonal Box Out",
    "Pixelate",
    "Dissolve",
    "Random Bars Horizontal",
    "Random Bars Vertical",
    "Channel Mix",
    "Slide out from right",
    "Slide out from left",
    "Slide out from bottom",
    "Slide out from top",
};

// Puts a family's procedures at its rows and returns the row after its last.
template <std::size_t N>
constexpr int Place(std::array<Effect, kEffectCount>& table, int firstRow, int expectedFirst,
                    const std::array<EffectProc, N>& procs) {
  // A family that does not start where the previous one ended would leave a
  // row without its family or give it two; this fails the build.
  if (firstRow != expectedFirst) throw "effect families must tile the table";
  for (std::size_t i = 0; i < N; ++i) table[std::size_t(firstRow) - 1 + i].Proc = procs[i];
  return firstRow + static_cast<int>(N);
}

constexpr std::array<Effect, kEffectCount> Assemble() {
  std::array<Effect, kEffectCount> table{};
  for (std::size_t i = 0; i < table.size(); ++i) table[i] = Effect{kNames[i], nullptr};
  int next = 1;
  next = Place(table, block_moves::kFirstRow, next, block_moves::kProcs);
  next = Place(table, strip_reveals::kFirstRow, next, strip_reveals::kProcs);
  next = Place(table, fades_and_blinds::kFirstRow, next, fades_and_blinds::kProcs);
  next = Place(table, shapes_and_dissolves::kFirstRow, next, shapes_and_dissolves::kProcs);
  if (next != kEffectCount + 1) throw "effect families must cover every row";
  return table;
}

char LowerAscii(char c) noexcept { return (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

}  // namespace

constinit const std::array<Effect, kEffectCount> EffectTable = Assemble();

const Effect* EffectRow(int style) noexcept {
  if (style < 1 || style > kEffectCount) return nullptr;
  return &EffectTable[std::size_t(style) - 1];
}

std::optional<int> FindEffectStyle(std::string_view name) noexcept {
  for (std::size_t i = 0; i < EffectTable.size(); ++i) {
    if (EqualIgnoringCase(EffectTable[i].Name, name)) return static_cast<int>(i) + 1;
  }
  return std::nullopt;
}

}  // namespace effects
