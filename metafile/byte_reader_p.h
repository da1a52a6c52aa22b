#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace metafile::detail {

// Little-endian fields of a record. A read past the end yields zero and
// clears Ok(), so a handler reads all of its fields and checks Ok() once.
class ByteReader {
 public:
  ByteReader() = default;
  ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

  std::uint8_t U8() {
    if (!Has(1)) return Fail<std::uint8_t>();
    return m_data[m_pos++];
  }
  std::uint16_t U16() {
    if (!Has(2)) return Fail<std::uint16_t>();
    const auto v = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
    m_pos += 2;
    return v;
  }
  std::int16_t I16() { return static_cast<std::int16_t>(U16()); }
  std::uint32_t U32() {
    if (!Has(4)) return Fail<std::uint32_t>();
    const std::uint32_t v = static_cast<std::uint32_t>(m_data[m_pos]) |
                            (static_cast<std::uint32_t>(m_data[m_pos + 1]) << 8) |
                            (static_cast<std::uint32_t>(m_data[m_pos + 2]) << 16) |
                            (static_cast<std::uint32_t>(m_data[m_pos + 3]) << 24);
    m_pos += 4;
    return v;
  }
  std::int32_t I32() { return static_cast<std::int32_t>(U32()); }
  float F32() {
    const std::uint32_t bits = U32();
    float v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }
  void Skip(std::size_t n) {
    if (!Has(n)) {
      Fail<int>();
      return;
    }
    m_pos += n;
  }
  void Seek(std::size_t pos) {
    if (pos > m_size) {
      Fail<int>();
      return;
    }
    m_pos = pos;
  }

  bool Ok() const { return m_ok; }
  bool Has(std::size_t n) const { return m_ok && m_size - m_pos >= n; }
  std::size_t Pos() const { return m_pos; }
  std::size_t Size() const { return m_size; }
  std::size_t Remaining() const { return m_size - m_pos; }
  const std::uint8_t* Data() const { return m_data; }
  const std::uint8_t* Here() const { return m_data + m_pos; }

  // The bytes [offset, offset + length) of this reader's data as a reader of
  // their own; an empty, failed reader when they do not lie inside.
  ByteReader Slice(std::size_t offset, std::size_t length) const {
    if (offset > m_size || length > m_size - offset) {
      ByteReader bad;
      bad.m_ok = false;
      return bad;
    }
    return ByteReader(m_data + offset, length);
  }

 private:
  template <typename T>
  T Fail() {
    m_ok = false;
    m_pos = m_size;
    return T{};
  }

  const std::uint8_t* m_data = nullptr;
  std::size_t m_size = 0;
  std::size_t m_pos = 0;
  bool m_ok = true;
};

}  // namespace metafile::detail
