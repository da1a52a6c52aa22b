#include "dib_p.h"

#include "metafile/metafile.h"

#include <algorithm>
#include <bit>

namespace metafile::detail {

namespace {

constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiRle8 = 1;
constexpr std::uint32_t kBiRle4 = 2;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::uint32_t kBiJpeg = 4;
constexpr std::uint32_t kBiPng = 5;
constexpr std::uint32_t kBiAlphaBitfields = 6;

DibCheck Bad(QString problem) {
  DibCheck check;
  check.status = DibStatus::kBad;
  check.problem = std::move(problem);
  return check;
}

DibCheck Unsupported(QString problem) {
  DibCheck check;
  check.status = DibStatus::kUnsupported;
  check.problem = std::move(problem);
  return check;
}

std::uint64_t RowBytes(int width, int bitCount) {
  return ((static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitCount) + 31) / 32) * 4;
}

bool SizeWithinCaps(std::int64_t width, std::int64_t height) {
  return width <= limits::kMaxBitmapSide && height <= limits::kMaxBitmapSide &&
         width * height <= limits::kMaxBitmapPixels;
}

QString SizeText(std::int64_t width, std::int64_t height) {
  return QStringLiteral("%1 × %2").arg(width).arg(height);
}

// One colour channel held in a bit field, scaled to 0..255.
struct Channel {
  int shift = 0;
  std::uint32_t max = 0;  // the field's largest value; 0 for an empty mask

  explicit Channel(std::uint32_t mask) {
    if (mask == 0) return;
    shift = std::countr_zero(mask);
    max = mask >> shift;
  }
  int Value(std::uint32_t pixel, int absent) const {
    if (max == 0) return absent;
    return static_cast<int>((((pixel >> shift) & max) * 255 + max / 2) / max);
  }
};

std::vector<QRgb> ColorTable(const DibLayout& layout, ByteReader info, const DibColors& colors) {
  std::vector<QRgb> table(static_cast<std::size_t>(layout.colorCount), qRgb(0, 0, 0));
  info.Seek(layout.headerBytes);
  for (int i = 0; i < layout.colorCount; ++i) {
    if (layout.usage == gdi::kDibPalColors) {
      const std::uint16_t index = info.U16();
      if (colors.palette != nullptr && index < colors.palette->entries.size()) {
        table[i] = colors.palette->entries[index];
      } else {
        // No palette to look the index up in: a grey ramp keeps the shapes readable.
        const int level = layout.colorCount > 1 ? (i * 255) / (layout.colorCount - 1) : 0;
        table[i] = qRgb(level, level, level);
      }
      continue;
    }
    const int blue = info.U8();
    const int green = info.U8();
    const int red = info.U8();
    if (!layout.coreHeader) info.U8();
    table[i] = qRgb(red, green, blue);
  }
  return table;
}

void DecodeRle(const DibLayout& layout, ByteReader bits, const std::vector<QRgb>& table, QImage& image) {
  const bool four = layout.compression == kBiRle4;
  auto put = [&](int x, int y, int index) {
    if (x < 0 || x >= layout.width || y < 0 || y >= layout.height) return;
    const QRgb color = index < static_cast<int>(table.size()) ? table[index] : qRgb(0, 0, 0);
    reinterpret_cast<QRgb*>(image.scanLine(layout.height - 1 - y))[x] = color;
  };
  int x = 0;
  int y = 0;
  while (bits.Has(2) && y < layout.height) {
    const int count = bits.U8();
    const int value = bits.U8();
    if (count > 0) {
      const int n = std::min(count, std::max(0, layout.width - x));
      for (int i = 0; i < n; ++i) {
        put(x + i, y, four ? ((i % 2 == 0) ? value >> 4 : value & 0x0F) : value);
      }
      x += count;
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++y;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // move right and up
      x += bits.U8();
      y += bits.U8();
    } else {  // `value` pixels stored one by one, padded to a 16-bit boundary
      const int bytes = four ? (value + 1) / 2 : value;
      for (int i = 0; i < value && bits.Ok(); ++i) {
        int index = 0;
        if (four) {
          const std::uint8_t byte = bits.Here()[0];
          index = (i % 2 == 0) ? byte >> 4 : byte & 0x0F;
          if (i % 2 == 1 || i == value - 1) bits.Skip(1);
        } else {
          index = bits.U8();
        }
        if (!bits.Ok()) break;
        put(x + i, y, index);
      }
      if (bytes % 2 == 1) bits.Skip(1);
      x += value;
    }
  }
}

}  // namespace

DibCheck ReadDibLayout(ByteReader info, std::uint32_t usage) {
  DibLayout layout;
  layout.usage = usage;
  const std::uint32_t headerSize = info.U32();
  if (!info.Ok()) return Bad(QStringLiteral("l'intestazione dell'immagine è troncata"));
  std::int64_t width = 0;
  std::int64_t height = 0;
  if (headerSize == 12) {
    layout.coreHeader = true;
    width = info.U16();
    height = info.U16();
    info.U16();  // planes
    layout.bitCount = info.U16();
  } else if (headerSize >= 40 && headerSize <= 1024) {
    width = info.I32();
    height = info.I32();
    info.U16();  // planes
    layout.bitCount = info.U16();
    layout.compression = info.U32();
    const std::uint32_t sizeImage = info.U32();
    info.I32();  // horizontal resolution
    info.I32();  // vertical resolution
    const std::uint32_t colorsUsed = info.U32();
    info.U32();  // important colours
    if (layout.compression == kBiRle8 || layout.compression == kBiRle4) {
      layout.bitsBytes = sizeImage;
    }
    layout.colorCount = static_cast<int>(std::min<std::uint32_t>(colorsUsed, 1u << 16));
    if (colorsUsed > (1u << 16)) {
      return Bad(QStringLiteral("l'immagine dichiara %1 colori").arg(colorsUsed));
    }
    if (layout.compression == kBiBitfields || layout.compression == kBiAlphaBitfields) {
      const int maskCount = layout.compression == kBiAlphaBitfields ? 4 : 3;
      if (headerSize == 40) {
        for (int i = 0; i < maskCount; ++i) layout.masks[i] = info.U32();
        layout.headerBytes = 40 + 4 * static_cast<std::uint32_t>(maskCount);
      } else {
        info.Seek(40);
        for (int i = 0; i < 4; ++i) layout.masks[i] = info.U32();
      }
    }
  } else {
    return Bad(QStringLiteral("l'intestazione dell'immagine ha una dimensione sconosciuta (%1 byte)").arg(headerSize));
  }
  if (layout.headerBytes == 0) layout.headerBytes = headerSize;
  if (!info.Ok()) return Bad(QStringLiteral("l'intestazione dell'immagine è troncata"));

  if (height < 0) {
    layout.topDown = true;
    height = -height;
  }
  if (width <= 0 || height <= 0) {
    return Bad(QStringLiteral("l'immagine ha dimensioni nulle o negative (%1)").arg(SizeText(width, height)));
  }
  if (!SizeWithinCaps(width, height)) {
    return Bad(QStringLiteral("l'immagine è troppo grande (%1 pixel)").arg(SizeText(width, height)));
  }
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);

  switch (layout.compression) {
    case kBiRgb:
      if (layout.bitCount != 1 && layout.bitCount != 4 && layout.bitCount != 8 && layout.bitCount != 16 &&
          layout.bitCount != 24 && layout.bitCount != 32) {
        return Bad(QStringLiteral("l'immagine ha %1 bit per pixel").arg(layout.bitCount));
      }
      break;
    case kBiRle8:
    case kBiRle4:
      if (layout.bitCount != (layout.compression == kBiRle8 ? 8 : 4) || layout.topDown) {
        return Bad(QStringLiteral("l'immagine compressa ha un formato incoerente"));
      }
      break;
    case kBiBitfields:
    case kBiAlphaBitfields:
      if (layout.bitCount != 16 && layout.bitCount != 32) {
        return Bad(QStringLiteral("l'immagine a campi di bit ha %1 bit per pixel").arg(layout.bitCount));
      }
      break;
    case kBiJpeg:
    case kBiPng:
      return Unsupported(QStringLiteral("immagine JPEG o PNG dentro la bitmap"));
    default:
      return Unsupported(QStringLiteral("compressione dell'immagine sconosciuta (%1)").arg(layout.compression));
  }

  if (layout.bitCount <= 8) {
    const int full = 1 << layout.bitCount;
    layout.colorCount = layout.colorCount == 0 ? full : std::min(layout.colorCount, full);
  }
  // Entries beyond what the pixels can index still take room in the table.
  std::uint32_t storedEntries = static_cast<std::uint32_t>(layout.colorCount);
  if (!layout.coreHeader && headerSize >= 40) {
    info.Seek(32);
    const std::uint32_t colorsUsed = info.U32();
    if (info.Ok() && colorsUsed > storedEntries) storedEntries = colorsUsed;
  }
  if (layout.bitCount > 8) layout.colorCount = 0;
  const std::uint32_t entryBytes = usage == gdi::kDibPalColors ? 2 : (layout.coreHeader ? 3 : 4);
  layout.tableBytes = storedEntries * entryBytes;
  if (layout.compression == kBiRgb || layout.compression == kBiBitfields ||
      layout.compression == kBiAlphaBitfields) {
    layout.bitsBytes = RowBytes(layout.width, layout.bitCount) * static_cast<std::uint64_t>(layout.height);
  }
  if (info.Size() < layout.InfoBytes()) {
    return Bad(QStringLiteral("la tabella dei colori dell'immagine è troncata"));
  }
  DibCheck check;
  check.status = DibStatus::kOk;
  check.layout = layout;
  return check;
}

DibCheck CheckDibBits(const DibCheck& layout, std::uint64_t bitsAvailable) {
  if (layout.status != DibStatus::kOk) return layout;
  if (layout.layout.bitsBytes > bitsAvailable) {
    return Bad(QStringLiteral("l'immagine %1 dichiara %2 byte di pixel ma ne contiene %3")
                   .arg(SizeText(layout.layout.width, layout.layout.height))
                   .arg(layout.layout.bitsBytes)
                   .arg(bitsAvailable));
  }
  return layout;
}

DibCheck ReadPackedDib(ByteReader packed, std::uint32_t usage) {
  const DibCheck check = ReadDibLayout(packed, usage);
  if (check.status != DibStatus::kOk) return check;
  return CheckDibBits(check, packed.Size() - check.layout.InfoBytes());
}

QImage DecodeDib(const DibLayout& layout, ByteReader info, ByteReader bits, const DibColors& colors) {
  const std::vector<QRgb> table = ColorTable(layout, info, colors);
  const bool rle = layout.compression == kBiRle8 || layout.compression == kBiRle4;
  const bool alpha = colors.keepAlpha && layout.bitCount == 32;
  const bool fields = layout.compression != kBiRgb || layout.bitCount == 16;
  // Plain 32-bit pixels with alpha are premultiplied; bit-field alpha is straight.
  const QImage::Format format = rle                ? QImage::Format_ARGB32
                                : alpha && !fields ? QImage::Format_ARGB32_Premultiplied
                                : alpha            ? QImage::Format_ARGB32
                                                   : QImage::Format_RGB32;
  QImage image(layout.width, layout.height, format);
  if (image.isNull()) return image;
  if (rle) {
    image.fill(Qt::transparent);
    DecodeRle(layout, bits, table, image);
    return image;
  }

  std::uint32_t masks[4] = {layout.masks[0], layout.masks[1], layout.masks[2], layout.masks[3]};
  if (layout.compression == kBiRgb && layout.bitCount == 16) {
    masks[0] = 0x7C00;
    masks[1] = 0x03E0;
    masks[2] = 0x001F;
  }
  const Channel red(masks[0]);
  const Channel green(masks[1]);
  const Channel blue(masks[2]);
  const Channel alphaChannel(masks[3]);

  const std::uint64_t rowBytes = RowBytes(layout.width, layout.bitCount);
  for (int row = 0; row < layout.height; ++row) {
    const int y = layout.topDown ? row : layout.height - 1 - row;
    const std::uint8_t* src = bits.Data() + rowBytes * static_cast<std::uint64_t>(row);
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < layout.width; ++x) {
      QRgb color = 0;
      switch (layout.bitCount) {
        case 1:
        case 4:
        case 8: {
          const int perByte = 8 / layout.bitCount;
          const std::uint8_t byte = src[x / perByte];
          const int shift = 8 - layout.bitCount * (x % perByte + 1);
          const int index = (byte >> shift) & ((1 << layout.bitCount) - 1);
          color = index < static_cast<int>(table.size()) ? table[index] : qRgb(0, 0, 0);
          break;
        }
        case 16: {
          const std::uint32_t pixel = static_cast<std::uint32_t>(src[2 * x] | (src[2 * x + 1] << 8));
          color = qRgba(red.Value(pixel, 0), green.Value(pixel, 0), blue.Value(pixel, 0),
                        alpha ? alphaChannel.Value(pixel, 255) : 255);
          break;
        }
        case 24:
          color = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
          break;
        case 32: {
          const std::uint8_t* p = src + 4 * x;
          if (fields) {
            const std::uint32_t pixel = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                        (static_cast<std::uint32_t>(p[2]) << 16) |
                                        (static_cast<std::uint32_t>(p[3]) << 24);
            color = qRgba(red.Value(pixel, 0), green.Value(pixel, 0), blue.Value(pixel, 0),
                          alpha ? alphaChannel.Value(pixel, 255) : 255);
          } else if (alpha) {
            // Premultiplied already; keep colour channels within their alpha.
            const int a = p[3];
            color = qRgba(std::min<int>(p[2], a), std::min<int>(p[1], a), std::min<int>(p[0], a), a);
          } else {
            color = qRgb(p[2], p[1], p[0]);
          }
          break;
        }
        default:
          break;
      }
      dst[x] = color;
    }
  }
  return image;
}

QRectF DibSourceRect(const DibLayout& layout, double x, double y, double width, double height) {
  if (layout.topDown) return QRectF(x, y, width, height);
  return QRectF(x, layout.height - y - height, width, height);
}

Palette ReadPaletteEntries(ByteReader& r, std::size_t count) {
  Palette palette;
  palette.entries.resize(count);
  for (QRgb& entry : palette.entries) {
    const int red = r.U8();
    const int green = r.U8();
    const int blue = r.U8();
    r.U8();  // flags
    entry = qRgb(red, green, blue);
  }
  return palette;
}

DibCheck ReadBitmap16(ByteReader& record, std::size_t gapBytes, DdbLayout& layout) {
  record.I16();  // type
  const std::int64_t width = record.I16();
  const std::int64_t height = record.I16();
  const std::int64_t widthBytes = record.I16();
  const int planes = record.U8();
  const int bitsPixel = record.U8();
  record.Skip(gapBytes);
  if (!record.Ok()) return Bad(QStringLiteral("l'intestazione della bitmap è troncata"));
  if (width <= 0 || height <= 0) {
    return Bad(QStringLiteral("la bitmap ha dimensioni nulle o negative (%1)").arg(SizeText(width, height)));
  }
  if (!SizeWithinCaps(width, height)) {
    return Bad(QStringLiteral("la bitmap è troppo grande (%1 pixel)").arg(SizeText(width, height)));
  }
  if (planes != 1 || (bitsPixel != 1 && bitsPixel != 24 && bitsPixel != 32)) {
    return Unsupported(QStringLiteral("bitmap dipendente dal dispositivo a %1 bit").arg(bitsPixel * planes));
  }
  if (widthBytes * 8 < width * bitsPixel) {
    return Bad(QStringLiteral("la bitmap ha righe più corte dei suoi pixel"));
  }
  const std::uint64_t needed = static_cast<std::uint64_t>(widthBytes) * static_cast<std::uint64_t>(height);
  if (needed > record.Remaining()) {
    return Bad(QStringLiteral("la bitmap %1 dichiara %2 byte di pixel ma ne contiene %3")
                   .arg(SizeText(width, height))
                   .arg(needed)
                   .arg(record.Remaining()));
  }
  layout.width = static_cast<int>(width);
  layout.height = static_cast<int>(height);
  layout.widthBytes = static_cast<int>(widthBytes);
  layout.bitsPixel = bitsPixel;
  DibCheck check;
  check.status = DibStatus::kOk;
  return check;
}

QImage DecodeBitmap16(const DdbLayout& layout, ByteReader bits) {
  QImage image(layout.width, layout.height, layout.bitsPixel == 1 ? QImage::Format_Mono : QImage::Format_RGB32);
  if (image.isNull()) return image;
  if (layout.bitsPixel == 1) {
    image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
  }
  for (int y = 0; y < layout.height; ++y) {
    const std::uint8_t* src = bits.Data() + static_cast<std::size_t>(layout.widthBytes) * static_cast<std::size_t>(y);
    if (layout.bitsPixel == 1) {
      std::copy_n(src, (layout.width + 7) / 8, image.scanLine(y));
      continue;
    }
    auto* dst = reinterpret_cast<QRgb*>(image.scanLine(y));
    const int step = layout.bitsPixel / 8;
    for (int x = 0; x < layout.width; ++x) {
      const std::uint8_t* p = src + step * x;
      dst[x] = qRgb(p[2], p[1], p[0]);
    }
  }
  return image;
}

}  // namespace metafile::detail
