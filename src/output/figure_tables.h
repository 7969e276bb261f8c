#pragma once
// Every number of a plot as text: CSV of the computed curve and the observed
// sets with their residuals, CSV of a residual map, and the rounding of a
// value to its standard deviation's precision for tables in a paper. All
// numbers in the C locale.

#include <string>
#include <vector>

#include "contours/contour_grid.h"
#include "output/lco_reader.h"

namespace tavrin {

// The shortest text that reads back as the same double (C locale).
std::string csvNumber(double v);
// A CSV field, quoted when it holds a comma, a quote or a line break.
std::string csvField(const std::string& s);

// An observed set of a plot: its file name, the star it belongs to (0 for
// light, 1 or 2 for velocities) and its points.
struct ObservedSeries {
  std::string name;
  int star = 0;
  std::vector<double> phase, value;
};

// Long form, one row per point: series,phase,observed,computed,residual.
// The computed curve comes first (series "computed" or "computed star 1",
// "computed star 2"), then each observed set with the curve interpolated at
// its phases and observed minus computed; a field the curve does not reach
// stays empty.
std::string curveCsv(const ComputedCurve& curve, const std::vector<ObservedSeries>& observed);

// One row per grid point: X value, Y value, Sum(W*Res**2) and a failed
// flag; a failed point's Sum is left empty.
std::string mapCsv(const contours::ContourGrid& g);

// Axis title of a grid parameter code with its unit ("Inclination (deg)").
std::string mapAxisTitle(int code);

// value and its standard deviation rounded alike: the deviation to two
// significant digits when its first digit is 1, else one; the value to the
// same decimal place. A deviation that is zero or not finite leaves the
// value as csvNumber writes it and the deviation empty.
struct RoundedPair {
  std::string value, stdDev;
};
RoundedPair roundToUncertainty(double value, double stdDev);

}  // namespace tavrin
