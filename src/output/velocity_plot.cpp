#include "output/velocity_plot.h"

#include <algorithm>
#include <cmath>

#include "model/number_fields.h"

namespace tavrin {

using namespace plotdetail;

double velocityTickStep(double range) {
  const double e = std::floor(std::log10(range));
  const double p = std::pow(10.0, e);
  const double r = range / p;
  double m = 10;
  if (r < 5) m = 5;
  if (r < 2) m = 2;
  return m * p / 10;
}

VelocityTicks velocityTicks(double rvMin, double rvMax) {
  VelocityTicks t;
  t.step = velocityTickStep(rvMax - rvMin);
  // Start from the quotient and settle on the exact definition, whatever the
  // rounding of the division.
  long long lo = static_cast<long long>(std::ceil(rvMin / t.step));
  while (static_cast<double>(lo - 1) * t.step >= rvMin) --lo;
  while (static_cast<double>(lo) * t.step < rvMin) ++lo;
  long long hi = static_cast<long long>(std::floor(rvMax / t.step));
  while (static_cast<double>(hi + 1) * t.step <= rvMax) ++hi;
  while (static_cast<double>(hi) * t.step > rvMax) --hi;
  t.kLow = lo;
  t.kHigh = hi;
  return t;
}

PlotResult drawVelocityPlot(Canvas& c, PlotState& state, const ComputedCurve& curve,
                            const ObservedVelocities& observed, const PlotInfo& info, Rgb /*curveColour*/,
                            Rgb foreColour, Rgb backColour) {
  PlotResult result;
  c.setForeground(foreColour);
  c.setBackground(backColour);
  c.clear();

  const Frame f = frameFor(c, kVelocityPlotLeft);
  const double rvMin = curve.rvMin, rvMax = curve.rvMax;
  const double V = rvMax - rvMin;
  const bool spanOk = usablePhaseSpan(curve);
  // Velocities come from a 16-bit-era report; a range beyond this is garbage
  // that would only produce an endless row of ticks.
  const bool rangeOk = std::isfinite(V) && V > 0 && std::abs(rvMin) < 1e12 && std::abs(rvMax) < 1e12;
  if (!spanOk)
    result.note = curve.count > 0 ? "The phase span of the curves is zero; they cannot be scaled." : "No computed curve.";
  else if (!rangeOk)
    result.note = "The velocity range is zero; the curves cannot be scaled.";
  const bool scaled = result.note.empty();

  const double a = curve.phaseFirst, b = curve.phaseLast;
  auto x = [&](double p) { return phaseX(f, a, b, p); };
  auto y = [&](double v) { return f.bottom - f.H() * (v - rvMin) / V; };

  if (state.displayMode == kCurveAndData) state.joinPoints = true;

  VelocityTicks ticks;
  if (rangeOk) ticks = velocityTicks(rvMin, rvMax);

  if (rangeOk) {
    // Labels of the extreme multiples of the step and of zero, left of the frame.
    drawLabel(c, result.labels, "Label5", fixedField(static_cast<double>(ticks.kHigh) * ticks.step, 6, 1), 0,
              y(static_cast<double>(ticks.kHigh) * ticks.step) - 100);
    drawLabel(c, result.labels, "Label6", "0", 0, y(0) - 100);
    drawLabel(c, result.labels, "Label7", fixedField(static_cast<double>(ticks.kLow) * ticks.step, 6, 1), 0,
              y(static_cast<double>(ticks.kLow) * ticks.step) - 100);
  } else {
    drawLabel(c, result.labels, "Label5", "", 0, 0, false);
    drawLabel(c, result.labels, "Label6", "0", 0, 0, false);
    drawLabel(c, result.labels, "Label7", "", 0, 0, false);
  }

  if (state.gridLines && scaled) {
    c.setForeground(kGridGrey);
    for (long long k = ticks.kLow; k <= ticks.kHigh; ++k) {
      const double gy = y(static_cast<double>(k) * ticks.step);
      c.line(f.left, gy, f.right, gy);
    }
    drawPhaseGrid(c, f, a, b);
    c.setForeground(kBlack);
    const double y0 = y(0);
    for (int i = -3; i <= 3; ++i) c.line(f.left, y0 + i, f.right, y0 + i);
  }

  if (scaled) drawPhaseTicks(c, f, a, b);
  drawFrameLines(c, f);
  placeCommonLabels(c, f, curve, info, scaled, result.labels);

  if (!scaled) {
    drawNote(c, f, result.note);
    return result;
  }

  const int n = std::min<int>({curve.count, static_cast<int>(curve.phase.size()), static_cast<int>(curve.rv1.size()),
                               static_cast<int>(curve.rv2.size())});
  auto joined = [&](const std::vector<double>& rv, Rgb colour) {
    if (n <= 0) return;
    c.setForeground(colour);
    c.point(x(curve.phase[0]), y(rv[0]));
    for (int i = 1; i < n; ++i) c.lineTo(x(curve.phase[i]), y(rv[i]));
  };
  joined(curve.rv1, kRv1Colour);
  joined(curve.rv2, kRv2Colour);

  const Rgb setColours[2] = {kBlue, kRed};
  for (int s = 1; s <= 2; ++s) {
    const VelocitySet& set = observed.set(s);
    if (!set.loaded) continue;
    c.setForeground(setColours[s - 1]);
    const int m = std::min(set.count(), static_cast<int>(set.velocity.size()));
    for (int j = 0; j < m; ++j) {
      const double px = x(set.phase[j]), py = y(set.velocity[j]);
      for (int r = 27; r <= 40; ++r) c.circle(px, py, r);
    }
  }
  c.setForeground(foreColour);
  return result;
}

}  // namespace tavrin
