#pragma once

#include "metafile/metafile.h"

#include <QGuiApplication>
#include <QImage>
#include <QRect>
#include <QString>

#include <filesystem>
#include <string>
#include <vector>

// Helpers of the metafile player's tests.
namespace metafile_test {

// Text needs fonts, fonts need a QGuiApplication; every test that plays
// records calls this first.
void EnsureGuiApplication();

QByteArray ReadBytes(const std::filesystem::path& path);
std::filesystem::path DataDir();
// A folder below the build tree where tests leave pictures for a person to look at.
std::filesystem::path OutputDir();

struct CardCell {
  std::string name;
  QRect rect;  // pixels at the card's own size
};
std::vector<CardCell> ReadCells(const std::filesystem::path& path);

// The image over white, as RGB32.
QImage OnWhite(const QImage& image);

enum class Blends { kStrict, kAllowed };

// How far two pictures differ as a person sees it: a pixel matches when a
// pixel within `radius` of the same place in the other picture is within
// `tolerance` on every channel or, with Blends::kAllowed, when each of its
// channels lies within `tolerance` of the range the other picture's pixels
// there span (an antialiased edge mixes the colours on either side). The
// result is the larger share of unmatched pixels, seen from both sides, in `area`.
double MismatchShare(const QImage& a, const QImage& b, const QRect& area, int tolerance, int radius,
                     Blends blends = Blends::kStrict);

}  // namespace metafile_test
