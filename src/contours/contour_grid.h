#pragma once
// The residual grid: which two parameters span it, their ranges, the
// Sum(W*Res**2) of every point, and the default contour range derived from
// the smallest value. Shared by the computation, the data file and the plot.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin::contours {

inline constexpr int kMaxGridPoints = 201;  // per direction
inline constexpr double kFailedPoint = 99;  // value of a point whose DC run failed

// Parameter codes 1..5: mass ratio, inclination, T2 (kelvin), potential 1, potential 2.
inline constexpr int kFirstCode = 1;
inline constexpr int kLastCode = 5;

struct GridDef {
  // Brace order: codes, then X range and M, then Y range and N.
  int16_t xCode = 1, yCode = 2;
  double xMin = 0, xMax = 0;
  int16_t M = 0;
  double yMin = 0, yMax = 0;
  int16_t N = 0;
  int16_t iterations = 1;
  friend bool operator==(const GridDef&, const GridDef&) = default;
};

struct ContourRange {
  double low = 0, high = 0;
  int16_t decimals = 0;
  friend bool operator==(const ContourRange&, const ContourRange&) = default;
};

struct ContourGrid {
  GridDef gridDef;
  std::vector<double> wres;     // [i * N + j], i = X index, j = Y index
  std::vector<int16_t> status;  // same layout
  double wresMin = 999, wresMax = -999;
  bool dataReady = false;
  ContourRange range;

  double value(int i, int j) const { return wres[static_cast<size_t>(i) * gridDef.N + j]; }
  // Sizes wres and status for the gridDef (zeros).
  void resize();
};

// "Mass Ratio, q = M2/M1", ... (option captions) and "Mass ratio", ... (plot
// axis names; potential 2 is "Omega2").
const char* codeCaption(int code);
const char* axisName(int code);
// The ParameterSet value a code stands for (T2 in kelvin); 0 for other codes.
double parameterValue(const ParameterSet& p, int code);
void setParameterValue(ParameterSet& p, int code, double value);
// Main-window control of a code ("Text48", ...); "" for other codes.
const char* parameterControl(int code);

// Default contour range from wresMin: e = Fix(log10(wresMin)) - 2,
// decimals = -e, low = 10^e * Fix(wresMin / 10^e), high = 4 * low. A minimum
// that has no logarithm (zero or negative, from interpolated or odd data)
// gives low = the minimum rounded down, high = low + 1 or the maximum if larger.
ContourRange defaultRange(double wresMin, double wresMax);

// Takes a value into wresMin/wresMax. The first value sets both: the start
// values 999 and -999 only stand for "no value yet" (a grid whose values all
// lie above 999 still has its true minimum).
void takeIntoRange(ContourGrid& g, double v, bool& any);

// Lowers/raises wresMin/wresMax over every point (99 included, as a loaded
// file is read), sets dataReady and the default range.
void summariseLoaded(ContourGrid& g);

// "H:MM:SS", every part rounded down.
std::string formatHms(double seconds);

// wresMin and wresMax, or nullopt while they still hold their start values
// 999 and -999 (no point has a value): those are never a range to show.
std::optional<std::pair<double, double>> wresRange(const ContourGrid& g);
// Lowers/raises wresMin/wresMax over every point but the failed ones (99),
// sets dataReady and the default range: the summary of a computed grid.
void summariseComputed(ContourGrid& g);

// The set-up check: the first refusal's message, or nullopt.
std::optional<std::string> setupRefusal(const GridDef& s);
// The warning shown (without stopping) for a negative minimum, or nullopt.
std::optional<std::string> setupWarning(const GridDef& s);
// Values of a direction: min + k * step with step = (max - min) / (count - 1),
// 0 for a single value.
double gridStep(double min, double max, int count);

}  // namespace tavrin::contours
