#include "slideshow/picture_folder.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace slideshow {

const QStringList& SlideshowPictureExtensions() {
  static const QStringList extensions{QStringLiteral("bmp"), QStringLiteral("ico"), QStringLiteral("emf"),
                                      QStringLiteral("wmf"), QStringLiteral("jpeg"), QStringLiteral("jpg")};
  return extensions;
}

bool IsSlideshowPictureName(const QString& fileName) {
  const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
  if (dot < 0) return false;
  return SlideshowPictureExtensions().contains(fileName.mid(dot + 1).toLower());
}

PictureFolderListing ListPictureFolder(const QString& folder) {
  PictureFolderListing listing;
  const QFileInfo info(folder);
  if (folder.isEmpty() || !info.exists()) {
    listing.error = QStringLiteral("La cartella \"%1\" non esiste.").arg(folder);
    return listing;
  }
  if (!info.isDir()) {
    listing.error = QStringLiteral("\"%1\" non è una cartella.").arg(folder);
    return listing;
  }
  // QDir lists an unreadable folder as an empty one; that must not read as
  // "no pictures here".
  if (!info.isReadable() || !info.isExecutable()) {
    listing.error = QStringLiteral("Impossibile leggere la cartella \"%1\": accesso negato.").arg(folder);
    return listing;
  }
  const QDir dir(folder);
  for (const QString& name : dir.entryList(QDir::Files, QDir::NoSort)) {
    if (IsSlideshowPictureName(name)) listing.files.append(name);
  }
  std::sort(listing.files.begin(), listing.files.end(), [](const QString& a, const QString& b) {
    const int order = QString::compare(a, b, Qt::CaseInsensitive);
    // Names that differ only in case keep one fixed order.
    return order != 0 ? order < 0 : a < b;
  });
  listing.ok = true;
  return listing;
}

QString WithoutTrailingSeparator(const QString& folder) {
  if (folder.endsWith(QLatin1Char('/'))) return folder.left(folder.size() - 1);
  return folder;
}

}  // namespace slideshow
