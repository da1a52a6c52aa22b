#pragma once

// Report units: positions and sizes on report pages are in 1/96 inch; paper
// sizes and margins are in millimetres. The factor is the one the templates
// were designed with (5 mm = 18.89765 units), not 96 / 25.4, so that band
// positions computed from millimetres land on the same values as in the
// stored templates.
namespace report {

inline constexpr double kUnitsPerMm = 3.77953;        // report units per millimetre
inline constexpr double kUnitsPerTenthInch = 9.6;     // report units per 1/10 inch
inline constexpr double kUnitsPerInch = 96.0;         // report units per inch

constexpr double MmToUnits(double mm) { return mm * kUnitsPerMm; }
constexpr double UnitsToMm(double units) { return units / kUnitsPerMm; }

// Positions are compared with this slack, so that a band exactly filling the
// free space stays on the page despite the sums of decimal fractions.
inline constexpr double kUnitEpsilon = 1e-6;  // report units

}  // namespace report
