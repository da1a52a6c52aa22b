#include "raster/bitmap.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <limits>
#include <new>

namespace raster {

namespace {

// Handles count up from 1; 0 is never a handle. A 32-bit counter gives every
// bitmap made in a realistic session a handle no other one had.
std::uint32_t NextHandle() noexcept {
  static std::atomic<std::uint32_t> next{1};
  std::uint32_t handle = next.fetch_add(1, std::memory_order_relaxed);
  if (handle == 0) handle = next.fetch_add(1, std::memory_order_relaxed);
  return handle;
}

bool UsableSize(int width, int height) noexcept {
  if (width < 0 || height < 0) return false;
  // Row offsets are computed in ptrdiff_t and pixel counts in size_t.
  return std::int64_t{width} * height <= std::numeric_limits<std::ptrdiff_t>::max() / 4;
}

}  // namespace

Pixel MakePixel(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                std::uint8_t fourth) noexcept {
  std::uint8_t bytes[4];
  bytes[kBlueByte] = blue;
  bytes[kGreenByte] = green;
  bytes[kRedByte] = red;
  bytes[kFourthByte] = fourth;
  Pixel pixel;
  std::memcpy(&pixel, bytes, sizeof pixel);
  return pixel;
}

std::uint8_t PixelByte(Pixel pixel, int byteIndex) noexcept {
  std::uint8_t bytes[4];
  std::memcpy(bytes, &pixel, sizeof pixel);
  return bytes[byteIndex & 3];
}

Bitmap::Bitmap() noexcept : m_handle(NextHandle()), m_canvas(*this) {}

Bitmap::Bitmap(int width, int height, Pixel fill) noexcept : Bitmap() { Resize(width, height, fill); }

Bitmap Bitmap::View(void* bottomRow, int width, int height, std::ptrdiff_t strideBytes) noexcept {
  Bitmap view;
  const bool aligned = reinterpret_cast<std::uintptr_t>(bottomRow) % alignof(Pixel) == 0;
  if (bottomRow == nullptr || !aligned || width <= 0 || height <= 0 || !UsableSize(width, height) ||
      strideBytes % 4 != 0 || strideBytes < std::ptrdiff_t{width} * 4) {
    return view;
  }
  view.m_bottom = static_cast<std::uint8_t*>(bottomRow);
  view.m_width = width;
  view.m_height = height;
  view.m_stride = strideBytes;
  view.m_isView = true;
  return view;
}

Bitmap::Bitmap(const Bitmap& other) noexcept : Bitmap() { Assign(other); }

Bitmap::Bitmap(Bitmap&& other) noexcept : m_handle(other.m_handle), m_canvas(*this) {
  TakeFrom(other);
}

Bitmap& Bitmap::operator=(const Bitmap& other) noexcept {
  if (this != &other) Assign(other);
  return *this;
}

Bitmap& Bitmap::operator=(Bitmap&& other) noexcept {
  if (this != &other) TakeFrom(other);
  return *this;
}

void Bitmap::TakeFrom(Bitmap& other) noexcept {
  m_storage = std::move(other.m_storage);
  m_bottom = other.m_bottom;
  m_width = other.m_width;
  m_height = other.m_height;
  m_stride = other.m_stride;
  m_isView = other.m_isView;
  m_handle = other.m_handle;
  m_canvas.TakeStateFrom(other.m_canvas);
  // The moved-from bitmap is an empty one of its own, with a handle of its own.
  other.Reset();
  other.m_handle = NextHandle();
}

Bitmap::~Bitmap() = default;

void Bitmap::Reset() noexcept {
  m_storage.clear();
  m_storage.shrink_to_fit();
  m_bottom = nullptr;
  m_width = 0;
  m_height = 0;
  m_stride = 0;
  m_isView = false;
}

std::uint8_t* Bitmap::ScanLine(int row) noexcept {
  if (row < 0 || row >= m_height) return nullptr;
  return m_bottom + static_cast<std::ptrdiff_t>(m_height - 1 - row) * m_stride;
}

const std::uint8_t* Bitmap::ScanLine(int row) const noexcept {
  if (row < 0 || row >= m_height) return nullptr;
  return m_bottom + static_cast<std::ptrdiff_t>(m_height - 1 - row) * m_stride;
}

Pixel* Bitmap::PixelRow(int row) noexcept { return reinterpret_cast<Pixel*>(ScanLine(row)); }

const Pixel* Bitmap::PixelRow(int row) const noexcept {
  return reinterpret_cast<const Pixel*>(ScanLine(row));
}

bool Bitmap::SetSize(int width, int height) noexcept {
  return Resize(width, height, m_canvas.BrushColor());
}

bool Bitmap::Resize(int width, int height, Pixel fill) noexcept {
  if (width == m_width && height == m_height) return true;
  if (m_isView || !UsableSize(width, height)) return false;
  if (width == 0 || height == 0) {
    Reset();
    m_width = std::max(width, 0);
    m_height = std::max(height, 0);
    return true;
  }
  std::vector<Pixel> storage;
  try {
    storage.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                   fill);
  } catch (const std::bad_alloc&) {
    return false;
  }
  // Keep the top-left part both sizes share; rows are bottom-up in both.
  const int keepWidth = std::min(width, m_width);
  const int keepHeight = std::min(height, m_height);
  for (int row = 0; row < keepHeight; ++row) {
    Pixel* target = storage.data() + static_cast<std::size_t>(height - 1 - row) * width;
    std::memcpy(target, PixelRow(row), static_cast<std::size_t>(keepWidth) * sizeof(Pixel));
  }
  m_storage = std::move(storage);
  m_bottom = reinterpret_cast<std::uint8_t*>(m_storage.data());
  m_width = width;
  m_height = height;
  m_stride = std::ptrdiff_t{width} * 4;
  return true;
}

bool Bitmap::Assign(const Bitmap& other) noexcept {
  if (this == &other) return true;
  if (m_isView) {
    if (other.m_width != m_width || other.m_height != m_height) return false;
  } else if (other.m_width != m_width || other.m_height != m_height) {
    std::vector<Pixel> storage;
    try {
      storage.resize(static_cast<std::size_t>(other.m_width) *
                     static_cast<std::size_t>(other.m_height));
    } catch (const std::bad_alloc&) {
      return false;
    }
    m_storage = std::move(storage);
    m_bottom = reinterpret_cast<std::uint8_t*>(m_storage.data());
    m_width = other.m_width;
    m_height = other.m_height;
    m_stride = std::ptrdiff_t{m_width} * 4;
    if (m_storage.empty()) m_bottom = nullptr;
  }
  const std::size_t rowBytes = static_cast<std::size_t>(m_width) * sizeof(Pixel);
  for (int row = 0; row < m_height; ++row) {
    // memmove: a view may share memory with the bitmap it copies.
    std::memmove(ScanLine(row), other.ScanLine(row), rowBytes);
  }
  return true;
}

void Bitmap::Fill(Pixel pixel) noexcept {
  for (int row = 0; row < m_height; ++row) std::fill_n(PixelRow(row), m_width, pixel);
}

}  // namespace raster
