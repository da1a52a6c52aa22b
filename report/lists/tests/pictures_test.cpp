// The pictures the cost-list templates hold are ours, made by
// report-pictures: the files kept among the resources are what the
// generator draws, and readers see every size of the icon.
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include "footer_photo.h"
#include "ico_writer.h"
#include "program_icon.h"

namespace {

QString SourceFile(const char* relative) {
  return QString::fromLocal8Bit(qgetenv("VERSANTO_SOURCE_DIR")) + QLatin1Char('/') +
         QLatin1String(relative);
}

// Largest difference of one colour channel over the two pictures.
int LargestDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  int largest = 0;
  for (int row = 0; row < x.height(); ++row) {
    const auto* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const auto* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      largest = std::max({largest, std::abs(qRed(p[col]) - qRed(q[col])),
                          std::abs(qGreen(p[col]) - qGreen(q[col])),
                          std::abs(qBlue(p[col]) - qBlue(q[col])),
                          std::abs(qAlpha(p[col]) - qAlpha(q[col]))});
    }
  }
  return largest;
}

TEST(ReportPicturesTest, FooterPhotoIsTheGeneratorsJpegAt1024By768) {
  QImageReader reader(SourceFile("resources/reports/footer_photo.jpg"));
  EXPECT_EQ(reader.format(), "jpeg");
  const QImage kept = reader.read();
  ASSERT_FALSE(kept.isNull()) << reader.errorString().toStdString();
  EXPECT_EQ(kept.size(), QSize(1024, 768));
  const QImage drawn = report_pictures::FooterPhoto();
  ASSERT_EQ(drawn.size(), kept.size());
  // JPEG loses a little; a drawing that changed would differ by far more.
  QImage keptSmall = kept.scaled(128, 96, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  QImage drawnSmall = drawn.scaled(128, 96, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  EXPECT_LE(LargestDifference(keptSmall, drawnSmall), 12);
}

TEST(ReportPicturesTest, ProgramIconHoldsEverySizeIn32Bits) {
  QImageReader reader(SourceFile("resources/reports/versanto.ico"), "ico");
  ASSERT_EQ(reader.imageCount(), 8);
  const QList<QImage> drawn =
      report_pictures::ProgramIconPictures(SourceFile("resources/icons/versanto.svg"));
  ASSERT_EQ(drawn.size(), 8);
  for (int i = 0; i < reader.imageCount(); ++i) {
    ASSERT_TRUE(reader.jumpToImage(i));
    const QImage picture = reader.read();
    ASSERT_FALSE(picture.isNull());
    const int size = report_pictures::kIconSizes[static_cast<std::size_t>(i)];
    EXPECT_EQ(picture.size(), QSize(size, size));
    EXPECT_TRUE(picture.hasAlphaChannel());
    // Transparent corners (the icon is a rounded square), an opaque middle.
    EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << size;
    EXPECT_EQ(qAlpha(picture.pixel(size / 2, size / 2)), 255) << size;
    EXPECT_EQ(LargestDifference(picture, drawn[i]), 0) << size;
  }
}

TEST(ReportPicturesTest, IcoWriterRefusesWhatAnIconCannotHold) {
  EXPECT_TRUE(report_pictures::IcoFile({}).isEmpty());
  EXPECT_TRUE(report_pictures::IcoFile({QImage(257, 16, QImage::Format_ARGB32)}).isEmpty());
  EXPECT_TRUE(report_pictures::IcoFile({QImage()}).isEmpty());
  // 256 is stored as 0 in the directory and read back as 256.
  QImage big(256, 256, QImage::Format_ARGB32);
  big.fill(qRgba(10, 20, 30, 255));
  QByteArray bytes = report_pictures::IcoFile({big});
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer, "ico");
  EXPECT_EQ(reader.read().size(), QSize(256, 256));
}

}  // namespace
