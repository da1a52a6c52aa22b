#include "loads/sample_loads.h"

#include <array>

namespace loads {

namespace {

constexpr std::array kPistol{
    SampleLoad{"9x21 IMI FMJ 124 grs", 16.50, 100, 9.00, 100, 88, 4.3, 0.25, 10, 4.0, 4.6},
    SampleLoad{"9x19 Parabellum RN 115 grs", 15.00, 100, 9.00, 100, 88, 4.8, 0.22, 10, 4.5, 5.2},
    SampleLoad{"9x21 Ramata 147 grs", 18.90, 100, 9.00, 100, 92, 3.6, 0.25, 12, 3.3, 3.9},
    SampleLoad{".38 Special LRN 158 grs", 12.00, 100, 9.00, 100, 80, 3.5, 0.30, 15, 3.2, 3.8},
    SampleLoad{".38 Special WC 148 grs", 11.50, 100, 9.00, 100, 80, 2.8, 0.30, 15, 2.6, 3.1},
    SampleLoad{".357 Magnum JHP 158 grs", 24.00, 100, 10.50, 100, 95, 7.5, 0.45, 8, 7.0, 8.0},
    SampleLoad{".40 S&W FMJ 180 grs", 21.00, 100, 9.00, 100, 88, 5.0, 0.35, 8, 4.6, 5.4},
    SampleLoad{".45 ACP FMJ 230 grs", 27.00, 100, 10.00, 100, 88, 5.6, 0.40, 10, 5.2, 6.0},
    SampleLoad{".44 Magnum SWC 240 grs", 26.00, 100, 10.50, 100, 95, 9.5, 0.60, 8, 8.8, 10.2},
};

constexpr std::array kRifle{
    SampleLoad{".223 Remington FMJ 55 grs", 19.00, 100, 10.00, 100, 105, 25.0, 0.55, 6, 24.0, 26.5},
    SampleLoad{".223 Remington HPBT 69 grs", 32.00, 100, 10.00, 100, 110, 23.5, 0.55, 6, 22.5, 24.8},
    SampleLoad{".308 Winchester FMJ 147 grs", 34.00, 100, 11.00, 100, 105, 44.0, 0.90, 5, 42.0, 46.0},
    SampleLoad{".308 Winchester HPBT 168 grs", 48.00, 100, 11.00, 100, 115, 43.0, 0.95, 5, 41.0, 45.0},
    SampleLoad{"6.5 Creedmoor ELD 140 grs", 30.00, 50, 11.00, 100, 120, 41.5, 1.20, 5, 39.5, 42.5},
    SampleLoad{".30-06 Springfield SP 165 grs", 36.00, 100, 11.00, 100, 110, 52.0, 1.00, 5, 49.0, 54.0},
    SampleLoad{"7x64 Brenneke SP 162 grs", 42.00, 50, 11.00, 100, 115, 54.0, 1.30, 4, 51.0, 56.0},
    SampleLoad{".300 Win Mag SP 180 grs", 45.00, 50, 12.50, 100, 120, 72.0, 1.60, 4, 69.0, 75.0},
    SampleLoad{"8x57 JS SP 196 grs", 40.00, 50, 11.00, 100, 110, 48.0, 1.20, 5, 46.0, 50.0},
};

}  // namespace

std::span<const SampleLoad> SampleLoads(SampleSet set) {
  switch (set) {
    case SampleSet::Pistol:
      return kPistol;
    case SampleSet::Rifle:
      return kRifle;
    case SampleSet::None:
      break;
  }
  return {};
}

}  // namespace loads
