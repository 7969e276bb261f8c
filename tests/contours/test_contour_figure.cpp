#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <sstream>

#include "../output/recording_canvas.h"
#include "contours/contour_figure.h"
#include "contours/contour_lines.h"
#include "output/figure_tables.h"
#include "test_files.h"

using namespace tavrin;
using namespace tavrin::contours;

namespace {

// A paraboloid (x - 3)^2 + 4 (y - 2)^2 over x 0..6, y 0..4 on a 7 x 5 grid:
// the quadratic and cubic fits reproduce it exactly, so its level L is the
// ellipse of semi-axes sqrt(L) and sqrt(L) / 2.
ContourGrid paraboloid() {
  ContourGrid g;
  g.gridDef = {1, 2, 0, 6, 7, 0, 4, 5, 1};
  g.resize();
  for (int i = 0; i < 7; ++i)
    for (int j = 0; j < 5; ++j) g.wres[static_cast<size_t>(i) * 5 + j] = (i - 3.0) * (i - 3.0) + 4 * (j - 2.0) * (j - 2.0);
  summariseLoaded(g);
  return g;
}

// A failed corner taints the fine points whose fits use it (interval 0 along
// X fits nodes 0..2, interval 1 nodes 0..3): the whole mask, a column per line.
TEST(ContourLines, FailedPointsAreMissingWhereTheyTakePart) {
  ContourGrid g = paraboloid();
  g.wres[0 * 5 + 0] = kFailedPoint;
  const int zoom = 4;
  const auto missing = missingFinePoints(g, zoom);
  std::string mask;
  for (size_t k = 0; k < missing.size(); ++k) mask += std::string(missing[k] ? "x" : ".") + ((k + 1) % 17 ? "" : "\n");
  tavrin::testing_support::expectGolden("contours", "missing_points.txt", mask);
  // No line runs through a missing cell, and the minimum ignores the 99.
  for (const auto& l : contourLines(refine(g, zoom), missing, 50))
    for (const FinePoint& p : l) EXPECT_FALSE(p.u < 1 && p.v < 1);
  EXPECT_EQ(std::pair(gridMinimum(g).i, gridMinimum(g).j), std::pair(3, 2));
}

// Small fine grids traced at several levels: saddle cells split either way by
// their mean (equal to the level counts as above), a line found in its middle
// that must be walked both ways, lines ending on the border, and a minimum
// that is the first of equal ones.
TEST(ContourLines, HandMadeGridsTracedWhole) {
  const auto numbers = [](const std::string& cell) {
    std::istringstream in(cell);
    return std::vector<double>(std::istream_iterator<double>(in), std::istream_iterator<double>());
  };
  // Levels of the paraboloid are single closed ellipses, refined exactly.
  const FineGrid ellipses = refine(paraboloid(), 10);
  std::string text;
  for (const auto& c : tavrin::testing_support::tableRows(tavrin::testing_support::goldenPath("contours", "traced_grids.tsv"))) {
    const int m = std::stoi(c[1]), n = std::stoi(c[2]);
    const FineGrid f = m ? FineGrid{m, n, 1, numbers(c[3])} : ellipses;
    text += "== " + c[0] + "\n";
    for (double level : numbers(c[4])) {
      text += "level " + std::to_string(level) + "\n";
      for (const ContourPolyline& l : contourLines(f, {}, level)) {
        for (const FinePoint& p : l) {
          char b[64];
          std::snprintf(b, sizeof b, " (%.6g,%.6g)", p.u, p.v);
          text += b;
        }
        text += "\n";
      }
    }
  }
  ContourGrid g;
  g.gridDef = {1, 2, 0, 1, 3, 0, 1, 3, 1};
  g.wres = {4, 2, 2, 3, 2, 5, 99, 1, 1};
  const GridMinimum m = gridMinimum(g);
  text += "minimum " + std::to_string(m.i) + "," + std::to_string(m.j) + " " + std::to_string(m.value) + "\n";
  tavrin::testing_support::expectGolden("contours", "traced_lines.txt", text);
}

// The whole figure (titles, bar, ticks, level labels, the minimum) and its CSV.
TEST(ContourFigure, TitlesBarMinimumAndCsv) {
  ContourGrid g = paraboloid();
  g.wres[6 * 5 + 4] = kFailedPoint;
  test::RecordingCanvas c(5040, 3744), bad(5040, 3744);
  const MapFigureResult r = drawMapFigure(c, g, {10, 1, 10, 4});
  EXPECT_TRUE(r.note.empty());
  EXPECT_EQ(r.levels.size(), 4u);
  EXPECT_FALSE(drawMapFigure(bad, g, {1, 1, 10, 4}).note.empty());
  // A low figure has fewer y ticks; levels a quarter apart carry two decimals.
  test::RecordingCanvas small(5040, 2000);
  drawMapFigure(small, g, {4, 1, 2, 5});
  tavrin::testing_support::expectGolden("contours", "figure.txt",
                                        c.log() + "--- small\n" + small.log() + "--- csv\n" + mapCsv(g));
}

}  // namespace
