#include <gtest/gtest.h>

#include <cmath>

#include "output/figure_layout.h"
#include "output/figure_plot.h"
#include "output/figure_residuals.h"
#include "output/figure_tables.h"
#include "output/figure_ticks.h"
#include "recording_canvas.h"

using namespace tavrin;
using tavrin::test::Op;
using tavrin::test::RecordingCanvas;

namespace {

const std::string kMinus = "\u2212";

TEST(FigureTicks, RoundValuesForAwkwardRanges) {
  struct Row {
    double lo, hi;
    int maxTicks;
    std::vector<std::string> labels;
    int exponent;
  } rows[] = {
      {0.35, 1.0, 8, {"0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1.0"}, 0},
      {0.35, 1.0, 4, {"0.4", "0.6", "0.8", "1.0"}, 0},
      {-98, 78, 8, {kMinus + "80", kMinus + "60", kMinus + "40", kMinus + "20", "0", "20", "40", "60"}, 0},
      {-98, 78, 5, {kMinus + "50", "0", "50"}, 0},
      {1e-4, 3e-4, 6, {"1.0", "1.5", "2.0", "2.5", "3.0"}, -4},
      {-0.2, 1.2, 10, {kMinus + "0.2", "0.0", "0.2", "0.4", "0.6", "0.8", "1.0", "1.2"}, 0},
      {4800, 5600, 5, {"4800", "5000", "5200", "5400", "5600"}, 0},
      {120000, 480000, 4, {"2", "3", "4"}, 5},
  };
  for (const Row& r : rows) {
    const AxisTicks t = roundTicks(r.lo, r.hi, r.maxTicks);
    EXPECT_EQ(t.labels, r.labels) << r.lo << ".." << r.hi;
    EXPECT_EQ(t.exponent, r.exponent) << r.lo << ".." << r.hi;
    const double m = t.step / std::pow(10.0, std::floor(std::log10(t.step)));
    EXPECT_TRUE(std::abs(m - 1) < 1e-9 || std::abs(m - 2) < 1e-9 || std::abs(m - 5) < 1e-9) << t.step;
  }
  EXPECT_TRUE(roundTicks(1, 1, 5).values.empty());
  EXPECT_TRUE(roundTicks(0, NAN, 5).values.empty());
  EXPECT_EQ(powerOfTenText(-4), "\u00d710\u207b\u2074");
}

TEST(FigureResiduals, ObservedMinusInterpolatedCurve) {
  // Curve through (0, 1), (0.5, 2), (1, 0): linear between rows, and a phase
  // beyond the curve tried a cycle earlier or later.
  const std::vector<double> ph{0, 0.5, 1}, val{1, 2, 0};
  const std::vector<double> obsPh{0.25, 0.5, 0.9, 1.25, -0.75, 2.5};
  const std::vector<double> obs{1.6, 2.0, 0.1, 1.5, 1.5, 7};
  const auto r = residuals(ph, val, obsPh, obs);
  ASSERT_EQ(r.size(), 6u);
  const double expected[] = {0.1, 0.0, -0.3, 0.0, 0.0};
  for (int k = 0; k < 5; ++k) EXPECT_NEAR(r[k], expected[k], 1e-12) << k;
  EXPECT_TRUE(std::isnan(r[5]));
}

TEST(FigureTables, RoundsToTheDeviationsPrecision) {
  struct Row {
    double v, sd;
    const char *value, *stdDev;
  } rows[] = {
      {82.3456, 0.0234, "82.35", "0.02"},  {82.3456, 0.0145, "82.346", "0.015"}, {0.53512, 0.0996, "0.54", "0.10"},
      {12345.6, 234, "12300", "200"},      {-1.23e-5, 4.4e-7, "-0.0000123", "0.0000004"},
      {5100.94, 0.0196, "5100.94", "0.02"}, {3.14159, 0, "3.14159", ""},
  };
  for (const Row& r : rows) {
    const RoundedPair p = roundToUncertainty(r.v, r.sd);
    EXPECT_EQ(p.value, r.value) << r.v << " +- " << r.sd;
    EXPECT_EQ(p.stdDev, r.stdDev) << r.v << " +- " << r.sd;
  }
}

TEST(FigureTables, CurveCsvHoldsCurveObservationsAndResiduals) {
  ComputedCurve c;
  c.page = 1;
  c.phase = {0, 0.5, 1};
  c.light = {1, 2, 0};
  const std::string csv = curveCsv(c, {{"B,1.csv", 0, {0.25, 3.5}, {1.6, 1}}});
  EXPECT_EQ(csv,
            "series,phase,observed,computed,residual\n"
            "computed,0,,1,\ncomputed,0.5,,2,\ncomputed,1,,0,\n"
            "\"B,1.csv\",0.25,1.6,1.5,0.10000000000000009\n\"B,1.csv\",3.5,1,,\n");
}

TEST(FigureLayout, SizesWithUnits) {
  EXPECT_EQ(parseFigureSize("3.5x2.6in"), (FigureSize{3.5, 2.6}));
  const auto cm = parseFigureSize("17.78x12.7cm");
  ASSERT_TRUE(cm);
  EXPECT_NEAR(cm->widthIn, 7.0, 1e-12);
  EXPECT_NEAR(cm->heightIn, 5.0, 1e-12);
  for (const char* bad : {"3.5x2.6", "x2in", "3.5x2.6mm", "0.5x2in", "50x2in", "3,5x2in", "3.5x2.6 in"})
    EXPECT_FALSE(parseFigureSize(bad)) << bad;
}

TEST(FigureLayout, VelocityScaleFromTheReportHeader) {
  const std::string head =
      "  MODE   IPB  IFAT1 IFAT2   N1   N2        PERR0      DPERDT      THE    VUNIT\n"
      "  2     0     1     1   30   30     1.570796 0.00000D+00  0.00000   100.00\n"
      "  ecc     s-m axis        F1        F2       Vgam       Incl\n"
      "0.000000 0.100000D+02    1.0000    1.0000    15.0000    86.0000\n";
  const VelocityScale v = velocityScaleOf(head);
  EXPECT_EQ(v.vunit, 100);
  EXPECT_EQ(v.gamma, 15);
  EXPECT_EQ(velocityScaleOf("nothing").vunit, 1);
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

// Every figure names its axes and ticks in text and keeps its frames on the page.
TEST(FigureLayout, CurveFiguresTitleAndLabelTheirAxes) {
  const std::vector<ObservedSeries> obs{{"rv1.csv", 1, {0.1, 0.3}, {0.4, 0.6}}, {"rv2.csv", 2, {0.3}, {-0.4}}};
  struct Row {
    CurveFigure figure;
    std::vector<std::string> texts;
    size_t panels;
  } rows[] = {
      {lightCurveFigure(sineCurve(1), {{"B.csv", 0, {0.2, 0.6}, {0.8, 0.7}}}, true),
       {"Phase", "Normalized light", "O \u2212 C", "Computed", "B.csv", "0.0", "1.0"}, 2},
      {velocityFigure(sineCurve(2), obs, true, {100, 15}),
       {"Phase", "RV (km/s)", "Star 1", "Star 2", "Systemic velocity", "rv1.csv", "rv2.csv", "0"}, 3},
  };
  for (const Row& r : rows) {
    RecordingCanvas c(5040, 3744);
    const auto boxes = drawCurveFigure(c, r.figure);
    EXPECT_EQ(boxes.size(), r.panels);
    for (const std::string& t : r.texts) EXPECT_TRUE(c.textOp(t)) << t;
    for (const AxisBox& b : boxes) {
      EXPECT_GT(b.left, 0);
      EXPECT_LT(b.right, 5040);
      EXPECT_LT(b.bottom, 3744);
    }
    EXPECT_FALSE(c.of(Op::Disc).empty());
  }
  // Velocities are shown in km/s: 0.65 x VUNIT 100 tops the scale near 65.
  RecordingCanvas c(5040, 3744);
  drawCurveFigure(c, velocityFigure(sineCurve(2), {}, false, {100, 15}));
  EXPECT_TRUE(c.textOp("60"));
  EXPECT_TRUE(c.textOp("Radial velocity (km/s)"));  // the full title where the panel is high enough
  EXPECT_TRUE(c.textOp(kMinus + "40"));
}

}  // namespace
