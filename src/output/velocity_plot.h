#pragma once
// The radial-velocity plot: both computed velocity curves of a page-2 report
// against phase, with up to two sets of observed velocities.

#include "output/light_curve_plot.h"

namespace tavrin {

// Tick step of a velocity range V > 0: 1, 2 or 5 times a power of ten,
// V = 88 gives 10, V = 44 gives 5, V = 17.6 gives 2.
double velocityTickStep(double range);

// The labelled multiples of the step: kLow the smallest whole k with
// k * step >= rvMin, kHigh the largest with k * step <= rvMax.
struct VelocityTicks {
  double step = 0;
  long long kLow = 0, kHigh = 0;
};
VelocityTicks velocityTicks(double rvMin, double rvMax);

// Same arguments as drawLightCurvePlot; the curve colour is not used, the
// computed curves have colours of their own and are always joined.
PlotResult drawVelocityPlot(Canvas& canvas, PlotState& state, const ComputedCurve& curve,
                            const ObservedVelocities& observed, const PlotInfo& info, Rgb curveColour, Rgb foreColour,
                            Rgb backColour);

}  // namespace tavrin
