#pragma once

#include "byte_reader_p.h"
#include "canvas_p.h"
#include "diagnostics_p.h"
#include "gdi_p.h"
#include "metafile/metafile.h"

#include <QRectF>
#include <QSize>
#include <QSizeF>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// The two record readers. Each has a header pass that finds the picture's
// size and the state its records start from, and a walk that hands every
// record to a Canvas. The load pass walks with a canvas that has no painter;
// Play walks the same bytes with one, so it meets only records already checked.
namespace metafile::detail {

struct PictureSetup {
  Format format = Format::kWmf;
  QSize sizePixels;               // at 96 dpi
  std::optional<QSizeF> sizeMm;
  QRectF frameDevice;             // device units that fill the target
  bool frameFromDrawing = false;  // no size in the file: the frame is what the records draw
  DcState initial;
  double devicePerMmX = 96 / 25.4;
  double devicePerMmY = 96 / 25.4;
  std::size_t firstRecordOffset = 0;
  std::int64_t declaredBytes = 0;  // the file size the header states
  int objectTableSize = 0;
  std::vector<Warning> warnings;  // from the header
};

struct HeaderResult {
  std::optional<PictureSetup> setup;
  std::optional<Error> error;
};

struct WalkResult {
  std::optional<Error> error;
  int records = 0;
};

HeaderResult ReadWmfHeader(ByteReader data);
WalkResult WalkWmf(const PictureSetup& setup, ByteReader data, Canvas& canvas, Diagnostics& diagnostics);

HeaderResult ReadEmfHeader(ByteReader data);
WalkResult WalkEmf(const PictureSetup& setup, ByteReader data, Canvas& canvas, Diagnostics& diagnostics);

// The picture's own size from a frame in millimetres or pixels, checked
// against the caps; shared by both headers.
std::optional<Error> SizeFromFrame(double widthPixels, double heightPixels, QSize& size);

}  // namespace metafile::detail
