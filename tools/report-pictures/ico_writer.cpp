#include "ico_writer.h"

#include <QDataStream>
#include <QIODevice>

namespace report_pictures {

namespace {

constexpr int kDirectoryHeaderBytes = 6;
constexpr int kDirectoryEntryBytes = 16;
constexpr int kInfoHeaderBytes = 40;
constexpr int kMaxSide = 256;  // pixels; the directory keeps 0 for 256

// Rows of the 1-bit AND mask are padded to whole 32-bit words.
int MaskRowBytes(int width) { return ((width + 31) / 32) * 4; }

QByteArray Dib(const QImage& source) {
  const QImage picture = source.convertToFormat(QImage::Format_ARGB32);
  const int width = picture.width();
  const int height = picture.height();
  QByteArray dib;
  QDataStream out(&dib, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  // The height counts the colour rows and the mask rows together.
  out << quint32(kInfoHeaderBytes) << qint32(width) << qint32(height * 2) << quint16(1)
      << quint16(32) << quint32(0) << quint32(0) << qint32(0) << qint32(0) << quint32(0)
      << quint32(0);
  for (int y = height - 1; y >= 0; --y) {
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      out << quint8(qBlue(row[x])) << quint8(qGreen(row[x])) << quint8(qRed(row[x]))
          << quint8(qAlpha(row[x]));
    }
  }
  // The alpha channel already says what is transparent; the mask marks the
  // same pixels for readers that look only at it.
  const int maskRow = MaskRowBytes(width);
  for (int y = height - 1; y >= 0; --y) {
    QByteArray bits(maskRow, '\0');
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < width; ++x) {
      if (qAlpha(row[x]) == 0) bits[x / 8] = char(bits[x / 8] | (0x80 >> (x % 8)));
    }
    out.writeRawData(bits.constData(), bits.size());
  }
  return dib;
}

}  // namespace

QByteArray IcoFile(const QList<QImage>& pictures) {
  if (pictures.isEmpty()) return {};
  for (const QImage& picture : pictures) {
    if (picture.isNull() || picture.width() > kMaxSide || picture.height() > kMaxSide) return {};
  }
  QList<QByteArray> dibs;
  for (const QImage& picture : pictures) dibs.append(Dib(picture));

  QByteArray file;
  QDataStream out(&file, QIODevice::WriteOnly);
  out.setByteOrder(QDataStream::LittleEndian);
  out << quint16(0) << quint16(1) << quint16(pictures.size());
  quint32 offset = kDirectoryHeaderBytes + kDirectoryEntryBytes * quint32(pictures.size());
  for (qsizetype i = 0; i < pictures.size(); ++i) {
    const QImage& picture = pictures[i];
    out << quint8(picture.width() % kMaxSide) << quint8(picture.height() % kMaxSide)
        << quint8(0) << quint8(0) << quint16(1) << quint16(32) << quint32(dibs[i].size())
        << offset;
    offset += quint32(dibs[i].size());
  }
  for (const QByteArray& dib : dibs) out.writeRawData(dib.constData(), dib.size());
  return file;
}

}  // namespace report_pictures
