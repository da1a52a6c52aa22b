#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QPainter>

#include <cstdlib>
#include <random>

#include "picture_fixtures.h"
#include "slideshow/picture.h"
#include "slideshow/picture_readers.h"
#include "testing/test_support.h"

namespace {

using slideshow::Picture;
using slideshow_test::Encode;
using slideshow_test::TestCard;
using slideshow_test::TestCardColor;
using slideshow_test::WriteFile;

// The pixel at (x, y) of a raster bitmap as Qt's colour.
QRgb At(const raster::Bitmap& bitmap, int x, int y) {
  const std::uint8_t* p = bitmap.ScanLine(y) + 4 * x;
  return qRgba(p[raster::kRedByte], p[raster::kGreenByte], p[raster::kBlueByte], p[raster::kFourthByte]);
}

bool Near(QRgb a, QRgb b, int tolerance) {
  return std::abs(qRed(a) - qRed(b)) <= tolerance && std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
         std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

QImage Quadrants(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(0, 0, width / 2, height / 2, QColor(200, 30, 30));
  painter.fillRect(width / 2, 0, width - width / 2, height / 2, QColor(30, 200, 30));
  painter.fillRect(0, height / 2, width / 2, height - height / 2, QColor(30, 30, 200));
  painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, QColor(220, 220, 40));
  return image;
}

class PictureTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_dir = new QString(QString::fromStdString(testing_support::FreshDir("pictures").string()));
    const QByteArray jpeg = Encode(TestCard(24, 16), "jpg", 100);
    const QByteArray png = Encode(TestCard(7, 5, true), "png");
    WriteFile(Path("card.bmp"), Encode(TestCard(7, 5), "bmp"));
    WriteFile(Path("card.png"), png);
    WriteFile(Path("card.ico"), Encode(TestCard(16, 16), "ico"));
    WriteFile(Path("card.gif"), slideshow_test::EncodeGif(4, 3, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {9, 9, 9}},
                                                          {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2}));
    WriteFile(Path("card.jpg"), jpeg);
    WriteFile(Path("CARD.JPEG"), jpeg);
    WriteFile(Path("grey.jpg"), Encode(TestCard(24, 16).convertToFormat(QImage::Format_Grayscale8), "jpg", 100));
    WriteFile(Path("cmyk.jpg"), slideshow_test::EncodeCmykJpeg(24, 16));
    WriteFile(Path("large.jpg"), Encode(Quadrants(800, 600), "jpg", 95));

    WriteFile(Path("truncated.jpg"), jpeg.left(jpeg.size() / 2));
    WriteFile(Path("truncated.png"), png.left(png.size() / 2));
    WriteFile(Path("empty.png"), {});
    WriteFile(Path("empty.jpg"), {});
    const QByteArray text("Questo non e' un'immagine, solo del testo.\n");
    for (const char* name : {"text.jpg", "text.png", "text.bmp", "text.gif", "text.ico"}) WriteFile(Path(name), text);
    WriteFile(Path("png-inside.jpg"), png);
    WriteFile(Path("jpeg-inside.bmp"), jpeg);
    WriteFile(Path("huge.jpg"), slideshow_test::WithJpegSize(jpeg, 65000, 65000));
    WriteFile(Path("huge.png"), slideshow_test::WithPngSize(png, 100000, 100000));
    WriteFile(Path("drawing.emf"), text);
    WriteFile(Path("drawing.wmf"), text);
    const QByteArray emf = slideshow_test::ReadFile(slideshow_test::MetafileFixture("card-emf.emf"));
    WriteFile(Path("truncated.emf"), emf.left(emf.size() / 2));
    WriteFile(Path("empty.wmf"), {});
    WriteFile(Path("photo.tiff"), text);
    WriteFile(Path("noextension"), jpeg);
    QDir(*s_dir).mkdir(QStringLiteral("folder.png"));
  }
  static void TearDownTestSuite() { delete s_dir; }
  static QString Path(const QString& name) { return *s_dir + QLatin1Char('/') + name; }
  static QString Path(const char* name) { return Path(QString::fromLatin1(name)); }

  static QString* s_dir;
};

QString* PictureTest::s_dir = nullptr;

TEST_F(PictureTest, LoadsEveryKindItReads) {
  const struct {
    const char* file;
    int width, height;
    int tolerance;  // JPEG is lossy
    bool alpha;
  } cases[] = {
      {"card.bmp", 7, 5, 0, false},  {"card.png", 7, 5, 0, true},   {"card.ico", 16, 16, 0, false},
      {"card.jpg", 24, 16, 3, false}, {"CARD.JPEG", 24, 16, 3, false}, {"cmyk.jpg", 24, 16, 3, false},
  };
  for (const auto& c : cases) {
    Picture picture;
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    QString error;
    ASSERT_TRUE(picture.TryLoadFromFile(Path(c.file), &error)) << c.file << ": " << error.toStdString();
    EXPECT_EQ(changes, 1) << c.file;
    EXPECT_TRUE(picture.HasGraphic());
    EXPECT_FALSE(picture.Empty());
    EXPECT_EQ(picture.Width(), c.width) << c.file;
    EXPECT_EQ(picture.Height(), c.height) << c.file;
    EXPECT_EQ(picture.NaturalSize(), QSize(c.width, c.height)) << c.file;
    EXPECT_EQ(picture.HasAlpha(), c.alpha) << c.file;
    EXPECT_EQ(picture.FileName(), Path(c.file));
    // JPEG is lossy: its pixels are compared with Qt's own decoding of the file.
    const QImage reference = QImage(Path(c.file), c.tolerance > 0 ? "jpg" : nullptr);
    for (int y = 0; y < c.height; ++y) {
      for (int x = c.alpha ? 2 : 0; x < c.width; ++x) {
        const QRgb got = At(picture.Bitmap(), x, y);
        const QRgb expected = c.tolerance > 0 ? reference.pixel(x, y) : TestCardColor(x, y);
        ASSERT_TRUE(Near(got, expected, c.tolerance)) << c.file << " at " << x << "," << y;
        if (!c.alpha) {
          ASSERT_EQ(qAlpha(got), 255) << c.file;
        }
      }
    }
  }
}

TEST_F(PictureTest, GifAndGreyJpegKeepTheirColours) {
  Picture gif;
  gif.LoadFromFile(Path("card.gif"));
  ASSERT_EQ(gif.Width(), 4);
  ASSERT_EQ(gif.Height(), 3);
  const QRgb palette[] = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(9, 9, 9)};
  const int indices[] = {0, 1, 2, 3, 3, 2, 1, 0, 1, 1, 2, 2};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(At(gif.Bitmap(), i % 4, i / 4), palette[indices[i]]) << i;

  Picture grey;
  grey.LoadFromFile(Path("grey.jpg"));
  const QRgb got = At(grey.Bitmap(), 5, 3);
  EXPECT_EQ(qRed(got), qGreen(got));
  EXPECT_EQ(qGreen(got), qBlue(got));
  EXPECT_NEAR(qRed(got), qGray(TestCardColor(5, 3)), 8);
}

TEST_F(PictureTest, TransparentPartsShowTheColourBehind) {
  Picture picture;
  picture.LoadFromFile(Path("card.png"));
  const raster::Pixel background = raster::MakePixel(10, 100, 200, 0);
  const raster::Bitmap shown = picture.Render(background);
  for (int y = 0; y < 5; ++y) {
    EXPECT_EQ(At(shown, 0, y), qRgba(10, 100, 200, 255));
    const QRgb card = TestCardColor(1, y);
    EXPECT_TRUE(Near(At(shown, 1, y), qRgb((qRed(card) + 10) / 2, (qGreen(card) + 100) / 2, (qBlue(card) + 200) / 2), 1));
    EXPECT_EQ(At(shown, 4, y), TestCardColor(4, y));
  }
}

TEST_F(PictureTest, UnreadableFilesAreReportedByName) {
  const struct {
    const char* file;
    const char* says;
  } cases[] = {
      {"truncated.jpg", "il file è troncato"},
      {"truncated.png", "Impossibile leggere l'immagine"},
      {"empty.png", "è vuoto"},
      {"empty.jpg", "è vuoto"},
      {"text.jpg", "non è un'immagine JPEG valida"},
      {"text.png", "non è un'immagine PNG valida"},
      {"text.bmp", "non è un'immagine BMP valida"},
      {"text.gif", "non è un'immagine GIF valida"},
      {"text.ico", "non è un'immagine ICO valida"},
      {"png-inside.jpg", "non è un'immagine JPEG valida"},
      {"jpeg-inside.bmp", "non è un'immagine BMP valida"},
      {"huge.jpg", "troppo grande (65000 x 65000 pixel)"},
      {"huge.png", "troppo grande (100000 x 100000 pixel)"},
      {"drawing.emf", "il metafile non è valido (il file non è un metafile WMF né EMF)"},
      {"drawing.wmf", "il metafile non è valido (il file non è un metafile WMF né EMF)"},
      {"truncated.emf", "il metafile non è valido (record "},
      {"empty.wmf", "è vuoto"},
      {"photo.tiff", "Estensione di immagine sconosciuta (.tiff)"},
      {"noextension", "non ha un'estensione di immagine"},
      {"missing.png", "il file non esiste"},
      {"folder.png", "è una cartella"},
  };
  for (const auto& c : cases) {
    Picture picture;
    picture.SetImage(TestCard(3, 3));
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    try {
      picture.LoadFromFile(Path(c.file));
      ADD_FAILURE() << c.file << " was read";
    } catch (const slideshow::PictureError& error) {
      const QString message = error.Message();
      EXPECT_TRUE(message.contains(QDir::toNativeSeparators(Path(c.file)))) << message.toStdString();
      EXPECT_TRUE(message.contains(QString::fromUtf8(c.says))) << c.file << ": " << message.toStdString();
    }
    EXPECT_EQ(changes, 0) << c.file;
    EXPECT_EQ(picture.Width(), 3) << "the holder keeps its picture";
  }
}

TEST_F(PictureTest, DamagedFilesNeverCrashTheReaders) {
  std::mt19937 random(7);
  for (const char* name : {"card.jpg", "cmyk.jpg", "card.png", "card.gif", "card.bmp", "card.ico"}) {
    QFile file(Path(name));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray whole = file.readAll();
    const QString damaged = Path(QStringLiteral("damaged.") + QFileInfo(file).suffix());
    Picture picture;
    const qsizetype stride = std::max<qsizetype>(1, whole.size() / 120);
    for (qsizetype length = 1; length < whole.size(); length += stride) {
      WriteFile(damaged, whole.left(length));
      const bool read = picture.TryLoadFromFile(damaged);
      if (QByteArray(name).endsWith(".jpg")) {
        EXPECT_FALSE(read) << name << " cut at " << length;
      }
    }
    for (int round = 0; round < 60; ++round) {
      QByteArray bytes = whole;
      for (int flips = 0; flips < 4; ++flips) {
        bytes[std::uniform_int_distribution<qsizetype>(0, bytes.size() - 1)(random)] =
            char(std::uniform_int_distribution<int>(0, 255)(random));
      }
      WriteFile(damaged, bytes);
      picture.TryLoadFromFile(damaged);
    }
  }
}

TEST_F(PictureTest, LargeJpegIsDecodedSmallerForASmallerTarget) {
  const struct {
    QSize target;
    QSize decoded;
  } cases[] = {
      {QSize(), QSize(800, 600)},          {QSize(200, 150), QSize(200, 150)}, {QSize(201, 150), QSize(400, 300)},
      {QSize(100, 75), QSize(100, 75)},    {QSize(50, 10), QSize(100, 75)},    {QSize(1000, 10), QSize(800, 600)},
      {QSize(400, 301), QSize(800, 600)},
  };
  for (const auto& c : cases) {
    Picture picture;
    picture.SetTargetSize(c.target);
    picture.LoadFromFile(Path("large.jpg"));
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), c.decoded) << c.target.width() << "x" << c.target.height();
    EXPECT_EQ(picture.NaturalSize(), QSize(800, 600));
    // The quadrants are where they were, whatever the scale.
    const int w = picture.Width();
    const int h = picture.Height();
    EXPECT_TRUE(Near(At(picture.Bitmap(), w / 4, h / 4), qRgb(200, 30, 30), 10));
    EXPECT_TRUE(Near(At(picture.Bitmap(), 3 * w / 4, h / 4), qRgb(30, 200, 30), 10));
    EXPECT_TRUE(Near(At(picture.Bitmap(), w / 4, 3 * h / 4), qRgb(30, 30, 200), 10));
    EXPECT_TRUE(Near(At(picture.Bitmap(), 3 * w / 4, 3 * h / 4), qRgb(220, 220, 40), 10));
  }
}

TEST_F(PictureTest, NewReaderPlugsInByExtension) {
  EXPECT_EQ(slideshow::ReadablePictureExtensions(),
            (QStringList{"bmp", "emf", "gif", "ico", "jpeg", "jpg", "png", "wmf"}));
  EXPECT_FALSE(slideshow::IsReadablePictureExtension(QStringLiteral("tiff")));
  slideshow::RegisterPictureReader(QStringLiteral("TIFF"), [](const QByteArray& data, const slideshow::PictureReadRequest&) {
    slideshow::DecodedPicture decoded;
    decoded.bitmap = raster::Bitmap(3, 2, raster::MakePixel(255, 0, 0, 0xFF));
    decoded.naturalSize = QSize(int(data.size()), 2);
    return decoded;
  });
  EXPECT_TRUE(slideshow::IsReadablePictureExtension(QStringLiteral(".tiff")));
  Picture picture;
  picture.LoadFromFile(Path("photo.tiff"));
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(At(picture.Bitmap(), 2, 1), qRgb(255, 0, 0));
  slideshow::RegisterPictureReader(QStringLiteral("tiff"), {});
  EXPECT_FALSE(slideshow::IsReadablePictureExtension(QStringLiteral("tiff")));
  QString error;
  EXPECT_FALSE(picture.TryLoadFromFile(Path("photo.tiff"), &error));
  EXPECT_TRUE(error.contains(QStringLiteral("Estensione di immagine sconosciuta")));
}

// The generator's test cards, read through the holder: drawn once at the size
// their header gives, transparent where they draw nothing, and with the
// player's own pixels (its cards are checked cell by cell in its own tests).
TEST_F(PictureTest, MetafilesAreDrawnAtTheirOwnSize) {
  const struct {
    const char* file;
    QSize size;
    const char* expected;  // the player's reference picture of the card
  } cases[] = {
      {"card-wmf-placeable.wmf", QSize(600, 600), "expected/card-wmf.png"},
      {"card-emf.emf", QSize(600, 700), "expected/card-emf.png"},
      // No placeable header, so no physical size: its window, scaled down.
      {"card-wmf-plain.wmf", QSize(2048, 2048), nullptr},
  };
  for (const auto& c : cases) {
    Picture picture;
    int changes = 0;
    picture.SetOnChange([&] { ++changes; });
    QString error;
    ASSERT_TRUE(picture.TryLoadFromFile(slideshow_test::MetafileFixture(c.file), &error))
        << c.file << ": " << error.toStdString();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(QSize(picture.Width(), picture.Height()), c.size) << c.file;
    EXPECT_EQ(picture.NaturalSize(), c.size) << c.file;
    EXPECT_TRUE(picture.HasAlpha()) << c.file << ": the card leaves parts undrawn";
    if (c.expected == nullptr) continue;
    const QImage reference(slideshow_test::MetafileFixture(c.expected));
    ASSERT_EQ(reference.size(), c.size);
    QImage expected(c.size, QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter(&expected).drawImage(0, 0, reference);
    const raster::Bitmap onWhite = picture.Render(raster::MakePixel(255, 255, 255, 0));
    // Edges and text may be a shade off the reference; the drawing may not.
    int off = 0;
    for (int y = 0; y < c.size.height(); ++y) {
      for (int x = 0; x < c.size.width(); ++x) off += Near(At(onWhite, x, y), expected.pixel(x, y), 48) ? 0 : 1;
    }
    EXPECT_LT(off, c.size.width() * c.size.height() / 50) << c.file;
  }
}

QByteArray Le16(int v) {
  QByteArray out(2, '\0');
  out[0] = char(v & 0xFF);
  out[1] = char((v >> 8) & 0xFF);
  return out;
}
QByteArray Le32(std::int64_t v) { return Le16(int(v & 0xFFFF)) + Le16(int((v >> 16) & 0xFFFF)); }

// A placeable WMF of the box (0, 0) .. (right, bottom) that fills it with one
// rectangle in the default white brush and black pen.
QByteArray RectanglePlaceableWmf(int right, int bottom, int unitsPerInch) {
  QByteArray head = Le32(0x9AC6CDD7) + Le16(0) + Le16(0) + Le16(0) + Le16(right) + Le16(bottom) +
                    Le16(unitsPerInch) + Le32(0);
  int checksum = 0;
  for (int i = 0; i < head.size(); i += 2) checksum ^= quint8(head[i]) | (quint8(head[i + 1]) << 8);
  head += Le16(checksum);
  const QByteArray records = Le32(4) + Le16(0x0103) + Le16(8) +  // SetMapMode(MM_ANISOTROPIC)
                             Le32(5) + Le16(0x020C) + Le16(bottom) + Le16(right) +  // SetWindowExt
                             Le32(7) + Le16(0x041B) + Le16(bottom) + Le16(right) + Le16(0) + Le16(0) +
                             Le32(3) + Le16(0);
  return head + Le16(1) + Le16(9) + Le16(0x0300) + Le32((18 + records.size()) / 2) + Le16(0) + Le32(7) + Le16(0) +
         records;
}

TEST_F(PictureTest, PosterSizedMetafileIsDrawnSmallerInItsShape) {
  // 16000 x 8000 pixels at 96 dpi (a poster of 4.2 x 2.1 m) would take 512 MB.
  WriteFile(Path("poster.wmf"), RectanglePlaceableWmf(16000, 8000, 96));
  WriteFile(Path("stamp.wmf"), RectanglePlaceableWmf(30, 20, 96));
  Picture picture;
  QString error;
  ASSERT_TRUE(picture.TryLoadFromFile(Path("poster.wmf"), &error)) << error.toStdString();
  EXPECT_EQ(picture.NaturalSize(), QSize(16000, 8000));
  EXPECT_LE(qint64{picture.Width()} * picture.Height(), qint64{1} << 24);
  EXPECT_NEAR(picture.Width(), 5792, 2);
  EXPECT_NEAR(picture.Height(), 2896, 2);
  ASSERT_TRUE(picture.TryLoadFromFile(Path("stamp.wmf"), &error)) << error.toStdString();
  EXPECT_EQ(QSize(picture.Width(), picture.Height()), QSize(30, 20));
  EXPECT_FALSE(picture.HasAlpha()) << "the rectangle covers the whole picture";
  EXPECT_EQ(At(picture.Bitmap(), 15, 10), qRgb(255, 255, 255)) << "inside: the default white brush";
  EXPECT_EQ(At(picture.Bitmap(), 0, 10), qRgb(0, 0, 0)) << "the edge: the default black pen";
}

TEST_F(PictureTest, BrokenMetafilesAreRefusedAndTheHolderKeepsItsPicture) {
  // The player's table of broken files, each read through the holder.
  const QDir bad(slideshow_test::MetafileFixture("bad"));
  const QStringList broken = bad.entryList({QStringLiteral("bad-*")}, QDir::Files);
  ASSERT_GT(broken.size(), 30);
  for (const QString& name : broken) {
    Picture picture;
    picture.SetImage(TestCard(3, 3));
    QString error;
    EXPECT_FALSE(picture.TryLoadFromFile(bad.filePath(name), &error)) << name.toStdString();
    EXPECT_TRUE(error.contains(name)) << error.toStdString();
    EXPECT_EQ(picture.Width(), 3) << name.toStdString();
  }
  // Borderline ones are shown, with what could be drawn.
  for (const QString& name : bad.entryList({QStringLiteral("ok-*")}, QDir::Files)) {
    Picture picture;
    QString error;
    EXPECT_TRUE(picture.TryLoadFromFile(bad.filePath(name), &error)) << name.toStdString() << ": " << error.toStdString();
    EXPECT_FALSE(picture.Empty()) << name.toStdString();
  }
}

TEST_F(PictureTest, HolderSemantics) {
  Picture picture;
  EXPECT_FALSE(picture.HasGraphic());
  EXPECT_TRUE(picture.Empty());
  int changes = 0;
  picture.SetOnChange([&] { ++changes; });
  picture.SetImage(TestCard(5, 4));
  EXPECT_EQ(picture.ToImage().convertToFormat(QImage::Format_RGB32), TestCard(5, 4));
  const Picture copy(picture);  // takes the graphic, not the handler
  Picture other;
  other.SetBitmap(raster::Bitmap());
  EXPECT_TRUE(other.HasGraphic());
  EXPECT_TRUE(other.Empty()) << "a graphic without pixels";
  picture.Assign(other);
  EXPECT_TRUE(picture.Empty());
  picture = copy;
  EXPECT_EQ(picture.Width(), 5);
  picture.SetImage(QImage());
  EXPECT_FALSE(picture.HasGraphic());
  picture.Clear();
  EXPECT_EQ(changes, 5);
  EXPECT_EQ(copy.Width(), 5);
}

}  // namespace
