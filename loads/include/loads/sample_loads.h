#pragma once

#include <span>

namespace loads {

// The loads a new data file starts with, so that a first start shows data a
// reloader recognises.
struct SampleLoad {
  const char* tipologia;
  double copalle;  // euro per pack of bullets
  int palle;       // bullets per pack
  double coinn;    // euro per pack of primers
  int inneschi;    // primers per pack
  double coPol;    // euro per kilogram of powder
  double polvere;  // grains per cartridge
  double coBoss;   // euro per case
  int bossoli;     // times a case is loaded
  double minima;   // grains
  double massima;  // grains
};

enum class SampleSet { Pistol, Rifle, None };

std::span<const SampleLoad> SampleLoads(SampleSet set);

}  // namespace loads
