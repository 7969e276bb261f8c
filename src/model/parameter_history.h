#pragma once
// Three generations of the DC-adjustable values. Generation 0 is the
// ParameterSet itself; generations 1 and 2 are copies of the same shape.
// Standard DC runs shift the history; revert restores generation 2.

#include <array>

#include "model/parameter_set.h"

namespace tavrin {

struct AdjustableValues {
  // HJD0, PERIOD, DPDT, PSHIFT, PER, DPERDT, E, A, F1, F2, VGA, XINCL, GR1, GR2,
  // T1, T2 (kelvin), ALB1, ALB2, POTH, POT2, RM.
  std::array<double, 21> scalars{};
  std::array<std::array<Spot, kMaxSpotsPerStar + 1>, 3> spots{};
  // Per curve row 1..7: L1, L2, x1, x2.
  std::array<std::array<double, 4>, kCurveRows + 1> curves{};
};

AdjustableValues captureAdjustable(const ParameterSet& p);
// Writes every value back; third light, THE and VUNIT are not part of it.
void restoreAdjustable(ParameterSet& p, const AdjustableValues& v);

struct ParameterHistory {
  AdjustableValues generation1{};
  AdjustableValues generation2{};

  // Start-up state: both generations hold the start-up parameter set.
  static ParameterHistory fromParameterSet(const ParameterSet& p);
  // Standard DC run: generation 2 := generation 1, generation 1 := the set.
  void shift(const ParameterSet& p);
  // Revert: the set and generation 1 := generation 2.
  void revert(ParameterSet& p);
};

}  // namespace tavrin
