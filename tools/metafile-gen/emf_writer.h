#pragma once

#include "byte_sink.h"
#include "dib_builder.h"

#include <string>
#include <vector>

namespace metafile_gen {

// Writes an EMF record by record. Handles are numbered from 1, as a device
// context numbers them; the header is written last, when its counts are known.
class EmfWriter {
 public:
  // frame: 0.01 mm; the reference device is a 96-dpi screen of `deviceWidth` × `deviceHeight` pixels.
  EmfWriter(Rect bounds, Rect frame, int deviceWidth = 1920, int deviceHeight = 1080)
      : m_bounds(bounds), m_frame(frame), m_deviceWidth(deviceWidth), m_deviceHeight(deviceHeight) {}

  void Record(std::uint32_t type, const Bytes& params);

  void Point2(std::uint32_t type, int x, int y) { Record(type, ByteSink().I32(x).I32(y).Take()); }
  void Value(std::uint32_t type, std::uint32_t value) { Record(type, ByteSink().U32(value).Take()); }
  void RectRecord(std::uint32_t type, Rect r) {
    Record(type, ByteSink().I32(r.left).I32(r.top).I32(r.right).I32(r.bottom).Take());
  }

  void SetWindowExt(int x, int y) { Point2(9, x, y); }
  void SetWindowOrg(int x, int y) { Point2(10, x, y); }
  void SetViewportExt(int x, int y) { Point2(11, x, y); }
  void SetViewportOrg(int x, int y) { Point2(12, x, y); }
  void MoveTo(int x, int y) { Point2(27, x, y); }
  void LineTo(int x, int y) { Point2(54, x, y); }
  void SetMapMode(int mode) { Value(17, mode); }
  void SetBkMode(int mode) { Value(18, mode); }
  void SetPolyFillMode(int mode) { Value(19, mode); }
  void SetTextAlign(int align) { Value(22, align); }
  void SetTextColor(std::uint32_t color) { Value(24, color); }
  void SetBkColor(std::uint32_t color) { Value(25, color); }
  void SetArcDirection(int direction) { Value(57, direction); }
  void SaveDc() { Record(33, {}); }
  void RestoreDc(int which) { Value(34, static_cast<std::uint32_t>(which)); }
  void SelectObject(std::uint32_t handle) { Value(37, handle); }
  void DeleteObject(std::uint32_t handle) { Value(40, handle); }
  void Rectangle(Rect r) { RectRecord(43, r); }
  void Ellipse(Rect r) { RectRecord(42, r); }
  void IntersectClipRect(Rect r) { RectRecord(30, r); }
  void ExcludeClipRect(Rect r) { RectRecord(29, r); }
  void RoundRect(Rect r, int width, int height) {
    Record(44, ByteSink().I32(r.left).I32(r.top).I32(r.right).I32(r.bottom).I32(width).I32(height).Take());
  }
  void ArcLike(std::uint32_t type, Rect r, Point start, Point end) {
    Record(type, ByteSink()
                     .I32(r.left).I32(r.top).I32(r.right).I32(r.bottom)
                     .I32(start.x).I32(start.y).I32(end.x).I32(end.y)
                     .Take());
  }
  void Arc(Rect r, Point s, Point e) { ArcLike(45, r, s, e); }
  void Chord(Rect r, Point s, Point e) { ArcLike(46, r, s, e); }
  void Pie(Rect r, Point s, Point e) { ArcLike(47, r, s, e); }
  void ArcTo(Rect r, Point s, Point e) { ArcLike(55, r, s, e); }
  void AngleArc(Point center, int radius, float start, float sweep) {
    Record(41, ByteSink().I32(center.x).I32(center.y).U32(radius).F32(start).F32(sweep).Take());
  }
  // Polygon-like records: 2 bezier, 3 polygon, 4 polyline, 5 bezier to, 6 polyline to;
  // with `small` their 16-bit forms.
  void Poly(std::uint32_t type, const std::vector<Point>& points, bool small = false);
  // 7 polypolyline, 8 polypolygon (and their 16-bit forms with `small`).
  void PolyPoly(std::uint32_t type, const std::vector<std::vector<Point>>& polys, bool small = false);
  void PolyDraw(const std::vector<Point>& points, const std::vector<std::uint8_t>& types);
  void SetWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy);
  void ModifyWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy, int mode);

  void BeginPath() { Record(59, {}); }
  void EndPath() { Record(60, {}); }
  void CloseFigure() { Record(61, {}); }
  void FillPath() { Record(62, ByteSink().I32(0).I32(0).I32(0).I32(0).Take()); }
  void StrokeAndFillPath() { Record(63, ByteSink().I32(0).I32(0).I32(0).I32(0).Take()); }
  void StrokePath() { Record(64, ByteSink().I32(0).I32(0).I32(0).I32(0).Take()); }
  void WidenPath() { Record(66, {}); }
  void SelectClipPath(int mode) { Value(67, mode); }

  std::uint32_t CreatePen(int style, int width, std::uint32_t color);
  std::uint32_t ExtCreatePen(std::uint32_t style, int width, std::uint32_t color,
                             const std::vector<std::uint32_t>& dashes = {});
  std::uint32_t CreateBrush(int style, std::uint32_t color, int hatch = 0);
  std::uint32_t DibPatternBrush(const PackedDib& dib, bool mono);
  std::uint32_t CreateFont(int height, int escapement, int weight, bool italic, bool underline,
                           const std::u16string& face);

  void ExtTextOutW(Point reference, std::uint32_t options, Rect rect, const std::u16string& text,
                   const std::vector<int>& dx = {});
  void ExtTextOutA(Point reference, std::uint32_t options, Rect rect, const std::string& text,
                   const std::vector<int>& dx = {});
  void SmallTextOut(Point reference, const std::u16string& text);

  // 76 bit-block, 77 stretch, 114 alpha blend, 116 transparent (`rop` holds
  // the blend or the transparent colour for the last two).
  void Blit(std::uint32_t type, Rect dest, Rect source, std::uint32_t rop, const PackedDib& dib);
  void StretchDiBits(Rect dest, Rect source, const PackedDib& dib, std::uint32_t rop = 0x00CC0020);
  void SetDiBitsToDevice(Point dest, Rect source, const PackedDib& dib);
  void PatBlt(Rect dest, std::uint32_t rop);

  // Region records: 71 fill (with brush), 72 frame (with brush and frame size),
  // 73 invert, 74 paint; 75 selects a clip region (device units) with `mode`.
  void RegionRecord(std::uint32_t type, const std::vector<Rect>& rects, std::uint32_t brush = 0,
                    Point frame = {}, int mode = 5);
  void GradientRect(Rect r, std::uint32_t from, std::uint32_t to, bool vertical);
  void Comment(const Bytes& data);

  void Eof();
  Bytes Finish() const;

 private:
  std::uint32_t NextHandle() { return m_nextHandle++; }
  Bytes TextBody(Point reference, std::uint32_t options, Rect rect, const Bytes& string, std::size_t characters,
                 const std::vector<int>& dx, std::size_t fixedBefore) const;

  Rect m_bounds;
  Rect m_frame;
  int m_deviceWidth;
  int m_deviceHeight;
  ByteSink m_records;
  int m_count = 0;
  std::uint32_t m_nextHandle = 1;
};

}  // namespace metafile_gen
