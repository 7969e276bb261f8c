// Publication figures: ticks, residuals, tables and sizes, and the whole
// drawing of each curve figure against a golden file.
#include <gtest/gtest.h>

#include <cmath>

#include "output/dc_tables.h"
#include "output/figure_layout.h"
#include "output/figure_plot.h"
#include "output/figure_residuals.h"
#include "output/figure_tables.h"
#include "output/figure_ticks.h"
#include "recording_canvas.h"
#include "test_files.h"

using namespace tavrin;
using tavrin::test::RecordingCanvas;
using tavrin::testing_support::expectGolden;

namespace {

constexpr auto num = &RecordingCanvas::num;

TEST(Figures, TicksResidualsRoundingAndSizes) {
  std::string log;
  for (auto [lo, hi, maxTicks] : {std::tuple{0.35, 1.0, 8}, {0.35, 1.0, 4}, {-98.0, 78.0, 8}, {-98.0, 78.0, 5}, {1e-4, 3e-4, 6},
                                  {-0.2, 1.2, 10}, {4800.0, 5600.0, 5}, {120000.0, 480000.0, 4}, {1.0, 1.0, 5}, {0.0, NAN, 5}}) {
    const AxisTicks t = roundTicks(lo, hi, maxTicks);
    log += "ticks " + num(lo) + ".." + num(hi) + " max " + std::to_string(maxTicks) + ": step " + num(t.step) + " decimals " +
           std::to_string(t.decimals) + " exponent " + std::to_string(t.exponent) + " |";
    for (size_t i = 0; i < t.values.size(); ++i) log += " " + num(t.values[i]) + "=" + t.labels[i];
    log += "\n";
  }
  log += "power of ten " + powerOfTenText(-4) + "\n";
  // Curve through (0, 1), (0.5, 2), (1, 0): linear between rows; a phase beyond it tried a cycle earlier or later.
  log += "residuals";
  for (double r : residuals({0, 0.5, 1}, {1, 2, 0}, {0.25, 0.5, 0.9, 1.25, -0.75, 2.5}, {1.6, 2.0, 0.1, 1.5, 1.5, 7})) log += " " + num(r);
  for (auto [v, sd] : {std::pair{82.3456, 0.0234}, {82.3456, 0.0145}, {0.53512, 0.0996}, {12345.6, 234.0}, {-1.23e-5, 4.4e-7},
                       {5100.94, 0.0196}, {3.14159, 0.0}}) {
    const RoundedPair p = roundToUncertainty(v, sd);
    log += "\nrounded " + num(v) + " +- " + num(sd) + ": " + p.value + " +- " + p.stdDev;
  }
  for (const char* size : {"3.5x2.6in", "17.78x12.7cm", "3.5x2.6", "x2in", "3.5x2.6mm", "0.5x2in", "50x2in", "3,5x2in", "3.5x2.6 in"}) {
    const auto s = parseFigureSize(size);
    log += "\nsize " + std::string(size) + ": " + (s ? num(s->widthIn) + " x " + num(s->heightIn) : "refused");
  }
  const std::string head =
      "  MODE   IPB  IFAT1 IFAT2   N1   N2        PERR0      DPERDT      THE    VUNIT\n"
      "  2     0     1     1   30   30     1.570796 0.00000D+00  0.00000   100.00\n"
      "  ecc     s-m axis        F1        F2       Vgam       Incl\n"
      "0.000000 0.100000D+02    1.0000    1.0000    15.0000    86.0000\n";
  log += "\nvelocity scale " + num(velocityScaleOf(head).vunit) + " " + num(velocityScaleOf(head).gamma) + ", none " +
         num(velocityScaleOf("nothing").vunit) + "\n";
  ComputedCurve c;
  c.page = 1;
  c.phase = {0, 0.5, 1};
  c.light = {1, 2, 0};
  expectGolden("output", "figures.txt", log + curveCsv(c, {{"B,1.csv", 0, {0.25, 3.5}, {1.6, 1}}}));
}

TEST(Figures, DcResultTables) {
  DcResults r;
  r.unknowns = {{16, 0}, {20, 0}, {31, 2}};
  // Inclination, T2 (held in 10000 K, shown in K) and L1 of curve 2.
  r.ioRows = {{16, 0, 82.3, 0.0456, 82.3456, 0.0234}, {20, 0, 0.51, 0.00094, 0.51094, 0.0000196}, {31, 2, 10.1, -0.2, 9.9, 0.145}};
  r.correlation = {{1, -0.5123, 0.02}, {-0.5123, 1, 0.3}, {0.02, 0.3, 1}};
  r.sumWResInput = 84.8;
  r.sumWResPredicted = 84.1;
  expectGolden("output", "dc_results.csv", dcResultsCsv(r));
  expectGolden("output", "dc_results.tex", dcResultsLatex(r));
}

ComputedCurve sineCurve(int page) {
  ComputedCurve c;
  c.page = static_cast<int16_t>(page);
  c.phaseFirst = -0.1;
  c.phaseLast = 1.1;
  for (int i = 0; i <= 120; ++i) {
    const double p = -0.1 + i / 100.0;
    c.phase.push_back(p);
    c.light.push_back(0.7 + 0.3 * std::cos(4 * M_PI * p));
    c.rv1.push_back(0.5 * std::sin(2 * M_PI * p) + 0.15);
    c.rv2.push_back(-0.6 * std::sin(2 * M_PI * p) + 0.15);
  }
  c.count = static_cast<int16_t>(c.phase.size());
  return c;
}

// Velocities are shown in km/s (VUNIT 100); the full title where the panel is high enough.
TEST(Figures, CurveFiguresDrawAsTheirGoldens) {
  const std::vector<ObservedSeries> obs{{"rv1.csv", 1, {0.1, 0.3}, {0.4, 0.6}}, {"rv2.csv", 2, {0.3}, {-0.4}}};
  const std::pair<const char*, CurveFigure> rows[] = {
      {"light_with_residuals", lightCurveFigure(sineCurve(1), {{"B.csv", 0, {0.2, 0.6}, {0.8, 0.7}}}, true)},
      {"velocity_with_residuals", velocityFigure(sineCurve(2), obs, true, {100, 15})},
      {"velocity_alone", velocityFigure(sineCurve(2), {}, false, {100, 15})},
  };
  for (const auto& [name, figure] : rows) {
    RecordingCanvas c(5040, 3744);
    std::string log;
    for (const AxisBox& b : drawCurveFigure(c, figure))
      log += "panel " + num(b.left) + " " + num(b.top) + " " + num(b.right) + " " + num(b.bottom) + "\n";
    expectGolden("output", std::string("figures/") + name + ".txt", log + c.log());
  }
}

}  // namespace
