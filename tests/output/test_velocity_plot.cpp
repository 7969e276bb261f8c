#include <gtest/gtest.h>

#include <cmath>

#include "output/velocity_plot.h"
#include "recording_canvas.h"

using namespace tavrin;
using tavrin::test::Op;
using tavrin::test::RecordingCanvas;

namespace {

// 12000 x 9000 twips: frame left 800, right 11585, top 342, bottom 7850.
constexpr double kLeft = 800, kRight = 11585, kTop = 342, kBottom = 7850;
constexpr double kH = kBottom - kTop;

// rv1 and rv2 as sines between the given limits; the range widened by 5 %
// each way as the report reader leaves it.
ComputedCurve velocityCurve(double lo1, double hi1, double lo2, double hi2, int rows = 41) {
  ComputedCurve c;
  c.page = 2;
  c.count = static_cast<int16_t>(rows);
  for (int i = 0; i < rows; ++i) {
    const double p = -0.2 + 1.4 * i / (rows - 1);
    const double s = std::sin(2 * M_PI * p);
    c.phase.push_back(p);
    c.rv1.push_back((lo1 + hi1) / 2 + (hi1 - lo1) / 2 * s);
    c.rv2.push_back((lo2 + hi2) / 2 - (hi2 - lo2) / 2 * s);
  }
  c.phaseFirst = -0.2;
  c.phaseLast = 1.2;
  const double mn = std::min(lo1, lo2), mx = std::max(hi1, hi2);
  c.rvMin = mn - 0.05 * (mx - mn);
  c.rvMax = mx + 0.05 * (mx - mn);
  return c;
}

VelocitySet set(std::vector<double> phases, std::vector<double> v) {
  VelocitySet s;
  s.loaded = true;
  s.phase = std::move(phases);
  s.velocity = std::move(v);
  return s;
}

struct Drawn {
  RecordingCanvas canvas;
  PlotResult result;
};

Drawn draw(PlotState& s, const ComputedCurve& c, const ObservedVelocities& o) {
  Drawn d;
  d.result = drawVelocityPlot(d.canvas, s, c, o, PlotInfo{"rv.lco", "", 7.84139}, kGreen, kBlack, kWhite);
  return d;
}

double yOf(const ComputedCurve& c, double v) { return kBottom - kH * (v - c.rvMin) / (c.rvMax - c.rvMin); }

}  // namespace

TEST(VelocityPlot, TickStep) {
  EXPECT_DOUBLE_EQ(velocityTickStep(88), 10);
  EXPECT_DOUBLE_EQ(velocityTickStep(44), 5);
  EXPECT_DOUBLE_EQ(velocityTickStep(17.6), 2);
  EXPECT_DOUBLE_EQ(velocityTickStep(176), 20);
  EXPECT_DOUBLE_EQ(velocityTickStep(100), 20);
  EXPECT_DOUBLE_EQ(velocityTickStep(0.5), 0.1);
  const VelocityTicks t = velocityTicks(-98, 78);
  EXPECT_EQ(t.kLow, -4);
  EXPECT_EQ(t.kHigh, 3);
  // Limits on a multiple are included.
  const VelocityTicks u = velocityTicks(-80, 60);
  EXPECT_EQ(u.kLow, -4);
  EXPECT_EQ(u.kHigh, 3);
}

TEST(VelocityPlot, RangeOf176) {
  PlotState s;
  s.gridLines = true;
  const ComputedCurve c = velocityCurve(-60, 40, -90, 70);
  ASSERT_DOUBLE_EQ(c.rvMin, -98);
  ASSERT_DOUBLE_EQ(c.rvMax, 78);
  const auto d = draw(s, c, {});
  const PlotLabel* top = d.result.label("Label5");
  const PlotLabel* zero = d.result.label("Label6");
  const PlotLabel* bottom = d.result.label("Label7");
  EXPECT_EQ(top->text, "  60.0");
  EXPECT_EQ(top->x, 0);
  EXPECT_NEAR(top->y, yOf(c, 60) - 100, 1e-6);
  EXPECT_EQ(bottom->text, " -80.0");
  EXPECT_NEAR(bottom->y, yOf(c, -80) - 100, 1e-6);
  EXPECT_EQ(zero->text, "0");
  EXPECT_NEAR(zero->y, yOf(c, 0) - 100, 1e-6);
  // Grey lines at -80, -60, ..., 60; grey verticals at the phase tenths.
  std::vector<double> horizontal;
  int vertical = 0;
  for (const Op& o : d.canvas.of(Op::Line, kGridGrey)) {
    if (o.y1 == o.y2) horizontal.push_back(o.y1);
    else ++vertical;
  }
  ASSERT_EQ(horizontal.size(), 8u);
  for (int k = 0; k < 8; ++k) EXPECT_NEAR(horizontal[k], yOf(c, -80 + 20 * k), 1e-6);
  EXPECT_EQ(vertical, 15);
  // The zero line: seven black lines at y(0) - 3 .. y(0) + 3.
  int zeroLines = 0;
  for (const Op& o : d.canvas.of(Op::Line, kBlack))
    if (o.y1 == o.y2 && o.x1 == kLeft && o.x2 == kRight && std::abs(o.y1 - yOf(c, 0)) <= 3.0001) ++zeroLines;
  EXPECT_EQ(zeroLines, 7);
  // No velocity ticks besides the grid: with grid lines off, no horizontal line inside the frame.
  PlotState plain;
  const auto e = draw(plain, c, {});
  for (const Op& o : e.canvas.of(Op::Line)) {
    if (o.y1 == o.y2) {
      EXPECT_TRUE(o.y1 == kTop || o.y1 == kBottom) << o.y1;
    }
  }
}

TEST(VelocityPlot, AllPositiveVelocitiesPutZeroBelowTheFrame) {
  PlotState s;
  s.gridLines = true;
  const ComputedCurve c = velocityCurve(10, 50, 12, 48);
  const auto d = draw(s, c, {});
  EXPECT_GT(d.result.label("Label6")->y, kBottom);
  int below = 0;
  for (const Op& o : d.canvas.of(Op::Line, kBlack))
    if (o.y1 == o.y2 && o.y1 > kBottom) ++below;
  EXPECT_EQ(below, 7);
}

TEST(VelocityPlot, CurvesAlwaysJoinedInTheirColours) {
  const ComputedCurve c = velocityCurve(-60, 40, -90, 70);
  for (int16_t mode : {kCurveOnly, kDataOnly, kCurveAndData}) {
    PlotState s;
    s.displayMode = mode;
    ObservedVelocities o;
    o.set(1) = set({0.25}, {40});
    const auto d = draw(s, c, o);
    EXPECT_EQ(d.canvas.of(Op::Point, kRv1Colour).size(), 1u) << mode;
    EXPECT_EQ(d.canvas.of(Op::LineTo, kRv1Colour).size(), 40u) << mode;
    EXPECT_EQ(d.canvas.of(Op::Point, kRv2Colour).size(), 1u);
    EXPECT_EQ(d.canvas.of(Op::LineTo, kRv2Colour).size(), 40u);
    // The observed velocities are drawn whatever the mode.
    EXPECT_EQ(d.canvas.of(Op::Circle, kBlue).size(), 14u) << mode;
  }
}

TEST(VelocityPlot, RingsOfRadius27To40NotRepeated) {
  PlotState s;
  const ComputedCurve c = velocityCurve(-60, 40, -90, 70);
  ObservedVelocities o;
  o.set(2) = set({0.05, 0.95}, {-50, 30});
  const auto d = draw(s, c, o);
  EXPECT_TRUE(d.canvas.of(Op::Circle, kBlue).empty());  // set 1 not loaded
  const auto rings = d.canvas.of(Op::Circle, kRed);
  ASSERT_EQ(rings.size(), 28u);  // two points, no repetition at phase +/- 1
  for (int r = 27; r <= 40; ++r) EXPECT_EQ(rings[r - 27].x2, r);
  EXPECT_NEAR(rings[0].y1, yOf(c, -50), 1e-6);
  EXPECT_NEAR(rings[14].y1, yOf(c, 30), 1e-6);
  // A set whose loaded flag is off is not drawn.
  o.set(2).loaded = false;
  EXPECT_TRUE(draw(s, c, o).canvas.of(Op::Circle).empty());
}

TEST(VelocityPlot, ZeroRangeDrawsFrameAndNote) {
  PlotState s;
  s.gridLines = true;
  ComputedCurve c = velocityCurve(20, 20, 20, 20);
  ASSERT_EQ(c.rvMax - c.rvMin, 0);
  ObservedVelocities o;
  o.set(1) = set({0.5}, {20});
  const auto d = draw(s, c, o);
  EXPECT_FALSE(d.result.note.empty());
  EXPECT_NE(d.canvas.textOp(d.result.note), nullptr);
  EXPECT_TRUE(d.canvas.of(Op::Circle).empty());
  EXPECT_TRUE(d.canvas.of(Op::LineTo).empty());
  EXPECT_EQ(d.canvas.of(Op::Line).size(), 4u);
  // A zero phase span as well.
  ComputedCurve p = velocityCurve(-60, 40, -90, 70);
  p.phaseLast = p.phaseFirst;
  const auto e = draw(s, p, o);
  EXPECT_FALSE(e.result.note.empty());
  EXPECT_TRUE(e.canvas.of(Op::Circle).empty());
}

TEST(VelocityPlot, PhaseAxisAsInTheLightCurvePlot) {
  PlotState s;
  const auto d = draw(s, velocityCurve(-60, 40, -90, 70), {});
  int ticks = 0;
  for (const Op& o : d.canvas.of(Op::Line))
    if (o.x1 == o.x2 && o.y1 == kTop && o.y2 == kTop + 120) ++ticks;
  EXPECT_EQ(ticks, 15);
  EXPECT_TRUE(d.result.label("Label1")->visible);
  EXPECT_TRUE(d.result.label("Label3")->visible);
  EXPECT_EQ(d.result.label("Label9")->text, "rv.lco");
}
