#include "output/figure_residuals.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tavrin {

namespace {

std::optional<double> within(const std::vector<double>& phase, const std::vector<double>& value, double p) {
  const size_t n = std::min(phase.size(), value.size());
  if (n == 0 || !(p >= phase.front() && p <= phase[n - 1])) return std::nullopt;
  if (n == 1) return value[0];
  const auto end = phase.begin() + static_cast<std::ptrdiff_t>(n);
  const size_t hi = static_cast<size_t>(std::upper_bound(phase.begin(), end, p) - phase.begin());
  if (hi >= n) return value[n - 1];  // p is the last phase
  const size_t lo = hi - 1;
  const double span = phase[hi] - phase[lo];
  if (span <= 0) return value[lo];
  return value[lo] + (value[hi] - value[lo]) * (p - phase[lo]) / span;
}

}  // namespace

std::optional<double> interpolateCurve(const std::vector<double>& phase, const std::vector<double>& value, double p) {
  if (!std::isfinite(p)) return std::nullopt;
  for (double shift : {0.0, 1.0, -1.0})
    if (auto v = within(phase, value, p + shift)) return v;
  return std::nullopt;
}

std::vector<double> residuals(const std::vector<double>& curvePhase, const std::vector<double>& curveValue,
                              const std::vector<double>& obsPhase, const std::vector<double>& obsValue) {
  std::vector<double> out;
  const size_t n = std::min(obsPhase.size(), obsValue.size());
  out.reserve(n);
  for (size_t j = 0; j < n; ++j) {
    const auto c = interpolateCurve(curvePhase, curveValue, obsPhase[j]);
    out.push_back(c ? obsValue[j] - *c : std::numeric_limits<double>::quiet_NaN());
  }
  return out;
}

}  // namespace tavrin
