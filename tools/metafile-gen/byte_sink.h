#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace metafile_gen {

using Bytes = std::vector<std::uint8_t>;

// Little-endian fields appended to a byte vector.
class ByteSink {
 public:
  ByteSink& U8(std::uint32_t v) {
    m_bytes.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  ByteSink& U16(std::uint32_t v) { return U8(v).U8(v >> 8); }
  ByteSink& I16(int v) { return U16(static_cast<std::uint32_t>(v) & 0xFFFF); }
  ByteSink& U32(std::uint32_t v) { return U16(v & 0xFFFF).U16(v >> 16); }
  ByteSink& I32(std::int64_t v) { return U32(static_cast<std::uint32_t>(v)); }
  ByteSink& F32(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return U32(bits);
  }
  ByteSink& Append(const Bytes& more) {
    m_bytes.insert(m_bytes.end(), more.begin(), more.end());
    return *this;
  }
  ByteSink& Text(const std::string& text) {
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
    return *this;
  }
  ByteSink& PadTo(std::size_t multiple) {
    while (m_bytes.size() % multiple != 0) m_bytes.push_back(0);
    return *this;
  }
  std::size_t Size() const { return m_bytes.size(); }
  const Bytes& Get() const { return m_bytes; }
  Bytes Take() { return std::move(m_bytes); }

 private:
  Bytes m_bytes;
};

// 0x00bbggrr from red, green, blue.
constexpr std::uint32_t Rgb(int r, int g, int b) {
  return static_cast<std::uint32_t>(r) | (static_cast<std::uint32_t>(g) << 8) | (static_cast<std::uint32_t>(b) << 16);
}

struct Point {
  int x = 0;
  int y = 0;
};

struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

}  // namespace metafile_gen
