#pragma once
// Observed minus computed: the computed curve interpolated at each
// observation's phase.

#include <optional>
#include <vector>

namespace tavrin {

// The curve (phases ascending) linearly interpolated at phase p. A phase
// outside the curve's range is tried one cycle later and one cycle earlier;
// nullopt when none of them lies within it.
std::optional<double> interpolateCurve(const std::vector<double>& phase, const std::vector<double>& value, double p);

// One residual per observation; NaN where the curve does not reach.
std::vector<double> residuals(const std::vector<double>& curvePhase, const std::vector<double>& curveValue,
                              const std::vector<double>& obsPhase, const std::vector<double>& obsValue);

}  // namespace tavrin
