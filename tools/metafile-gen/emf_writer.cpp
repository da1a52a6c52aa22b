#include "emf_writer.h"

namespace metafile_gen {

namespace {
constexpr int kRecordHeader = 8;
void Bounds(ByteSink& s) { s.I32(0).I32(0).I32(-1).I32(-1); }
}  // namespace

void EmfWriter::Record(std::uint32_t type, const Bytes& params) {
  ByteSink r;
  r.U32(type).U32(static_cast<std::uint32_t>(kRecordHeader + ((params.size() + 3) / 4) * 4)).Append(params).PadTo(4);
  m_records.Append(r.Get());
  ++m_count;
}

void EmfWriter::Poly(std::uint32_t type, const std::vector<Point>& points, bool small) {
  ByteSink p;
  Bounds(p);
  p.U32(static_cast<std::uint32_t>(points.size()));
  for (const Point& point : points) {
    if (small) {
      p.I16(point.x).I16(point.y);
    } else {
      p.I32(point.x).I32(point.y);
    }
  }
  Record(small ? type + 83 : type, p.Take());
}

void EmfWriter::PolyPoly(std::uint32_t type, const std::vector<std::vector<Point>>& polys, bool small) {
  ByteSink p;
  Bounds(p);
  std::uint32_t total = 0;
  for (const auto& poly : polys) total += static_cast<std::uint32_t>(poly.size());
  p.U32(static_cast<std::uint32_t>(polys.size())).U32(total);
  for (const auto& poly : polys) p.U32(static_cast<std::uint32_t>(poly.size()));
  for (const auto& poly : polys) {
    for (const Point& point : poly) {
      if (small) {
        p.I16(point.x).I16(point.y);
      } else {
        p.I32(point.x).I32(point.y);
      }
    }
  }
  Record(small ? type + 83 : type, p.Take());
}

void EmfWriter::PolyDraw(const std::vector<Point>& points, const std::vector<std::uint8_t>& types) {
  ByteSink p;
  Bounds(p);
  p.U32(static_cast<std::uint32_t>(points.size()));
  for (const Point& point : points) p.I32(point.x).I32(point.y);
  for (const std::uint8_t t : types) p.U8(t);
  Record(56, p.Take());
}

void EmfWriter::SetWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy) {
  Record(35, ByteSink().F32(m11).F32(m12).F32(m21).F32(m22).F32(dx).F32(dy).Take());
}

void EmfWriter::ModifyWorldTransform(float m11, float m12, float m21, float m22, float dx, float dy, int mode) {
  Record(36, ByteSink().F32(m11).F32(m12).F32(m21).F32(m22).F32(dx).F32(dy).U32(mode).Take());
}

std::uint32_t EmfWriter::CreatePen(int style, int width, std::uint32_t color) {
  const std::uint32_t handle = NextHandle();
  Record(38, ByteSink().U32(handle).U32(style).I32(width).I32(0).U32(color).Take());
  return handle;
}

std::uint32_t EmfWriter::ExtCreatePen(std::uint32_t style, int width, std::uint32_t color,
                                      const std::vector<std::uint32_t>& dashes) {
  const std::uint32_t handle = NextHandle();
  ByteSink p;
  p.U32(handle).U32(0).U32(0).U32(0).U32(0);
  p.U32(style).U32(width).U32(0).U32(color).U32(0).U32(static_cast<std::uint32_t>(dashes.size()));
  for (const std::uint32_t dash : dashes) p.U32(dash);
  Record(95, p.Take());
  return handle;
}

std::uint32_t EmfWriter::CreateBrush(int style, std::uint32_t color, int hatch) {
  const std::uint32_t handle = NextHandle();
  Record(39, ByteSink().U32(handle).U32(style).U32(color).U32(hatch).Take());
  return handle;
}

std::uint32_t EmfWriter::DibPatternBrush(const PackedDib& dib, bool mono) {
  const std::uint32_t handle = NextHandle();
  ByteSink p;
  const std::uint32_t offInfo = kRecordHeader + 24;
  const std::uint32_t offBits = offInfo + static_cast<std::uint32_t>(dib.info.size());
  p.U32(handle).U32(0).U32(offInfo).U32(static_cast<std::uint32_t>(dib.info.size())).U32(offBits)
      .U32(static_cast<std::uint32_t>(dib.bits.size()));
  p.Append(dib.info).Append(dib.bits);
  Record(mono ? 93 : 94, p.Take());
  return handle;
}

std::uint32_t EmfWriter::CreateFont(int height, int escapement, int weight, bool italic, bool underline,
                                    const std::u16string& face) {
  const std::uint32_t handle = NextHandle();
  ByteSink p;
  p.U32(handle).I32(height).I32(0).I32(escapement).I32(escapement).I32(weight);
  p.U8(italic ? 1 : 0).U8(underline ? 1 : 0).U8(0).U8(0).U8(0).U8(0).U8(0).U8(0);
  for (int i = 0; i < 32; ++i) p.U16(i < static_cast<int>(face.size()) ? face[i] : 0);
  Record(82, p.Take());
  return handle;
}

Bytes EmfWriter::TextBody(Point reference, std::uint32_t options, Rect rect, const Bytes& string,
                          std::size_t characters, const std::vector<int>& dx, std::size_t fixedBefore) const {
  // Offsets count from the record's start: its header, the fixed fields
  // before the text structure, and the 40 bytes of that structure.
  const std::uint32_t offString = static_cast<std::uint32_t>(kRecordHeader + fixedBefore + 40);
  const std::uint32_t stringBytes = static_cast<std::uint32_t>((string.size() + 3) / 4 * 4);
  const std::uint32_t offDx = dx.empty() ? 0 : offString + stringBytes;
  ByteSink p;
  p.I32(reference.x).I32(reference.y).U32(static_cast<std::uint32_t>(characters)).U32(offString).U32(options);
  p.I32(rect.left).I32(rect.top).I32(rect.right).I32(rect.bottom).U32(offDx);
  p.Append(string).PadTo(4);
  for (const int advance : dx) p.I32(advance);
  return p.Take();
}

void EmfWriter::ExtTextOutW(Point reference, std::uint32_t options, Rect rect, const std::u16string& text,
                            const std::vector<int>& dx) {
  ByteSink string;
  for (const char16_t c : text) string.U16(c);
  ByteSink p;
  Bounds(p);
  p.U32(1).F32(1).F32(1);
  p.Append(TextBody(reference, options, rect, string.Get(), text.size(), dx, 28));
  Record(84, p.Take());
}

void EmfWriter::ExtTextOutA(Point reference, std::uint32_t options, Rect rect, const std::string& text,
                            const std::vector<int>& dx) {
  ByteSink string;
  string.Text(text);
  ByteSink p;
  Bounds(p);
  p.U32(1).F32(1).F32(1);
  p.Append(TextBody(reference, options, rect, string.Get(), text.size(), dx, 28));
  Record(83, p.Take());
}

void EmfWriter::SmallTextOut(Point reference, const std::u16string& text) {
  ByteSink p;
  p.I32(reference.x).I32(reference.y).U32(static_cast<std::uint32_t>(text.size())).U32(0x0100).U32(1).F32(1).F32(1);
  for (const char16_t c : text) p.U16(c);
  Record(108, p.Take());
}

void EmfWriter::Blit(std::uint32_t type, Rect dest, Rect source, std::uint32_t rop, const PackedDib& dib) {
  const bool stretch = type != 76;
  const std::uint32_t fixed = 16 + 16 + 4 + 8 + 24 + 8 + 16 + (stretch ? 8 : 0);
  const std::uint32_t offInfo = kRecordHeader + fixed;
  const std::uint32_t offBits = offInfo + static_cast<std::uint32_t>(dib.info.size());
  ByteSink p;
  Bounds(p);
  p.I32(dest.left).I32(dest.top).I32(dest.right - dest.left).I32(dest.bottom - dest.top).U32(rop);
  p.I32(source.left).I32(source.top);
  p.F32(1).F32(0).F32(0).F32(1).F32(0).F32(0);
  p.U32(0xFFFFFF).U32(0);
  p.U32(offInfo).U32(static_cast<std::uint32_t>(dib.info.size())).U32(offBits)
      .U32(static_cast<std::uint32_t>(dib.bits.size()));
  if (stretch) p.I32(source.right - source.left).I32(source.bottom - source.top);
  p.Append(dib.info).Append(dib.bits);
  Record(type, p.Take());
}

void EmfWriter::PatBlt(Rect dest, std::uint32_t rop) {
  ByteSink p;
  Bounds(p);
  p.I32(dest.left).I32(dest.top).I32(dest.right - dest.left).I32(dest.bottom - dest.top).U32(rop);
  p.I32(0).I32(0).F32(1).F32(0).F32(0).F32(1).F32(0).F32(0).U32(0).U32(0);
  p.U32(0).U32(0).U32(0).U32(0);
  Record(76, p.Take());
}

void EmfWriter::StretchDiBits(Rect dest, Rect source, const PackedDib& dib, std::uint32_t rop) {
  const std::uint32_t offInfo = kRecordHeader + 72;
  const std::uint32_t offBits = offInfo + static_cast<std::uint32_t>(dib.info.size());
  ByteSink p;
  Bounds(p);
  p.I32(dest.left).I32(dest.top).I32(source.left).I32(source.top);
  p.I32(source.right - source.left).I32(source.bottom - source.top);
  p.U32(offInfo).U32(static_cast<std::uint32_t>(dib.info.size())).U32(offBits)
      .U32(static_cast<std::uint32_t>(dib.bits.size()));
  p.U32(0).U32(rop).I32(dest.right - dest.left).I32(dest.bottom - dest.top);
  p.Append(dib.info).Append(dib.bits);
  Record(81, p.Take());
}

void EmfWriter::SetDiBitsToDevice(Point dest, Rect source, const PackedDib& dib) {
  const std::uint32_t offInfo = kRecordHeader + 68;
  const std::uint32_t offBits = offInfo + static_cast<std::uint32_t>(dib.info.size());
  ByteSink p;
  Bounds(p);
  p.I32(dest.x).I32(dest.y).I32(source.left).I32(source.top);
  p.I32(source.right - source.left).I32(source.bottom - source.top);
  p.U32(offInfo).U32(static_cast<std::uint32_t>(dib.info.size())).U32(offBits)
      .U32(static_cast<std::uint32_t>(dib.bits.size()));
  p.U32(0).U32(0).U32(static_cast<std::uint32_t>(source.bottom - source.top));
  p.Append(dib.info).Append(dib.bits);
  Record(80, p.Take());
}

void EmfWriter::RegionRecord(std::uint32_t type, const std::vector<Rect>& rects, std::uint32_t brush, Point frame,
                             int mode) {
  ByteSink data;
  Rect bound = rects.empty() ? Rect{} : rects.front();
  for (const Rect& r : rects) {
    bound = Rect{std::min(bound.left, r.left), std::min(bound.top, r.top), std::max(bound.right, r.right),
                 std::max(bound.bottom, r.bottom)};
  }
  data.U32(32).U32(1).U32(static_cast<std::uint32_t>(rects.size())).U32(static_cast<std::uint32_t>(rects.size() * 16));
  data.I32(bound.left).I32(bound.top).I32(bound.right).I32(bound.bottom);
  for (const Rect& r : rects) data.I32(r.left).I32(r.top).I32(r.right).I32(r.bottom);
  ByteSink p;
  if (type == 75) {
    p.U32(static_cast<std::uint32_t>(data.Size())).U32(mode);
  } else {
    Bounds(p);
    p.U32(static_cast<std::uint32_t>(data.Size()));
    if (type == 71 || type == 72) p.U32(brush);
    if (type == 72) p.I32(frame.x).I32(frame.y);
  }
  p.Append(data.Get());
  Record(type, p.Take());
}

void EmfWriter::GradientRect(Rect r, std::uint32_t from, std::uint32_t to, bool vertical) {
  ByteSink p;
  Bounds(p);
  p.U32(2).U32(1).U32(vertical ? 1 : 0);
  auto vertex = [&](int x, int y, std::uint32_t c) {
    p.I32(x).I32(y).U16((c & 0xFF) << 8).U16(((c >> 8) & 0xFF) << 8).U16(((c >> 16) & 0xFF) << 8).U16(0);
  };
  vertex(r.left, r.top, from);
  vertex(r.right, r.bottom, to);
  p.U32(0).U32(1);
  Record(118, p.Take());
}

void EmfWriter::Comment(const Bytes& data) {
  ByteSink p;
  p.U32(static_cast<std::uint32_t>(data.size())).Append(data);
  Record(70, p.Take());
}

void EmfWriter::Eof() { Record(14, ByteSink().U32(0).U32(16).U32(20).Take()); }

Bytes EmfWriter::Finish() const {
  ByteSink h;
  const std::uint32_t headerBytes = 108;
  const std::uint32_t total = headerBytes + static_cast<std::uint32_t>(m_records.Size());
  h.U32(1).U32(headerBytes);
  h.I32(m_bounds.left).I32(m_bounds.top).I32(m_bounds.right).I32(m_bounds.bottom);
  h.I32(m_frame.left).I32(m_frame.top).I32(m_frame.right).I32(m_frame.bottom);
  h.U32(0x464D4520).U32(0x10000).U32(total).U32(static_cast<std::uint32_t>(m_count + 1));
  h.U16(m_nextHandle).U16(0).U32(0).U32(0).U32(0);
  // A 96-dpi reference device: millimetres rounded, micrometres exact.
  h.I32(m_deviceWidth).I32(m_deviceHeight);
  h.I32((m_deviceWidth * 254 + 480) / 960).I32((m_deviceHeight * 254 + 480) / 960);
  h.U32(0).U32(0).U32(0);
  h.I32(static_cast<std::int64_t>(m_deviceWidth) * 25400 / 96).I32(static_cast<std::int64_t>(m_deviceHeight) * 25400 / 96);
  h.Append(m_records.Get());
  return h.Take();
}

}  // namespace metafile_gen
