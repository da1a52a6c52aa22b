#include "dib_p.h"
#include "player_p.h"
#include "text_codec_p.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace metafile::detail {

namespace {

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::size_t kMinHeaderBytes = 88;

// Record types.
enum : std::uint32_t {
  kHeader = 1,
  kPolyBezier = 2,
  kPolygon = 3,
  kPolyline = 4,
  kPolyBezierTo = 5,
  kPolylineTo = 6,
  kPolyPolyline = 7,
  kPolyPolygon = 8,
  kSetWindowExtEx = 9,
  kSetWindowOrgEx = 10,
  kSetViewportExtEx = 11,
  kSetViewportOrgEx = 12,
  kSetBrushOrgEx = 13,
  kEof = 14,
  kSetPixelV = 15,
  kSetMapMode = 17,
  kSetBkMode = 18,
  kSetPolyFillMode = 19,
  kSetRop2 = 20,
  kSetStretchBltMode = 21,
  kSetTextAlign = 22,
  kSetTextColor = 24,
  kSetBkColor = 25,
  kOffsetClipRgn = 26,
  kMoveToEx = 27,
  kExcludeClipRect = 29,
  kIntersectClipRect = 30,
  kScaleViewportExtEx = 31,
  kScaleWindowExtEx = 32,
  kSaveDc = 33,
  kRestoreDc = 34,
  kSetWorldTransform = 35,
  kModifyWorldTransform = 36,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrushIndirect = 39,
  kDeleteObject = 40,
  kAngleArc = 41,
  kEllipse = 42,
  kRectangle = 43,
  kRoundRect = 44,
  kArc = 45,
  kChord = 46,
  kPie = 47,
  kSelectPalette = 48,
  kCreatePalette = 49,
  kLineTo = 54,
  kArcTo = 55,
  kPolyDraw = 56,
  kSetArcDirection = 57,
  kSetMiterLimit = 58,
  kBeginPath = 59,
  kEndPath = 60,
  kCloseFigure = 61,
  kFillPath = 62,
  kStrokeAndFillPath = 63,
  kStrokePath = 64,
  kFlattenPath = 65,
  kWidenPath = 66,
  kSelectClipPath = 67,
  kAbortPath = 68,
  kFillRgn = 71,
  kFrameRgn = 72,
  kInvertRgn = 73,
  kPaintRgn = 74,
  kExtSelectClipRgn = 75,
  kBitBlt = 76,
  kStretchBlt = 77,
  kSetDiBitsToDevice = 80,
  kStretchDiBits = 81,
  kExtCreateFontIndirectW = 82,
  kExtTextOutA = 83,
  kExtTextOutW = 84,
  kPolyBezier16 = 85,
  kPolygon16 = 86,
  kPolyline16 = 87,
  kPolyBezierTo16 = 88,
  kPolylineTo16 = 89,
  kPolyPolyline16 = 90,
  kPolyPolygon16 = 91,
  kPolyDraw16 = 92,
  kCreateMonoBrush = 93,
  kCreateDibPatternBrushPt = 94,
  kExtCreatePen = 95,
  kPolyTextOutA = 96,
  kPolyTextOutW = 97,
  kSmallTextOut = 108,
  kAlphaBlend = 114,
  kTransparentBlt = 116,
  kGradientFill = 118,
};

constexpr std::uint32_t kStockObject = 0x80000000u;
constexpr std::uint32_t kEtoNoRect = 0x0100;
constexpr std::uint32_t kEtoSmallChars = 0x0200;

QRectF ReadRect(ByteReader& r) {
  const double left = r.I32();
  const double top = r.I32();
  const double right = r.I32();
  const double bottom = r.I32();
  return BoxLtrb(left, top, right, bottom);
}

QPointF ReadPoint(ByteReader& r) {
  const double x = r.I32();
  const double y = r.I32();
  return QPointF(x, y);
}

QTransform ReadXform(ByteReader& r) {
  const double m11 = r.F32();
  const double m12 = r.F32();
  const double m21 = r.F32();
  const double m22 = r.F32();
  const double dx = r.F32();
  const double dy = r.F32();
  return QTransform(m11, m12, m21, m22, dx, dy);
}

QString Utf16Text(const std::uint8_t* bytes, std::size_t characters) {
  QString text(static_cast<qsizetype>(characters), Qt::Uninitialized);
  for (std::size_t i = 0; i < characters; ++i) {
    text[static_cast<qsizetype>(i)] = QChar(static_cast<char16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
  }
  return text;
}

// The stock brushes: white, light grey, grey, dark grey, black, hollow, and the DC brush.
std::optional<Brush> StockBrush(std::uint32_t index) {
  Brush brush;
  switch (index & ~kStockObject) {
    case 0: brush.color = 0xFFFFFF; return brush;
    case 1: brush.color = 0xC0C0C0; return brush;
    case 2: brush.color = 0x808080; return brush;
    case 3: brush.color = 0x404040; return brush;
    case 4: brush.color = 0x000000; return brush;
    case 5: brush.kind = BrushKind::kNull; return brush;
    case 18: brush.color = 0xFFFFFF; return brush;
    default: return std::nullopt;
  }
}

class EmfWalker {
 public:
  EmfWalker(const PictureSetup& setup, Canvas& canvas, Diagnostics& diagnostics)
      : m_canvas(canvas), m_diagnostics(diagnostics) {
    m_objects.resize(static_cast<std::size_t>(std::clamp(setup.objectTableSize, 1, limits::kMaxObjects)));
  }

  // `record` holds the whole record, its 8-byte header included.
  std::optional<Error> Record(std::uint32_t type, ByteReader record);

 private:
  Error Short(std::uint32_t type) const {
    return m_diagnostics.MakeError(ErrorKind::kBadRecord,
                                   QStringLiteral("il record di tipo %1 è più corto dei suoi campi").arg(type));
  }
  Error Bad(const QString& message) const { return m_diagnostics.MakeError(ErrorKind::kBadRecord, message); }

  std::optional<Error> Points(ByteReader& r, std::uint64_t count, bool small, std::vector<QPointF>& points);
  std::optional<Error> Poly(std::uint32_t type, ByteReader& r, bool small);
  std::optional<Error> PolyPoly(std::uint32_t type, ByteReader& r, bool small);
  std::optional<Error> PolyDraw(std::uint32_t type, ByteReader& r, bool small);
  std::optional<Error> ReadRegion(ByteReader data, Region& region);
  std::optional<Error> RegionRecord(std::uint32_t type, ByteReader& r, const ByteReader& record);
  std::optional<Error> Blit(std::uint32_t type, ByteReader& r, const ByteReader& record);
  std::optional<Error> Dib(const ByteReader& record, std::uint32_t offInfo, std::uint32_t infoBytes,
                           std::uint32_t offBits, std::uint32_t bitsBytes, std::uint32_t usage, DibCheck& check,
                           ByteReader& info, ByteReader& bits);
  std::optional<Error> PatternBrush(std::uint32_t type, ByteReader& r, const ByteReader& record);
  std::optional<Error> ExtPen(ByteReader& r, const ByteReader& record);
  std::optional<Error> Font(ByteReader& r);
  std::optional<Error> EmrText(ByteReader& r, const ByteReader& record, bool wide);
  std::optional<Error> SmallText(ByteReader& r);
  std::optional<Error> Gradient(ByteReader& r);

  void Store(std::uint32_t index, GdiObject object) {
    if (index == 0 || (index & kStockObject) != 0 || index >= static_cast<std::uint32_t>(limits::kMaxObjects)) return;
    if (index >= m_objects.size()) m_objects.resize(index + 1);
    m_objects[index] = std::move(object);
  }
  const GdiObject* Object(std::uint32_t index) const {
    return index < m_objects.size() ? &m_objects[index] : nullptr;
  }
  void SelectStock(std::uint32_t index);

  Canvas& m_canvas;
  Diagnostics& m_diagnostics;
  std::vector<GdiObject> m_objects;
  std::int64_t m_points = 0;
};

std::optional<Error> EmfWalker::Points(ByteReader& r, std::uint64_t count, bool small,
                                       std::vector<QPointF>& points) {
  const std::uint64_t size = small ? 4 : 8;
  if (count > static_cast<std::uint64_t>(limits::kMaxPointsPerRecord)) {
    return m_diagnostics.MakeError(
        ErrorKind::kTooLarge,
        QStringLiteral("il record dichiara %1 punti, oltre il limite di %2").arg(count).arg(limits::kMaxPointsPerRecord));
  }
  if (count * size > r.Remaining()) {
    return Bad(QStringLiteral("il record dichiara %1 punti ma ne contiene %2").arg(count).arg(r.Remaining() / size));
  }
  m_points += static_cast<std::int64_t>(count);
  if (m_points > limits::kMaxPointsPerPicture) {
    return m_diagnostics.MakeError(ErrorKind::kTooLarge,
                                   QStringLiteral("il disegno ha più di %1 punti").arg(limits::kMaxPointsPerPicture));
  }
  points.resize(static_cast<std::size_t>(count));
  for (QPointF& point : points) {
    if (small) {
      const double x = r.I16();
      const double y = r.I16();
      point = QPointF(x, y);
    } else {
      point = ReadPoint(r);
    }
  }
  return std::nullopt;
}

std::optional<Error> EmfWalker::Poly(std::uint32_t type, ByteReader& r, bool small) {
  r.Skip(16);  // bounds
  const std::uint64_t count = r.U32();
  if (!r.Ok()) return Short(type);
  std::vector<QPointF> points;
  if (auto error = Points(r, count, small, points)) return error;
  const std::uint32_t kind = small ? type - (kPolyBezier16 - kPolyBezier) : type;
  switch (kind) {
    case kPolyBezier: m_canvas.PolyBezier(points); break;
    case kPolygon: m_canvas.Polygon(points); break;
    case kPolyline: m_canvas.Polyline(points); break;
    case kPolyBezierTo: m_canvas.PolyBezierTo(points); break;
    default: m_canvas.PolylineTo(points); break;
  }
  return std::nullopt;
}

std::optional<Error> EmfWalker::PolyPoly(std::uint32_t type, ByteReader& r, bool small) {
  r.Skip(16);
  const std::uint64_t polygons = r.U32();
  const std::uint64_t total = r.U32();
  if (!r.Ok()) return Short(type);
  if (polygons * 4 > r.Remaining()) {
    return Bad(QStringLiteral("il record dichiara %1 poligoni ma non ha spazio per contarli").arg(polygons));
  }
  std::vector<std::uint64_t> counts(static_cast<std::size_t>(polygons));
  std::uint64_t sum = 0;
  for (auto& count : counts) {
    count = r.U32();
    sum += count;
  }
  if (sum > total) {
    return Bad(QStringLiteral("i poligoni contano %1 punti ma il record ne dichiara %2").arg(sum).arg(total));
  }
  std::vector<QPointF> points;
  if (auto error = Points(r, total, small, points)) return error;
  std::vector<std::vector<QPointF>> shapes(counts.size());
  std::size_t next = 0;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    shapes[i].assign(points.begin() + static_cast<std::ptrdiff_t>(next),
                     points.begin() + static_cast<std::ptrdiff_t>(next + counts[i]));
    next += static_cast<std::size_t>(counts[i]);
  }
  const bool polygon = type == kPolyPolygon || type == kPolyPolygon16;
  if (polygon) {
    m_canvas.PolyPolygon(shapes);
  } else {
    m_canvas.PolyPolyline(shapes);
  }
  return std::nullopt;
}

std::optional<Error> EmfWalker::PolyDraw(std::uint32_t type, ByteReader& r, bool small) {
  r.Skip(16);
  const std::uint64_t count = r.U32();
  if (!r.Ok()) return Short(type);
  std::vector<QPointF> points;
  if (auto error = Points(r, count, small, points)) return error;
  if (count > r.Remaining()) return Bad(QStringLiteral("mancano i tipi dei punti del record"));
  std::vector<std::uint8_t> kinds(r.Here(), r.Here() + count);
  m_canvas.PolyDraw(points, kinds);
  return std::nullopt;
}

std::optional<Error> EmfWalker::ReadRegion(ByteReader data, Region& region) {
  const std::uint32_t headerSize = data.U32();
  data.U32();  // type
  const std::uint64_t count = data.U32();
  data.U32();  // size of the rectangles
  data.Skip(16);  // bounds
  if (!data.Ok() || headerSize < 32 || headerSize > data.Size()) {
    return Bad(QStringLiteral("l'intestazione della regione è troncata"));
  }
  data.Seek(headerSize);
  if (count > static_cast<std::uint64_t>(limits::kMaxRegionRects)) {
    return m_diagnostics.MakeError(ErrorKind::kTooLarge,
                                   QStringLiteral("la regione dichiara %1 rettangoli, oltre il limite di %2")
                                       .arg(count)
                                       .arg(limits::kMaxRegionRects));
  }
  if (count * 16 > data.Remaining()) {
    return Bad(QStringLiteral("la regione dichiara %1 rettangoli ma ne contiene %2").arg(count).arg(data.Remaining() / 16));
  }
  region.rects.reserve(static_cast<std::size_t>(count));
  for (std::uint64_t i = 0; i < count; ++i) region.Add(ReadRect(data));
  return std::nullopt;
}

std::optional<Error> EmfWalker::RegionRecord(std::uint32_t type, ByteReader& r, const ByteReader& record) {
  (void)record;
  if (type == kExtSelectClipRgn) {
    const std::uint32_t bytes = r.U32();
    const int mode = static_cast<int>(r.U32());
    if (!r.Ok()) return Short(type);
    if (bytes == 0) {
      if (mode == gdi::kRgnCopy) m_canvas.SelectClipRegion(nullptr, true, mode);
      return std::nullopt;
    }
    const ByteReader data = r.Slice(r.Pos(), bytes);
    if (!data.Ok()) return Bad(QStringLiteral("la regione di ritaglio esce dal record"));
    Region region;
    if (auto error = ReadRegion(data, region)) return error;
    m_canvas.SelectClipRegion(&region, true, mode);
    return std::nullopt;
  }
  r.Skip(16);  // bounds
  const std::uint32_t bytes = r.U32();
  std::uint32_t brushIndex = 0;
  QSizeF frame;
  if (type == kFillRgn || type == kFrameRgn) brushIndex = r.U32();
  if (type == kFrameRgn) {
    const double width = r.I32();
    const double height = r.I32();
    frame = QSizeF(width, height);
  }
  if (!r.Ok()) return Short(type);
  const ByteReader data = r.Slice(r.Pos(), bytes);
  if (!data.Ok()) return Bad(QStringLiteral("la regione esce dal record"));
  Region region;
  if (auto error = ReadRegion(data, region)) return error;
  if (type == kInvertRgn) {
    m_canvas.InvertRegion(region);
    return std::nullopt;
  }
  if (type == kPaintRgn) {
    m_canvas.PaintRegion(region);
    return std::nullopt;
  }
  Brush brush;
  if ((brushIndex & kStockObject) != 0) {
    const std::optional<Brush> stock = StockBrush(brushIndex);
    if (!stock) return std::nullopt;
    brush = *stock;
  } else {
    const GdiObject* object = Object(brushIndex);
    const auto* stored = object ? std::get_if<Brush>(object) : nullptr;
    if (stored == nullptr) return std::nullopt;
    brush = *stored;
  }
  if (type == kFillRgn) {
    m_canvas.FillRegion(region, brush);
  } else {
    m_canvas.FrameRegion(region, brush, frame);
  }
  return std::nullopt;
}

std::optional<Error> EmfWalker::Dib(const ByteReader& record, std::uint32_t offInfo, std::uint32_t infoBytes,
                                    std::uint32_t offBits, std::uint32_t bitsBytes, std::uint32_t usage,
                                    DibCheck& check, ByteReader& info, ByteReader& bits) {
  info = record.Slice(offInfo, infoBytes);
  bits = record.Slice(offBits, bitsBytes);
  if (!info.Ok() || !bits.Ok()) {
    return m_diagnostics.MakeError(ErrorKind::kBadBitmap,
                                   QStringLiteral("la bitmap dichiara byte fuori dal suo record (intestazione a %1, "
                                                  "%2 byte; pixel a %3, %4 byte; record di %5 byte)")
                                       .arg(offInfo)
                                       .arg(infoBytes)
                                       .arg(offBits)
                                       .arg(bitsBytes)
                                       .arg(record.Size()));
  }
  check = CheckDibBits(ReadDibLayout(info, usage), bitsBytes);
  if (check.status == DibStatus::kBad) return m_diagnostics.MakeError(ErrorKind::kBadBitmap, check.problem);
  if (check.status == DibStatus::kUnsupported) m_diagnostics.Warn(WarningKind::kUnsupportedBitmap, check.problem);
  return std::nullopt;
}

std::optional<Error> EmfWalker::Blit(std::uint32_t type, ByteReader& r, const ByteReader& record) {
  r.Skip(16);  // bounds
  QRectF dest;
  QRectF source;
  std::uint32_t rop = gdi::kSrcCopy;
  std::uint32_t usage = gdi::kDibRgbColors;
  std::uint32_t offInfo = 0, infoBytes = 0, offBits = 0, bitsBytes = 0;
  bool dibCoordinates = false;
  if (type == kStretchDiBits || type == kSetDiBitsToDevice) {
    const double xDest = r.I32();
    const double yDest = r.I32();
    const double xSrc = r.I32();
    const double ySrc = r.I32();
    const double cxSrc = r.I32();
    const double cySrc = r.I32();
    offInfo = r.U32();
    infoBytes = r.U32();
    offBits = r.U32();
    bitsBytes = r.U32();
    usage = r.U32();
    double cxDest = cxSrc;
    double cyDest = cySrc;
    if (type == kStretchDiBits) {
      rop = r.U32();
      cxDest = r.I32();
      cyDest = r.I32();
    } else {
      r.U32();  // first scan
      r.U32();  // scan count
    }
    dest = QRectF(xDest, yDest, cxDest, cyDest);
    source = QRectF(xSrc, ySrc, cxSrc, cySrc);
    dibCoordinates = true;
  } else {
    const double xDest = r.I32();
    const double yDest = r.I32();
    const double cxDest = r.I32();
    const double cyDest = r.I32();
    rop = r.U32();
    const double xSrc = r.I32();
    const double ySrc = r.I32();
    ReadXform(r);  // the source device context's transform
    r.U32();       // its background colour
    usage = r.U32();
    offInfo = r.U32();
    infoBytes = r.U32();
    offBits = r.U32();
    bitsBytes = r.U32();
    double cxSrc = cxDest;
    double cySrc = cyDest;
    if (type != kBitBlt) {
      cxSrc = r.I32();
      cySrc = r.I32();
    }
    dest = QRectF(xDest, yDest, cxDest, cyDest);
    source = QRectF(xSrc, ySrc, cxSrc, cySrc);
  }
  if (!r.Ok()) return Short(type);
  if (usage != gdi::kDibRgbColors && usage != gdi::kDibPalColors) usage = gdi::kDibRgbColors;

  if (infoBytes == 0) {
    if (type == kBitBlt || type == kStretchBlt) m_canvas.PatBlt(dest, rop);
    return std::nullopt;
  }
  DibCheck check;
  ByteReader info;
  ByteReader bits;
  if (auto error = Dib(record, offInfo, infoBytes, offBits, bitsBytes, usage, check, info, bits)) return error;
  if (check.status != DibStatus::kOk) return std::nullopt;

  const DibLayout layout = check.layout;
  BitmapBlit blit;
  blit.dest = dest;
  blit.source = dibCoordinates ? DibSourceRect(layout, source.x(), source.y(), source.width(), source.height()) : source;
  blit.pixels = static_cast<std::int64_t>(layout.width) * layout.height;
  bool keepAlpha = false;
  if (type == kAlphaBlend) {
    // The raster-operation field holds the blend: constant alpha in the third
    // byte, and whether the pixels carry their own alpha in the fourth.
    blit.constantAlpha = ((rop >> 16) & 0xFF) / 255.0;
    keepAlpha = ((rop >> 24) & 0x01) != 0;
    blit.rop = gdi::kSrcCopy;
  } else if (type == kTransparentBlt) {
    blit.transparentColor = rop;
    blit.rop = gdi::kSrcCopy;
  } else {
    blit.rop = rop;
  }
  const std::optional<Palette> palette = m_canvas.State().palette;
  blit.decode = [layout, info, bits, palette, keepAlpha] {
    return DecodeDib(layout, info, bits, DibColors{palette ? &*palette : nullptr, keepAlpha});
  };
  m_canvas.Bitmap(blit);
  return std::nullopt;
}

std::optional<Error> EmfWalker::PatternBrush(std::uint32_t type, ByteReader& r, const ByteReader& record) {
  const std::uint32_t index = r.U32();
  std::uint32_t usage = r.U32();
  const std::uint32_t offInfo = r.U32();
  const std::uint32_t infoBytes = r.U32();
  const std::uint32_t offBits = r.U32();
  const std::uint32_t bitsBytes = r.U32();
  if (!r.Ok()) return Short(type);
  if (usage != gdi::kDibRgbColors && usage != gdi::kDibPalColors) usage = gdi::kDibRgbColors;
  DibCheck check;
  ByteReader info;
  ByteReader bits;
  if (auto error = Dib(record, offInfo, infoBytes, offBits, bitsBytes, usage, check, info, bits)) return error;
  Brush brush;
  if (check.status != DibStatus::kOk) {
    brush.color = 0x808080;
    Store(index, brush);
    return std::nullopt;
  }
  brush.kind = BrushKind::kPattern;
  if (m_canvas.Drawing()) {
    const Palette* palette = m_canvas.State().palette ? &*m_canvas.State().palette : nullptr;
    QImage image = DecodeDib(check.layout, info, bits, DibColors{palette, false});
    if (type == kCreateMonoBrush && !image.isNull()) {
      image = image.convertToFormat(QImage::Format_Mono, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
      brush.kind = BrushKind::kMonoPattern;
      brush.pattern = image;
    } else {
      brush.pattern = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
  }
  Store(index, std::move(brush));
  return std::nullopt;
}

std::optional<Error> EmfWalker::ExtPen(ByteReader& r, const ByteReader& record) {
  (void)record;
  const std::uint32_t index = r.U32();
  r.Skip(16);  // bitmap of a pattern pen: drawn in its colour
  Pen pen;
  pen.style = r.U32();
  pen.width = r.U32();
  const std::uint32_t brushStyle = r.U32();
  pen.color = r.U32();
  r.U32();  // hatch
  const std::uint64_t entries = r.U32();
  if (!r.Ok()) return Short(kExtCreatePen);
  if (entries * 4 > r.Remaining()) {
    return Bad(QStringLiteral("la penna dichiara %1 tratti ma il record ne contiene %2").arg(entries).arg(r.Remaining() / 4));
  }
  for (std::uint64_t i = 0; i < entries && i < 64; ++i) pen.dashes.push_back(r.U32());
  pen.extended = (pen.style & 0x000F0000u) == gdi::kPsGeometric;
  if (!pen.extended) pen.width = 0;  // a cosmetic pen is one pixel wide
  if (brushStyle == gdi::kBsNull) pen.style = (pen.style & ~gdi::kPsStyleMask) | gdi::kPsNull;
  Store(index, std::move(pen));
  return std::nullopt;
}

std::optional<Error> EmfWalker::Font(ByteReader& r) {
  const std::uint32_t index = r.U32();
  detail::Font font;
  font.height = r.I32();
  font.width = r.I32();
  font.escapement = r.I32();
  r.I32();  // orientation
  font.weight = r.I32();
  font.italic = r.U8() != 0;
  font.underline = r.U8() != 0;
  font.strikeOut = r.U8() != 0;
  font.charSet = r.U8();
  r.Skip(4);
  if (!r.Ok()) return Short(kExtCreateFontIndirectW);
  const std::size_t characters = std::min<std::size_t>(r.Remaining() / 2, 32);
  QString face = Utf16Text(r.Here(), characters);
  const qsizetype end = face.indexOf(QChar(0));
  if (end >= 0) face.truncate(end);
  font.face = face;
  font.height = std::clamp(font.height, -1'000'000, 1'000'000);
  font.width = std::clamp(font.width, -1'000'000, 1'000'000);
  Store(index, std::move(font));
  return std::nullopt;
}

std::optional<Error> EmfWalker::EmrText(ByteReader& r, const ByteReader& record, bool wide) {
  TextRun run;
  run.reference = ReadPoint(r);
  const std::uint64_t characters = r.U32();
  const std::uint32_t offString = r.U32();
  run.options = r.U32();
  const QRectF rect = ReadRect(r);
  const std::uint32_t offDx = r.U32();
  if (!r.Ok()) return Short(wide ? kExtTextOutW : kExtTextOutA);
  if (run.options & (gdi::kEtoOpaque | gdi::kEtoClipped)) run.rect = rect;
  if (characters == 0) {
    m_canvas.Text(run);
    return std::nullopt;
  }
  const ByteReader string = record.Slice(offString, static_cast<std::size_t>(std::min<std::uint64_t>(
                                                        characters * (wide ? 2 : 1), record.Size() + 1)));
  if (!string.Ok()) {
    return Bad(QStringLiteral("il testo dichiara %1 caratteri che escono dal record").arg(characters));
  }
  run.text = wide ? Utf16Text(string.Data(), static_cast<std::size_t>(characters))
                  : DecodeAnsiText(string.Data(), static_cast<std::size_t>(characters));
  if (offDx != 0) {
    const std::uint64_t stride = (run.options & gdi::kEtoPdy) ? 8 : 4;
    ByteReader dx = record.Slice(offDx, static_cast<std::size_t>(std::min<std::uint64_t>(characters * stride,
                                                                                       record.Size() + 1)));
    if (!dx.Ok()) return Bad(QStringLiteral("gli spazi fra i caratteri escono dal record"));
    run.dx.resize(static_cast<std::size_t>(characters));
    for (double& advance : run.dx) {
      advance = dx.I32();
      if (stride == 8) dx.I32();
    }
  }
  if (run.options & gdi::kEtoGlyphIndex) {
    // Glyph numbers of a font we do not have cannot be turned into text.
    m_diagnostics.Skip(wide ? kExtTextOutW : kExtTextOutA);
    return std::nullopt;
  }
  m_canvas.Text(run);
  return std::nullopt;
}

std::optional<Error> EmfWalker::SmallText(ByteReader& r) {
  TextRun run;
  run.reference = ReadPoint(r);
  const std::uint64_t characters = r.U32();
  run.options = r.U32();
  r.U32();  // graphics mode: text follows the mapping in either
  r.F32();
  r.F32();
  if (!(run.options & kEtoNoRect)) run.rect = ReadRect(r);
  if (!r.Ok()) return Short(kSmallTextOut);
  const bool narrow = (run.options & kEtoSmallChars) != 0;
  if (characters * (narrow ? 1 : 2) > r.Remaining()) {
    return Bad(QStringLiteral("il testo dichiara %1 caratteri che escono dal record").arg(characters));
  }
  run.text = narrow ? DecodeAnsiText(r.Here(), static_cast<std::size_t>(characters))
                    : Utf16Text(r.Here(), static_cast<std::size_t>(characters));
  if (!(run.options & (gdi::kEtoOpaque | gdi::kEtoClipped))) run.rect.reset();
  if (run.options & gdi::kEtoGlyphIndex) {
    m_diagnostics.Skip(kSmallTextOut);
    return std::nullopt;
  }
  m_canvas.Text(run);
  return std::nullopt;
}

std::optional<Error> EmfWalker::Gradient(ByteReader& r) {
  r.Skip(16);
  const std::uint64_t vertices = r.U32();
  const std::uint64_t shapes = r.U32();
  const std::uint32_t mode = r.U32();
  if (!r.Ok()) return Short(kGradientFill);
  const std::uint64_t shapeBytes = mode == 2 ? 12 : 8;
  if (vertices > static_cast<std::uint64_t>(limits::kMaxPointsPerRecord) ||
      shapes > static_cast<std::uint64_t>(limits::kMaxPointsPerRecord) ||
      vertices * 16 + shapes * shapeBytes > r.Remaining()) {
    return Bad(QStringLiteral("il riempimento sfumato dichiara %1 vertici e %2 figure che escono dal record")
                   .arg(vertices)
                   .arg(shapes));
  }
  if (mode != 0 && mode != 1) {
    m_diagnostics.Skip(kGradientFill);  // triangles
    return std::nullopt;
  }
  std::vector<std::pair<QPointF, QRgb>> points(static_cast<std::size_t>(vertices));
  for (auto& [point, color] : points) {
    point = ReadPoint(r);
    const int red = r.U16() >> 8;
    const int green = r.U16() >> 8;
    const int blue = r.U16() >> 8;
    r.U16();  // alpha is not used by rectangle fills
    color = qRgb(red, green, blue);
  }
  for (std::uint64_t i = 0; i < shapes; ++i) {
    const std::uint32_t a = r.U32();
    const std::uint32_t b = r.U32();
    if (a >= points.size() || b >= points.size()) continue;
    m_canvas.GradientRect(QRectF(points[a].first, points[b].first), points[a].second, points[b].second, mode == 1);
  }
  return std::nullopt;
}

void EmfWalker::SelectStock(std::uint32_t index) {
  DcState& s = m_canvas.State();
  if (const std::optional<Brush> brush = StockBrush(index)) {
    s.brush = *brush;
    return;
  }
  switch (index & ~kStockObject) {
    case 6: s.pen = Pen{}; s.pen.color = 0xFFFFFF; break;
    case 7: s.pen = Pen{}; break;
    case 8: s.pen = Pen{}; s.pen.style = gdi::kPsNull; break;
    case 10:
    case 11:
    case 16:
      s.font = detail::Font{};
      s.font.face = QStringLiteral("Monospace");
      break;
    case 12:
    case 13:
    case 14:
    case 17: s.font = detail::Font{}; break;
    case 19: s.pen = Pen{}; break;
    default: break;
  }
}

std::optional<Error> EmfWalker::Record(std::uint32_t type, ByteReader record) {
  Canvas& c = m_canvas;
  DcState& s = c.State();
  ByteReader r = record;
  r.Skip(8);
  switch (type) {
    case kEof:
      return std::nullopt;
    case kPolyBezier:
    case kPolygon:
    case kPolyline:
    case kPolyBezierTo:
    case kPolylineTo:
      return Poly(type, r, false);
    case kPolyBezier16:
    case kPolygon16:
    case kPolyline16:
    case kPolyBezierTo16:
    case kPolylineTo16:
      return Poly(type, r, true);
    case kPolyPolyline:
    case kPolyPolygon:
      return PolyPoly(type, r, false);
    case kPolyPolyline16:
    case kPolyPolygon16:
      return PolyPoly(type, r, true);
    case kPolyDraw:
      return PolyDraw(type, r, false);
    case kPolyDraw16:
      return PolyDraw(type, r, true);
    case kSetWindowExtEx:
    case kSetWindowOrgEx:
    case kSetViewportExtEx:
    case kSetViewportOrgEx:
    case kSetBrushOrgEx:
    case kOffsetClipRgn:
    case kMoveToEx:
    case kLineTo: {
      const QPointF p = ReadPoint(r);
      if (!r.Ok()) return Short(type);
      switch (type) {
        case kSetWindowExtEx: c.SetWindowExt(p); break;
        case kSetWindowOrgEx: c.SetWindowOrg(p); break;
        case kSetViewportExtEx: c.SetViewportExt(p); break;
        case kSetViewportOrgEx: c.SetViewportOrg(p); break;
        case kSetBrushOrgEx: s.brushOrigin = p; break;
        case kOffsetClipRgn: c.OffsetClip(p); break;
        case kMoveToEx: c.MoveTo(p); break;
        default: c.LineTo(p); break;
      }
      return std::nullopt;
    }
    case kScaleViewportExtEx:
    case kScaleWindowExtEx: {
      const double xNum = r.I32();
      const double xDenom = r.I32();
      const double yNum = r.I32();
      const double yDenom = r.I32();
      if (!r.Ok()) return Short(type);
      if (type == kScaleViewportExtEx) {
        c.ScaleViewportExt(xNum, xDenom, yNum, yDenom);
      } else {
        c.ScaleWindowExt(xNum, xDenom, yNum, yDenom);
      }
      return std::nullopt;
    }
    case kSetPixelV: {
      const QPointF p = ReadPoint(r);
      const ColorRef color = r.U32();
      if (!r.Ok()) return Short(type);
      c.SetPixel(p, color);
      return std::nullopt;
    }
    case kSetMapMode:
    case kSetBkMode:
    case kSetPolyFillMode:
    case kSetRop2:
    case kSetStretchBltMode:
    case kSetTextAlign:
    case kSetTextColor:
    case kSetBkColor:
    case kSetArcDirection:
    case kSetMiterLimit:
    case kSelectClipPath:
    case kRestoreDc:
    case kSelectObject:
    case kDeleteObject:
    case kSelectPalette: {
      const std::uint32_t value = r.U32();
      if (!r.Ok()) return Short(type);
      const int number = static_cast<int>(value);
      switch (type) {
        case kSetMapMode: c.SetMapMode(number); break;
        case kSetBkMode:
          if (number == gdi::kTransparent || number == gdi::kOpaque) s.bkMode = number;
          break;
        case kSetPolyFillMode:
          if (number == gdi::kAlternate || number == gdi::kWinding) s.polyFillMode = number;
          break;
        case kSetRop2:
          if (number >= 1 && number <= 16) s.rop2 = number;
          break;
        case kSetStretchBltMode: s.stretchMode = number; break;
        case kSetTextAlign: s.textAlign = value; break;
        case kSetTextColor: s.textColor = value; break;
        case kSetBkColor: s.bkColor = value; break;
        case kSetArcDirection:
          if (number == gdi::kAdClockwise || number == gdi::kAdCounterClockwise) s.arcDirection = number;
          break;
        case kSetMiterLimit: {
          // Stored as a whole number, though some writers store a float's bits.
          double limit = value;
          if (value > 0xFFFF) {
            float f = 0;
            std::memcpy(&f, &value, sizeof f);
            limit = f;
          }
          if (std::isfinite(limit) && limit >= 1) s.miterLimit = std::min(limit, 1000.0);
          break;
        }
        case kSelectClipPath: c.SelectClipPath(number); break;
        case kRestoreDc: c.RestoreDc(number); break;
        case kSelectObject: {
          if ((value & kStockObject) != 0) {
            SelectStock(value);
            break;
          }
          const GdiObject* object = Object(value);
          if (object == nullptr) break;
          if (const auto* pen = std::get_if<Pen>(object)) s.pen = *pen;
          if (const auto* brush = std::get_if<Brush>(object)) s.brush = *brush;
          if (const auto* font = std::get_if<detail::Font>(object)) s.font = *font;
          break;
        }
        case kDeleteObject:
          if (value < m_objects.size() && value != 0) m_objects[value] = std::monostate{};
          break;
        default: {  // kSelectPalette
          const GdiObject* object = (value & kStockObject) != 0 ? nullptr : Object(value);
          if (object == nullptr) {
            s.palette.reset();
          } else if (const auto* palette = std::get_if<Palette>(object)) {
            s.palette = *palette;
          }
          break;
        }
      }
      return std::nullopt;
    }
    case kExcludeClipRect:
    case kIntersectClipRect:
    case kEllipse:
    case kRectangle: {
      const QRectF box = ReadRect(r);
      if (!r.Ok()) return Short(type);
      switch (type) {
        case kExcludeClipRect: c.ExcludeClipRect(box); break;
        case kIntersectClipRect: c.IntersectClipRect(box); break;
        case kEllipse: c.Ellipse(box); break;
        default: c.Rectangle(box); break;
      }
      return std::nullopt;
    }
    case kRoundRect: {
      const QRectF box = ReadRect(r);
      const double width = r.I32();
      const double height = r.I32();
      if (!r.Ok()) return Short(type);
      c.RoundRect(box, QSizeF(width, height));
      return std::nullopt;
    }
    case kArc:
    case kChord:
    case kPie:
    case kArcTo: {
      const QRectF box = ReadRect(r);
      const QPointF start = ReadPoint(r);
      const QPointF end = ReadPoint(r);
      if (!r.Ok()) return Short(type);
      const ArcKind kind = type == kArc     ? ArcKind::kArc
                           : type == kChord ? ArcKind::kChord
                           : type == kPie   ? ArcKind::kPie
                                            : ArcKind::kArcTo;
      c.Arc(box, start, end, kind);
      return std::nullopt;
    }
    case kAngleArc: {
      const QPointF center = ReadPoint(r);
      const double radius = r.U32();
      const double start = r.F32();
      const double sweep = r.F32();
      if (!r.Ok()) return Short(type);
      c.AngleArc(center, radius, start, sweep);
      return std::nullopt;
    }
    case kSaveDc: c.SaveDc(); return std::nullopt;
    case kBeginPath: c.BeginPath(); return std::nullopt;
    case kEndPath: c.EndPath(); return std::nullopt;
    case kCloseFigure: c.CloseFigure(); return std::nullopt;
    case kFillPath: c.FillPath(); return std::nullopt;
    case kStrokeAndFillPath: c.StrokeAndFillPath(); return std::nullopt;
    case kStrokePath: c.StrokePath(); return std::nullopt;
    case kFlattenPath: c.FlattenPath(); return std::nullopt;
    case kWidenPath: c.WidenPath(); return std::nullopt;
    case kAbortPath: c.AbortPath(); return std::nullopt;
    case kSetWorldTransform:
    case kModifyWorldTransform: {
      const QTransform transform = ReadXform(r);
      const int mode = type == kModifyWorldTransform ? static_cast<int>(r.U32()) : 4;
      if (!r.Ok()) return Short(type);
      c.ModifyWorldTransform(transform, mode);
      return std::nullopt;
    }
    case kCreatePen: {
      const std::uint32_t index = r.U32();
      Pen pen;
      pen.style = r.U32();
      pen.width = std::abs(static_cast<double>(r.I32()));
      r.I32();
      pen.color = r.U32();
      if (!r.Ok()) return Short(type);
      Store(index, std::move(pen));
      return std::nullopt;
    }
    case kCreateBrushIndirect: {
      const std::uint32_t index = r.U32();
      const std::uint32_t style = r.U32();
      const ColorRef color = r.U32();
      const std::uint32_t hatch = r.U32();
      if (!r.Ok()) return Short(type);
      Brush brush;
      brush.color = color;
      brush.hatch = static_cast<int>(std::min<std::uint32_t>(hatch, 5));
      brush.kind = style == gdi::kBsNull ? BrushKind::kNull
                   : style == gdi::kBsHatched && hatch <= 5 ? BrushKind::kHatched
                                                            : BrushKind::kSolid;
      Store(index, std::move(brush));
      return std::nullopt;
    }
    case kCreatePalette: {
      const std::uint32_t index = r.U32();
      r.U16();  // version
      const std::size_t count = r.U16();
      if (!r.Ok() || count * 4 > r.Remaining()) return Short(type);
      Store(index, ReadPaletteEntries(r, count));
      return std::nullopt;
    }
    case kFillRgn:
    case kFrameRgn:
    case kInvertRgn:
    case kPaintRgn:
    case kExtSelectClipRgn:
      return RegionRecord(type, r, record);
    case kBitBlt:
    case kStretchBlt:
    case kSetDiBitsToDevice:
    case kStretchDiBits:
    case kAlphaBlend:
    case kTransparentBlt:
      return Blit(type, r, record);
    case kCreateMonoBrush:
    case kCreateDibPatternBrushPt:
      return PatternBrush(type, r, record);
    case kExtCreatePen:
      return ExtPen(r, record);
    case kExtCreateFontIndirectW:
      return Font(r);
    case kExtTextOutA:
    case kExtTextOutW: {
      r.Skip(16 + 12);  // bounds, graphics mode and the scales it implies
      if (!r.Ok()) return Short(type);
      return EmrText(r, record, type == kExtTextOutW);
    }
    case kPolyTextOutA:
    case kPolyTextOutW: {
      r.Skip(16 + 12);
      const std::uint64_t strings = r.U32();
      if (!r.Ok()) return Short(type);
      if (strings * 40 > r.Remaining()) {
        return Bad(QStringLiteral("il record dichiara %1 testi che escono dal record").arg(strings));
      }
      for (std::uint64_t i = 0; i < strings; ++i) {
        if (auto error = EmrText(r, record, type == kPolyTextOutW)) return error;
      }
      return std::nullopt;
    }
    case kSmallTextOut:
      return SmallText(r);
    case kGradientFill:
      return Gradient(r);
    default:
      m_diagnostics.Skip(type);
      return std::nullopt;
  }
}

}  // namespace

HeaderResult ReadEmfHeader(ByteReader data) {
  HeaderResult result;
  ByteReader r = data;
  const std::uint32_t type = r.U32();
  const std::uint32_t size = r.U32();
  const QRectF bounds = ReadRect(r);  // device pixels, inclusive
  const QRectF frame = ReadRect(r);   // 0.01 mm, inclusive
  const std::uint32_t signature = r.U32();
  if (!r.Ok() || type != kHeader || signature != kSignature) {
    result.error = Error{ErrorKind::kNotAMetafile, -1, 0, QStringLiteral("il file non è un metafile WMF né EMF")};
    return result;
  }
  r.U32();  // version
  const std::uint32_t bytes = r.U32();
  r.U32();  // records
  const int handles = r.U16();
  r.U16();
  r.U32();  // description length
  r.U32();  // description offset
  r.U32();  // palette entries
  const double deviceWidth = r.I32();
  const double deviceHeight = r.I32();
  const double mmWidth = r.I32();
  const double mmHeight = r.I32();
  if (!r.Ok()) {
    result.error = Error{ErrorKind::kTruncated, 0, 0, QStringLiteral("il file finisce dentro l'intestazione")};
    return result;
  }
  if (size < kMinHeaderBytes || size % 4 != 0) {
    result.error = Error{ErrorKind::kBadHeader, 0, 0,
                         QStringLiteral("l'intestazione dichiara una dimensione di %1 byte").arg(size)};
    return result;
  }
  if (size > data.Size()) {
    result.error = Error{ErrorKind::kRecordPastEnd, 0, 0,
                         QStringLiteral("l'intestazione dichiara %1 byte ma il file ne ha %2").arg(size).arg(data.Size())};
    return result;
  }
  double micrometersWidth = 0;
  double micrometersHeight = 0;
  if (size >= 108) {
    r.Seek(100);
    micrometersWidth = r.I32();
    micrometersHeight = r.I32();
  }

  PictureSetup setup;
  setup.format = Format::kEmf;
  setup.firstRecordOffset = 0;
  setup.declaredBytes = bytes;
  setup.objectTableSize = handles;
  // Device pixels per millimetre of the reference device.
  auto perMm = [](double pixels, double mm, double micrometers) {
    const double length = micrometers > 0 ? micrometers / 1000 : mm;
    const double ratio = length > 0 && pixels > 0 ? pixels / length : 0;
    return ratio >= 0.01 && ratio <= 1000 ? ratio : 96 / 25.4;
  };
  setup.devicePerMmX = perMm(deviceWidth, mmWidth, micrometersWidth);
  setup.devicePerMmY = perMm(deviceHeight, mmHeight, micrometersHeight);

  double widthMm = frame.width() / 100;
  double heightMm = frame.height() / 100;
  if (widthMm > 0 && heightMm > 0) {
    setup.frameDevice = QRectF(frame.left() / 100 * setup.devicePerMmX, frame.top() / 100 * setup.devicePerMmY,
                               widthMm * setup.devicePerMmX, heightMm * setup.devicePerMmY);
  } else if (bounds.width() >= 0 && bounds.height() >= 0 && (bounds.width() > 0 || bounds.height() > 0)) {
    // No frame: the bounds the drawing covers, in device pixels and inclusive.
    setup.frameDevice = QRectF(bounds.left(), bounds.top(), bounds.width() + 1, bounds.height() + 1);
    widthMm = setup.frameDevice.width() / setup.devicePerMmX;
    heightMm = setup.frameDevice.height() / setup.devicePerMmY;
  } else {
    result.error = Error{ErrorKind::kZeroSize, 0, 0,
                         QStringLiteral("l'immagine ha dimensione nulla: cornice e limiti sono vuoti")};
    return result;
  }
  if (auto error = SizeFromFrame(widthMm * 96 / 25.4, heightMm * 96 / 25.4, setup.sizePixels)) {
    error->recordIndex = 0;
    result.error = error;
    return result;
  }
  setup.sizeMm = QSizeF(widthMm, heightMm);
  result.setup = setup;
  return result;
}

WalkResult WalkEmf(const PictureSetup& setup, ByteReader data, Canvas& canvas, Diagnostics& diagnostics) {
  EmfWalker walker(setup, canvas, diagnostics);
  WalkResult result;
  std::size_t offset = 0;
  int index = 0;
  while (true) {
    diagnostics.At(index, static_cast<std::int64_t>(offset));
    if (offset == data.Size()) {
      if (setup.declaredBytes > static_cast<std::int64_t>(data.Size())) {
        result.error = diagnostics.MakeError(ErrorKind::kTruncated,
                                             QStringLiteral("il file è troncato: l'intestazione dichiara %1 byte, "
                                                            "ne sono presenti %2")
                                                 .arg(setup.declaredBytes)
                                                 .arg(data.Size()));
        return result;
      }
      diagnostics.Warn(WarningKind::kMissingEnd, QStringLiteral("manca il record di fine del file"));
      break;
    }
    if (data.Size() - offset < 8) {
      result.error = diagnostics.MakeError(ErrorKind::kTruncated,
                                           QStringLiteral("il file finisce dentro l'intestazione di un record"));
      return result;
    }
    ByteReader head = data.Slice(offset, 8);
    const std::uint32_t type = head.U32();
    const std::uint32_t size = head.U32();
    if (size < 8 || size % 4 != 0) {
      result.error = diagnostics.MakeError(
          ErrorKind::kBadRecordSize,
          QStringLiteral("il record di tipo %1 dichiara una dimensione di %2 byte").arg(type).arg(size));
      return result;
    }
    if (size > data.Size() - offset) {
      result.error = diagnostics.MakeError(ErrorKind::kRecordPastEnd,
                                           QStringLiteral("il record di tipo %1 dichiara %2 byte ma al file ne restano %3")
                                               .arg(type)
                                               .arg(size)
                                               .arg(data.Size() - offset));
      return result;
    }
    if (index >= limits::kMaxRecords) {
      result.error = diagnostics.MakeError(ErrorKind::kTooLarge,
                                           QStringLiteral("il file ha più di %1 record").arg(limits::kMaxRecords));
      return result;
    }
    if (index > 0 || type != kHeader) {
      if (auto error = walker.Record(type, data.Slice(offset, size))) {
        result.error = error;
        return result;
      }
    }
    ++index;
    offset += size;
    if (type == kEof || canvas.Stopped()) break;
  }
  result.records = index;
  return result;
}

}  // namespace metafile::detail
