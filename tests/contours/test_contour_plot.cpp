// Refinement, contour dots, colour scale, the direct colour map against the
// literal disc painting, refusals, frame captions and readout, on a
// recording canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <sstream>
#include <tuple>

#include "../output/recording_canvas.h"
#include "contours/contour_plot.h"
#include "test_files.h"

using namespace tavrin;
using namespace tavrin::contours;
using tavrin::test::Op;
using tavrin::test::RecordingCanvas;

namespace {

ContourGrid gridOf(int M, int N, const std::function<double(int, int)>& f) {
  ContourGrid g;
  g.gridDef = GridDef{1, 2, 0.2, 0.6, static_cast<int16_t>(M), 80, 90, static_cast<int16_t>(N), 1};
  g.resize();
  for (int i = 0; i < M; ++i)
    for (int j = 0; j < N; ++j) g.wres[static_cast<size_t>(i) * N + j] = f(i, j);
  summariseLoaded(g);
  return g;
}

double bumpy(int i, int j) { return 1000 + 37 * std::sin(1.3 * i + 0.4) * std::cos(0.9 * j) + 11 * i * j - 3 * j * j; }

}  // namespace

// Nodes are kept exactly; interval 0 along X is the quadratic through nodes
// 0..2, interval 1 the cubic through 0..3, the last the quadratic through the
// last three: the refined values whole, and a quadratic surface refined
// without error everywhere.
TEST(ContourRefine, NodesReproducedExactlyAndPolynomialsOfTheirIntervals) {
  const ContourGrid g = gridOf(5, 4, bumpy);
  const FineGrid f = refine(g, 10);
  EXPECT_EQ(std::pair(f.fineM, f.fineN), std::pair(40, 30));
  for (int i = 0; i < 5; ++i)
    for (int j = 0; j < 4; ++j) EXPECT_EQ(f.at(i * 10, j * 10), g.value(i, j)) << i << "," << j;
  std::ostringstream text;
  text.precision(12);
  for (double v : f.f) text << v << "\n";
  tavrin::testing_support::expectGolden("contours", "refined.txt", text.str());
  const FineGrid q = refine(gridOf(4, 6, [](int i, int j) { return 3.0 * i * i - 2.0 * j * j + i * j + 5; }), 4);
  for (int a = 0; a <= q.fineM; ++a)
    for (int b = 0; b <= q.fineN; ++b) {
      const double x = a / 4.0, y = b / 4.0;
      EXPECT_NEAR(q.at(a, b), 3 * x * x - 2 * y * y + x * y + 5, 1e-9);
    }
}

// Refusals of zooms and grids, of contour levels, and the colour scale (with
// both sides of its joints at 0.2 and 0.6).
TEST(ContourRefine, RefusalsAndColourScale) {
  std::string text;
  for (const auto& [M, N, zoom] : {std::tuple{5, 5, 1}, {5, 5, 2}, {2, 5, 5}, {201, 5, 5}, {201, 5, 6}, {21, 8, 50},
                                   {21, 8, 51}, {5, 2, 2}})
    text += std::to_string(M) + "x" + std::to_string(N) + " zoom " + std::to_string(zoom) + ": " +
            plotRefusal(GridDef{1, 2, 0, 1, static_cast<int16_t>(M), 0, 1, static_cast<int16_t>(N), 1}, zoom)
                .value_or("-") + "\n";
  for (const auto& [lo, hi, n] : {std::tuple{1.0, 2.0, 1}, {3.0, 3.0, 10}, {5.0, 3.0, 2}})
    text += "levels " + levelRefusal(lo, hi, n).value_or("-") + "\n";
  for (double t : {-0.01, 0.0, 0.1, 0.2 - 1e-9, 0.2, 0.2 + 1e-9, 0.3, 0.4, 0.5, 0.6 - 1e-9, 0.6, 0.6 + 1e-9, 0.7, 0.8,
                   0.9, 1.0, 1.5, std::nan("")}) {
    const Rgb c = scaleColour(t);
    text += "colour " + std::to_string(t) + ": " + std::to_string(c.r) + "," + std::to_string(c.g) + "," +
            std::to_string(c.b) + "\n";
  }
  tavrin::testing_support::expectGolden("contours", "refusals_and_colours.txt", text);
}

// Levels 2.5, 12.5, 22.5 over values rising by 5 per fine step along X cross
// every fine row halfway between fine points: three straight, evenly spaced
// rows of dots (five circles each); a level equal to a fine value crosses nothing.
TEST(ContourDots, LevelsAndLinearGridGiveStraightEvenRows) {
  std::string text;
  for (double v : contourLevels(1230, 4920, 10)) text += std::to_string(v) + "\n";
  const FineGrid f = refine(gridOf(4, 3, [](int i, int) { return 10.0 * i; }), 2);
  RecordingCanvas c(12000, 9000);
  const PlotRect a = plotRect(c.width(), c.height());
  text += "dots " + std::to_string(drawContourDots(c, f, a, 2.5, 22.5, 3)) + "\n";
  text += c.log();
  const FineGrid e = refine(gridOf(3, 3, [](int i, int) { return 10.0 * i; }), 2);  // 0, 5, 10, 15, 20 along X
  EXPECT_EQ(drawContourDots(c, e, a, 10, 20, 2), 0);
  EXPECT_EQ(drawContourDots(c, e, a, 10.5, 20, 2), e.fineN + 1);
  tavrin::testing_support::expectGolden("contours", "dots.txt", text);
}

TEST(ContourColours, DirectRenderingMatchesLiteralPainting) {
  const ContourGrid g = gridOf(7, 6, bumpy);
  const FineGrid f = refine(g, 5);  // 31 x 26 fine points
  // A small window: fine points about 120 twips apart, discs overlap.
  const double W = 700 + 415 + 3600, H = 342 + 1150 + 2700;
  const PlotRect a = plotRect(W, H);
  const double tpp = 15, R = 107.5;
  const double x0 = a.left - 120, y0 = a.top - 120;
  const int pw = static_cast<int>((a.right - a.left + 240) / tpp), ph = static_cast<int>((a.bottom - a.top + 240) / tpp);
  RecordingCanvas lit(W, H);
  paintColoursLiteral(lit, f, a, g.range.low, 1100);
  // The circle outlines as a 96 dpi raster paints them (a pen of one pixel): a
  // pixel takes the colour of the last circle passing within half a pen of its
  // centre, so discs of radius 1..100 become filled discs. Only the outermost
  // circle of a run matters for coverage (the inner ones are inside it).
  std::vector<Rgb> px(static_cast<size_t>(pw * ph), Rgb{255, 255, 255});
  for (const Op& o : lit.of(Op::Circle))
    for (int row = 0; row < ph && o.x2 == 100; ++row)
      for (int col = 0; col < pw; ++col) {
        const double cx = x0 + (col + 0.5) * tpp - o.x1, cy = y0 + (row + 0.5) * tpp - o.y1;
        if (cx * cx + cy * cy <= R * R) px[static_cast<size_t>(row) * pw + col] = o.colour;
      }
  const RgbImage img = renderColourMap(f, a, g.range.low, 1100, x0, y0, pw, ph, tpp, R);
  ASSERT_EQ(img.pixels.size(), px.size());
  size_t same = 0;
  for (size_t k = 0; k < img.pixels.size(); ++k) same += img.pixels[k] == px[k];
  const double agreement = static_cast<double>(same) / static_cast<double>(img.pixels.size());
  EXPECT_GE(agreement, 0.995) << agreement;
  // The colours really vary over the map.
  std::set<std::tuple<int, int, int>> distinct;
  for (const Rgb& p : img.pixels) distinct.insert({p.r, p.g, p.b});
  EXPECT_GT(distinct.size(), 50u);
}

TEST(ContourColours, DrawsOneImageWhenDiscsCoverAndCirclesWhenSparse) {
  const ContourGrid g = gridOf(5, 5, bumpy);
  // Dense, in a picture with its colour bar: the frame left of the bar, one image, the bar and its ticks.
  RecordingCanvas dense(12000, 9000);
  const PictureLayer colours{PictureLayer::Colours, g.range.low, g.range.high, 10, 1};
  drawPicture(dense, g, refine(g, 40), {colours}, g.range.low, g.range.high, true);
  tavrin::testing_support::expectGolden("contours", "picture.txt", dense.log());
  RecordingCanvas sparse(12000, 9000);
  const FineGrid f = refine(g, 2);
  drawColours(sparse, f, plotRect(12000, 9000), g.range.low, g.range.high);
  EXPECT_TRUE(sparse.of(Op::Image).empty());
  EXPECT_EQ(sparse.of(Op::Circle).size(), static_cast<size_t>((f.fineM + 1) * (f.fineN + 1) * 100));
}

// The frame of every pair of codes whole; Y names too wide for the margin
// read downwards, a letter per line, unless the font is narrow enough.
TEST(ContourFrame, CaptionsTicksAndReadout) {
  struct NarrowFont : RecordingCanvas {
    using RecordingCanvas::RecordingCanvas;
    double textWidth(const std::string& s) const override { return 40.0 * static_cast<double>(s.size()); }
  };
  std::string text;
  for (int16_t code : {1, 2, 3, 4})
    for (bool narrow : {false, true}) {
      ContourGrid g = gridOf(5, 5, bumpy);
      g.gridDef.xCode = code == 1 ? 2 : 1;
      g.gridDef.yCode = code;
      RecordingCanvas wide(12000, 9000);
      NarrowFont thin(12000, 9000);
      RecordingCanvas& c = narrow ? thin : wide;
      const PlotRect a = plotRect(c.width(), c.height());
      const FrameLabels L = drawFrame(c, g.gridDef, 1230, 4920, a);
      text += "== Y code " + std::to_string(code) + (narrow ? " narrow font" : "") + ": " + L.label1 + "|" + L.label2 +
              "|" + L.label3 + "|" + L.label4 + "|" + L.label5 + "|" + L.label6 + "|" + L.label19 + "|" + L.label18 +
              "|" + L.text1 + "|" + L.text2 + "\n" + c.log();
      const FineGrid f = refine(g, 4);
      EXPECT_FALSE(readout(g.gridDef, f, a, a.left - 1, a.top + 5));
      for (const auto& [x, y] : {std::pair{a.left, a.bottom}, {a.right, a.top}, {(a.left + a.right) / 2, a.top + 100}}) {
        const auto r = readout(g.gridDef, f, a, x, y);
        text += "readout " + r->xText + "|" + r->yText + "|" + r->wresText + "\n";
      }
    }
  for (auto [lo, hi] : {std::pair{0.2, 0.6}, {80.0, 90.0}, {0.0, 7.0}})
    text += "tick interval " + std::to_string(tickInterval(lo, hi)) + "\n";
  text += contourBoxText(4920, -1) + "|" + contourBoxText(0.123456, 4) + "\n";
  tavrin::testing_support::expectGolden("contours", "frames.txt", text);
}
