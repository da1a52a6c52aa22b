// Play() on a painter: where it draws, what it leaves alone, its budget and caps.
#include "test_support.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <thread>
#include <tuple>

namespace {

QByteArray Le32(std::int64_t v) {
  QByteArray out(4, '\0');
  for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  return out;
}

QByteArray Record(int type, const QByteArray& params) { return Le32(type) + Le32(8 + params.size()) + params; }

QByteArray RectParams(int left, int top, int right, int bottom) {
  return Le32(left) + Le32(top) + Le32(right) + Le32(bottom);
}

// An EMF of 100 × 100 pixels at 96 dpi with the given records, in device pixels.
QByteArray Emf(const QByteArray& records) {
  const QByteArray end = Record(14, Le32(0) + Le32(16) + Le32(20));
  const qsizetype total = 88 + records.size() + end.size();
  const QByteArray header = Le32(1) + Le32(88) + RectParams(0, 0, 99, 99) + RectParams(0, 0, 2646, 2646) +
                            Le32(0x464D4520) + Le32(0x10000) + Le32(total) + Le32(3) + Le32(1) + Le32(0) + Le32(0) +
                            Le32(0) + Le32(1920) + Le32(1080) + Le32(508) + Le32(286);
  return header + records + end;
}

const QByteArray kBlackBrush = Record(37, Le32(0x80000004u));

metafile::Picture LoadOk(const QByteArray& bytes) {
  metafile::LoadResult result = metafile::Load(bytes);
  EXPECT_TRUE(result.Ok()) << (result.error ? result.error->ToString().toStdString() : "");
  return *result.picture;
}

class PlayTest : public ::testing::Test {
 protected:
  void SetUp() override { metafile_test::EnsureGuiApplication(); }
};

TEST_F(PlayTest, FillsTheTargetAndNothingOutsideIt) {
  // A rectangle reaching well beyond the picture's frame on every side.
  const metafile::Picture picture = LoadOk(Emf(kBlackBrush + Record(43, RectParams(-50, -50, 150, 150))));
  QImage image(300, 300, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    EXPECT_TRUE(picture.Play(painter, QRectF(100, 50, 120, 200)));
  }
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const bool inside = x >= 100 && x < 220 && y >= 50 && y < 250;
      ASSERT_EQ(qAlpha(image.pixel(x, y)), inside ? 255 : 0) << x << "," << y;
    }
  }
}

// The box of the pixels a drawing touches.
QRect Touched(const QImage& image) {
  QRect box;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(image.pixel(x, y)) > 0) box |= QRect(x, y, 1, 1);
    }
  }
  return box;
}

TEST_F(PlayTest, ScalesToAnySizeAndShape) {
  // A rectangle over 10 % to 90 % of each side (WMF) and 20 % to 80 % (EMF).
  const metafile::Picture wmf = LoadOk(metafile_test::ReadBytes(metafile_test::DataDir() / "bad/ok-wmf-bad-checksum.wmf"));
  const metafile::Picture emf = LoadOk(Emf(kBlackBrush + Record(43, RectParams(20, 20, 80, 80))));
  for (const QSize size : {QSize(100, 100), QSize(250, 40), QSize(37, 333), QSize(1000, 1000)}) {
    for (const auto& [picture, from, to] : {std::tuple{&wmf, 0.1, 0.9}, std::tuple{&emf, 0.2, 0.8}}) {
      const QRect box = Touched(metafile::Render(*picture, size).image);
      EXPECT_NEAR(box.left(), from * size.width(), 1.5) << size.width() << "x" << size.height();
      EXPECT_NEAR(box.top(), from * size.height(), 1.5) << size.width() << "x" << size.height();
      EXPECT_NEAR(box.right() + 1, to * size.width(), 1.5) << size.width() << "x" << size.height();
      EXPECT_NEAR(box.bottom() + 1, to * size.height(), 1.5) << size.width() << "x" << size.height();
    }
  }
}

TEST_F(PlayTest, LeavesThePainterAsItFoundIt) {
  const metafile::Picture picture = LoadOk(metafile_test::ReadBytes(metafile_test::DataDir() / "card-emf.emf"));
  QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.translate(5, 7);
  painter.setPen(QPen(Qt::red, 3));
  painter.setBrush(Qt::green);
  painter.setClipRect(QRect(0, 0, 150, 150));
  painter.setOpacity(0.75);
  painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
  picture.Play(painter, QRectF(0, 0, 120, 140));
  EXPECT_EQ(painter.transform(), QTransform::fromTranslate(5, 7));
  EXPECT_EQ(painter.pen(), QPen(Qt::red, 3));
  EXPECT_EQ(painter.brush(), QBrush(Qt::green));
  EXPECT_TRUE(painter.hasClipping());
  EXPECT_EQ(painter.clipBoundingRect(), QRectF(0, 0, 150, 150));
  EXPECT_DOUBLE_EQ(painter.opacity(), 0.75);
  EXPECT_EQ(painter.font().family(), QStringLiteral("DejaVu Sans"));
  EXPECT_EQ(painter.compositionMode(), QPainter::CompositionMode_SourceOver);
}

TEST_F(PlayTest, KeepsTheCallersTransformAndOpacity) {
  const metafile::Picture picture = LoadOk(Emf(kBlackBrush + Record(43, RectParams(0, 0, 100, 100))));
  QImage image(100, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.scale(0.5, 0.5);  // the target below lands on the top-left quarter
    painter.setOpacity(0.5);
    picture.Play(painter, QRectF(0, 0, 100, 100));
  }
  EXPECT_NEAR(qRed(image.pixel(25, 25)), 128, 3);  // half-way from white to black
  EXPECT_EQ(image.pixel(75, 75), qRgb(255, 255, 255));
}

TEST_F(PlayTest, StopsAtTheWorkBudgetAndStillReturnsAPicture) {
  QByteArray records = kBlackBrush;
  const QByteArray fill = Record(43, RectParams(0, 0, 100, 100));
  for (int i = 0; i < 300'000; ++i) records += fill;
  const metafile::Picture picture = LoadOk(Emf(records));
  QImage image(100, 100, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    EXPECT_FALSE(picture.Play(painter, QRectF(0, 0, 100, 100)));
  }
  EXPECT_EQ(qAlpha(image.pixel(50, 50)), 255);
}

TEST_F(PlayTest, RenderRefusesOutputsBeyondTheCaps) {
  const metafile::Picture picture = LoadOk(Emf(kBlackBrush + Record(43, RectParams(0, 0, 100, 100))));
  for (const QSize size : {QSize(metafile::limits::kMaxRenderSide + 1, 10), QSize(10'000, 10'000)}) {
    const metafile::RenderResult result = metafile::Render(picture, size);
    EXPECT_FALSE(result.Ok());
    ASSERT_TRUE(result.error.has_value());
    EXPECT_EQ(result.error->kind, metafile::ErrorKind::kOutputTooLarge);
  }
  EXPECT_TRUE(metafile::Render(picture, QSize(metafile::limits::kMaxRenderSide, 16)).Ok());
}

TEST_F(PlayTest, EveryGoodFileRendersAtAnySize) {
  std::vector<std::filesystem::path> files = {"card-wmf-placeable.wmf", "card-wmf-plain.wmf", "card-emf.emf",
                                              "crosscheck-wmf.wmf"};
  for (const auto& entry : std::filesystem::directory_iterator(metafile_test::DataDir() / "bad")) {
    if (entry.path().filename().string().rfind("ok-", 0) == 0) files.push_back(std::filesystem::path("bad") / entry.path().filename());
  }
  for (const auto& file : files) {
    const metafile::Picture picture = LoadOk(metafile_test::ReadBytes(metafile_test::DataDir() / file));
    for (const QSize size : {QSize(1, 1), QSize(7, 3), QSize(), QSize(1500, 40), QSize(333, 1000)}) {
      const metafile::RenderResult result = metafile::Render(picture, size);
      ASSERT_TRUE(result.Ok()) << file << " at " << size.width() << "x" << size.height();
      EXPECT_EQ(result.image.size(), size.isEmpty() ? picture.SizePixels() : size);
    }
  }
}

TEST_F(PlayTest, OnePictureDrawsTheSameFromSeveralThreads) {
  const metafile::Picture picture = LoadOk(metafile_test::ReadBytes(metafile_test::DataDir() / "card-emf.emf"));
  const QImage reference = metafile::Render(picture, QSize(300, 350)).image;
  std::vector<QImage> images(4);
  std::vector<std::thread> threads;
  for (auto& image : images) {
    threads.emplace_back([&picture, &image] { image = metafile::Render(picture, QSize(300, 350)).image; });
  }
  for (auto& thread : threads) thread.join();
  for (const QImage& image : images) EXPECT_EQ(image, reference);
}

}  // namespace

namespace {

TEST(PlayHighDensity, FillsAHighDensityImageWhole) {
  metafile_test::EnsureGuiApplication();
  const metafile::Picture picture = LoadOk(Emf(kBlackBrush + Record(43, RectParams(-10, -10, 110, 110))));
  QImage image(200, 200, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(2);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    picture.Play(painter, QRectF(0, 0, 100, 100));  // the whole image in its own coordinates
  }
  EXPECT_EQ(qAlpha(image.pixel(0, 0)), 255);
  EXPECT_EQ(qAlpha(image.pixel(199, 199)), 255);
}

}  // namespace
