#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "raster/canvas.h"
#include "raster/pixel.h"

namespace raster {

// A 32-bit bitmap. Rows are stored bottom-up: the bottom row has the lowest
// address and each row above follows it, Stride() bytes further on. A bitmap
// of its own has Stride() == Width() * 4 (no padding); a view over memory that
// someone else owns may have a larger stride, which the tests use to surround
// a bitmap with guard bytes. Code that walks pixels therefore goes row by row
// through ScanLine and never assumes that the rows touch.
//
// Each bitmap has a Handle() that no other living bitmap has (the effects seed
// the shared generator with it), and its own canvas, the drawing state that
// BitBlt, StretchBlt and the clip operations use. Nothing here throws: when
// memory runs out a bitmap stays or becomes empty and the call says false.
class Bitmap {
 public:
  Bitmap() noexcept;  // empty, 0 x 0
  Bitmap(int width, int height, Pixel fill = 0) noexcept;
  // A bitmap over memory owned by the caller, which must outlive it:
  // bottomRow is the address of the bottom row, strideBytes (a multiple of 4,
  // at least width * 4) the distance from one row to the one above. Gives an
  // empty bitmap for an unusable description (null, misaligned, bad sizes).
  static Bitmap View(void* bottomRow, int width, int height, std::ptrdiff_t strideBytes) noexcept;

  // Copies take the picture and get a handle and a canvas of their own; a
  // copy of a view owns its pixels. Moves keep the handle, the pixels and the
  // canvas state.
  Bitmap(const Bitmap& other) noexcept;
  Bitmap(Bitmap&& other) noexcept;
  Bitmap& operator=(const Bitmap& other) noexcept;  // Assign; the canvas stays
  Bitmap& operator=(Bitmap&& other) noexcept;
  ~Bitmap();

  int Width() const noexcept { return m_width; }
  int Height() const noexcept { return m_height; }
  bool Empty() const noexcept { return m_width == 0 || m_height == 0; }
  std::uint32_t Handle() const noexcept { return m_handle; }
  bool IsView() const noexcept { return m_isView; }
  std::ptrdiff_t Stride() const noexcept { return m_stride; }  // bytes

  // The address of image row `row` (0 = top), so ScanLine(Height() - 1) is
  // the lowest address. nullptr for a row outside the bitmap.
  std::uint8_t* ScanLine(int row) noexcept;
  const std::uint8_t* ScanLine(int row) const noexcept;
  // The same row as pixels.
  Pixel* PixelRow(int row) noexcept;
  const Pixel* PixelRow(int row) const noexcept;

  // New width and height; the part both sizes share keeps its pixels (counted
  // from the top-left corner) and the new area is filled with the canvas's
  // brush colour. A view can only be "resized" to its own size.
  bool SetSize(int width, int height) noexcept;
  // Takes other's size and pixels. A view takes them only at its own size.
  bool Assign(const Bitmap& other) noexcept;
  void Fill(Pixel pixel) noexcept;

  raster::Canvas& Canvas() noexcept { return m_canvas; }
  const raster::Canvas& Canvas() const noexcept { return m_canvas; }

 private:
  void Reset() noexcept;
  void TakeFrom(Bitmap& other) noexcept;
  bool Resize(int width, int height, Pixel fill) noexcept;

  std::vector<Pixel> m_storage;
  std::uint8_t* m_bottom = nullptr;
  int m_width = 0;
  int m_height = 0;
  std::ptrdiff_t m_stride = 0;
  bool m_isView = false;
  std::uint32_t m_handle;
  raster::Canvas m_canvas;
};

}  // namespace raster
