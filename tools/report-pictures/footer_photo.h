#pragma once

#include <QImage>

namespace report_pictures {

inline constexpr int kPhotoWidth = 1024;  // pixels
inline constexpr int kPhotoHeight = 768;  // pixels

// The photograph in the cost lists' page footer: a row of reloaded
// cartridges on a wooden bench, lit from the left, with film grain. Drawn
// from a fixed seed, so every run gives the same pixels.
QImage FooterPhoto();

}  // namespace report_pictures
