#pragma once

#include "byte_sink.h"
#include "dib_builder.h"

#include <optional>
#include <string>
#include <vector>

namespace metafile_gen {

struct Placeable {
  Rect box;             // logical units
  int unitsPerInch = 1440;
  bool breakChecksum = false;
};

// Writes a WMF record by record, keeping the object table the way a device
// context fills it (each new object in the lowest free slot).
class WmfWriter {
 public:
  // Any record, with its parameters already laid out.
  void Record(std::uint16_t function, const Bytes& params);

  void SaveDc() { Record(0x001E, {}); }
  void RestoreDc(int which) { Record(0x0127, ByteSink().I16(which).Take()); }
  void SetMapMode(int mode) { Record(0x0103, ByteSink().U16(mode).Take()); }
  void SetBkMode(int mode) { Record(0x0102, ByteSink().U16(mode).Take()); }
  void SetPolyFillMode(int mode) { Record(0x0106, ByteSink().U16(mode).Take()); }
  void SetRop2(int mode) { Record(0x0104, ByteSink().U16(mode).Take()); }
  void SetTextAlign(int align) { Record(0x012E, ByteSink().U16(align).Take()); }
  void SetBkColor(std::uint32_t color) { Record(0x0201, ByteSink().U32(color).Take()); }
  void SetTextColor(std::uint32_t color) { Record(0x0209, ByteSink().U32(color).Take()); }
  void SetWindowOrg(int x, int y) { Record(0x020B, ByteSink().I16(y).I16(x).Take()); }
  void SetWindowExt(int x, int y) { Record(0x020C, ByteSink().I16(y).I16(x).Take()); }
  void SetViewportOrg(int x, int y) { Record(0x020D, ByteSink().I16(y).I16(x).Take()); }
  void SetViewportExt(int x, int y) { Record(0x020E, ByteSink().I16(y).I16(x).Take()); }
  void OffsetWindowOrg(int x, int y) { Record(0x020F, ByteSink().I16(y).I16(x).Take()); }
  void ScaleWindowExt(int xNum, int xDenom, int yNum, int yDenom) {
    Record(0x0410, ByteSink().I16(yDenom).I16(yNum).I16(xDenom).I16(xNum).Take());
  }
  void MoveTo(int x, int y) { Record(0x0214, ByteSink().I16(y).I16(x).Take()); }
  void LineTo(int x, int y) { Record(0x0213, ByteSink().I16(y).I16(x).Take()); }
  void Polyline(const std::vector<Point>& points) { Poly(0x0325, points); }
  void Polygon(const std::vector<Point>& points) { Poly(0x0324, points); }
  void PolyPolygon(const std::vector<std::vector<Point>>& polygons);
  void Rectangle(Rect r) { Box(0x041B, r); }
  void Ellipse(Rect r) { Box(0x0418, r); }
  void IntersectClipRect(Rect r) { Box(0x0416, r); }
  void ExcludeClipRect(Rect r) { Box(0x0415, r); }
  void RoundRect(Rect r, int width, int height) {
    Record(0x061C, ByteSink().I16(height).I16(width).I16(r.bottom).I16(r.right).I16(r.top).I16(r.left).Take());
  }
  void Arc(Rect r, Point start, Point end) { ArcLike(0x0817, r, start, end); }
  void Chord(Rect r, Point start, Point end) { ArcLike(0x0830, r, start, end); }
  void Pie(Rect r, Point start, Point end) { ArcLike(0x081A, r, start, end); }
  void SetPixel(int x, int y, std::uint32_t color) { Record(0x041F, ByteSink().U32(color).I16(y).I16(x).Take()); }
  void TextOut(int x, int y, const std::string& text);
  void ExtTextOut(int x, int y, int options, std::optional<Rect> rect, const std::string& text,
                  const std::vector<int>& dx = {});
  void PatBlt(Rect r, std::uint32_t rop) {
    Record(0x061D, ByteSink().U32(rop).I16(r.bottom - r.top).I16(r.right - r.left).I16(r.top).I16(r.left).Take());
  }
  void StretchDib(Rect dest, Rect source, const PackedDib& dib, std::uint32_t rop = 0x00CC0020);
  void DibBitBlt(Point dest, Rect source, const PackedDib& dib, std::uint32_t rop = 0x00CC0020);
  void DibStretchBlt(Rect dest, Rect source, const PackedDib& dib, std::uint32_t rop = 0x00CC0020);
  // A one-bit device-dependent bitmap; rows top first, 1 bits set in `rows`.
  void BitBltMono(Point dest, int width, int height, const std::vector<std::uint16_t>& rows);
  void Escape(int function, const Bytes& data);

  int CreatePen(int style, int width, std::uint32_t color);
  int CreateBrush(int style, std::uint32_t color, int hatch = 0);
  int CreateFont(int height, int escapement, int weight, bool italic, bool underline, const std::string& face,
                 int width = 0);
  int DibPatternBrush(const PackedDib& dib);
  int CreateRegion(const std::vector<Rect>& rects);  // rectangles of one band each
  int CreatePalette(const std::vector<std::uint32_t>& colors);
  void SelectObject(int index) { Record(0x012D, ByteSink().U16(index).Take()); }
  void DeleteObject(int index);
  void SelectClipRegion(int index) { Record(0x012C, ByteSink().U16(index).Take()); }
  void FillRegion(int region, int brush) { Record(0x0228, ByteSink().U16(region).U16(brush).Take()); }
  void FrameRegion(int region, int brush, int width, int height) {
    Record(0x0429, ByteSink().U16(region).U16(brush).I16(height).I16(width).Take());
  }
  void Eof() { Record(0x0000, {}); }

  // The file: the placeable header when asked for, the header and the records.
  Bytes Finish(const std::optional<Placeable>& placeable) const;

 private:
  void Poly(std::uint16_t function, const std::vector<Point>& points);
  void Box(std::uint16_t function, Rect r) {
    Record(function, ByteSink().I16(r.bottom).I16(r.right).I16(r.top).I16(r.left).Take());
  }
  void ArcLike(std::uint16_t function, Rect r, Point start, Point end) {
    Record(function, ByteSink()
                         .I16(end.y).I16(end.x).I16(start.y).I16(start.x)
                         .I16(r.bottom).I16(r.right).I16(r.top).I16(r.left)
                         .Take());
  }
  int Allocate();

  ByteSink m_records;
  std::uint32_t m_largestWords = 0;
  std::vector<bool> m_used;
};

}  // namespace metafile_gen
