#pragma once

#include "metafile/metafile.h"

#include <QString>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

namespace metafile::detail {

// Where the player is, and the warnings and skipped records it has met so far.
class Diagnostics {
 public:
  void At(int recordIndex, std::int64_t byteOffset) {
    m_record = recordIndex;
    m_offset = byteOffset;
  }
  Error MakeError(ErrorKind kind, const QString& message) const {
    return Error{kind, m_record, m_offset, message};
  }

  // Keeps the first few of each kind, so one faulty pattern repeated a
  // million times cannot crowd out the others or grow without bound.
  void Warn(WarningKind kind, const QString& message) {
    int& seen = m_perKind[static_cast<std::size_t>(kind)];
    ++seen;
    if (seen > kPerKind || m_warnings.size() >= kTotal) return;
    m_warnings.push_back(Warning{kind, m_record, m_offset, message});
  }

  void Skip(std::uint32_t type) { ++m_skipped[type]; }

  std::vector<Warning> TakeWarnings() { return std::move(m_warnings); }
  std::vector<SkippedRecord> Skipped() const {
    std::vector<SkippedRecord> out;
    out.reserve(m_skipped.size());
    for (const auto& [type, count] : m_skipped) out.push_back(SkippedRecord{type, count});
    return out;
  }

 private:
  static constexpr int kPerKind = 8;
  static constexpr std::size_t kTotal = 64;
  int m_record = -1;
  std::int64_t m_offset = 0;
  std::vector<Warning> m_warnings;
  std::array<int, 16> m_perKind{};
  std::map<std::uint32_t, int> m_skipped;
};

}  // namespace metafile::detail
