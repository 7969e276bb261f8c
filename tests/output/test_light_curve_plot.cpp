#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "output/light_curve_plot.h"
#include "recording_canvas.h"

using namespace tavrin;
using tavrin::test::Op;
using tavrin::test::RecordingCanvas;

namespace {

// 12000 x 9000 twips: frame left 500, right 11585, top 342, bottom 7850.
constexpr double kLeft = 500, kRight = 11585, kTop = 342, kBottom = 7850;
constexpr double kW = kRight - kLeft, kH = kBottom - kTop;

ComputedCurve lightCurve(double first, double last, int rows = 8) {
  ComputedCurve c;
  c.page = 1;
  c.mode = 2;
  c.inclination = 87.5;
  c.t1 = 5300;
  c.t2 = 4521;
  c.pot1 = 6.1624;
  c.pot2 = 9.0092;
  c.massRatio = 0.76115;
  c.count = static_cast<int16_t>(rows);
  for (int i = 0; i < rows; ++i) {
    c.phase.push_back(first + (last - first) * i / (rows - 1));
    c.light.push_back(0.4 + 0.05 * i);
  }
  c.phaseFirst = first;
  c.phaseLast = last;
  c.lightMin = c.light.front();
  c.lightMax = c.light.back();
  return c;
}

ObservedLight observed(std::vector<double> phases) {
  ObservedLight o;
  o.fileName = "obs.csv";
  for (double p : phases) {
    o.phase.push_back(p);
    o.light.push_back(0.5);
  }
  return o;
}

double xOf(double p, double first, double last) { return kLeft + kW * (p - first) / (last - first); }

// Vertical tick marks hanging from the top edge of the frame.
std::vector<double> topTicks(const RecordingCanvas& c) {
  std::vector<double> xs;
  for (const Op& o : c.of(Op::Line, kBlack))
    if (o.x1 == o.x2 && o.y1 == kTop && o.y2 == kTop + 120) xs.push_back(o.x1);
  return xs;
}

// Centres of the observed-point marks (each drawn as concentric circles).
std::vector<std::pair<double, double>> markCentres(const RecordingCanvas& c, double outerRadius) {
  std::vector<std::pair<double, double>> out;
  for (const Op& o : c.of(Op::Circle))
    if (o.x2 == outerRadius) out.emplace_back(o.x1, o.y1);
  return out;
}

struct Drawn {
  RecordingCanvas canvas;
  PlotResult result;
};

Drawn draw(PlotState& s, const ComputedCurve& c, const ObservedLight& o, Rgb curveColour = kBlack) {
  Drawn d;
  PlotInfo info{"star.lco", o.fileName, 7.84139};
  d.result = drawLightCurvePlot(d.canvas, s, c, o, info, curveColour, kBlack, kWhite);
  return d;
}

}  // namespace

TEST(LightCurvePlot, PhaseRangeMinusPointTwoToOnePointTwo) {
  PlotState s;
  s.displayMode = kCurveAndData;
  const ComputedCurve c = lightCurve(-0.2, 1.2);
  const auto d = draw(s, c, observed({0.1, 0.2, 0.5, 0.8, 0.9}));

  // 15 phase ticks, at -0.2, -0.1, ..., 1.2, top and bottom.
  const auto ticks = topTicks(d.canvas);
  ASSERT_EQ(ticks.size(), 15u);
  for (int k = 0; k < 15; ++k) EXPECT_NEAR(ticks[k], xOf(-0.2 + 0.1 * k, -0.2, 1.2), 1e-6) << k;

  // All three phase labels, each 150 left of its phase and 1815 above the window's bottom edge.
  for (auto [name, text, phase] : {std::tuple{"Label1", "0.0", 0.0}, {"Label2", "0.5", 0.5}, {"Label3", "1.0", 1.0}}) {
    const PlotLabel* l = d.result.label(name);
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->visible) << name;
    EXPECT_EQ(l->text, text);
    EXPECT_NEAR(l->x, xOf(phase, -0.2, 1.2) - 150, 1e-6);
    EXPECT_EQ(l->y, 9750 - 1815);
    EXPECT_NE(d.canvas.textOp(text), nullptr);
  }

  // Every point, then 0.1 and 0.2 one cycle right, then 0.9 and 0.8 one cycle left.
  const auto marks = markCentres(d.canvas, 10);
  ASSERT_EQ(marks.size(), 9u);
  const double expected[] = {0.1, 0.2, 0.5, 0.8, 0.9, 1.1, 1.2, -0.1, -0.2};
  for (int j = 0; j < 9; ++j) EXPECT_NEAR(marks[j].first, xOf(expected[j], -0.2, 1.2), 1e-6) << j;
  EXPECT_EQ(d.canvas.of(Op::Circle, kRed).size(), 90u);
}

TEST(LightCurvePlot, MarksAreTenRedConcentricCircles) {
  PlotState s;
  s.displayMode = kDataOnly;
  const auto d = draw(s, lightCurve(0, 1), observed({0.3}), kBlue);
  const auto circles = d.canvas.of(Op::Circle);
  ASSERT_EQ(circles.size(), 10u);
  for (int r = 1; r <= 10; ++r) {
    EXPECT_EQ(circles[r - 1].x2, r);
    EXPECT_EQ(circles[r - 1].colour, kRed);
    EXPECT_NEAR(circles[r - 1].x1, xOf(0.3, 0, 1), 1e-6);
    EXPECT_NEAR(circles[r - 1].y1, kBottom - kH * 0.5, 1e-6);
  }
  // Data only: no computed curve.
  EXPECT_TRUE(d.canvas.of(Op::Point, kBlue).empty());
  EXPECT_TRUE(d.canvas.of(Op::LineTo).empty());
}

TEST(LightCurvePlot, PhaseRangeZeroToOne) {
  PlotState s;
  s.displayMode = kCurveAndData;
  const auto d = draw(s, lightCurve(0, 1), observed({0.0, 0.1, 0.9, 1.0}));
  EXPECT_TRUE(d.result.label("Label1")->visible);
  EXPECT_TRUE(d.result.label("Label2")->visible);
  EXPECT_TRUE(d.result.label("Label3")->visible);
  EXPECT_EQ(topTicks(d.canvas).size(), 11u);
  // No point is repeated.
  EXPECT_EQ(markCentres(d.canvas, 10).size(), 4u);
}

TEST(LightCurvePlot, LabelsHiddenOffTheAxis) {
  PlotState s;
  const auto d = draw(s, lightCurve(0.6, 0.9), observed({}));
  EXPECT_FALSE(d.result.label("Label1")->visible);
  EXPECT_FALSE(d.result.label("Label2")->visible);
  EXPECT_FALSE(d.result.label("Label3")->visible);
  // The phase ticks only: 0.6 .. 0.9.
  EXPECT_EQ(topTicks(d.canvas).size(), 4u);
}

TEST(LightCurvePlot, FirstTickLeftOfTheFrame) {
  PlotState s;
  s.gridLines = true;
  const auto d = draw(s, lightCurve(0.05, 1.0), observed({}));
  const auto ticks = topTicks(d.canvas);
  ASSERT_FALSE(ticks.empty());
  EXPECT_NEAR(ticks.front(), xOf(0.0, 0.05, 1.0), 1e-6);
  EXPECT_LT(ticks.front(), kLeft);
  // The first vertical grid line too, in grey.
  std::vector<double> grid;
  for (const Op& o : d.canvas.of(Op::Line, kGridGrey))
    if (o.x1 == o.x2) grid.push_back(o.x1);
  ASSERT_FALSE(grid.empty());
  EXPECT_NEAR(grid.front(), xOf(0.0, 0.05, 1.0), 1e-6);
  EXPECT_EQ(grid.size(), 11u);  // 0.0 .. 1.0
}

TEST(LightCurvePlot, GridLinesOnlyWhenAskedFor) {
  PlotState s;
  const ComputedCurve c = lightCurve(0, 1);
  EXPECT_TRUE(draw(s, c, observed({})).canvas.of(Op::Line, kGridGrey).empty());
  s.gridLines = true;
  const auto d = draw(s, c, observed({}));
  int horizontal = 0;
  for (const Op& o : d.canvas.of(Op::Line, kGridGrey))
    if (o.y1 == o.y2) {
      ++horizontal;
      EXPECT_EQ(o.x1, kLeft);
      EXPECT_EQ(o.x2, kRight);
    }
  EXPECT_EQ(horizontal, 9);
}

TEST(LightCurvePlot, LightTicksAndFrame) {
  PlotState s;
  const auto d = draw(s, lightCurve(0, 1), observed({}));
  int left = 0, right = 0;
  for (const Op& o : d.canvas.of(Op::Line, kBlack)) {
    if (o.y1 == o.y2 && o.x1 == kLeft && o.x2 == kLeft + 120) ++left;
    if (o.y1 == o.y2 && o.x1 == kRight && o.x2 == kRight - 120) ++right;
  }
  EXPECT_EQ(left, 9);
  EXPECT_EQ(right, 9);
  auto hasLine = [&](double x1, double y1, double x2, double y2) {
    for (const Op& o : d.canvas.of(Op::Line))
      if (o.x1 == x1 && o.y1 == y1 && o.x2 == x2 && o.y2 == y2) return true;
    return false;
  };
  EXPECT_TRUE(hasLine(kLeft, kTop, kRight, kTop));
  EXPECT_TRUE(hasLine(kRight, kTop, kRight, kBottom));
  EXPECT_TRUE(hasLine(kRight, kBottom, kLeft, kBottom));
  EXPECT_TRUE(hasLine(kLeft, kBottom, kLeft, kTop));
  // The background is cleared first, in the background colour.
  ASSERT_FALSE(d.canvas.ops.empty());
  EXPECT_EQ(d.canvas.ops.front().kind, Op::Clear);
  EXPECT_EQ(d.canvas.ops.front().colour, kWhite);
}

TEST(LightCurvePlot, JoinPointsAndDisplayModes) {
  const ComputedCurve c = lightCurve(0, 1, 20);
  {
    PlotState s;  // curve only, single dots
    const auto d = draw(s, c, observed({0.5}), kGreen);
    EXPECT_EQ(d.canvas.of(Op::Point, kGreen).size(), 20u);
    EXPECT_TRUE(d.canvas.of(Op::LineTo).empty());
    EXPECT_TRUE(d.canvas.of(Op::Circle).empty());  // data not shown in mode 1
    EXPECT_FALSE(s.joinPoints);
  }
  {
    PlotState s;
    s.joinPoints = true;
    const auto d = draw(s, c, observed({}), kGreen);
    EXPECT_EQ(d.canvas.of(Op::Point, kGreen).size(), 1u);
    const auto lines = d.canvas.of(Op::LineTo, kGreen);
    ASSERT_EQ(lines.size(), 19u);
    EXPECT_NEAR(lines.back().x2, kRight, 1e-6);
    EXPECT_NEAR(lines.back().y2, kBottom - kH * c.light.back(), 1e-6);
  }
  {
    PlotState s;  // both curve and data switch joining on, in the shared state
    s.displayMode = kCurveAndData;
    const auto d = draw(s, c, observed({}), kGreen);
    EXPECT_TRUE(s.joinPoints);
    EXPECT_EQ(d.canvas.of(Op::LineTo, kGreen).size(), 19u);
  }
}

TEST(LightCurvePlot, LightAboveOneFallsAboveTheFrame) {
  PlotState s;
  ComputedCurve c = lightCurve(0, 1, 3);
  c.light = {0.5, 1.3, 0.5};
  const auto d = draw(s, c, observed({}));
  const auto points = d.canvas.of(Op::Point);
  ASSERT_EQ(points.size(), 3u);
  EXPECT_NEAR(points[1].y1, kBottom - kH * 1.3, 1e-6);
  EXPECT_LT(points[1].y1, kTop);
}

TEST(LightCurvePlot, InformationLabels) {
  PlotState s;
  const auto d = draw(s, lightCurve(0, 1), observed({}));
  const auto& r = d.result;
  EXPECT_EQ(r.label("Label9")->text, "star.lco");
  EXPECT_EQ(r.label("Label11")->text, " 2");
  EXPECT_EQ(r.label("Label13")->text, " 87.5");
  EXPECT_EQ(r.label("Label15")->text, " 5300");
  EXPECT_EQ(r.label("Label17")->text, " 4521");
  EXPECT_EQ(r.label("Label19")->text, " 6.1624");
  EXPECT_EQ(r.label("Label21")->text, " 9.0092");
  EXPECT_EQ(r.label("Label23")->text, " .76115");
  EXPECT_EQ(r.label("Label25")->text, "obs.csv");
  EXPECT_EQ(r.label("Label4")->text, "Phase");
  EXPECT_EQ(r.label("Label4")->x, 12120 - 900);
  EXPECT_EQ(r.label("Label4")->y, 9750 - 1575);
  // Three rows of information, their tops 1515, 1275 and 1035 above the bottom edge.
  EXPECT_EQ(r.label("Label10")->y, 9750 - 1515);
  EXPECT_EQ(r.label("Label14")->y, 9750 - 1275);
  EXPECT_EQ(r.label("Label18")->y, 9750 - 1035);
  // L1 over the largest light: 7.84139 / 0.75.
  EXPECT_EQ(r.label("Label26")->text, " 10.4552");
  EXPECT_EQ(r.label("Label26")->x, 12120 - 2000);
  // The light axis: 1.0 at the top, 0.5 in the middle, 0.0 at the bottom.
  EXPECT_EQ(r.label("Label5")->text, "1.0");
  EXPECT_EQ(r.label("Label5")->y, kTop - 80);
  EXPECT_EQ(r.label("Label6")->text, "0.5");
  EXPECT_EQ(r.label("Label7")->text, "0.0");
  EXPECT_EQ(r.label("Label7")->y, kBottom - 180);
  // Every shown label was drawn as text.
  for (const PlotLabel& l : r.labels) {
    if (l.visible && !l.text.empty()) {
      EXPECT_NE(d.canvas.textOp(l.text), nullptr) << l.name;
    }
  }
}

TEST(LightCurvePlot, ChosenVerticalScale) {
  PlotState s;
  s.yMax = 12;
  s.yMin = 10;
  ComputedCurve c = lightCurve(0, 1, 2);
  c.light = {11, 12};
  const auto d = draw(s, c, observed({}));
  EXPECT_EQ(d.result.label("Label5")->text, "12.0");
  EXPECT_EQ(d.result.label("Label6")->text, "11.0");
  EXPECT_EQ(d.result.label("Label7")->text, "10.0");
  const auto pts = d.canvas.of(Op::Point);
  ASSERT_EQ(pts.size(), 2u);
  EXPECT_NEAR(pts[0].y1, kBottom - kH / 2, 1e-6);
  EXPECT_NEAR(pts[1].y1, kTop, 1e-6);
}

TEST(LightCurvePlot, NoScaleDrawsFrameAndNote) {
  // A one-row table: first and last phase equal.
  for (int variant = 0; variant < 3; ++variant) {
    PlotState s;
    s.displayMode = kCurveAndData;
    s.gridLines = true;
    ComputedCurve c = lightCurve(0.3, 0.3, 2);
    if (variant == 1) c = ComputedCurve{};  // nothing read yet
    if (variant == 2) {
      c = lightCurve(0, 1);
      s.yMax = s.yMin = 0.5;
    }
    const auto d = draw(s, c, observed({0.3}));
    EXPECT_FALSE(d.result.note.empty());
    EXPECT_NE(d.canvas.textOp(d.result.note), nullptr);
    EXPECT_TRUE(d.canvas.of(Op::Circle).empty());
    EXPECT_TRUE(d.canvas.of(Op::Point).empty());
    EXPECT_TRUE(d.canvas.of(Op::LineTo).empty());
    EXPECT_GE(d.canvas.of(Op::Line).size(), 4u);
    for (const Op& o : d.canvas.ops) {
      EXPECT_TRUE(std::isfinite(o.x1) && std::isfinite(o.y1) && std::isfinite(o.x2) && std::isfinite(o.y2));
    }
  }
}

TEST(LightCurvePlot, NoRelativeL1WithoutLight) {
  PlotState s;
  ComputedCurve c = lightCurve(0, 1);
  c.lightMax = 0;
  EXPECT_EQ(draw(s, c, observed({})).result.label("Label26")->text, "");
  c.lightMax = -999;  // as a velocity report leaves it
  EXPECT_EQ(draw(s, c, observed({})).result.label("Label26")->text, "");
}
