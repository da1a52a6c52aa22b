// The sample folder as photo-gen writes it: what the slideshow lists, the
// large photograph, the sideways one, the metafiles, and the same bytes on
// every run.
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QProcess>

#include <gtest/gtest.h>

#include "metafile/metafile.h"
#include "slideshow/exif_orientation.h"
#include "slideshow/picture_folder.h"
#include "testing/test_support.h"

namespace {

QString Generate(const char* name) {
  const QString dir = QString::fromStdString(testing_support::FreshDir(name).string()) + QStringLiteral("/Photos");
  QProcess run;
  run.start(qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/bin/photo-gen"), {dir});
  EXPECT_TRUE(run.waitForFinished(120000));
  EXPECT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
  return dir;
}

QByteArray Read(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  return file.readAll();
}

TEST(PhotoGenTest, SampleFolderHoldsADozenPicturesOfEveryKind) {
  const QString dir = Generate("sample");
  const slideshow::PictureFolderListing listing = slideshow::ListPictureFolder(dir);
  ASSERT_TRUE(listing.ok);
  EXPECT_EQ(listing.files.size(), 12);
  EXPECT_EQ(QDir(dir).entryList(QDir::Files).size(), 12);  // nothing else in it
  QSet<QString> kinds;
  for (const QString& name : listing.files) kinds.insert(QFileInfo(name).suffix().toLower());
  EXPECT_EQ(kinds, (QSet<QString>{"jpg", "jpeg", "bmp", "ico", "wmf", "emf"}));

  EXPECT_EQ(QImageReader(dir + QStringLiteral("/Alba sul poligono.jpg")).size(), QSize(6000, 4000));
  const QByteArray sideways = Read(dir + QStringLiteral("/Sera in montagna.jpg"));
  EXPECT_EQ(slideshow::JpegExifOrientation(reinterpret_cast<const std::uint8_t*>(sideways.constData()),
                                           static_cast<std::size_t>(sideways.size())),
            6);
  EXPECT_EQ(QImageReader(dir + QStringLiteral("/Sera in montagna.jpg")).size(), QSize(1200, 800));

  for (const char* name : {"Tiro a segno.wmf", "Nebbia.emf"}) {
    const metafile::RenderResult drawn = metafile::Render(Read(dir + QLatin1Char('/') + QString::fromLatin1(name)));
    ASSERT_TRUE(drawn.Ok()) << name;
    const QSize size = drawn.image.size();
    EXPECT_GE(size.width(), 300) << name;
    // Drawn all over: the middle and a corner are opaque.
    EXPECT_EQ(qAlpha(drawn.image.pixel(size.width() / 2, size.height() / 2)), 255) << name;
    EXPECT_EQ(qAlpha(drawn.image.pixel(1, size.height() - 2)), 255) << name;
    // For a person to look at.
    drawn.image.save(qEnvironmentVariable("VERSANTO_BINARY_DIR") + QStringLiteral("/photo-gen-") +
                     QFileInfo(QString::fromLatin1(name)).suffix() + QStringLiteral(".png"));
  }
}

TEST(PhotoGenTest, SameBytesOnEveryRun) {
  const QString first = Generate("first");
  const QString second = Generate("second");
  for (const QString& name : QDir(first).entryList(QDir::Files)) {
    EXPECT_EQ(QCryptographicHash::hash(Read(first + QLatin1Char('/') + name), QCryptographicHash::Sha256),
              QCryptographicHash::hash(Read(second + QLatin1Char('/') + name), QCryptographicHash::Sha256))
        << name.toStdString();
  }
}

}  // namespace
