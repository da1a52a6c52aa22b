#include "exif.h"

namespace photo_gen {

namespace {

void Put16(QByteArray& out, unsigned value, bool big) {
  if (big) {
    out.append(char(value >> 8 & 0xFF)).append(char(value & 0xFF));
  } else {
    out.append(char(value & 0xFF)).append(char(value >> 8 & 0xFF));
  }
}

void Put32(QByteArray& out, unsigned value, bool big) {
  if (big) {
    Put16(out, value >> 16, big);
    Put16(out, value & 0xFFFF, big);
  } else {
    Put16(out, value & 0xFFFF, big);
    Put16(out, value >> 16, big);
  }
}

}  // namespace

QByteArray WithExifOrientation(const QByteArray& jpeg, int orientation, bool bigEndian) {
  QByteArray tiff;
  tiff.append(bigEndian ? "MM" : "II", 2);
  Put16(tiff, 42, bigEndian);
  Put32(tiff, 8, bigEndian);  // IFD0 right after the header
  Put16(tiff, 1, bigEndian);  // one entry
  Put16(tiff, 0x0112, bigEndian);
  Put16(tiff, 3, bigEndian);  // SHORT
  Put32(tiff, 1, bigEndian);
  Put16(tiff, static_cast<unsigned>(orientation), bigEndian);
  Put16(tiff, 0, bigEndian);  // rest of the value field
  Put32(tiff, 0, bigEndian);  // no next IFD

  QByteArray segment("\xFF\xE1", 2);
  const int length = 2 + 6 + static_cast<int>(tiff.size());
  segment.append(char(length >> 8 & 0xFF)).append(char(length & 0xFF));
  segment.append("Exif\0\0", 6);
  segment.append(tiff);
  QByteArray out = jpeg.left(2);  // start of image
  out.append(segment);
  out.append(jpeg.mid(2));
  return out;
}

}  // namespace photo_gen
