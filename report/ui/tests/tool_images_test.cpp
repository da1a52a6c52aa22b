#include "report/ui/tool_images.h"

#include <QFile>

#include <gtest/gtest.h>
#include <zlib.h>

namespace {

using report::ToolImage;

QByteArray Gzip(const QByteArray& data) {
  z_stream zs{};
  deflateInit2(&zs, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
  QByteArray out(static_cast<qsizetype>(deflateBound(&zs, static_cast<uLong>(data.size()))) + 32,
                 '\0');
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.constData()));
  zs.avail_in = static_cast<uInt>(data.size());
  zs.next_out = reinterpret_cast<Bytef*>(out.data());
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(static_cast<qsizetype>(zs.total_out));
  deflateEnd(&zs);
  return out;
}

TEST(ToolImages, BuiltInStripHoldsEveryPictureAtBothSizes) {
  const report::ToolStrip& strip = report::BuiltInToolStrip();
  ASSERT_TRUE(strip.error.isEmpty()) << strip.error.toStdString();
  EXPECT_EQ(strip.count, static_cast<int>(ToolImage::Count));
  ASSERT_EQ(strip.strips.size(), 2u);
  EXPECT_EQ(strip.strips[0].height(), 16);
  EXPECT_EQ(strip.strips[1].height(), 32);
  // Every picture has something drawn and is not a filled square.
  for (const QImage& s : strip.strips) {
    const int tile = s.height();
    for (int i = 0; i < strip.count; ++i) {
      int opaque = 0;
      for (int y = 0; y < tile; ++y)
        for (int x = 0; x < tile; ++x) opaque += qAlpha(s.pixel(i * tile + x, y)) > 128;
      EXPECT_GT(opaque, tile * tile / 10) << "picture " << i << " at " << tile;
      EXPECT_LT(opaque, tile * tile) << "picture " << i << " at " << tile;
    }
  }
  const QIcon icon = report::ToolIcon(ToolImage::ZoomIn);
  EXPECT_EQ(icon.availableSizes().size(), 2);
}

TEST(ToolImages, DamagedFilesGiveAReasonAndNoPictures) {
  QFile file(QStringLiteral(":/report/tool_strip.gz"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray good = file.readAll();

  QByteArray flipped = good;
  flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x5a);
  QByteArray wrongMagic = QByteArray("XXXX\x01\x00\x01\x00\x01\x00", 10) + QByteArray(4, '\0');
  // Header claims 200 pictures of 16 pixels, but the pixels are missing.
  QByteArray shortPixels = QByteArray("VTS1\xc8\x00\x01\x00\x10\x00", 10) + QByteArray(100, '\0');

  const struct {
    const char* name;
    QByteArray data;
  } cases[] = {
      {"empty", QByteArray()},
      {"not gzip", QByteArray("plain text, no gzip header")},
      {"truncated", good.left(good.size() / 2)},
      {"flipped byte", flipped},
      {"wrong magic", Gzip(wrongMagic)},
      {"pixels missing", Gzip(shortPixels)},
      {"header only", Gzip(QByteArray("VTS1", 4))},
  };
  for (const auto& c : cases) {
    const report::ToolStrip strip = report::ReadToolStrip(c.data);
    EXPECT_FALSE(strip.error.isEmpty()) << c.name;
    EXPECT_TRUE(strip.strips.empty()) << c.name;
  }
}

}  // namespace
