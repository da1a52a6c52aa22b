#pragma once

#include <QString>
#include <QStringList>

namespace slideshow {

// What listing a picture folder gave: the bare names of its picture files,
// sorted by name without regard to case, or why the folder could not be read
// (Italian, naming the folder as it was given).
struct PictureFolderListing {
  bool ok = false;
  QStringList files;
  QString error;
};

// The extensions the slideshow shows, lower case: "bmp", "ico", "emf", "wmf",
// "jpeg", "jpg".
const QStringList& SlideshowPictureExtensions();

// Whether a file name ends in one of those extensions, in any case.
bool IsSlideshowPictureName(const QString& fileName);

// The picture files directly in `folder`: sub-folders are neither listed nor
// searched, and hidden files (a leading dot) are left out, as a file manager
// does.
PictureFolderListing ListPictureFolder(const QString& folder);

// The folder as the slideshow keeps it: one trailing "/" dropped.
QString WithoutTrailingSeparator(const QString& folder);

}  // namespace slideshow
