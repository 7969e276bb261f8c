#include "output/figure_tables.h"

#include <charconv>
#include <cmath>

#include "output/figure_residuals.h"
#include "output/figure_ticks.h"

namespace tavrin {

std::string csvNumber(double v) {
  if (!std::isfinite(v)) return "";
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, v);
  return std::string(buf, r.ptr);
}

std::string csvField(const std::string& s) {
  if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
  std::string out = "\"";
  for (char c : s) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

namespace {

void row(std::string& out, const std::string& series, double phase, double observed, double computed,
         double residual) {
  out += csvField(series) + "," + csvNumber(phase) + "," + csvNumber(observed) + "," + csvNumber(computed) + "," +
         csvNumber(residual) + "\n";
}

}  // namespace

std::string curveCsv(const ComputedCurve& curve, const std::vector<ObservedSeries>& observed) {
  const double none = NAN;
  std::string out = "series,phase,observed,computed,residual\n";
  const size_t n = curve.phase.size();
  if (curve.page == 2) {
    for (int star = 1; star <= 2; ++star) {
      const auto& v = star == 1 ? curve.rv1 : curve.rv2;
      for (size_t k = 0; k < n && k < v.size(); ++k)
        row(out, "computed star " + std::to_string(star), curve.phase[k], none, v[k], none);
    }
  } else {
    for (size_t k = 0; k < n && k < curve.light.size(); ++k) row(out, "computed", curve.phase[k], none, curve.light[k], none);
  }
  for (const ObservedSeries& s : observed) {
    const auto& v = curve.page == 2 ? (s.star == 2 ? curve.rv2 : curve.rv1) : curve.light;
    for (size_t k = 0; k < s.phase.size() && k < s.value.size(); ++k) {
      const auto c = interpolateCurve(curve.phase, v, s.phase[k]);
      row(out, s.name, s.phase[k], s.value[k], c ? *c : none, c ? s.value[k] - *c : none);
    }
  }
  return out;
}

std::string mapAxisTitle(int code) {
  switch (code) {
    case 1: return "Mass ratio q = M2/M1";
    case 2: return "Inclination (deg)";
    case 3: return "T2 (K)";
    case 4: return "Potential \u03a91";
    case 5: return "Potential \u03a92";
    default: return "";
  }
}

std::string mapCsv(const contours::ContourGrid& g) {
  const auto& d = g.gridDef;
  std::string out = csvField(mapAxisTitle(d.xCode)) + "," + csvField(mapAxisTitle(d.yCode)) + ",Sum(W*Res**2),failed\n";
  const double dx = contours::gridStep(d.xMin, d.xMax, d.M), dy = contours::gridStep(d.yMin, d.yMax, d.N);
  for (int i = 0; i < d.M; ++i)
    for (int j = 0; j < d.N; ++j) {
      const double v = g.value(i, j);
      const bool failed = v == contours::kFailedPoint;
      out += csvNumber(d.xMin + i * dx) + "," + csvNumber(d.yMin + j * dy) + "," + (failed ? "" : csvNumber(v)) + "," +
             (failed ? "1" : "0") + "\n";
    }
  return out;
}

RoundedPair roundToUncertainty(double value, double stdDev) {
  const double sd = std::abs(stdDev);
  if (!std::isfinite(value)) return {"", ""};
  if (!std::isfinite(sd) || sd == 0) return {csvNumber(value), ""};
  int decade = static_cast<int>(std::floor(std::log10(sd)));
  // The first digit after rounding decides: 0.0196 rounds to 0.02, one digit.
  int digits = 1;
  double lead = std::round(sd / std::pow(10.0, decade - 1)) / 10;  // two digits, d.d
  if (lead >= 10) lead /= 10, ++decade;
  if (lead < 2) digits = 2;
  const int place = decade - digits + 1;  // power of ten of the last digit kept
  const double unit = std::pow(10.0, place);
  const double v = std::round(value / unit) * unit, s = std::round(sd / unit) * unit;
  const int decimals = std::max(0, -place);
  return {fixedText(v, decimals), fixedText(s, decimals)};
}

}  // namespace tavrin
