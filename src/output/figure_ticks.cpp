#include "output/figure_ticks.h"

#include <charconv>
#include <cmath>

namespace tavrin {

std::string fixedText(double v, int decimals, bool typographic) {
  if (decimals < 0) decimals = 0;
  // Rounding a small negative number to nothing must not leave "-0.0".
  const double scale = std::pow(10.0, decimals);
  if (std::round(std::abs(v) * scale) == 0) v = 0;
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  std::string s(buf, r.ptr);
  if (typographic && !s.empty() && s[0] == '-') s = "\u2212" + s.substr(1);
  return s;
}

std::string powerOfTenText(int exponent) {
  if (exponent == 0) return "";
  static const char* digits[] = {"\u2070", "\u00b9", "\u00b2", "\u00b3", "\u2074",
                                 "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
  std::string s = "\u00d710";
  if (exponent < 0) s += "\u207b";
  for (char c : std::to_string(std::abs(exponent))) s += digits[c - '0'];
  return s;
}

AxisTicks roundTicks(double lo, double hi, int maxTicks) {
  AxisTicks t;
  if (!std::isfinite(lo) || !std::isfinite(hi) || !(hi > lo)) return t;
  if (maxTicks < 2) maxTicks = 2;
  const double span = hi - lo;
  // Start one decade below the span / maxTicks and go up through 1, 2, 5.
  int e = static_cast<int>(std::floor(std::log10(span / maxTicks))) - 1;
  static const int kMantissas[] = {1, 2, 5};
  for (int guard = 0; guard < 40; ++guard, ++e) {
    for (int m : kMantissas) {
      const double step = m * std::pow(10.0, e);
      // A hair of tolerance so that an end lying on a multiple counts.
      const double eps = step * 1e-9;
      const double kLo = std::ceil((lo - eps) / step), kHi = std::floor((hi + eps) / step);
      const double n = kHi - kLo + 1;
      if (n > maxTicks) continue;
      t.step = step;
      for (double k = kLo; k <= kHi; ++k) t.values.push_back(k == 0 ? 0.0 : k * step);
      break;
    }
    if (t.step > 0) break;
  }
  if (t.step == 0) return t;
  double biggest = 0;
  for (double v : t.values) biggest = std::max(biggest, std::abs(v));
  const int stepDecade = static_cast<int>(std::floor(std::log10(t.step) + 1e-9));
  if (stepDecade < -3 || (biggest >= 1e5)) {
    // Keep the labels short: pull the power of the largest value out.
    const double top = biggest > 0 ? biggest : t.step;
    t.exponent = static_cast<int>(std::floor(std::log10(top) + 1e-9));
  }
  t.decimals = std::max(0, t.exponent - stepDecade);
  const double unit = std::pow(10.0, t.exponent);
  for (double v : t.values) t.labels.push_back(fixedText(v / unit, t.decimals, true));
  return t;
}

}  // namespace tavrin
