#include "contours/contour_grid.h"

#include <cmath>
#include <cstdio>

namespace tavrin::contours {

void ContourGrid::resize() {
  const size_t n = static_cast<size_t>(std::max<int>(gridDef.M, 0)) * static_cast<size_t>(std::max<int>(gridDef.N, 0));
  wres.assign(n, 0.0);
  status.assign(n, 0);
}

const char* codeCaption(int code) {
  switch (code) {
    case 1: return "Mass Ratio, q = M2/M1";
    case 2: return "Inclination, i";
    case 3: return "Temperature, T2";
    case 4: return "Potential, Omega 1";
    case 5: return "Potential, Omega 2";
    default: return "";
  }
}

const char* axisName(int code) {
  switch (code) {
    case 1: return "Mass ratio";
    case 2: return "Inclination";
    case 3: return "Temp, T2";
    case 4: return "Omega1";
    case 5: return "Omega2";
    default: return "";
  }
}

double parameterValue(const ParameterSet& p, int code) {
  switch (code) {
    case 1: return p.RM;
    case 2: return p.XINCL;
    case 3: return p.T2;
    case 4: return p.POTH;
    case 5: return p.POT2;
    default: return 0;
  }
}

void setParameterValue(ParameterSet& p, int code, double value) {
  switch (code) {
    case 1: p.RM = value; break;
    case 2: p.XINCL = value; break;
    case 3: p.T2 = value; break;
    case 4: p.POTH = value; break;
    case 5: p.POT2 = value; break;
    default: break;
  }
}

const char* parameterControl(int code) {
  switch (code) {
    case 1: return "Text48";
    case 2: return "Text39";
    case 3: return "Text43";
    case 4: return "Text46";
    case 5: return "Text47";
    default: return "";
  }
}

ContourRange defaultRange(double wresMin, double wresMax) {
  ContourRange r;
  if (!(wresMin > 0) || !std::isfinite(wresMin)) {
    // No logarithm: whole units, and a range that is never empty.
    r.decimals = 0;
    r.low = std::isfinite(wresMin) ? std::floor(wresMin) : 0;
    r.high = (std::isfinite(wresMax) && wresMax > r.low + 1) ? std::ceil(wresMax) : r.low + 1;
    return r;
  }
  const double e = std::trunc(std::log10(wresMin)) - 2;
  const double p = std::pow(10.0, e);
  r.decimals = static_cast<int16_t>(-e);
  r.low = p * std::trunc(wresMin / p);
  r.high = 4 * r.low;
  return r;
}

void takeIntoRange(ContourGrid& g, double v, bool& any) {
  if (!any) {
    g.wresMin = g.wresMax = v;
    any = true;
    return;
  }
  if (v < g.wresMin) g.wresMin = v;
  if (v > g.wresMax) g.wresMax = v;
}

void summariseLoaded(ContourGrid& g) {
  g.wresMin = 999;
  g.wresMax = -999;
  bool any = false;
  for (double v : g.wres) takeIntoRange(g, v, any);
  g.dataReady = true;
  g.range = defaultRange(g.wresMin, g.wresMax);
}

std::optional<std::pair<double, double>> wresRange(const ContourGrid& g) {
  if (g.wresMin > g.wresMax) return std::nullopt;
  return std::pair{g.wresMin, g.wresMax};
}

void summariseComputed(ContourGrid& g) {
  g.wresMin = 999;
  g.wresMax = -999;
  bool any = false;
  for (double v : g.wres)
    if (v != kFailedPoint) takeIntoRange(g, v, any);
  g.dataReady = true;
  g.range = defaultRange(g.wresMin, g.wresMax);
}

std::string formatHms(double seconds) {
  if (!std::isfinite(seconds) || seconds < 0) seconds = 0;
  const double total = std::floor(seconds);
  const long long s = total > 9.0e15 ? 9000000000000000LL : static_cast<long long>(total);
  char buf[48];
  std::snprintf(buf, sizeof buf, "%lld:%02lld:%02lld", s / 3600, (s / 60) % 60, s % 60);
  return buf;
}

std::optional<std::string> setupRefusal(const GridDef& s) {
  if (s.xCode == s.yCode) return "Sorry, you must select different parameters for X and Y.  Press any key ...";
  if (!(s.xMin < s.xMax)) return "Sorry, Minimum X must be less than the maximum X.  Press any key ...";
  if (!(s.yMin < s.yMax)) return "Sorry, Minimum Y must be less than the maximum Y.  Press any key ...";
  if (s.M < 1) return "Sorry, M must be a positive number.  Press any key ...";
  if (s.N < 1) return "Sorry, N must be a positive number.  Press any key ...";
  // A larger grid could be computed but never read back.
  if (s.M > kMaxGridPoints || s.N > kMaxGridPoints) return "Sorry, M and N can be at most 201.  Press any key ...";
  return std::nullopt;
}

std::optional<std::string> setupWarning(const GridDef& s) {
  if (s.xMin < 0 || s.yMin < 0) return "Sorry, Min X or Min Y can never be negative.  Press any key ...";
  return std::nullopt;
}

double gridStep(double min, double max, int count) { return count > 1 ? (max - min) / (count - 1) : 0.0; }

}  // namespace tavrin::contours
