#include "slideshow/exif_orientation.h"

#include <cstring>

namespace slideshow {

namespace {

// Reads within one buffer; every read is checked against its end.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
  bool Has(std::size_t offset, std::size_t count) const { return offset <= m_size && count <= m_size - offset; }
  std::uint8_t At(std::size_t offset) const { return m_data[offset]; }
  std::uint16_t Big16(std::size_t offset) const {
    return static_cast<std::uint16_t>(m_data[offset] << 8 | m_data[offset + 1]);
  }
  const std::uint8_t* Data() const { return m_data; }

 private:
  const std::uint8_t* m_data;
  std::size_t m_size;
};

int OrientationInTiff(const std::uint8_t* tiff, std::size_t size) {
  const Bytes bytes(tiff, size);
  if (!bytes.Has(0, 8)) return kOrientationNormal;
  bool little;
  if (bytes.At(0) == 'I' && bytes.At(1) == 'I') {
    little = true;
  } else if (bytes.At(0) == 'M' && bytes.At(1) == 'M') {
    little = false;
  } else {
    return kOrientationNormal;
  }
  const auto u16 = [&](std::size_t o) -> std::uint32_t {
    return little ? std::uint32_t(tiff[o]) | std::uint32_t(tiff[o + 1]) << 8
                  : std::uint32_t(tiff[o]) << 8 | std::uint32_t(tiff[o + 1]);
  };
  const auto u32 = [&](std::size_t o) -> std::uint32_t {
    return little ? u16(o) | u16(o + 2) << 16 : u16(o) << 16 | u16(o + 2);
  };
  if (u16(2) != 42) return kOrientationNormal;
  const std::size_t ifd = u32(4);
  if (!bytes.Has(ifd, 2)) return kOrientationNormal;
  const std::size_t entries = u16(ifd);
  for (std::size_t i = 0; i < entries; ++i) {
    const std::size_t entry = ifd + 2 + 12 * i;
    if (!bytes.Has(entry, 12)) break;
    if (u16(entry) != 0x0112) continue;
    // A SHORT, count 1: the value sits in the first two bytes of the field.
    if (u16(entry + 2) != 3 || u32(entry + 4) != 1) return kOrientationNormal;
    const std::uint32_t value = u16(entry + 8);
    return value >= 1 && value <= 8 ? static_cast<int>(value) : kOrientationNormal;
  }
  return kOrientationNormal;
}

}  // namespace

int JpegExifOrientation(const std::uint8_t* data, std::size_t size) {
  const Bytes bytes(data, size);
  if (!bytes.Has(0, 2) || bytes.At(0) != 0xFF || bytes.At(1) != 0xD8) return kOrientationNormal;
  std::size_t at = 2;
  while (bytes.Has(at, 4)) {
    if (bytes.At(at) != 0xFF) return kOrientationNormal;
    const std::uint8_t marker = bytes.At(at + 1);
    if (marker == 0xFF) {  // fill byte
      ++at;
      continue;
    }
    // The picture data begin (start of scan) or end: no Exif block came before.
    if (marker == 0xDA || marker == 0xD9) return kOrientationNormal;
    const std::size_t length = bytes.Big16(at + 2);
    if (length < 2) return kOrientationNormal;
    const std::size_t body = at + 4;
    const std::size_t bodySize = length - 2;
    if (marker == 0xE1 && bytes.Has(body, 6) && std::memcmp(data + body, "Exif\0\0", 6) == 0) {
      const std::size_t available = bytes.Has(body, bodySize) ? bodySize : size - body;
      return OrientationInTiff(data + body + 6, available - 6);
    }
    at = body + bodySize;
  }
  return kOrientationNormal;
}

raster::Bitmap Orient(const raster::Bitmap& bitmap, int orientation) {
  if (orientation < 2 || orientation > 8 || bitmap.Empty()) return bitmap;
  const int w = bitmap.Width();
  const int h = bitmap.Height();
  const bool swaps = orientation >= 5;
  raster::Bitmap out(swaps ? h : w, swaps ? w : h);
  if (out.Empty()) return bitmap;
  const int ow = out.Width();
  const int oh = out.Height();
  for (int y = 0; y < oh; ++y) {
    std::uint8_t* to = out.ScanLine(y);
    for (int x = 0; x < ow; ++x) {
      int sx = x;
      int sy = y;
      switch (orientation) {
        case 2: sx = w - 1 - x; break;
        case 3: sx = w - 1 - x; sy = h - 1 - y; break;
        case 4: sy = h - 1 - y; break;
        case 5: sx = y; sy = x; break;
        case 6: sx = y; sy = h - 1 - x; break;
        case 7: sx = w - 1 - y; sy = h - 1 - x; break;
        case 8: sx = w - 1 - y; sy = x; break;
        default: break;
      }
      std::memcpy(to + 4 * std::size_t(x), bitmap.ScanLine(sy) + 4 * std::size_t(sx), 4);
    }
  }
  return out;
}

}  // namespace slideshow
