#pragma once

#include <QByteArrayView>
#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QPainter;

// A player for WMF (with or without the placeable header) and EMF pictures.
//
// Load() is a pure function from bytes to a picture or an error: it reads the
// header, walks every record once and checks each against the caps below, so
// that Play() never meets malformed data. It needs no QGuiApplication, which
// makes it the entry point for fuzzing. Play() and Render() draw text, so they
// need a QGuiApplication (any platform, "offscreen" will do).
//
// A Picture is immutable and implicitly shared; several threads may play the
// same Picture at once, each on its own QPainter.
namespace metafile {

// Bounds on what a picture may ask for; a file that needs more is refused.
namespace limits {
inline constexpr std::int64_t kMaxFileBytes = 64LL * 1024 * 1024;
inline constexpr int kMaxRecords = 1'000'000;
inline constexpr std::int64_t kMaxPointsPerRecord = 1'000'000;
inline constexpr std::int64_t kMaxPointsPerPicture = 10'000'000;
inline constexpr int kMaxBitmapSide = 32'767;                    // pixels
inline constexpr std::int64_t kMaxBitmapPixels = 1LL << 25;      // 32 Mi pixels, 128 MiB decoded
inline constexpr int kMaxPictureSide = 16'384;                   // pixels at 96 dpi
inline constexpr int kMaxRenderSide = 16'384;                    // pixels
inline constexpr std::int64_t kMaxRenderPixels = 1LL << 26;      // 64 Mi pixels, 256 MiB
inline constexpr int kMaxSaveDepth = 1'024;  // deeper saves are counted, not stored
inline constexpr int kMaxObjects = 65'536;   // live pens, brushes, fonts, regions, palettes
inline constexpr int kMaxRegionRects = 65'536;
inline constexpr int kMaxTextPixels = 8'192;  // font height on the output, pixels
// Drawing stops once the output area touched by the records (pixels, summed
// over every drawing operation) passes this many times the target's area, or
// kMaxWorkUnits in all; a picture that paints its page a thousand times over is
// drawn as far as the budget goes, never for minutes.
inline constexpr std::int64_t kWorkPerTargetPixel = 256;
inline constexpr std::int64_t kMinWorkUnits = 1LL << 24;
inline constexpr std::int64_t kMaxWorkUnits = 1LL << 33;
// Sides of a WMF without placeable header, which carries no physical size:
// its window is taken as pixels at 96 dpi and scaled down to this side.
inline constexpr int kUnsizedWmfMaxSide = 2'048;
}  // namespace limits

enum class Format { kWmf, kPlaceableWmf, kEmf };

enum class ErrorKind {
  kNotAMetafile,   // neither WMF nor EMF
  kTruncated,      // the data ends before its header or a record is complete
  kBadHeader,      // header fields that no writer produces
  kBadRecordSize,  // a record size smaller than a record header or misaligned
  kRecordPastEnd,  // a record size that points past the end of the data
  kBadRecord,      // counts or offsets inside a record that do not fit it
  kBadBitmap,      // a bitmap header that is invalid or claims more bytes than it has
  kZeroSize,       // the picture has no area
  kAbsurdSize,     // the picture's size is beyond kMaxPictureSide
  kTooLarge,       // the data passes one of the caps above
  kOutputTooLarge  // Render() asked for more than kMaxRenderSide / kMaxRenderPixels
};

// What went wrong and where. recordIndex counts records from 0 in file order
// (an EMF's header is record 0); -1 stands for the file header of a WMF or for
// the data as a whole. byteOffset is the offset of that record in the data.
struct Error {
  ErrorKind kind = ErrorKind::kNotAMetafile;
  int recordIndex = -1;
  std::int64_t byteOffset = 0;
  QString message;  // Italian, for the user

  // "record 12, byte 340: <message>", or the message alone for the whole data.
  QString ToString() const;
};

enum class WarningKind {
  kMissingEnd,          // no end-of-file record; the records up to the end were played
  kBadChecksum,         // placeable header checksum differs (the picture is shown anyway)
  kSaveDepthClipped,    // saves nested deeper than kMaxSaveDepth
  kOutOfRange,          // a drawing lies beyond any usable coordinate and was left out
  kUnsupportedBitmap,   // a bitmap kind not played (JPEG or PNG inside a DIB, palette DDB)
  kWorkBudgetReached,   // drawing stopped by the work budget
  kTextTooLarge         // text taller than kMaxTextPixels was left out
};

struct Warning {
  WarningKind kind = WarningKind::kMissingEnd;
  int recordIndex = -1;
  std::int64_t byteOffset = 0;
  QString message;
};

// A record kind the player reads past without drawing, with how often it occurs.
struct SkippedRecord {
  std::uint32_t type = 0;  // WMF function number or EMF record type
  int count = 0;
};

struct LoadResult;
class Picture;
LoadResult Load(QByteArrayView bytes);

class Picture {
 public:
  Format FileFormat() const;
  // The picture's own size, pixels at 96 dpi: from the placeable header's box
  // and units per inch, from the EMF frame (0.01 mm), or for a WMF without
  // placeable header from its window (see limits::kUnsizedWmfMaxSide).
  QSize SizePixels() const;
  // The physical size, when the file states one (not for a WMF without
  // placeable header).
  std::optional<QSizeF> SizeMm() const;
  int RecordCount() const;
  // Warnings of the load pass (at most 64 are kept).
  const std::vector<Warning>& Warnings() const;
  const std::vector<SkippedRecord>& Skipped() const;

  // Plays the records so that the picture's frame fills `target` (in the
  // painter's coordinates), stretched to its shape, clipped to it, over what
  // the painter already holds. The painter's state is restored afterwards.
  // Returns false when the work budget cut the drawing short.
  bool Play(QPainter& painter, const QRectF& target) const;

 private:
  struct Data;
  explicit Picture(std::shared_ptr<const Data> data);
  std::shared_ptr<const Data> m_data;
  friend LoadResult Load(QByteArrayView bytes);
};

struct LoadResult {
  std::optional<Picture> picture;
  std::optional<Error> error;  // set exactly when picture is not
  bool Ok() const { return picture.has_value(); }
};

// Reads a WMF or EMF picture; never throws, crashes or allocates beyond the caps.
LoadResult Load(QByteArrayView bytes);

// The format of data that starts like a metafile, from its first bytes only.
std::optional<Format> Sniff(QByteArrayView bytes);

struct RenderResult {
  QImage image;  // ARGB32 premultiplied, transparent where nothing is drawn
  std::optional<Error> error;
  bool Ok() const { return !image.isNull(); }
};

// Draws a picture into a new image of `sizePixels` (its own size when empty).
RenderResult Render(const Picture& picture, QSize sizePixels = {});
// Load() and Render() in one step.
RenderResult Render(QByteArrayView bytes, QSize sizePixels = {});

}  // namespace metafile
