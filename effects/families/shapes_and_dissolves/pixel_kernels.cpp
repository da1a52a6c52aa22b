#include "pixel_kernels_p.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace effects::shapes_and_dissolves {

using raster::Pixel;

void DissolveRunPlain(Pixel* frame, const Pixel* image, int count, std::uint32_t seed,
                      const SeedLanes& lanes, std::uint32_t threshold) noexcept {
  const SeedStep& draw = lanes.Ahead[0];
  for (int i = 0; i < count; ++i) {
    seed = draw.Apply(seed);
    if (seed < threshold) frame[i] = image[i];
  }
}

void BlendChannelsPlain(std::uint8_t* frame, const std::uint8_t* image, int pixels,
                        const std::array<int, 4>& weights) noexcept {
  for (int p = 0; p < pixels; ++p) {
    for (int b = 0; b < 4; ++b) {
      const int at = p * 4 + b;
      const int difference = image[at] - frame[at];
      // An arithmetic shift floors the signed quotient.
      frame[at] = static_cast<std::uint8_t>(frame[at] + ((difference * weights[std::size_t(b)]) >> 8));
    }
  }
}

void CopyMaskedPixelsPlain(Pixel* frame, const Pixel* image, const Pixel* masks, int count) noexcept {
  for (int i = 0; i < count; ++i) frame[i] = (image[i] & masks[i]) | (frame[i] & ~masks[i]);
}

#if defined(__SSE2__)

namespace {

// The low 32 bits of each lane's product with the same factor in every lane.
__m128i MultiplyLanes(__m128i lanes, __m128i factor) noexcept {
  const __m128i even = _mm_mul_epu32(lanes, factor);
  const __m128i odd = _mm_mul_epu32(_mm_srli_epi64(lanes, 32), factor);
  return _mm_unpacklo_epi32(_mm_shuffle_epi32(even, _MM_SHUFFLE(0, 0, 2, 0)),
                            _mm_shuffle_epi32(odd, _MM_SHUFFLE(0, 0, 2, 0)));
}

__m128i Select(__m128i mask, __m128i ifSet, __m128i otherwise) noexcept {
  return _mm_or_si128(_mm_and_si128(mask, ifSet), _mm_andnot_si128(mask, otherwise));
}

__m128i Load(const void* at) noexcept { return _mm_loadu_si128(static_cast<const __m128i*>(at)); }
void Store(void* at, __m128i value) noexcept { _mm_storeu_si128(static_cast<__m128i*>(at), value); }

}  // namespace

// Eight pixels a turn, each lane with its own seed, the lanes advanced by
// eight draws at once; the unsigned comparison with the threshold is a signed
// one of both sides with their top bit flipped.
void DissolveRun(Pixel* frame, const Pixel* image, int count, std::uint32_t seed,
                 const SeedLanes& lanes, std::uint32_t threshold) noexcept {
  alignas(16) std::array<std::uint32_t, 8> seeds{};
  for (std::size_t j = 0; j < seeds.size(); ++j) seeds[j] = lanes.Ahead[j].Apply(seed);
  int i = 0;
  if (count >= 8) {
    __m128i low = _mm_load_si128(reinterpret_cast<const __m128i*>(seeds.data()));
    __m128i high = _mm_load_si128(reinterpret_cast<const __m128i*>(seeds.data() + 4));
    const __m128i multiplier = _mm_set1_epi32(static_cast<int>(lanes.Stride.Multiplier));
    const __m128i increment = _mm_set1_epi32(static_cast<int>(lanes.Stride.Increment));
    const __m128i flip = _mm_set1_epi32(static_cast<int>(0x80000000u));
    const __m128i limit = _mm_xor_si128(_mm_set1_epi32(static_cast<int>(threshold)), flip);
    for (; i + 8 <= count; i += 8) {
      const __m128i takeLow = _mm_cmplt_epi32(_mm_xor_si128(low, flip), limit);
      const __m128i takeHigh = _mm_cmplt_epi32(_mm_xor_si128(high, flip), limit);
      Store(frame + i, Select(takeLow, Load(image + i), Load(frame + i)));
      Store(frame + i + 4, Select(takeHigh, Load(image + i + 4), Load(frame + i + 4)));
      low = _mm_add_epi32(MultiplyLanes(low, multiplier), increment);
      high = _mm_add_epi32(MultiplyLanes(high, multiplier), increment);
    }
    _mm_store_si128(reinterpret_cast<__m128i*>(seeds.data()), low);
    _mm_store_si128(reinterpret_cast<__m128i*>(seeds.data() + 4), high);
  }
  for (std::size_t j = 0; i < count; ++i, ++j) {
    if (seeds[j] < threshold) frame[i] = image[i];
  }
}

// d + floor((s - d) * w / 256) = (d * (256 - w) + s * w) >> 8, whose terms
// fit 16-bit lanes for w in 0 .. 256; four pixels a turn, the weights
// repeating every pixel.
void BlendChannels(std::uint8_t* frame, const std::uint8_t* image, int pixels,
                   const std::array<int, 4>& weights) noexcept {
  int p = 0;
  const auto lanes = [&](bool keep) {
    const auto w = [&](int b) {
      return static_cast<short>(keep ? 256 - weights[std::size_t(b)] : weights[std::size_t(b)]);
    };
    return _mm_setr_epi16(w(0), w(1), w(2), w(3), w(0), w(1), w(2), w(3));
  };
  const __m128i keepWeights = lanes(true);
  const __m128i takeWeights = lanes(false);
  const __m128i zero = _mm_setzero_si128();
  const auto blend = [&](__m128i d, __m128i s) {
    return _mm_srli_epi16(
        _mm_add_epi16(_mm_mullo_epi16(d, keepWeights), _mm_mullo_epi16(s, takeWeights)), 8);
  };
  for (; p + 4 <= pixels; p += 4) {
    const __m128i d = Load(frame + p * 4);
    const __m128i s = Load(image + p * 4);
    const __m128i low = blend(_mm_unpacklo_epi8(d, zero), _mm_unpacklo_epi8(s, zero));
    const __m128i high = blend(_mm_unpackhi_epi8(d, zero), _mm_unpackhi_epi8(s, zero));
    Store(frame + p * 4, _mm_packus_epi16(low, high));
  }
  BlendChannelsPlain(frame + p * 4, image + p * 4, pixels - p, weights);
}

void CopyMaskedPixels(Pixel* frame, const Pixel* image, const Pixel* masks, int count) noexcept {
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    Store(frame + i, Select(Load(masks + i), Load(image + i), Load(frame + i)));
  }
  CopyMaskedPixelsPlain(frame + i, image + i, masks + i, count - i);
}

#else

void DissolveRun(Pixel* frame, const Pixel* image, int count, std::uint32_t seed,
                 const SeedLanes& lanes, std::uint32_t threshold) noexcept {
  DissolveRunPlain(frame, image, count, seed, lanes, threshold);
}

void BlendChannels(std::uint8_t* frame, const std::uint8_t* image, int pixels,
                   const std::array<int, 4>& weights) noexcept {
  BlendChannelsPlain(frame, image, pixels, weights);
}

void CopyMaskedPixels(Pixel* frame, const Pixel* image, const Pixel* masks, int count) noexcept {
  CopyMaskedPixelsPlain(frame, image, masks, count);
}

#endif

}  // namespace effects::shapes_and_dissolves
