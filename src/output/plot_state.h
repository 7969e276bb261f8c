#pragma once
// Display options shared by the light-curve and velocity plots, kept for the
// whole run. Both plot windows read and change the one instance.

#include <cstdint>

#include "output/canvas.h"

namespace tavrin {

inline constexpr int16_t kCurveOnly = 1;
inline constexpr int16_t kDataOnly = 2;
inline constexpr int16_t kCurveAndData = 3;

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGridGrey{192, 192, 192};
inline constexpr Rgb kRv1Colour{83, 67, 179};
inline constexpr Rgb kRv2Colour{182, 23, 51};

struct PlotState {
  int16_t displayMode = kCurveOnly;  // 1 curve only, 2 data only, 3 both
  bool joinPoints = false;
  bool gridLines = false;
  Rgb plotColour = kBlack;      // computed light curve only
  Rgb backgroundColour = kWhite;
  // Vertical scale of the light-curve plot: the value at the top and at the
  // bottom edge of the frame.
  double yMax = 1.0;
  double yMin = 0.0;
};

// Showing curve and data always joins the computed points.
inline void setDisplayMode(PlotState& s, int16_t mode) {
  s.displayMode = mode;
  if (mode == kCurveAndData) s.joinPoints = true;
}

}  // namespace tavrin
