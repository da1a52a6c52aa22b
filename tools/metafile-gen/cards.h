#pragma once

#include "byte_sink.h"

#include <string>
#include <vector>

namespace metafile_gen {

// One square of a test card: what it shows and where, pixels at the card's own size.
struct Cell {
  std::string name;
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct Card {
  std::string file;  // e.g. "card-wmf-placeable.wmf"
  Bytes bytes;
  std::vector<Cell> cells;
};

struct Fixture {
  std::string file;
  Bytes bytes;
};

// The test cards: a grid of cells, each drawn with one record kind (or one
// feature of the device context), for WMF with and without the placeable
// header and for EMF; and a WMF card for comparing with another player.
std::vector<Card> TestCards();

// Broken and borderline files, one fault each; the player must refuse the
// "bad-" ones with an error and play the "ok-" ones with a warning.
std::vector<Fixture> BadInputFixtures();

// "name left top width height" lines.
std::string CellManifest(const Card& card);

}  // namespace metafile_gen
