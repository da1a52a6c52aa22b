#pragma once

#include <QColor>
#include <QImage>

// Pictures of our own making for the sample folder: landscapes, a target and
// a still life of cartridges, drawn with shapes and gradients only (no text,
// so no fonts are needed when the build runs this).
namespace photo_gen {

struct Palette {
  QColor skyTop;
  QColor skyBottom;
  QColor sun;
  QColor hillNear;
  QColor hillFar;
};

// Sky, sun and two ranges of hills; `seed` moves the hills.
QImage Landscape(int width, int height, const Palette& palette, unsigned seed);

// A shooting target: rings on a card, a few hits.
QImage Target(int width, int height, unsigned seed);

// Brass cartridges standing in a row on a dark cloth.
QImage Cartridges(int width, int height, int count);

// A round bullet tip on a transparent field, for an icon.
QImage BulletIcon(int side);

}  // namespace photo_gen
