// The picture's own size, read back from the header and frame.
#include "metafile/metafile.h"

#include "testing/test_support.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

using metafile::Format;

QByteArray Data(const std::string& name) {
  const std::string bytes = testing_support::ReadFileBytes(testing_support::TestDataDir() / name);
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QByteArray Le16(int v) {
  QByteArray out(2, '\0');
  out[0] = static_cast<char>(v & 0xFF);
  out[1] = static_cast<char>((v >> 8) & 0xFF);
  return out;
}
QByteArray Le32(std::int64_t v) { return Le16(static_cast<int>(v & 0xFFFF)) + Le16(static_cast<int>((v >> 16) & 0xFFFF)); }

// A placeable WMF with the given box and units per inch and one rectangle.
QByteArray Placeable(int left, int top, int right, int bottom, int unitsPerInch) {
  QByteArray head = Le32(0x9AC6CDD7) + Le16(0) + Le16(left) + Le16(top) + Le16(right) + Le16(bottom) +
                    Le16(unitsPerInch) + Le32(0);
  int checksum = 0;
  for (int i = 0; i < head.size(); i += 2) {
    checksum ^= static_cast<unsigned char>(head[i]) | (static_cast<unsigned char>(head[i + 1]) << 8);
  }
  head += Le16(checksum);
  const QByteArray records = Le32(7) + Le16(0x041B) + Le16(bottom) + Le16(right) + Le16(top) + Le16(left) +
                             Le32(3) + Le16(0);
  return head + Le16(1) + Le16(9) + Le16(0x0300) + Le32((18 + records.size()) / 2) + Le16(0) + Le32(7) + Le16(0) +
         records;
}

// An EMF whose header states `frame` (0.01 mm), `bounds` (pixels) and a
// reference device of `devicePixels` over `deviceMm`.
QByteArray Emf(QRect frame, QRect bounds, QSize devicePixels, QSize deviceMm) {
  QByteArray header = Le32(1) + Le32(88) + Le32(bounds.left()) + Le32(bounds.top()) + Le32(bounds.right()) +
                      Le32(bounds.bottom()) + Le32(frame.left()) + Le32(frame.top()) + Le32(frame.right()) +
                      Le32(frame.bottom()) + Le32(0x464D4520) + Le32(0x10000) + Le32(88 + 20) + Le32(2) + Le16(1) +
                      Le16(0) + Le32(0) + Le32(0) + Le32(0) + Le32(devicePixels.width()) +
                      Le32(devicePixels.height()) + Le32(deviceMm.width()) + Le32(deviceMm.height());
  return header + Le32(14) + Le32(20) + Le32(0) + Le32(16) + Le32(20);
}

struct SizeCase {
  const char* name;
  QByteArray bytes;
  Format format;
  QSize pixels;
  std::optional<QSizeF> mm;
};

class SizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(SizeTest, SizeReadBack) {
  const SizeCase& c = GetParam();
  ASSERT_EQ(metafile::Sniff(c.bytes), c.format);
  const metafile::LoadResult result = metafile::Load(c.bytes);
  ASSERT_TRUE(result.Ok()) << result.error->ToString().toStdString();
  EXPECT_EQ(result.picture->FileFormat(), c.format);
  EXPECT_EQ(result.picture->SizePixels(), c.pixels);
  ASSERT_EQ(result.picture->SizeMm().has_value(), c.mm.has_value());
  if (c.mm) {
    EXPECT_NEAR(result.picture->SizeMm()->width(), c.mm->width(), 0.05);
    EXPECT_NEAR(result.picture->SizeMm()->height(), c.mm->height(), 0.05);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Headers, SizeTest,
    ::testing::Values(
        SizeCase{"wmf_card_960_units_per_inch", Data("card-wmf-placeable.wmf"), Format::kPlaceableWmf, QSize(600, 600),
                 QSizeF(158.75, 158.75)},
        // Twips, with the box away from the origin: 2 × 1 inch.
        SizeCase{"wmf_twips_offset_box", Placeable(1000, -500, 3880, 940, 1440), Format::kPlaceableWmf, QSize(192, 96),
                 QSizeF(50.8, 25.4)},
        // A box given right to left is the same box.
        SizeCase{"wmf_reversed_box", Placeable(2880, 1440, 0, 0, 1440), Format::kPlaceableWmf, QSize(192, 96),
                 QSizeF(50.8, 25.4)},
        // No placeable header: the window, 6000 units, as pixels scaled to the side cap.
        SizeCase{"wmf_without_placeable_header", Data("card-wmf-plain.wmf"), Format::kWmf,
                 QSize(metafile::limits::kUnsizedWmfMaxSide, metafile::limits::kUnsizedWmfMaxSide), std::nullopt},
        SizeCase{"emf_card", Data("card-emf.emf"), Format::kEmf, QSize(600, 700), QSizeF(158.75, 185.2)},
        // An A4 page recorded on a 300-dpi printer.
        SizeCase{"emf_a4_on_a_printer", Emf(QRect(QPoint(0, 0), QPoint(21000, 29700)), QRect(0, 0, 2480, 3508),
                                            QSize(2480, 3508), QSize(210, 297)),
                 Format::kEmf, QSize(794, 1123), QSizeF(210, 297)},
        // No frame: the bounds, in pixels of a 96-dpi screen, inclusive.
        SizeCase{"emf_bounds_without_frame", Emf(QRect(), QRect(QPoint(10, 10), QPoint(109, 59)), QSize(1920, 1080),
                                                 QSize(508, 286)),
                 Format::kEmf, QSize(100, 50), QSizeF(26.46, 13.24)}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(Sniff, OnlyMetafileStartsAreRecognised) {
  EXPECT_EQ(metafile::Sniff(QByteArray("GIF89a")), std::nullopt);
  EXPECT_EQ(metafile::Sniff(QByteArray("BM\x36\x00", 4)), std::nullopt);
  EXPECT_EQ(metafile::Sniff(QByteArray()), std::nullopt);
}

}  // namespace
