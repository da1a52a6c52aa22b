#include "wmf_writer.h"

#include <algorithm>

namespace metafile_gen {

void WmfWriter::Record(std::uint16_t function, const Bytes& params) {
  const std::uint32_t words = static_cast<std::uint32_t>(3 + (params.size() + 1) / 2);
  m_records.U32(words).U16(function).Append(params);
  if (params.size() % 2 == 1) m_records.U8(0);
  m_largestWords = std::max(m_largestWords, words);
}

void WmfWriter::Poly(std::uint16_t function, const std::vector<Point>& points) {
  ByteSink p;
  p.I16(static_cast<int>(points.size()));
  for (const Point& point : points) p.I16(point.x).I16(point.y);
  Record(function, p.Take());
}

void WmfWriter::PolyPolygon(const std::vector<std::vector<Point>>& polygons) {
  ByteSink p;
  p.U16(static_cast<std::uint32_t>(polygons.size()));
  for (const auto& polygon : polygons) p.U16(static_cast<std::uint32_t>(polygon.size()));
  for (const auto& polygon : polygons) {
    for (const Point& point : polygon) p.I16(point.x).I16(point.y);
  }
  Record(0x0538, p.Take());
}

namespace {
ByteSink TextBytes(const std::string& text) {
  ByteSink s;
  s.Text(text);
  if (text.size() % 2 == 1) s.U8(0);
  return s;
}
}  // namespace

void WmfWriter::TextOut(int x, int y, const std::string& text) {
  ByteSink p;
  p.I16(static_cast<int>(text.size())).Append(TextBytes(text).Get()).I16(y).I16(x);
  Record(0x0521, p.Take());
}

void WmfWriter::ExtTextOut(int x, int y, int options, std::optional<Rect> rect, const std::string& text,
                           const std::vector<int>& dx) {
  ByteSink p;
  p.I16(y).I16(x).I16(static_cast<int>(text.size())).U16(options);
  if (rect) p.I16(rect->left).I16(rect->top).I16(rect->right).I16(rect->bottom);
  p.Append(TextBytes(text).Get());
  for (const int advance : dx) p.I16(advance);
  Record(0x0A32, p.Take());
}

void WmfWriter::StretchDib(Rect dest, Rect source, const PackedDib& dib, std::uint32_t rop) {
  ByteSink p;
  p.U32(rop).U16(0);
  p.I16(source.bottom - source.top).I16(source.right - source.left).I16(source.top).I16(source.left);
  p.I16(dest.bottom - dest.top).I16(dest.right - dest.left).I16(dest.top).I16(dest.left);
  p.Append(dib.Packed());
  Record(0x0F43, p.Take());
}

void WmfWriter::DibBitBlt(Point dest, Rect source, const PackedDib& dib, std::uint32_t rop) {
  ByteSink p;
  p.U32(rop).I16(source.top).I16(source.left);
  p.I16(source.bottom - source.top).I16(source.right - source.left).I16(dest.y).I16(dest.x);
  p.Append(dib.Packed());
  Record(0x0940, p.Take());
}

void WmfWriter::DibStretchBlt(Rect dest, Rect source, const PackedDib& dib, std::uint32_t rop) {
  ByteSink p;
  p.U32(rop);
  p.I16(source.bottom - source.top).I16(source.right - source.left).I16(source.top).I16(source.left);
  p.I16(dest.bottom - dest.top).I16(dest.right - dest.left).I16(dest.top).I16(dest.left);
  p.Append(dib.Packed());
  Record(0x0B41, p.Take());
}

void WmfWriter::BitBltMono(Point dest, int width, int height, const std::vector<std::uint16_t>& rows) {
  ByteSink p;
  p.U32(0x00CC0020).I16(0).I16(0).I16(height).I16(width).I16(dest.y).I16(dest.x);
  p.I16(0).I16(width).I16(height).I16(2).U8(1).U8(1);  // type, size, 2 bytes per row, one plane, 1 bit
  for (const std::uint16_t row : rows) p.U8(row >> 8).U8(row & 0xFF);
  Record(0x0922, p.Take());
}

void WmfWriter::Escape(int function, const Bytes& data) {
  ByteSink p;
  p.U16(function).U16(static_cast<std::uint32_t>(data.size())).Append(data);
  Record(0x0626, p.Take());
}

int WmfWriter::Allocate() {
  for (std::size_t i = 0; i < m_used.size(); ++i) {
    if (!m_used[i]) {
      m_used[i] = true;
      return static_cast<int>(i);
    }
  }
  m_used.push_back(true);
  return static_cast<int>(m_used.size() - 1);
}

void WmfWriter::DeleteObject(int index) {
  Record(0x01F0, ByteSink().U16(index).Take());
  if (index >= 0 && index < static_cast<int>(m_used.size())) m_used[index] = false;
}

int WmfWriter::CreatePen(int style, int width, std::uint32_t color) {
  Record(0x02FA, ByteSink().U16(style).I16(width).I16(0).U32(color).Take());
  return Allocate();
}

int WmfWriter::CreateBrush(int style, std::uint32_t color, int hatch) {
  Record(0x02FC, ByteSink().U16(style).U32(color).U16(hatch).Take());
  return Allocate();
}

int WmfWriter::CreateFont(int height, int escapement, int weight, bool italic, bool underline,
                          const std::string& face, int width) {
  ByteSink p;
  p.I16(height).I16(width).I16(escapement).I16(escapement).I16(weight);
  p.U8(italic ? 1 : 0).U8(underline ? 1 : 0).U8(0).U8(0);  // strike-out, Western character set
  p.U8(0).U8(0).U8(0).U8(0);
  std::string name = face.substr(0, 31);
  name.resize(32, '\0');
  p.Text(name);
  Record(0x02FB, p.Take());
  return Allocate();
}

int WmfWriter::DibPatternBrush(const PackedDib& dib) {
  ByteSink p;
  p.U16(5).U16(0).Append(dib.Packed());  // a DIB pattern with its own colours
  Record(0x0142, p.Take());
  return Allocate();
}

int WmfWriter::CreateRegion(const std::vector<Rect>& rects) {
  ByteSink scans;
  Rect bounds = rects.empty() ? Rect{} : rects.front();
  for (const Rect& r : rects) {
    scans.U16(2).U16(r.top).U16(r.bottom).U16(r.left).U16(r.right).U16(2);
    bounds = Rect{std::min(bounds.left, r.left), std::min(bounds.top, r.top), std::max(bounds.right, r.right),
                  std::max(bounds.bottom, r.bottom)};
  }
  ByteSink p;
  p.I16(0).I16(6).I32(0).I16(static_cast<int>(22 + scans.Size())).I16(static_cast<int>(rects.size())).I16(2);
  p.I16(bounds.left).I16(bounds.top).I16(bounds.right).I16(bounds.bottom);
  p.Append(scans.Get());
  Record(0x06FF, p.Take());
  return Allocate();
}

int WmfWriter::CreatePalette(const std::vector<std::uint32_t>& colors) {
  ByteSink p;
  p.U16(0x0300).U16(static_cast<std::uint32_t>(colors.size()));
  for (const std::uint32_t c : colors) p.U8(c & 0xFF).U8((c >> 8) & 0xFF).U8((c >> 16) & 0xFF).U8(0);
  Record(0x00F7, p.Take());
  return Allocate();
}

Bytes WmfWriter::Finish(const std::optional<Placeable>& placeable) const {
  ByteSink file;
  if (placeable) {
    ByteSink head;
    head.U32(0x9AC6CDD7).U16(0);
    head.I16(placeable->box.left).I16(placeable->box.top).I16(placeable->box.right).I16(placeable->box.bottom);
    head.U16(placeable->unitsPerInch).U32(0);
    std::uint16_t checksum = 0;
    const Bytes& h = head.Get();
    for (std::size_t i = 0; i < h.size(); i += 2) checksum ^= static_cast<std::uint16_t>(h[i] | (h[i + 1] << 8));
    if (placeable->breakChecksum) checksum ^= 0x5555;
    head.U16(checksum);
    file.Append(head.Get());
  }
  const std::uint32_t words = static_cast<std::uint32_t>((18 + m_records.Size()) / 2);
  file.U16(1).U16(9).U16(0x0300).U32(words).U16(static_cast<std::uint32_t>(m_used.size()))
      .U32(m_largestWords).U16(0);
  file.Append(m_records.Get());
  return file.Take();
}

}  // namespace metafile_gen
