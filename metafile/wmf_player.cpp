#include "dib_p.h"
#include "player_p.h"
#include "text_codec_p.h"

#include <algorithm>
#include <cmath>

namespace metafile::detail {

namespace {

constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr std::size_t kPlaceableBytes = 22;
constexpr std::size_t kHeaderBytes = 18;
constexpr std::size_t kRecordHeaderBytes = 6;

// Record functions.
enum : std::uint16_t {
  kEof = 0x0000,
  kSaveDc = 0x001E,
  kCreatePalette = 0x00F7,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetRop2 = 0x0104,
  kSetPolyFillMode = 0x0106,
  kSetStretchBltMode = 0x0107,
  kRestoreDc = 0x0127,
  kInvertRegion = 0x012A,
  kPaintRegion = 0x012B,
  kSelectClipRegion = 0x012C,
  kSelectObject = 0x012D,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kOffsetWindowOrg = 0x020F,
  kOffsetViewportOrg = 0x0211,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kOffsetClipRgn = 0x0220,
  kFillRegion = 0x0228,
  kSelectPalette = 0x0234,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kScaleViewportExt = 0x0412,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kFrameRegion = 0x0429,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kPatBlt = 0x061D,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kBitBlt = 0x0922,
  kDibBitBlt = 0x0940,
  kExtTextOut = 0x0A32,
  kStretchBlt = 0x0B23,
  kDibStretchBlt = 0x0B41,
  kSetDibToDev = 0x0D33,
  kStretchDib = 0x0F43,
};

QString Hex(std::uint32_t value) { return QStringLiteral("0x%1").arg(value, 4, 16, QLatin1Char('0')); }

class WmfWalker {
 public:
  WmfWalker(const PictureSetup& setup, Canvas& canvas, Diagnostics& diagnostics)
      : m_canvas(canvas), m_diagnostics(diagnostics) {
    m_objects.resize(static_cast<std::size_t>(std::clamp(setup.objectTableSize, 0, limits::kMaxObjects)));
  }

  // Plays one record; an error when its fields do not fit it.
  std::optional<Error> Record(std::uint16_t function, ByteReader r, std::size_t recordWords);

 private:
  Error Short(std::uint16_t function) const {
    return m_diagnostics.MakeError(ErrorKind::kBadRecord,
                                   QStringLiteral("il record %1 è più corto dei suoi campi").arg(Hex(function)));
  }
  std::optional<Error> CountPoints(std::int64_t count);
  std::optional<Error> ReadPoints(ByteReader& r, std::int64_t count, std::vector<QPointF>& points);
  void Create(GdiObject object);
  const GdiObject* Object(std::uint16_t index) const {
    return index < m_objects.size() ? &m_objects[index] : nullptr;
  }
  std::optional<Error> Bitmap(std::uint16_t function, ByteReader& r, std::size_t recordWords);
  std::optional<Error> Text(std::uint16_t function, ByteReader& r, bool extended);
  std::optional<Error> CreateRegion(ByteReader& r);
  std::optional<Error> PatternBrush(std::uint16_t function, ByteReader& r);

  Canvas& m_canvas;
  Diagnostics& m_diagnostics;
  std::vector<GdiObject> m_objects;
  std::int64_t m_points = 0;
};

// Points of one record, counted against the picture's cap.
std::optional<Error> WmfWalker::CountPoints(std::int64_t count) {
  m_points += count;
  if (m_points > limits::kMaxPointsPerPicture) {
    return m_diagnostics.MakeError(ErrorKind::kTooLarge,
                                   QStringLiteral("il disegno ha più di %1 punti").arg(limits::kMaxPointsPerPicture));
  }
  return std::nullopt;
}

std::optional<Error> WmfWalker::ReadPoints(ByteReader& r, std::int64_t count, std::vector<QPointF>& points) {
  if (count < 0 || static_cast<std::uint64_t>(count) * 4 > r.Remaining()) {
    return m_diagnostics.MakeError(
        ErrorKind::kBadRecord,
        QStringLiteral("il record dichiara %1 punti ma ne contiene %2").arg(count).arg(r.Remaining() / 4));
  }
  if (auto error = CountPoints(count)) return error;
  points.resize(static_cast<std::size_t>(count));
  for (QPointF& point : points) {
    const double x = r.I16();
    const double y = r.I16();
    point = QPointF(x, y);
  }
  return std::nullopt;
}

void WmfWalker::Create(GdiObject object) {
  // A new object takes the lowest free slot of the table.
  for (GdiObject& slot : m_objects) {
    if (std::holds_alternative<std::monostate>(slot)) {
      slot = std::move(object);
      return;
    }
  }
  // Writers sometimes count their objects short; grow the table, within the cap.
  if (m_objects.size() < static_cast<std::size_t>(limits::kMaxObjects)) m_objects.push_back(std::move(object));
}

std::optional<Error> WmfWalker::Record(std::uint16_t function, ByteReader r, std::size_t recordWords) {
  Canvas& c = m_canvas;
  DcState& s = c.State();
  switch (function) {
    case kEof:
      return std::nullopt;
    case kSaveDc:
      c.SaveDc();
      return std::nullopt;
    case kRestoreDc: {
      const int which = r.I16();
      if (!r.Ok()) return Short(function);
      c.RestoreDc(which);
      return std::nullopt;
    }
    case kSetBkColor:
    case kSetTextColor: {
      const ColorRef color = r.U32();
      if (!r.Ok()) return Short(function);
      (function == kSetBkColor ? s.bkColor : s.textColor) = color;
      return std::nullopt;
    }
    case kSetBkMode:
    case kSetMapMode:
    case kSetRop2:
    case kSetPolyFillMode:
    case kSetStretchBltMode:
    case kSetTextAlign: {
      const int value = r.U16();
      if (!r.Ok()) return Short(function);
      switch (function) {
        case kSetBkMode:
          if (value == gdi::kTransparent || value == gdi::kOpaque) s.bkMode = value;
          break;
        case kSetMapMode: c.SetMapMode(value); break;
        case kSetRop2:
          if (value >= 1 && value <= 16) s.rop2 = value;
          break;
        case kSetPolyFillMode:
          if (value == gdi::kAlternate || value == gdi::kWinding) s.polyFillMode = value;
          break;
        case kSetStretchBltMode: s.stretchMode = value; break;
        default: s.textAlign = static_cast<std::uint32_t>(value); break;
      }
      return std::nullopt;
    }
    case kSetWindowOrg:
    case kSetWindowExt:
    case kSetViewportOrg:
    case kSetViewportExt:
    case kOffsetWindowOrg:
    case kOffsetViewportOrg:
    case kMoveTo:
    case kLineTo:
    case kOffsetClipRgn: {
      const double y = r.I16();
      const double x = r.I16();
      if (!r.Ok()) return Short(function);
      const QPointF p(x, y);
      switch (function) {
        case kSetWindowOrg: c.SetWindowOrg(p); break;
        case kSetWindowExt: c.SetWindowExt(p); break;
        case kSetViewportOrg: c.SetViewportOrg(p); break;
        case kSetViewportExt: c.SetViewportExt(p); break;
        case kOffsetWindowOrg: c.SetWindowOrg(s.windowOrg + p); break;
        case kOffsetViewportOrg: c.SetViewportOrg(s.viewportOrg + p); break;
        case kMoveTo: c.MoveTo(p); break;
        case kLineTo: c.LineTo(p); break;
        default: c.OffsetClip(p); break;
      }
      return std::nullopt;
    }
    case kScaleWindowExt:
    case kScaleViewportExt: {
      const double yDenom = r.I16();
      const double yNum = r.I16();
      const double xDenom = r.I16();
      const double xNum = r.I16();
      if (!r.Ok()) return Short(function);
      if (function == kScaleWindowExt) {
        c.ScaleWindowExt(xNum, xDenom, yNum, yDenom);
      } else {
        c.ScaleViewportExt(xNum, xDenom, yNum, yDenom);
      }
      return std::nullopt;
    }
    case kPolygon:
    case kPolyline: {
      const std::int64_t count = r.I16();
      if (!r.Ok()) return Short(function);
      std::vector<QPointF> points;
      if (auto error = ReadPoints(r, count, points)) return error;
      if (function == kPolygon) {
        c.Polygon(points);
      } else {
        c.Polyline(points);
      }
      return std::nullopt;
    }
    case kPolyPolygon: {
      const std::size_t polygons = r.U16();
      if (!r.Ok() || polygons * 2 > r.Remaining()) return Short(function);
      std::vector<std::int64_t> counts(polygons);
      std::int64_t total = 0;
      for (auto& count : counts) {
        count = r.U16();
        total += count;
      }
      std::vector<QPointF> points;
      if (auto error = ReadPoints(r, total, points)) return error;
      std::vector<std::vector<QPointF>> shapes(polygons);
      std::size_t next = 0;
      for (std::size_t i = 0; i < polygons; ++i) {
        shapes[i].assign(points.begin() + static_cast<std::ptrdiff_t>(next),
                         points.begin() + static_cast<std::ptrdiff_t>(next + static_cast<std::size_t>(counts[i])));
        next += static_cast<std::size_t>(counts[i]);
      }
      c.PolyPolygon(shapes);
      return std::nullopt;
    }
    case kRectangle:
    case kEllipse:
    case kIntersectClipRect:
    case kExcludeClipRect: {
      const double bottom = r.I16();
      const double right = r.I16();
      const double top = r.I16();
      const double left = r.I16();
      if (!r.Ok()) return Short(function);
      const QRectF box = BoxLtrb(left, top, right, bottom);
      switch (function) {
        case kRectangle: c.Rectangle(box); break;
        case kEllipse: c.Ellipse(box); break;
        case kIntersectClipRect: c.IntersectClipRect(box); break;
        default: c.ExcludeClipRect(box); break;
      }
      return std::nullopt;
    }
    case kRoundRect: {
      const double height = r.I16();
      const double width = r.I16();
      const double bottom = r.I16();
      const double right = r.I16();
      const double top = r.I16();
      const double left = r.I16();
      if (!r.Ok()) return Short(function);
      c.RoundRect(BoxLtrb(left, top, right, bottom), QSizeF(width, height));
      return std::nullopt;
    }
    case kArc:
    case kChord:
    case kPie: {
      const double yEnd = r.I16();
      const double xEnd = r.I16();
      const double yStart = r.I16();
      const double xStart = r.I16();
      const double bottom = r.I16();
      const double right = r.I16();
      const double top = r.I16();
      const double left = r.I16();
      if (!r.Ok()) return Short(function);
      const ArcKind kind = function == kArc ? ArcKind::kArc : function == kChord ? ArcKind::kChord : ArcKind::kPie;
      c.Arc(BoxLtrb(left, top, right, bottom), QPointF(xStart, yStart), QPointF(xEnd, yEnd), kind);
      return std::nullopt;
    }
    case kSetPixel: {
      const ColorRef color = r.U32();
      const double y = r.I16();
      const double x = r.I16();
      if (!r.Ok()) return Short(function);
      c.SetPixel(QPointF(x, y), color);
      return std::nullopt;
    }
    case kTextOut:
      return Text(function, r, false);
    case kExtTextOut:
      return Text(function, r, true);
    case kCreatePenIndirect: {
      Pen pen;
      pen.style = r.U16();
      pen.width = r.I16();
      r.I16();  // the height of the width point is not used
      pen.color = r.U32();
      if (!r.Ok()) return Short(function);
      pen.width = std::abs(pen.width);
      Create(pen);
      return std::nullopt;
    }
    case kCreateBrushIndirect: {
      const std::uint32_t style = r.U16();
      const ColorRef color = r.U32();
      const int hatch = r.U16();
      if (!r.Ok()) return Short(function);
      Brush brush;
      brush.color = color;
      brush.hatch = hatch;
      brush.kind = style == gdi::kBsNull      ? BrushKind::kNull
                   : style == gdi::kBsHatched ? BrushKind::kHatched
                                              : BrushKind::kSolid;
      if (brush.kind == BrushKind::kHatched && (hatch < 0 || hatch > 5)) brush.kind = BrushKind::kSolid;
      Create(brush);
      return std::nullopt;
    }
    case kCreateFontIndirect: {
      Font font;
      font.height = r.I16();
      font.width = r.I16();
      font.escapement = r.I16();
      r.I16();  // orientation
      font.weight = r.I16();
      font.italic = r.U8() != 0;
      font.underline = r.U8() != 0;
      font.strikeOut = r.U8() != 0;
      font.charSet = r.U8();
      r.Skip(4);  // precision, clipping, quality, pitch and family
      if (!r.Ok()) return Short(function);
      const std::size_t faceBytes = std::min<std::size_t>(r.Remaining(), 32);
      const std::uint8_t* face = r.Here();
      const std::size_t length = static_cast<std::size_t>(std::find(face, face + faceBytes, 0) - face);
      font.face = DecodeAnsiText(face, length);
      Create(font);
      return std::nullopt;
    }
    case kDibCreatePatternBrush:
    case kCreatePatternBrush:
      return PatternBrush(function, r);
    case kCreatePalette: {
      r.U16();  // version
      const std::size_t count = r.U16();
      if (!r.Ok() || count * 4 > r.Remaining()) return Short(function);
      Create(ReadPaletteEntries(r, count));
      return std::nullopt;
    }
    case kCreateRegion:
      return CreateRegion(r);
    case kSelectObject:
    case kSelectPalette:
    case kSelectClipRegion:
    case kDeleteObject:
    case kPaintRegion:
    case kInvertRegion: {
      const std::uint16_t index = r.U16();
      if (!r.Ok()) return Short(function);
      const GdiObject* object = Object(index);
      if (function == kDeleteObject) {
        if (index < m_objects.size()) m_objects[index] = std::monostate{};
        return std::nullopt;
      }
      if (function == kSelectClipRegion) {
        const auto* region = object ? std::get_if<Region>(object) : nullptr;
        c.SelectClipRegion(region, false, gdi::kRgnCopy);
        return std::nullopt;
      }
      if (object == nullptr) return std::nullopt;
      if (function == kPaintRegion || function == kInvertRegion) {
        if (const auto* region = std::get_if<Region>(object)) {
          if (function == kPaintRegion) {
            c.PaintRegion(*region);
          } else {
            c.InvertRegion(*region);
          }
        }
        return std::nullopt;
      }
      if (const auto* pen = std::get_if<Pen>(object)) s.pen = *pen;
      if (const auto* brush = std::get_if<Brush>(object)) s.brush = *brush;
      if (const auto* font = std::get_if<Font>(object)) s.font = *font;
      if (const auto* palette = std::get_if<Palette>(object)) s.palette = *palette;
      if (const auto* region = std::get_if<Region>(object)) c.SelectClipRegion(region, false, gdi::kRgnCopy);
      return std::nullopt;
    }
    case kFillRegion:
    case kFrameRegion: {
      const std::uint16_t regionIndex = r.U16();
      const std::uint16_t brushIndex = r.U16();
      double height = 1;
      double width = 1;
      if (function == kFrameRegion) {
        height = r.I16();
        width = r.I16();
      }
      if (!r.Ok()) return Short(function);
      const GdiObject* regionObject = Object(regionIndex);
      const GdiObject* brushObject = Object(brushIndex);
      const auto* region = regionObject ? std::get_if<Region>(regionObject) : nullptr;
      const auto* brush = brushObject ? std::get_if<Brush>(brushObject) : nullptr;
      if (region == nullptr || brush == nullptr) return std::nullopt;
      if (function == kFillRegion) {
        c.FillRegion(*region, *brush);
      } else {
        c.FrameRegion(*region, *brush, QSizeF(width, height));
      }
      return std::nullopt;
    }
    case kPatBlt: {
      const std::uint32_t rop = r.U32();
      const double height = r.I16();
      const double width = r.I16();
      const double y = r.I16();
      const double x = r.I16();
      if (!r.Ok()) return Short(function);
      c.PatBlt(QRectF(x, y, width, height), rop);
      return std::nullopt;
    }
    case kBitBlt:
    case kStretchBlt:
    case kDibBitBlt:
    case kDibStretchBlt:
    case kStretchDib:
    case kSetDibToDev:
      return Bitmap(function, r, recordWords);
    default:
      m_diagnostics.Skip(function);
      return std::nullopt;
  }
}

std::optional<Error> WmfWalker::Text(std::uint16_t function, ByteReader& r, bool extended) {
  TextRun run;
  std::int64_t length = 0;
  QPointF reference;
  if (extended) {
    const double y = r.I16();
    const double x = r.I16();
    reference = QPointF(x, y);
    length = r.I16();
    run.options = r.U16();
    if (run.options & (gdi::kEtoOpaque | gdi::kEtoClipped)) {
      const double left = r.I16();
      const double top = r.I16();
      const double right = r.I16();
      const double bottom = r.I16();
      run.rect = BoxLtrb(left, top, right, bottom);
    }
  } else {
    length = r.I16();
  }
  if (!r.Ok()) return Short(function);
  const std::uint64_t padded = static_cast<std::uint64_t>(std::max<std::int64_t>(length, 0) + 1) / 2 * 2;
  if (length < 0 || padded > r.Remaining()) {
    return m_diagnostics.MakeError(ErrorKind::kBadRecord,
                                   QStringLiteral("il testo dichiara %1 caratteri ma il record ne contiene %2")
                                       .arg(length)
                                       .arg(r.Remaining()));
  }
  run.text = DecodeAnsiText(r.Here(), static_cast<std::size_t>(length));
  r.Skip(static_cast<std::size_t>(padded));
  if (extended) {
    // The advances are there when the record has room for them.
    if (static_cast<std::uint64_t>(length) * 2 <= r.Remaining()) {
      run.dx.resize(static_cast<std::size_t>(length));
      for (double& dx : run.dx) dx = r.I16();
    }
  } else {
    const double y = r.I16();
    const double x = r.I16();
    if (!r.Ok()) return Short(function);
    reference = QPointF(x, y);
  }
  if (run.options & gdi::kEtoGlyphIndex) {
    m_diagnostics.Skip(function);
    return std::nullopt;
  }
  run.reference = reference;
  m_canvas.Text(run);
  return std::nullopt;
}

std::optional<Error> WmfWalker::CreateRegion(ByteReader& r) {
  r.I16();  // next in chain
  r.I16();  // object type
  r.I32();  // object count
  r.I16();  // region size
  const int scans = r.I16();
  r.I16();  // largest scan
  r.Skip(8);  // bounding box
  if (!r.Ok() || scans < 0) return Short(kCreateRegion);
  Region region;
  for (int i = 0; i < scans; ++i) {
    const int count = r.U16();
    const double top = r.I16();
    const double bottom = r.I16();
    if (!r.Ok() || count % 2 != 0 || static_cast<std::size_t>(count) * 2 + 2 > r.Remaining()) {
      return m_diagnostics.MakeError(ErrorKind::kBadRecord,
                                     QStringLiteral("la riga %1 della regione non sta nel record").arg(i));
    }
    for (int k = 0; k < count / 2; ++k) {
      const double left = r.I16();
      const double right = r.I16();
      if (static_cast<int>(region.rects.size()) >= limits::kMaxRegionRects) {
        return m_diagnostics.MakeError(
            ErrorKind::kTooLarge, QStringLiteral("la regione ha più di %1 rettangoli").arg(limits::kMaxRegionRects));
      }
      region.Add(BoxLtrb(left, top, right, bottom));
    }
    r.U16();  // the count again
  }
  if (!r.Ok()) return Short(kCreateRegion);
  Create(std::move(region));
  return std::nullopt;
}

std::optional<Error> WmfWalker::PatternBrush(std::uint16_t function, ByteReader& r) {
  Brush brush;
  if (function == kCreatePatternBrush) {
    DdbLayout layout;
    // The 10-byte bitmap header is followed by an unused pointer and 18 reserved bytes.
    const DibCheck check = ReadBitmap16(r, 4 + 18, layout);
    if (check.status == DibStatus::kBad) {
      return m_diagnostics.MakeError(ErrorKind::kBadBitmap, check.problem);
    }
    if (check.status == DibStatus::kOk && m_canvas.Drawing()) {
      brush.pattern = DecodeBitmap16(layout, r.Slice(r.Pos(), r.Remaining()));
      brush.kind = layout.bitsPixel == 1 ? BrushKind::kMonoPattern : BrushKind::kPattern;
    } else {
      brush.kind = BrushKind::kSolid;
      brush.color = 0x808080;
    }
    Create(std::move(brush));
    return std::nullopt;
  }
  const std::uint32_t style = r.U16();
  const std::uint32_t usage = r.U16();
  if (!r.Ok()) return Short(function);
  const ByteReader packed = r.Slice(r.Pos(), r.Remaining());
  const DibCheck check = ReadPackedDib(packed, usage);
  if (check.status == DibStatus::kBad) return m_diagnostics.MakeError(ErrorKind::kBadBitmap, check.problem);
  if (check.status == DibStatus::kUnsupported) {
    m_diagnostics.Warn(WarningKind::kUnsupportedBitmap, check.problem);
    brush.kind = BrushKind::kSolid;
    brush.color = 0x808080;
  } else {
    const DibLayout& layout = check.layout;
    brush.kind = BrushKind::kPattern;
    if (m_canvas.Drawing()) {
      const ByteReader info = packed.Slice(0, layout.InfoBytes());
      const ByteReader bits = packed.Slice(layout.InfoBytes(), packed.Size() - layout.InfoBytes());
      const DibColors colors{m_canvas.State().palette ? &*m_canvas.State().palette : nullptr, false};
      QImage image = DecodeDib(layout, info, bits, colors);
      if (style == gdi::kBsPattern && layout.bitCount == 1 && !image.isNull()) {
        // A one-bit pattern takes the text and background colours, like a monochrome bitmap.
        image = image.convertToFormat(QImage::Format_Mono, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
        brush.kind = BrushKind::kMonoPattern;
      }
      brush.pattern = image.format() == QImage::Format_Mono ? image
                                                            : image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
  }
  Create(std::move(brush));
  return std::nullopt;
}

std::optional<Error> WmfWalker::Bitmap(std::uint16_t function, ByteReader& r, std::size_t recordWords) {
  // Without a bitmap these records only fill with the brush; a record that
  // is exactly the fixed fields long has none.
  const bool noBitmap = recordWords == static_cast<std::size_t>((function >> 8) + 3);
  std::uint32_t rop = gdi::kSrcCopy;
  std::uint32_t usage = gdi::kDibRgbColors;
  double srcX = 0, srcY = 0, srcW = 0, srcH = 0, dstX = 0, dstY = 0, dstW = 0, dstH = 0;
  switch (function) {
    case kBitBlt:
    case kDibBitBlt:
      rop = r.U32();
      srcY = r.I16();
      srcX = r.I16();
      if (noBitmap) r.I16();
      dstH = r.I16();
      dstW = r.I16();
      dstY = r.I16();
      dstX = r.I16();
      srcW = dstW;
      srcH = dstH;
      break;
    case kStretchBlt:
    case kDibStretchBlt:
    case kStretchDib:
      rop = r.U32();
      if (function == kStretchDib) usage = r.U16();
      srcH = r.I16();
      srcW = r.I16();
      srcY = r.I16();
      srcX = r.I16();
      if (noBitmap && function != kStretchDib) r.I16();
      dstH = r.I16();
      dstW = r.I16();
      dstY = r.I16();
      dstX = r.I16();
      break;
    default:  // kSetDibToDev
      usage = r.U16();
      r.U16();  // scan count
      r.U16();  // first scan
      srcY = r.I16();
      srcX = r.I16();
      srcH = r.I16();
      srcW = r.I16();
      dstY = r.I16();
      dstX = r.I16();
      dstW = srcW;
      dstH = srcH;
      break;
  }
  if (!r.Ok()) return Short(function);
  const QRectF dest(dstX, dstY, dstW, dstH);
  if (noBitmap && function != kStretchDib && function != kSetDibToDev) {
    m_canvas.PatBlt(dest, rop);
    return std::nullopt;
  }

  BitmapBlit blit;
  blit.dest = dest;
  blit.rop = rop;
  if (function == kBitBlt || function == kStretchBlt) {
    DdbLayout layout;
    const DibCheck check = ReadBitmap16(r, 0, layout);
    if (check.status == DibStatus::kBad) return m_diagnostics.MakeError(ErrorKind::kBadBitmap, check.problem);
    if (check.status == DibStatus::kUnsupported) {
      m_diagnostics.Warn(WarningKind::kUnsupportedBitmap, check.problem);
      return std::nullopt;
    }
    const ByteReader bits = r.Slice(r.Pos(), r.Remaining());
    blit.source = QRectF(srcX, srcY, srcW, srcH);
    blit.pixels = static_cast<std::int64_t>(layout.width) * layout.height;
    blit.recolorMono = layout.bitsPixel == 1;
    blit.decode = [layout, bits] { return DecodeBitmap16(layout, bits); };
    m_canvas.Bitmap(blit);
    return std::nullopt;
  }

  const ByteReader packed = r.Slice(r.Pos(), r.Remaining());
  const DibCheck check = ReadPackedDib(packed, usage);
  if (check.status == DibStatus::kBad) return m_diagnostics.MakeError(ErrorKind::kBadBitmap, check.problem);
  if (check.status == DibStatus::kUnsupported) {
    m_diagnostics.Warn(WarningKind::kUnsupportedBitmap, check.problem);
    return std::nullopt;
  }
  const DibLayout layout = check.layout;
  const ByteReader info = packed.Slice(0, layout.InfoBytes());
  const ByteReader bits = packed.Slice(layout.InfoBytes(), packed.Size() - layout.InfoBytes());
  blit.source = DibSourceRect(layout, srcX, srcY, srcW, srcH);
  blit.pixels = static_cast<std::int64_t>(layout.width) * layout.height;
  std::optional<Palette> palette = m_canvas.State().palette;
  blit.decode = [layout, info, bits, palette] {
    return DecodeDib(layout, info, bits, DibColors{palette ? &*palette : nullptr, false});
  };
  m_canvas.Bitmap(blit);
  return std::nullopt;
}

// Records from `offset` on: calls `visit(index, offset, function, body, words)`
// for each until the end record, and reports framing faults.
template <typename Visit>
WalkResult WalkRecords(const PictureSetup& setup, ByteReader data, Diagnostics& diagnostics, Visit& visit) {
  WalkResult result;
  std::size_t offset = setup.firstRecordOffset;
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
    if (data.Size() - offset < kRecordHeaderBytes) {
      result.error = diagnostics.MakeError(ErrorKind::kTruncated,
                                           QStringLiteral("il file finisce dentro l'intestazione di un record"));
      return result;
    }
    ByteReader head = data.Slice(offset, kRecordHeaderBytes);
    const std::uint64_t words = head.U32();
    const std::uint16_t function = head.U16();
    if (words < 3) {
      result.error = diagnostics.MakeError(
          ErrorKind::kBadRecordSize,
          QStringLiteral("il record %1 dichiara una dimensione di %2 parole, meno della sua intestazione")
              .arg(Hex(function))
              .arg(words));
      return result;
    }
    const std::uint64_t bytes = words * 2;
    if (bytes > data.Size() - offset) {
      result.error = diagnostics.MakeError(ErrorKind::kRecordPastEnd,
                                           QStringLiteral("il record %1 dichiara %2 byte ma al file ne restano %3")
                                               .arg(Hex(function))
                                               .arg(bytes)
                                               .arg(data.Size() - offset));
      return result;
    }
    if (index >= limits::kMaxRecords) {
      result.error = diagnostics.MakeError(ErrorKind::kTooLarge,
                                           QStringLiteral("il file ha più di %1 record").arg(limits::kMaxRecords));
      return result;
    }
    const ByteReader body = data.Slice(offset + kRecordHeaderBytes, static_cast<std::size_t>(bytes) - kRecordHeaderBytes);
    if (auto error = visit(function, body, static_cast<std::size_t>(words))) {
      result.error = error;
      return result;
    }
    ++index;
    offset += static_cast<std::size_t>(bytes);
    if (function == kEof) break;
    if (visit.Stopped()) break;
  }
  result.records = index;
  return result;
}

struct PlayVisit {
  WmfWalker& walker;
  Canvas& canvas;
  std::optional<Error> operator()(std::uint16_t function, ByteReader body, std::size_t words) const {
    return walker.Record(function, body, words);
  }
  bool Stopped() const { return canvas.Stopped(); }
};

// The first window origin and extent the records set, for a file that has no
// placeable header to say which part of the plane the picture covers.
struct WindowScan {
  std::optional<QPointF> origin;
  std::optional<QPointF> extent;
  std::optional<Error> operator()(std::uint16_t function, ByteReader body, std::size_t) {
    if (function != kSetWindowOrg && function != kSetWindowExt) return std::nullopt;
    const double y = body.I16();
    const double x = body.I16();
    if (!body.Ok()) return std::nullopt;
    if (function == kSetWindowOrg && !origin) origin = QPointF(x, y);
    if (function == kSetWindowExt && !extent && x != 0 && y != 0) extent = QPointF(x, y);
    return std::nullopt;
  }
  bool Stopped() const { return origin && extent; }
};

}  // namespace

std::optional<Error> SizeFromFrame(double widthPixels, double heightPixels, QSize& size) {
  if (!std::isfinite(widthPixels) || !std::isfinite(heightPixels) || widthPixels > limits::kMaxPictureSide ||
      heightPixels > limits::kMaxPictureSide) {
    return Error{ErrorKind::kAbsurdSize, -1, 0,
                 QStringLiteral("le dimensioni dell'immagine sono assurde (%1 × %2 pixel)")
                     .arg(widthPixels, 0, 'f', 0)
                     .arg(heightPixels, 0, 'f', 0)};
  }
  if (!(widthPixels > 0) || !(heightPixels > 0)) {
    return Error{ErrorKind::kZeroSize, -1, 0, QStringLiteral("l'immagine ha dimensione nulla")};
  }
  size = QSize(std::max(1, static_cast<int>(std::lround(widthPixels))),
               std::max(1, static_cast<int>(std::lround(heightPixels))));
  return std::nullopt;
}

HeaderResult ReadWmfHeader(ByteReader data) {
  HeaderResult result;
  PictureSetup setup;
  std::size_t offset = 0;
  ByteReader r = data;
  const bool placeable = r.U32() == kPlaceableKey;
  std::optional<QRectF> box;
  double unitsPerInch = 0;
  if (placeable) {
    r.Seek(0);
    std::uint16_t checksum = 0;
    for (int i = 0; i < 10; ++i) checksum ^= r.U16();
    r.Seek(6);
    const double left = r.I16();
    const double top = r.I16();
    const double right = r.I16();
    const double bottom = r.I16();
    unitsPerInch = r.U16();
    r.U32();  // reserved
    const std::uint16_t stored = r.U16();
    if (!r.Ok()) {
      result.error = Error{ErrorKind::kTruncated, -1, 0, QStringLiteral("il file finisce dentro l'intestazione")};
      return result;
    }
    if (unitsPerInch == 0) {
      result.error = Error{ErrorKind::kBadHeader, -1, 0,
                           QStringLiteral("l'intestazione dichiara zero unità per pollice")};
      return result;
    }
    if (stored != checksum) {
      setup.warnings.push_back(Warning{WarningKind::kBadChecksum, -1, 0,
                                       QStringLiteral("la somma di controllo dell'intestazione non torna")});
    }
    box = QRectF(QPointF(std::min(left, right), std::min(top, bottom)),
                 QPointF(std::max(left, right), std::max(top, bottom)));
    offset = kPlaceableBytes;
    setup.format = Format::kPlaceableWmf;
  }

  ByteReader h = data.Slice(offset, std::min(kHeaderBytes, data.Size() - std::min(offset, data.Size())));
  const std::uint16_t type = h.U16();
  const std::uint16_t headerWords = h.U16();
  const std::uint16_t version = h.U16();
  const std::uint32_t sizeWords = h.U32();
  const std::uint16_t objects = h.U16();
  h.U32();  // largest record
  h.U16();  // unused
  if (!h.Ok()) {
    result.error = Error{placeable ? ErrorKind::kTruncated : ErrorKind::kNotAMetafile, -1,
                         static_cast<std::int64_t>(offset),
                         placeable ? QStringLiteral("il file finisce dentro l'intestazione")
                                   : QStringLiteral("il file non è un metafile WMF né EMF")};
    return result;
  }
  if ((type != 1 && type != 2) || headerWords != 9 || (version != 0x0100 && version != 0x0300)) {
    result.error = Error{placeable ? ErrorKind::kBadHeader : ErrorKind::kNotAMetafile, -1,
                         static_cast<std::int64_t>(offset),
                         placeable ? QStringLiteral("l'intestazione del metafile non è valida")
                                   : QStringLiteral("il file non è un metafile WMF né EMF")};
    return result;
  }
  setup.firstRecordOffset = offset + kHeaderBytes;
  setup.declaredBytes = static_cast<std::int64_t>(offset) + static_cast<std::int64_t>(sizeWords) * 2;
  setup.objectTableSize = objects;

  if (box) {
    const double widthPixels = box->width() * 96 / unitsPerInch;
    const double heightPixels = box->height() * 96 / unitsPerInch;
    if (auto error = SizeFromFrame(widthPixels, heightPixels, setup.sizePixels)) {
      result.error = error;
      return result;
    }
    setup.sizeMm = QSizeF(box->width() * 25.4 / unitsPerInch, box->height() * 25.4 / unitsPerInch);
    // Play as a viewer does: the window is the box, the viewport the picture.
    setup.initial.mapMode = gdi::kMmAnisotropic;
    setup.initial.windowOrg = box->topLeft();
    setup.initial.windowExt = QPointF(box->width(), box->height());
    setup.initial.viewportExt = QPointF(widthPixels, heightPixels);
    setup.frameDevice = QRectF(0, 0, widthPixels, heightPixels);
    result.setup = setup;
    return result;
  }

  setup.format = Format::kWmf;
  Diagnostics quiet;
  WindowScan scan;
  WalkRecords(setup, data, quiet, scan);
  if (scan.extent) {
    const QPointF extent(std::abs(scan.extent->x()), std::abs(scan.extent->y()));
    setup.initial.viewportExt = extent;
    setup.frameDevice = QRectF(0, 0, extent.x(), extent.y());
  } else {
    setup.frameFromDrawing = true;
  }
  result.setup = setup;
  return result;
}

WalkResult WalkWmf(const PictureSetup& setup, ByteReader data, Canvas& canvas, Diagnostics& diagnostics) {
  WmfWalker walker(setup, canvas, diagnostics);
  PlayVisit visit{walker, canvas};
  return WalkRecords(setup, data, diagnostics, visit);
}

}  // namespace metafile::detail
