#include "picture_fixtures.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include <jpeglib.h>
#include <zlib.h>

namespace slideshow_test {

QRgb TestCardColor(int x, int y) { return qRgb((x * 37) % 256, (y * 53) % 256, ((x + y) * 11) % 256); }

QImage TestCard(int width, int height, bool withAlpha) {
  QImage card(width, height, withAlpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      QRgb color = TestCardColor(x, y);
      if (withAlpha && x == 0) color = qRgba(qRed(color), qGreen(color), qBlue(color), 0);
      if (withAlpha && x == 1) color = qRgba(qRed(color), qGreen(color), qBlue(color), 128);
      card.setPixel(x, y, color);
    }
  }
  return card;
}

QByteArray EncodeGif(int width, int height, const std::vector<std::array<std::uint8_t, 3>>& palette,
                     const std::vector<std::uint8_t>& indices) {
  QByteArray gif("GIF89a");
  const auto word = [&](int value) {
    gif.append(char(value & 0xFF));
    gif.append(char((value >> 8) & 0xFF));
  };
  word(width);
  word(height);
  gif.append(char(0x81));  // a global table of 4 colours
  gif.append(char(0));
  gif.append(char(0));
  for (std::size_t i = 0; i < 4; ++i) {
    for (const std::uint8_t c : i < palette.size() ? palette[i] : std::array<std::uint8_t, 3>{}) gif.append(char(c));
  }
  gif.append(char(0x2C));
  word(0);
  word(0);
  word(width);
  word(height);
  gif.append(char(0));
  gif.append(char(2));  // minimum code size: 2 bits, so codes are 3 bits wide

  QByteArray data;
  unsigned bits = 0;
  int count = 0;
  const auto put = [&](unsigned code) {
    bits |= code << count;
    count += 3;
    while (count >= 8) {
      data.append(char(bits & 0xFF));
      bits >>= 8;
      count -= 8;
    }
  };
  constexpr unsigned kClear = 4;
  constexpr unsigned kEnd = 5;
  for (std::size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) put(kClear);
    put(indices[i]);
  }
  put(kEnd);
  if (count > 0) data.append(char(bits & 0xFF));
  for (qsizetype at = 0; at < data.size(); at += 255) {
    const QByteArray block = data.mid(at, 255);
    gif.append(char(block.size()));
    gif.append(block);
  }
  gif.append(char(0));
  gif.append(char(0x3B));
  return gif;
}

QByteArray EncodeCmykJpeg(int width, int height) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = static_cast<JDIMENSION>(width);
  cinfo.image_height = static_cast<JDIMENSION>(height);
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_CMYK;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 100, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<JSAMPLE> row(std::size_t(width) * 4);
  while (cinfo.next_scanline < cinfo.image_height) {
    const int y = static_cast<int>(cinfo.next_scanline);
    for (int x = 0; x < width; ++x) {
      const QRgb color = TestCardColor(x, y);
      row[4 * x] = JSAMPLE(qRed(color));
      row[4 * x + 1] = JSAMPLE(qGreen(color));
      row[4 * x + 2] = JSAMPLE(qBlue(color));
      row[4 * x + 3] = 255;
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&cinfo, rows, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
  std::free(out);
  return bytes;
}

QByteArray WithJpegSize(QByteArray jpeg, int width, int height) {
  for (qsizetype i = 2; i + 9 < jpeg.size(); ++i) {
    const auto marker = static_cast<unsigned char>(jpeg[i + 1]);
    if (static_cast<unsigned char>(jpeg[i]) == 0xFF && (marker == 0xC0 || marker == 0xC2)) {
      jpeg[i + 5] = char(height >> 8);
      jpeg[i + 6] = char(height & 0xFF);
      jpeg[i + 7] = char(width >> 8);
      jpeg[i + 8] = char(width & 0xFF);
      return jpeg;
    }
  }
  throw std::runtime_error("no frame header");
}

QByteArray WithPngSize(QByteArray png, int width, int height) {
  // Signature (8), length (4), "IHDR" (4), width, height, ...; the checksum
  // covers the type and the 13 data bytes.
  const auto put32 = [&](qsizetype at, quint32 value) {
    for (int i = 0; i < 4; ++i) png[at + i] = char((value >> (24 - 8 * i)) & 0xFF);
  };
  put32(16, quint32(width));
  put32(20, quint32(height));
  const quint32 crc = quint32(
      crc32(0, reinterpret_cast<const Bytef*>(png.constData() + 12), 17));
  put32(29, crc);
  return png;
}

QByteArray Encode(const QImage& image, const char* format, int quality) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, format);
  if (quality >= 0) writer.setQuality(quality);
  if (!writer.write(image)) throw std::runtime_error("cannot encode a test picture");
  return bytes;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    throw std::runtime_error("cannot write " + path.toStdString());
  }
}

QString MetafileFixture(const char* name) {
  const char* source = std::getenv("VERSANTO_SOURCE_DIR");
  return QString::fromLocal8Bit(source != nullptr ? source : ".") + QStringLiteral("/metafile/tests/data/") +
         QString::fromLatin1(name);
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.toStdString());
  return file.readAll();
}

}  // namespace slideshow_test
