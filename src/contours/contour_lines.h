#pragma once
// True contour lines through the refined grid (marching squares), and which
// fine points stand on a failed DC run so that figures leave them out.

#include <vector>

#include "contours/contour_grid.h"
#include "contours/contour_plot.h"

namespace tavrin::contours {

inline bool isFailedPoint(double wres) { return wres == kFailedPoint; }

// Fine points [q * (fineN + 1) + r] whose refined value depends on a failed
// coarse point: the nodes each fit is made from, along X and then along Y.
std::vector<bool> missingFinePoints(const ContourGrid& g, int zoom);

// A point in fine-grid index units (u along X, v along Y, fractional).
struct FinePoint {
  double u = 0, v = 0;
};
// One connected line; a closed one ends where it begins.
using ContourPolyline = std::vector<FinePoint>;

// The lines of one level through every cell whose four corners are present
// (missing may be empty: all present). A corner at or above the level counts
// as above; saddles are split by the cell's mean value.
std::vector<ContourPolyline> contourLines(const FineGrid& f, const std::vector<bool>& missing, double level);

// The smallest coarse value that is no failed point: its indices, or i = -1.
struct GridMinimum {
  int i = -1, j = -1;
  double value = 0;
};
GridMinimum gridMinimum(const ContourGrid& g);

}  // namespace tavrin::contours
