#include "report/ui/tool_images.h"

#include <QFile>
#include <QtEndian>

#include <zlib.h>

#include <cstring>

namespace report {

namespace {

// Far above the real strip (about 100 KiB): a damaged or hostile file cannot
// make us allocate without bound.
constexpr qsizetype kMaxInflated = 8 * 1024 * 1024;

bool Inflate(const QByteArray& in, QByteArray& out, QString& error) {
  z_stream zs{};
  // 16 + MAX_WBITS: expect the gzip wrapper, not a bare zlib stream.
  if (inflateInit2(&zs, 16 + MAX_WBITS) != Z_OK) {
    error = QStringLiteral("inflateInit2 failed");
    return false;
  }
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
  zs.avail_in = static_cast<uInt>(in.size());
  out.clear();
  char chunk[16384];
  int rc = Z_OK;
  while (rc != Z_STREAM_END) {
    zs.next_out = reinterpret_cast<Bytef*>(chunk);
    zs.avail_out = sizeof chunk;
    rc = inflate(&zs, Z_NO_FLUSH);
    if (rc != Z_OK && rc != Z_STREAM_END) {
      error = QStringLiteral("inflate: %1").arg(QString::fromLatin1(zs.msg ? zs.msg : "bad data"));
      break;
    }
    out.append(chunk, static_cast<qsizetype>(sizeof chunk - zs.avail_out));
    if (out.size() > kMaxInflated) {
      error = QStringLiteral("inflate: too large");
      break;
    }
    if (rc == Z_OK && zs.avail_in == 0 && zs.avail_out != 0) {
      error = QStringLiteral("inflate: truncated");
      break;
    }
  }
  inflateEnd(&zs);
  return error.isEmpty();
}

quint16 U16(const QByteArray& data, qsizetype at) {
  return qFromLittleEndian<quint16>(data.constData() + at);
}

}  // namespace

ToolStrip ReadToolStrip(const QByteArray& gzipped) {
  ToolStrip result;
  QByteArray data;
  if (!Inflate(gzipped, data, result.error)) return result;
  if (data.size() < 8 || std::memcmp(data.constData(), "VTS1", 4) != 0) {
    result.error = QStringLiteral("not a tool strip");
    return result;
  }
  const int count = U16(data, 4);
  const int strips = U16(data, 6);
  qsizetype at = 8;
  std::vector<QImage> images;
  for (int s = 0; s < strips; ++s) {
    if (at + 2 > data.size()) {
      result.error = QStringLiteral("tool strip truncated");
      return result;
    }
    const int tile = U16(data, at);
    at += 2;
    const qsizetype bytes = qsizetype{count} * tile * tile * 4;
    if (tile == 0 || count == 0 || at + bytes > data.size()) {
      result.error = QStringLiteral("tool strip truncated");
      return result;
    }
    QImage strip(reinterpret_cast<const uchar*>(data.constData() + at), count * tile, tile,
                 count * tile * 4, QImage::Format_RGBA8888);
    images.push_back(strip.convertToFormat(QImage::Format_ARGB32_Premultiplied));  // a deep copy
    at += bytes;
  }
  result.count = count;
  result.strips = std::move(images);
  return result;
}

const ToolStrip& BuiltInToolStrip() {
  static const ToolStrip strip = [] {
    QFile file(QStringLiteral(":/report/tool_strip.gz"));
    if (!file.open(QIODevice::ReadOnly)) {
      ToolStrip missing;
      missing.error = QStringLiteral("tool strip resource missing");
      return missing;
    }
    return ReadToolStrip(file.readAll());
  }();
  return strip;
}

QIcon ToolIcon(ToolImage image) {
  const ToolStrip& strip = BuiltInToolStrip();
  const int index = static_cast<int>(image);
  QIcon icon;
  if (index < 0 || index >= strip.count) return icon;
  for (const QImage& s : strip.strips) {
    const int tile = s.height();
    icon.addPixmap(QPixmap::fromImage(s.copy(index * tile, 0, tile, tile)));
  }
  return icon;
}

}  // namespace report
