#include "slideshow/picture_folder.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

#include <gtest/gtest.h>

#include "testing/test_support.h"

namespace {

QString Fresh(const char* name) { return QString::fromStdString(testing_support::FreshDir(name).string()); }

void Touch(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
}

TEST(PictureFolderTest, ListsPictureFilesSortedWithoutRegardToCase) {
  const struct {
    const char* name;
    bool listed;
  } entries[] = {
      {"b.jpg", true},       {"A.JPG", true},          {"c.Jpeg", true},    {"d.bmp", true},
      {"E.ICO", true},       {"f.emf", true},          {"g.WMF", true},     {"alpha.jpeg", true},
      {"notes.txt", false},  {"picture.png", false},   {"anim.gif", false}, {"jpg", false},
      {"noextension", false}, {"archive.jpg.zip", false}, {"trailingdot.", false},
      {".hidden.jpg", false},
  };
  const QString folder = Fresh("listing");
  for (const auto& entry : entries) Touch(QDir(folder).filePath(QString::fromLatin1(entry.name)));
  // A sub-folder is neither listed, even with a picture's name, nor searched.
  ASSERT_TRUE(QDir(folder).mkpath(QStringLiteral("sub.jpg")));
  Touch(QDir(folder).filePath(QStringLiteral("sub.jpg/inside.jpg")));

  const slideshow::PictureFolderListing listing = slideshow::ListPictureFolder(folder);
  ASSERT_TRUE(listing.ok) << listing.error.toStdString();
  EXPECT_EQ(listing.files, (QStringList{"A.JPG", "alpha.jpeg", "b.jpg", "c.Jpeg", "d.bmp", "E.ICO", "f.emf",
                                        "g.WMF"}));
  for (const auto& entry : entries) {
    EXPECT_EQ(slideshow::IsSlideshowPictureName(QString::fromLatin1(entry.name)),
              entry.listed || entry.name[0] == '.')
        << entry.name;
  }
}

TEST(PictureFolderTest, NamesDifferingOnlyInCaseKeepOneOrder) {
  const QString folder = Fresh("case");
  for (const char* name : {"photo.jpg", "PHOTO.jpg", "Photo.jpg"}) Touch(QDir(folder).filePath(QString::fromLatin1(name)));
  EXPECT_EQ(slideshow::ListPictureFolder(folder).files, (QStringList{"PHOTO.jpg", "Photo.jpg", "photo.jpg"}));
}

TEST(PictureFolderTest, FoldersThatCannotBeListedSayWhy) {
  const QString folder = Fresh("bad");
  const QString file = QDir(folder).filePath(QStringLiteral("a.jpg"));
  Touch(file);
  const struct {
    QString folder;
    const char* error;
  } cases[] = {
      {QDir(folder).filePath(QStringLiteral("missing")), "La cartella \"%1\" non esiste."},
      {QString(), "La cartella \"%1\" non esiste."},
      {file, "\"%1\" non è una cartella."},
  };
  for (const auto& c : cases) {
    const slideshow::PictureFolderListing listing = slideshow::ListPictureFolder(c.folder);
    EXPECT_FALSE(listing.ok) << c.folder.toStdString();
    EXPECT_EQ(listing.error, QString::fromUtf8(c.error).arg(c.folder));
  }
  const slideshow::PictureFolderListing empty = slideshow::ListPictureFolder(Fresh("empty"));
  EXPECT_TRUE(empty.ok);
  EXPECT_TRUE(empty.files.isEmpty());
}

TEST(PictureFolderTest, UnreadableFolderIsAnErrorNotAnEmptyFolder) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every folder";
  const QString folder = Fresh("locked");
  Touch(QDir(folder).filePath(QStringLiteral("a.jpg")));
  ASSERT_TRUE(QFile::setPermissions(folder, QFileDevice::WriteOwner));
  const slideshow::PictureFolderListing listing = slideshow::ListPictureFolder(folder);
  QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_FALSE(listing.ok);
  EXPECT_TRUE(listing.error.contains(QStringLiteral("accesso negato")));
}

TEST(PictureFolderTest, OneTrailingSeparatorIsDropped) {
  EXPECT_EQ(slideshow::WithoutTrailingSeparator(QStringLiteral("/a/b/")), QStringLiteral("/a/b"));
  EXPECT_EQ(slideshow::WithoutTrailingSeparator(QStringLiteral("/a/b//")), QStringLiteral("/a/b/"));
  EXPECT_EQ(slideshow::WithoutTrailingSeparator(QStringLiteral("/a/b")), QStringLiteral("/a/b"));
  EXPECT_EQ(slideshow::WithoutTrailingSeparator(QStringLiteral("/")), QString());
}

}  // namespace
