#include "jpeg_reader_p.h"

#include <QString>

#include <array>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <vector>

// libjpeg's headers need FILE and size_t declared first.
#include <jpeglib.h>
#include <jerror.h>

#include "picture_limits_p.h"

namespace slideshow::detail {

namespace {

// libjpeg reports errors by calling error_exit, which must not return; it
// jumps back to the setjmp of the stage that was running. Each stage below is
// a function of its own that holds only plain values, so that the jump skips
// no destructor, and every C++ object lives in the caller.
struct ErrorManager {
  jpeg_error_mgr pub;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool truncated;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, manager->message);
  std::longjmp(manager->jump, 1);
}

// Warnings are mostly harmless (a few stray bytes), but a file that ends early
// would be shown with a grey remainder: that one counts as an error.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level != -1 || cinfo->err->msg_code != JWRN_JPEG_EOF) return;
  auto* manager = reinterpret_cast<ErrorManager*>(cinfo->err);
  manager->truncated = true;
  std::longjmp(manager->jump, 1);
}

struct Decoder {
  Decoder() {
    cinfo.err = jpeg_std_error(&errors.pub);
    errors.pub.error_exit = OnError;
    errors.pub.emit_message = OnMessage;
    errors.message[0] = '\0';
    errors.truncated = false;
  }
  ~Decoder() {
    // Safe also when creation failed half-way: libjpeg checks what exists.
    if (created) jpeg_destroy_decompress(&cinfo);
  }
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  jpeg_decompress_struct cinfo{};
  ErrorManager errors{};
  bool created = false;
};

bool ReadHeader(Decoder& decoder, const unsigned char* data, unsigned long size) {
  if (setjmp(decoder.errors.jump)) return false;
  decoder.created = true;
  jpeg_create_decompress(&decoder.cinfo);
  jpeg_mem_src(&decoder.cinfo, data, size);
  jpeg_read_header(&decoder.cinfo, TRUE);
  return true;
}

bool StartDecompress(Decoder& decoder) {
  if (setjmp(decoder.errors.jump)) return false;
  jpeg_start_decompress(&decoder.cinfo);
  return true;
}

// Rows go straight into the bitmap, whose rows are stored bottom-up; libjpeg
// takes a list of row addresses, so the order does not matter to it.
bool ReadRows(Decoder& decoder, raster::Bitmap& bitmap) {
  if (setjmp(decoder.errors.jump)) return false;
  jpeg_decompress_struct& cinfo = decoder.cinfo;
  std::array<JSAMPROW, 16> rows{};
  while (cinfo.output_scanline < cinfo.output_height) {
    const JDIMENSION first = cinfo.output_scanline;
    JDIMENSION count = 0;
    while (count < rows.size() && first + count < cinfo.output_height) {
      rows[count] = bitmap.ScanLine(static_cast<int>(first + count));
      ++count;
    }
    jpeg_read_scanlines(&cinfo, rows.data(), count);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

// Four-channel pictures come as CMYK; pictures written by the common editors
// (with an Adobe marker) store the inks inverted.
bool ReadCmykRows(Decoder& decoder, raster::Bitmap& bitmap, JSAMPROW buffer) {
  if (setjmp(decoder.errors.jump)) return false;
  jpeg_decompress_struct& cinfo = decoder.cinfo;
  const bool inverted = cinfo.saw_Adobe_marker;
  while (cinfo.output_scanline < cinfo.output_height) {
    const int row = static_cast<int>(cinfo.output_scanline);
    jpeg_read_scanlines(&cinfo, &buffer, 1);
    std::uint8_t* out = bitmap.ScanLine(row);
    for (JDIMENSION x = 0; x < cinfo.output_width; ++x) {
      unsigned c = buffer[4 * x], m = buffer[4 * x + 1], y = buffer[4 * x + 2], k = buffer[4 * x + 3];
      if (!inverted) {
        c = 255 - c;
        m = 255 - m;
        y = 255 - y;
        k = 255 - k;
      }
      out[4 * x + 0] = static_cast<std::uint8_t>(y * k / 255);
      out[4 * x + 1] = static_cast<std::uint8_t>(m * k / 255);
      out[4 * x + 2] = static_cast<std::uint8_t>(c * k / 255);
      out[4 * x + 3] = 0xFF;
    }
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

[[noreturn]] void Fail(const Decoder& decoder) {
  if (decoder.errors.truncated) throw PictureDecodeError(QStringLiteral("il file è troncato"));
  throw PictureDecodeError(QStringLiteral("il contenuto non è un'immagine JPEG valida (%1)")
                               .arg(QString::fromLocal8Bit(decoder.errors.message)));
}

JDIMENSION ScaledSide(JDIMENSION side, int denominator) {
  return (side + static_cast<JDIMENSION>(denominator) - 1) / static_cast<JDIMENSION>(denominator);
}

}  // namespace

int JpegScaleDenominator(const QSize& naturalSize, const QSize& targetSize) {
  if (!targetSize.isValid() || targetSize.isEmpty()) return 1;
  for (const int denominator : {8, 4, 2}) {
    const qint64 width = (qint64{naturalSize.width()} + denominator - 1) / denominator;
    const qint64 height = (qint64{naturalSize.height()} + denominator - 1) / denominator;
    if (width >= targetSize.width() && height >= targetSize.height()) return denominator;
  }
  return 1;
}

DecodedPicture ReadJpeg(const QByteArray& data, const PictureReadRequest& request) {
  Decoder decoder;
  if (!ReadHeader(decoder, reinterpret_cast<const unsigned char*>(data.constData()),
                  static_cast<unsigned long>(data.size()))) {
    Fail(decoder);
  }
  jpeg_decompress_struct& cinfo = decoder.cinfo;
  const QSize natural(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height));
  const int denominator = JpegScaleDenominator(natural, request.targetSize);
  const JDIMENSION width = ScaledSide(cinfo.image_width, denominator);
  const JDIMENSION height = ScaledSide(cinfo.image_height, denominator);
  // Checked before anything is allocated: a few hostile bytes can declare a
  // picture of 65500 x 65500 pixels.
  if (!FitsPictureLimit(static_cast<qint64>(width), static_cast<qint64>(height))) {
    throw PictureDecodeError(QStringLiteral("l'immagine è troppo grande (%1 x %2 pixel)")
                                 .arg(cinfo.image_width)
                                 .arg(cinfo.image_height));
  }
  cinfo.scale_num = 1;
  cinfo.scale_denom = static_cast<unsigned>(denominator);
  const bool cmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "the raster layer's pixel bytes are blue, green, red, fourth");
  cinfo.out_color_space = cmyk ? JCS_CMYK : JCS_EXT_BGRX;
  if (!StartDecompress(decoder)) Fail(decoder);

  DecodedPicture picture;
  picture.naturalSize = natural;
  picture.bitmap = raster::Bitmap(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
  if (picture.bitmap.Empty()) throw PictureDecodeError(QStringLiteral("memoria insufficiente"));
  if (cmyk) {
    std::vector<JSAMPLE> buffer(std::size_t{cinfo.output_width} * 4);
    if (!ReadCmykRows(decoder, picture.bitmap, buffer.data())) Fail(decoder);
  } else if (!ReadRows(decoder, picture.bitmap)) {
    Fail(decoder);
  }
  return picture;
}

}  // namespace slideshow::detail
