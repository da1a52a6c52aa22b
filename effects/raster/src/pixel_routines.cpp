#include "raster/pixel_routines.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <vector>

#include "raster/numeric.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace raster {

namespace {

// Adds add[i] and then subtracts sub[i] from byte i of the run, each step
// saturating at 0 and 255. The fourth byte of every pixel has 0 in both.
void AddSubtractSaturated(std::uint8_t* bytes, const std::uint8_t* add, const std::uint8_t* sub,
                          std::size_t count) noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; i + 16 <= count; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
    v = _mm_adds_epu8(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(add + i)));
    v = _mm_subs_epu8(v, _mm_loadu_si128(reinterpret_cast<const __m128i*>(sub + i)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + i), v);
  }
#endif
  for (; i < count; ++i) {
    const int v = std::min(255, bytes[i] + add[i]) - sub[i];
    bytes[i] = static_cast<std::uint8_t>(std::max(0, v));
  }
}

// One shading value as its saturating add and subtract parts.
void SplitShade(int value, std::uint8_t& add, std::uint8_t& sub) noexcept {
  add = static_cast<std::uint8_t>(std::clamp(value, 0, 255));
  sub = static_cast<std::uint8_t>(std::clamp(-value, 0, 255));
}

void ShadeRow(std::uint8_t* row, int width, int value, std::vector<std::uint8_t>& add,
              std::vector<std::uint8_t>& sub) noexcept {
  std::uint8_t a = 0;
  std::uint8_t s = 0;
  SplitShade(value, a, s);
  for (std::size_t i = 0; i < add.size(); ++i) {
    const bool colour = i % 4 != kFourthByte;
    add[i] = colour ? a : 0;
    sub[i] = colour ? s : 0;
  }
  AddSubtractSaturated(row, add.data(), sub.data(), std::size_t(width) * 4);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) noexcept {  // b > 0
  const std::int64_t q = a / b;
  return (a % b != 0 && a < 0) ? q - 1 : q;
}

std::int64_t CeilDiv(std::int64_t a, std::int64_t b) noexcept { return -FloorDiv(-a, b); }

// Narrows the columns first .. last to those where start + x * step lies in
// low .. high (all bounds included), in exact integer arithmetic.
void NarrowToLinearRange(std::int64_t start, std::int64_t step, std::int64_t low,
                         std::int64_t high, std::int64_t& first, std::int64_t& last) noexcept {
  if (step == 0) {
    if (start < low || start > high) last = first - 1;
    return;
  }
  if (step > 0) {
    first = std::max(first, CeilDiv(low - start, step));
    last = std::min(last, FloorDiv(high - start, step));
  } else {
    first = std::max(first, CeilDiv(start - high, -step));
    last = std::min(last, FloorDiv(start - low, -step));
  }
}

}  // namespace

void ShadeColumns(Bitmap& bitmap, std::uint8_t Amount, int X, int Count) noexcept {
  if (Count < 2 || Amount == 0) return;
  const std::int64_t first = std::max<std::int64_t>(X, 0);
  const std::int64_t end = std::min<std::int64_t>(std::int64_t{X} + Count, bitmap.Width());
  if (first >= end) return;
  const int half = Count / 2;
  const int amount = Amount;
  try {
    // Per byte of the visible columns: what the profile adds and subtracts.
    std::vector<std::uint8_t> add(std::size_t(end - first) * 4, 0);
    std::vector<std::uint8_t> sub(add.size(), 0);
    const auto store = [&](std::int64_t k, int value) {  // k = 1 .. Count
      const std::int64_t column = X + k - 1;
      if (column < first || column >= end) return;
      std::uint8_t a = 0;
      std::uint8_t s = 0;
      SplitShade(value, a, s);
      const std::size_t at = std::size_t(column - first) * 4;
      for (int b : {kBlueByte, kGreenByte, kRedByte}) {
        add[at + b] = a;
        sub[at + b] = s;
      }
    };
    const std::int64_t lastK = end - X;  // columns beyond the bitmap need no value
    int v = -amount;
    if (amount > half) {
      int d = amount / half;
      for (std::int64_t k = 1; k <= lastK; ++k) {
        store(k, v);
        v += d;
        if (k == half) d = -d;
      }
    } else {
      const int d = half / amount;
      std::int64_t next = d;
      for (std::int64_t k = 1; k <= lastK; ++k) {
        store(k, v);
        if (k == next) {
          next += d;
          v += k < half ? 1 : -1;
        }
      }
    }
    for (int row = 0; row < bitmap.Height(); ++row) {
      AddSubtractSaturated(bitmap.ScanLine(row) + first * 4, add.data(), sub.data(), add.size());
    }
  } catch (const std::bad_alloc&) {
  }
}

void ShadeRows(Bitmap& bitmap, std::uint8_t Amount, int Y, int Count) noexcept {
  if (Count < 2 || Amount == 0 || bitmap.Empty()) return;
  const int half = Count / 2;
  const int amount = Amount;
  int e = 1;
  int d = 1;
  if (amount > half) {
    d = amount / half;
  } else {
    e = half / amount;
  }
  try {
    std::vector<std::uint8_t> add(std::size_t(bitmap.Width()) * 4);
    std::vector<std::uint8_t> sub(add.size());
    int v = -amount;
    std::int64_t next = e;
    for (std::int64_t k = 1; k <= Count; ++k) {
      const std::int64_t row = std::int64_t{Y} + Count - k;  // the band's bottom row first
      if (row >= 0 && row < bitmap.Height()) {
        ShadeRow(bitmap.ScanLine(static_cast<int>(row)), bitmap.Width(), v, add, sub);
      } else if (row < 0) {
        break;  // every later row lies above the bitmap too
      }
      if (k == next) {
        v += k < half ? d : -d;
        next += e;
      }
    }
  } catch (const std::bad_alloc&) {
  }
}

void BlendRect(Bitmap& Dest, const Bitmap& Src, int Percent, int Left, int Top, int Width,
               int Height) noexcept {
  if (Width <= 0 || Height <= 0) return;
  const int f = MulDiv(256, std::clamp(Percent, 0, 100), 100);  // 0 .. 256
  const int keep = 256 - f;
  const std::int64_t left = std::max<std::int64_t>(Left, 0);
  const std::int64_t top = std::max<std::int64_t>(Top, 0);
  const std::int64_t right =
      std::min({std::int64_t{Left} + Width, std::int64_t{Dest.Width()}, std::int64_t{Src.Width()}});
  const std::int64_t bottom = std::min(
      {std::int64_t{Top} + Height, std::int64_t{Dest.Height()}, std::int64_t{Src.Height()}});
  if (left >= right || top >= bottom) return;
  const std::size_t count = std::size_t(right - left) * 4;  // bytes per row
  for (std::int64_t row = bottom - 1; row >= top; --row) {
    std::uint8_t* d = Dest.ScanLine(static_cast<int>(row)) + left * 4;
    const std::uint8_t* s = Src.ScanLine(static_cast<int>(row)) + left * 4;
    std::size_t i = 0;
#if defined(__SSE2__)
    // d + floor((s - d) * f / 256) equals (d * (256 - f) + s * f) >> 8, whose
    // terms fit 16-bit lanes exactly.
    const __m128i zero = _mm_setzero_si128();
    const __m128i keepWeight = _mm_set1_epi16(static_cast<short>(keep));
    const __m128i takeWeight = _mm_set1_epi16(static_cast<short>(f));
    const __m128i fourthBytes = _mm_set1_epi32(static_cast<int>(MakePixel(0, 0, 0, 0xFF)));
    for (; i + 16 <= count; i += 16) {
      const __m128i dv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
      const __m128i sv = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + i));
      const __m128i lo = _mm_srli_epi16(
          _mm_add_epi16(_mm_mullo_epi16(_mm_unpacklo_epi8(dv, zero), keepWeight),
                        _mm_mullo_epi16(_mm_unpacklo_epi8(sv, zero), takeWeight)),
          8);
      const __m128i hi = _mm_srli_epi16(
          _mm_add_epi16(_mm_mullo_epi16(_mm_unpackhi_epi8(dv, zero), keepWeight),
                        _mm_mullo_epi16(_mm_unpackhi_epi8(sv, zero), takeWeight)),
          8);
      const __m128i blended = _mm_packus_epi16(lo, hi);
      const __m128i result = _mm_or_si128(_mm_andnot_si128(fourthBytes, blended),
                                          _mm_and_si128(fourthBytes, dv));
      _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), result);
    }
#endif
    for (; i < count; ++i) {
      if (i % 4 == kFourthByte) continue;
      d[i] = static_cast<std::uint8_t>((d[i] * keep + s[i] * f) >> 8);
    }
  }
}

void RotateImage(Bitmap& Dest, const Bitmap& Src, int CX, int CY, double Angle) noexcept {
  if (Dest.Empty() || Src.Empty()) return;
  // Turning a bitmap into itself reads from a copy of the picture as it was.
  Bitmap copy;
  const Bitmap* source = &Src;
  if (&Dest == &Src) {
    copy = Src;
    if (copy.Empty()) return;
    source = &copy;
  }
  const std::int64_t s = Trunc(std::sin(-Angle) * 65536.0);
  const std::int64_t c = Trunc(std::cos(-Angle) * 65536.0);
  const int width = source->Width();
  const int height = source->Height();
  const int destWidth = Dest.Width();
  const int destHeight = Dest.Height();

  // Destination pixel (x, y), y counted up from the bottom row, takes source
  // pixel (CX + floor(along / 65536), CY + floor(across / 65536)) with
  //   along  = (x - CX + 1) * c - (y - CY + 1) * s,
  //   across = (x - CX + 1) * s + (y - CY + 1) * c.
  // Along a row both sums step by c and s exactly, and the source pixel lies
  // inside the source where
  //   -CX * 65536 <= along  < (width - CX) * 65536  and
  //   -CY * 65536 <= across < (height - CY) * 65536,
  // so each row's visible run is solved in whole numbers once and copied
  // without a test per pixel. The sums are 64-bit: the same floors as 32-bit
  // ones where those do not overflow.
  const std::int64_t alongLow = -std::int64_t{CX} * 65536;
  const std::int64_t alongHigh = (std::int64_t{width} - CX) * 65536 - 1;
  const std::int64_t acrossLow = -std::int64_t{CY} * 65536;
  const std::int64_t acrossHigh = (std::int64_t{height} - CY) * 65536 - 1;
  const std::int64_t firstU = std::int64_t{1} - CX;  // u of column 0

  struct Run {
    int first = 0;  // columns first .. end - 1 are visible
    int end = 0;
    std::int64_t along = 0;  // the sums at column `first`
    std::int64_t across = 0;
  };
  // The source rows that one band of destination rows reads lie close
  // together whatever the angle, so going through the destination in tiles
  // of kBandRows x kTileColumns keeps them in the cache; a row at a time
  // touches a new source row every pixel or two at steep angles.
  constexpr int kBandRows = 32;
  constexpr int kTileColumns = 128;
  Run runs[kBandRows];

  // Bottom-up storage: source row sy (counted up) lies sy strides above the
  // lowest address.
  const std::uint8_t* const sourceBottom = source->ScanLine(height - 1);
  const std::ptrdiff_t sourceStride = source->Stride();
  for (int bandStart = 0; bandStart < destHeight; bandStart += kBandRows) {
    const int bandRows = std::min(kBandRows, destHeight - bandStart);
    int bandFirst = destWidth;
    int bandEnd = 0;
    for (int i = 0; i < bandRows; ++i) {
      const std::int64_t v = std::int64_t{bandStart + i} - CY + 1;
      const std::int64_t along0 = firstU * c - v * s;  // at column 0
      const std::int64_t across0 = firstU * s + v * c;
      std::int64_t first = 0;
      std::int64_t last = destWidth - 1;
      NarrowToLinearRange(along0, c, alongLow, alongHigh, first, last);
      NarrowToLinearRange(across0, s, acrossLow, acrossHigh, first, last);
      Run& run = runs[i];
      if (first > last) {
        run = Run{};
        continue;
      }
      run.first = static_cast<int>(first);
      run.end = static_cast<int>(last + 1);
      run.along = along0 + first * c;
      run.across = across0 + first * s;
      bandFirst = std::min(bandFirst, run.first);
      bandEnd = std::max(bandEnd, run.end);
    }
    for (int tile = bandFirst; tile < bandEnd; tile += kTileColumns) {
      const int tileEnd = std::min(bandEnd, tile + kTileColumns);
      for (int i = 0; i < bandRows; ++i) {
        const Run& run = runs[i];
        const int from = std::max(run.first, tile);
        const int to = std::min(run.end, tileEnd);
        if (from >= to) continue;
        Pixel* out = Dest.PixelRow(destHeight - 1 - (bandStart + i));
        std::int64_t along = run.along + (from - run.first) * c;
        std::int64_t across = run.across + (from - run.first) * s;
        for (int x = from; x < to; ++x, along += c, across += s) {
          const std::ptrdiff_t sx = CX + static_cast<std::ptrdiff_t>(along >> 16);
          const std::ptrdiff_t sy = CY + static_cast<std::ptrdiff_t>(across >> 16);
          std::memcpy(&out[x], sourceBottom + sy * sourceStride + sx * std::ptrdiff_t{4},
                      sizeof(Pixel));
        }
      }
    }
  }
}

void RotatePoints(std::span<Point> Points, int CX, int CY, double Angle) noexcept {
  const double cosine = std::cos(Angle);
  const double sine = std::sin(Angle);
  const auto place = [](int rounded, int centre) {
    return static_cast<int>(
        std::clamp<std::int64_t>(std::int64_t{rounded} + centre, INT32_MIN, INT32_MAX));
  };
  for (Point& p : Points) {
    const double dx = static_cast<double>(p.X) - CX;
    const double dy = static_cast<double>(p.Y) - CY;
    p.X = place(Round(dx * cosine - dy * sine), CX);
    p.Y = place(Round(dx * sine + dy * cosine), CY);
  }
}

}  // namespace raster
