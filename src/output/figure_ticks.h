#pragma once
// Round tick values for figure axes: 1, 2 or 5 times a power of ten, and
// their labels in the C locale.

#include <string>
#include <vector>

namespace tavrin {

struct AxisTicks {
  double step = 0;
  std::vector<double> values;  // k * step inside [lo, hi], ascending
  int decimals = 0;            // digits after the point the labels need
  // Labels show value / 10^exponent; non-zero for very small or very large
  // values, which the axis title then carries as "×10^exponent".
  int exponent = 0;
  std::vector<std::string> labels;
};

// The finest round step that puts at most maxTicks values in [lo, hi]
// (at least two when the range allows). An empty result for a range that is
// not finite or has no width.
AxisTicks roundTicks(double lo, double hi, int maxTicks);

// A number with fixed decimals in the C locale; negative numbers carry a
// true minus sign (U+2212) when typographic is set.
std::string fixedText(double v, int decimals, bool typographic = false);

// "×10⁻⁴" for exponent -4; "" for 0.
std::string powerOfTenText(int exponent);

}  // namespace tavrin
