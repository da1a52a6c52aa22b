#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTest>
#include <QTransform>

#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "exif.h"
#include "slideshow/exif_orientation.h"
#include "slideshow/picture_loader.h"
#include "testing/test_support.h"

namespace {

QByteArray Jpeg(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpg");
  writer.setQuality(95);
  EXPECT_TRUE(writer.write(image));
  return bytes;
}

int Orientation(const QByteArray& bytes) {
  return slideshow::JpegExifOrientation(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                        static_cast<std::size_t>(bytes.size()));
}

QImage Small() {
  QImage image(16, 8, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

TEST(ExifOrientationTest, ReadsTheTagInEitherByteOrder) {
  const QByteArray plain = Jpeg(Small());
  EXPECT_EQ(Orientation(plain), 1);
  for (int value = 1; value <= 8; ++value) {
    EXPECT_EQ(Orientation(photo_gen::WithExifOrientation(plain, value, true)), value) << value;
    EXPECT_EQ(Orientation(photo_gen::WithExifOrientation(plain, value, false)), value) << value;
  }
}

TEST(ExifOrientationTest, DamagedOrForeignDataGiveTheStoredOrientation) {
  const QByteArray good = photo_gen::WithExifOrientation(Jpeg(Small()), 6);
  // File offsets: start marker 2, APP1 marker and length 4, "Exif\0\0" 6,
  // so the TIFF header begins at 12 and the entry's type at 12 + 8 + 2 + 2.
  constexpr int kTiff = 12;
  QByteArray wrongType = good;
  wrongType[kTiff + 12 + 1] = 4;  // LONG instead of SHORT
  QByteArray notExif = good;
  notExif[6] = 'X';
  QByteArray badOffset = good;
  badOffset[kTiff + 4] = char(0x7F);  // IFD0 far beyond the block
  QByteArray hugeLength = good;
  hugeLength[4] = char(0xFF);  // the block claims more than the file has
  hugeLength[5] = char(0xFF);
  const struct {
    const char* name;
    QByteArray bytes;
    int expected;
  } cases[] = {
      {"empty", QByteArray(), 1},
      {"not a JPEG", QByteArray("GIF89a........"), 1},
      {"start marker only", QByteArray("\xFF\xD8", 2), 1},
      {"cut inside the block", good.left(20), 1},
      {"value out of range", photo_gen::WithExifOrientation(Jpeg(Small()), 9), 1},
      {"value zero", photo_gen::WithExifOrientation(Jpeg(Small()), 0), 1},
      {"wrong type", wrongType, 1},
      {"APP1 of another kind", notExif, 1},
      {"IFD outside the block", badOffset, 1},
      {"block longer than the file", hugeLength, 6},
  };
  for (const auto& c : cases) EXPECT_EQ(Orientation(c.bytes), c.expected) << c.name;
  // Every cut of a good file stays inside its bytes (the sanitizers watch).
  for (qsizetype cut = 0; cut < 60; ++cut) Orientation(good.left(cut));
}

// Each orientation against Qt's own transforms of the same picture.
TEST(ExifOrientationTest, OrientStandsEachOrientationUpright) {
  QImage stored(3, 2, QImage::Format_RGB32);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) stored.setPixel(x, y, qRgb(x * 80, y * 120, 7));
  raster::Bitmap bitmap(3, 2);
  for (int y = 0; y < 2; ++y) std::memcpy(bitmap.ScanLine(y), stored.constScanLine(y), 12);
  const QImage mirrored = stored.mirrored(true, false);
  const QImage expected[] = {
      stored,
      mirrored,
      stored.transformed(QTransform().rotate(180)),
      stored.mirrored(false, true),
      mirrored.transformed(QTransform().rotate(270)),
      stored.transformed(QTransform().rotate(90)),
      mirrored.transformed(QTransform().rotate(90)),
      stored.transformed(QTransform().rotate(270)),
  };
  for (int orientation = 1; orientation <= 8; ++orientation) {
    const QImage& want = expected[orientation - 1];
    const raster::Bitmap got = slideshow::Orient(bitmap, orientation);
    ASSERT_EQ(got.Width(), want.width()) << orientation;
    ASSERT_EQ(got.Height(), want.height()) << orientation;
    for (int y = 0; y < want.height(); ++y) {
      for (int x = 0; x < want.width(); ++x) {
        std::uint32_t pixel;
        std::memcpy(&pixel, got.ScanLine(y) + 4 * x, 4);
        EXPECT_EQ(pixel & 0xFFFFFF, want.pixel(x, y) & 0xFFFFFF) << orientation << " at " << x << "," << y;
      }
    }
  }
}

class PictureLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = QString::fromStdString(
        testing_support::FreshDir(::testing::UnitTest::GetInstance()->current_test_info()->name()).string());
  }
  QString Write(const char* name, const QByteArray& bytes) {
    const QString path = dir + QLatin1Char('/') + QString::fromLatin1(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    return path;
  }
  QString dir;
};

TEST_F(PictureLoaderTest, SidewaysPhotographComesUpright) {
  // Stored 40 x 20: red left, blue right. Turned a quarter clockwise the
  // left side is on top.
  QImage image(40, 20, QImage::Format_RGB32);
  image.fill(Qt::blue);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) image.setPixel(x, y, qRgb(255, 0, 0));
  const QString path = Write("sideways.jpg", photo_gen::WithExifOrientation(Jpeg(image), 6));
  const slideshow::LoadedPicture loaded = slideshow::LoadPictureFile(path, QStringLiteral("sideways.jpg"), QSize());
  ASSERT_TRUE(loaded.Ok()) << loaded.error.toStdString();
  ASSERT_EQ(loaded.bitmap.Width(), 20);
  ASSERT_EQ(loaded.bitmap.Height(), 40);
  EXPECT_GT(loaded.bitmap.ScanLine(5)[10 * 4 + 2], 200);   // red on top
  EXPECT_GT(loaded.bitmap.ScanLine(35)[10 * 4 + 0], 200);  // blue below
  // The same bytes in a BMP-named file are not a BMP.
  const QString misnamed = Write("sideways.bmp", photo_gen::WithExifOrientation(Jpeg(image), 6));
  EXPECT_FALSE(slideshow::LoadPictureFile(misnamed, QStringLiteral("sideways.bmp"), QSize()).Ok());
}

TEST_F(PictureLoaderTest, LargeJpegIsDecodedForItsTarget) {
  QImage image(1600, 1600, QImage::Format_RGB32);
  image.fill(QColor(30, 90, 160));
  const QString path = Write("large.jpg", Jpeg(image));
  const struct {
    QSize target;
    QSize decoded;
  } cases[] = {
      {QSize(), {1600, 1600}},           // no target: the whole picture
      {QSize(800, 800), {800, 800}},     // scaled in the DCT by 1/2
      {QSize(300, 100), {300, 300}},     // 1/4 in the DCT, then smoothly to cover the target
      {QSize(390, 390), {400, 400}},     // 1/4 in the DCT, close enough
      {QSize(360, 360), {360, 360}},     // 1/4 in the DCT, then smoothly
      {QSize(2000, 2000), {1600, 1600}}, // never enlarged
  };
  for (const auto& c : cases) {
    const slideshow::LoadedPicture loaded = slideshow::LoadPictureFile(path, QStringLiteral("large.jpg"), c.target);
    ASSERT_TRUE(loaded.Ok());
    EXPECT_EQ(QSize(loaded.bitmap.Width(), loaded.bitmap.Height()), c.decoded) << c.target.width();
  }
}

TEST_F(PictureLoaderTest, OnlyTheLatestRequestIsAnswered) {
  QImage image(64, 32, QImage::Format_RGB32);
  image.fill(Qt::green);
  const QString first = Write("first.jpg", Jpeg(image));
  const QString second = Write("second.jpg", Jpeg(image));
  slideshow::PictureLoader loader;
  QStringList answered;
  const auto record = [&](slideshow::LoadedPicture& loaded) { answered << loaded.name; };
  loader.Request(first, QStringLiteral("first.jpg"), QSize(), record);
  loader.Request(second, QStringLiteral("second.jpg"), QSize(), record);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !loader.Pending(); }, 5000));
  QTest::qWait(50);
  EXPECT_EQ(answered, QStringList{QStringLiteral("second.jpg")});

  loader.Request(first, QStringLiteral("first.jpg"), QSize(), record);
  loader.Cancel();
  loader.WaitForWorker();
  QTest::qWait(50);
  EXPECT_EQ(answered.size(), 1);
}

TEST_F(PictureLoaderTest, UnreadableFilesSayWhichAndWhy) {
  const struct {
    const char* name;
    QByteArray bytes;
    const char* reason;
  } cases[] = {
      {"text.jpg", QByteArray("these are not the pixels you are looking for"), "JPEG"},
      {"empty.bmp", QByteArray(), "vuoto"},
      {"cut.jpg", Jpeg(Small()).left(200), "troncato"},
  };
  for (const auto& c : cases) {
    const QString path = Write(c.name, c.bytes);
    const slideshow::LoadedPicture loaded = slideshow::LoadPictureFile(path, QString::fromLatin1(c.name), QSize());
    EXPECT_FALSE(loaded.Ok()) << c.name;
    EXPECT_TRUE(loaded.error.contains(QString::fromLatin1(c.name))) << loaded.error.toStdString();
    EXPECT_TRUE(loaded.error.contains(QString::fromUtf8(c.reason))) << loaded.error.toStdString();
  }
  const slideshow::LoadedPicture vanished =
      slideshow::LoadPictureFile(dir + QStringLiteral("/gone.jpg"), QStringLiteral("gone.jpg"), QSize());
  EXPECT_TRUE(vanished.error.contains(QStringLiteral("non esiste"))) << vanished.error.toStdString();
}

}  // namespace
