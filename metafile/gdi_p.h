#pragma once

#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QRegion>
#include <QRgb>
#include <QString>
#include <QTransform>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

// The drawing objects and device-context state both formats share, with the
// numeric values the two file formats store.
namespace metafile::detail {

// 0x00bbggrr; a top byte of 0x01 makes the low word a palette index.
using ColorRef = std::uint32_t;

namespace gdi {
// Mapping modes.
inline constexpr int kMmText = 1;
inline constexpr int kMmLoMetric = 2;
inline constexpr int kMmHiMetric = 3;
inline constexpr int kMmLoEnglish = 4;
inline constexpr int kMmHiEnglish = 5;
inline constexpr int kMmTwips = 6;
inline constexpr int kMmIsotropic = 7;
inline constexpr int kMmAnisotropic = 8;
// Background modes.
inline constexpr int kTransparent = 1;
inline constexpr int kOpaque = 2;
// Polygon fill modes.
inline constexpr int kAlternate = 1;
inline constexpr int kWinding = 2;
// Line raster operations.
inline constexpr int kR2CopyPen = 13;
inline constexpr int kR2Nop = 11;
// Text alignment bits.
inline constexpr std::uint32_t kTaUpdateCp = 0x0001;
inline constexpr std::uint32_t kTaRight = 0x0002;
inline constexpr std::uint32_t kTaCenter = 0x0006;
inline constexpr std::uint32_t kTaHorizontalMask = 0x0006;
inline constexpr std::uint32_t kTaBottom = 0x0008;
inline constexpr std::uint32_t kTaBaseline = 0x0018;
inline constexpr std::uint32_t kTaVerticalMask = 0x0018;
// Text output options.
inline constexpr std::uint32_t kEtoOpaque = 0x0002;
inline constexpr std::uint32_t kEtoClipped = 0x0004;
inline constexpr std::uint32_t kEtoGlyphIndex = 0x0010;
inline constexpr std::uint32_t kEtoPdy = 0x2000;
// Pen styles.
inline constexpr std::uint32_t kPsSolid = 0;
inline constexpr std::uint32_t kPsDash = 1;
inline constexpr std::uint32_t kPsDot = 2;
inline constexpr std::uint32_t kPsDashDot = 3;
inline constexpr std::uint32_t kPsDashDotDot = 4;
inline constexpr std::uint32_t kPsNull = 5;
inline constexpr std::uint32_t kPsInsideFrame = 6;
inline constexpr std::uint32_t kPsUserStyle = 7;
inline constexpr std::uint32_t kPsAlternate = 8;
inline constexpr std::uint32_t kPsStyleMask = 0x000F;
inline constexpr std::uint32_t kPsEndCapSquare = 0x0100;
inline constexpr std::uint32_t kPsEndCapFlat = 0x0200;
inline constexpr std::uint32_t kPsEndCapMask = 0x0F00;
inline constexpr std::uint32_t kPsJoinBevel = 0x1000;
inline constexpr std::uint32_t kPsJoinMiter = 0x2000;
inline constexpr std::uint32_t kPsJoinMask = 0xF000;
inline constexpr std::uint32_t kPsGeometric = 0x00010000;
// Brush styles.
inline constexpr std::uint32_t kBsNull = 1;
inline constexpr std::uint32_t kBsHatched = 2;
inline constexpr std::uint32_t kBsPattern = 3;
// Arc directions.
inline constexpr int kAdCounterClockwise = 1;
inline constexpr int kAdClockwise = 2;
// Region combination modes.
inline constexpr int kRgnAnd = 1;
inline constexpr int kRgnOr = 2;
inline constexpr int kRgnXor = 3;
inline constexpr int kRgnDiff = 4;
inline constexpr int kRgnCopy = 5;
// The plain-copy ternary raster operation of the bit-block records (the
// others are told apart by their index byte, see canvas_bitmap.cpp).
inline constexpr std::uint32_t kSrcCopy = 0x00CC0020;
// DIB colour table kinds.
inline constexpr std::uint32_t kDibRgbColors = 0;
inline constexpr std::uint32_t kDibPalColors = 1;
}  // namespace gdi

// The rectangle between two corners as the records give them (left, top,
// right, bottom), without reordering: a mirrored box stays mirrored.
inline QRectF BoxLtrb(double left, double top, double right, double bottom) {
  return QRectF(QPointF(left, top), QPointF(right, bottom));
}

struct Pen {
  std::uint32_t style = gdi::kPsSolid;
  double width = 0;  // logical units; 0 is one output pixel
  ColorRef color = 0;
  bool extended = false;        // from an extended pen record: wide pens keep their dashes
  std::vector<double> dashes;   // user style, logical units
};

enum class BrushKind { kSolid, kNull, kHatched, kPattern, kMonoPattern };

struct Brush {
  BrushKind kind = BrushKind::kSolid;
  ColorRef color = 0xFFFFFF;
  int hatch = 0;
  // Pattern pixels, one per output pixel. For kMonoPattern a Format_Mono
  // image whose 0 bits take the text colour and 1 bits the background colour.
  QImage pattern;
};

struct Font {
  int height = 0;  // logical units; < 0 character height, > 0 cell height, 0 default
  int width = 0;   // average character width, logical units; 0 for the font's own
  int escapement = 0;  // tenths of a degree, counter-clockwise
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint8_t charSet = 1;
  QString face;
};

struct Palette {
  std::vector<QRgb> entries;
};

// Rectangles of a region in the units of the record that made it. The
// bounds are kept, so that measuring a region that is used many times costs
// nothing (the load pass only measures).
struct Region {
  std::vector<QRectF> rects;
  QRectF bounds;

  void Add(const QRectF& rect) {
    const QRectF r = rect.normalized();
    rects.push_back(r);
    bounds = rects.size() == 1 ? r : bounds.united(r);
  }
};

using GdiObject = std::variant<std::monostate, Pen, Brush, Font, Palette, Region>;

// What SaveDC keeps and RestoreDC brings back. Selected objects are held by
// value, so deleting a selected object cannot leave the state dangling.
struct DcState {
  Pen pen;
  Brush brush;
  Font font;
  std::optional<Palette> palette;
  ColorRef textColor = 0x000000;
  ColorRef bkColor = 0xFFFFFF;
  int bkMode = gdi::kOpaque;
  int polyFillMode = gdi::kAlternate;
  int rop2 = gdi::kR2CopyPen;
  int stretchMode = 1;  // 4 (halftone) asks for smooth scaling
  std::uint32_t textAlign = 0;
  int mapMode = gdi::kMmText;
  QPointF windowOrg{0, 0};
  QPointF windowExt{1, 1};
  QPointF viewportOrg{0, 0};
  QPointF viewportExt{1, 1};
  QTransform world;  // logical to page units (EMF)
  QPointF currentPosition{0, 0};  // logical units
  int arcDirection = gdi::kAdCounterClockwise;
  double miterLimit = 10;
  QPointF brushOrigin{0, 0};  // device units
  // Output pixels; nullopt is the whole target.
  std::optional<QRegion> clip;
};

}  // namespace metafile::detail
