#pragma once
// The residual map as a figure for print: the refined grid as a colour map
// with a labelled colour bar, contour lines at the chosen levels labelled
// with their values, titled axes with round ticks, the grid's minimum marked
// with its values, and failed points left out in grey.

#include "contours/contour_grid.h"
#include "output/canvas.h"
#include "output/figure_layout.h"

namespace tavrin::contours {

struct MapFigureOptions {
  int zoom = 10;
  double low = 0, high = 0;  // the colour scale and the outer contour levels
  int lines = 10;            // contour levels low .. high
};

// What the figure drew, for its checks: the map's frame and the levels.
struct MapFigureResult {
  AxisBox map;
  std::vector<double> levels;
  std::string note;  // set when the grid could not be drawn
};

// Requires a grid plotRefusal accepts for the zoom; otherwise only the note
// is drawn.
MapFigureResult drawMapFigure(Canvas& c, const ContourGrid& g, const MapFigureOptions& o);

// The short symbol of a grid parameter ("q", "i", "T2", "Ω1", "Ω2").
const char* axisSymbol(int code);
// A number with five significant digits ("84.8", "5100.9", "0.35").
std::string significantText(double v);

}  // namespace tavrin::contours
