#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "testing/test_support.h"

namespace app::testing {

// The loudest sample in a file written by SDL's disk audio driver (signed
// 16 bits, native order). Read it once the sound output is closed, so that
// the driver has written everything.
inline int PeakOfDiskSamples(const std::filesystem::path& file) {
  const std::string bytes = testing_support::ReadFileBytes(file);
  int peak = 0;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    std::int16_t sample = 0;
    std::memcpy(&sample, bytes.data() + i, sizeof sample);
    peak = std::max(peak, std::abs(static_cast<int>(sample)));
  }
  return peak;
}

}  // namespace app::testing
