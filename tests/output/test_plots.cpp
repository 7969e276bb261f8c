// The light-curve and velocity plots: each case's whole drawing log, labels
// and note against a golden file (TAVRIN_UPDATE_GOLDEN=1 rewrites them).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "output/light_curve_plot.h"
#include "output/velocity_plot.h"
#include "recording_canvas.h"
#include "test_files.h"

using namespace tavrin;
using tavrin::test::RecordingCanvas;

namespace {

ComputedCurve lightCurve(double first, double last, int rows = 8) {
  ComputedCurve c;
  c.page = 1, c.mode = 2, c.inclination = 87.5, c.t1 = 5300, c.t2 = 4521, c.pot1 = 6.1624, c.pot2 = 9.0092, c.massRatio = 0.76115;
  c.count = static_cast<int16_t>(rows);
  for (int i = 0; i < rows; ++i) c.phase.push_back(first + (last - first) * i / (rows - 1)), c.light.push_back(0.4 + 0.05 * i);
  c.phaseFirst = first, c.phaseLast = last, c.lightMin = c.light.front(), c.lightMax = c.light.back();
  return c;
}

ComputedCurve withLight(ComputedCurve c, std::vector<double> light, double lightMax) {
  c.light = std::move(light);
  c.lightMax = lightMax;
  return c;
}

// rv1 and rv2 as sines between the given limits, the range widened by 5 % each way as the reader leaves it.
ComputedCurve velocityCurve(double lo1, double hi1, double lo2, double hi2, bool zeroSpan = false) {
  ComputedCurve c;
  c.page = 2, c.count = 41;
  for (int i = 0; i < 41; ++i) {
    const double p = -0.2 + 1.4 * i / 40, s = std::sin(2 * M_PI * p);
    c.phase.push_back(p), c.rv1.push_back((lo1 + hi1) / 2 + (hi1 - lo1) / 2 * s), c.rv2.push_back((lo2 + hi2) / 2 - (hi2 - lo2) / 2 * s);
  }
  const double mn = std::min(lo1, lo2), mx = std::max(hi1, hi2);
  c.phaseFirst = -0.2, c.phaseLast = zeroSpan ? -0.2 : 1.2, c.rvMin = mn - 0.05 * (mx - mn), c.rvMax = mx + 0.05 * (mx - mn);
  return c;
}

ObservedLight observed(std::vector<double> phases) {
  return ObservedLight{"obs.csv", phases, std::vector<double>(phases.size(), 0.5), {}, false};
}

ObservedVelocities velocities(int set, std::vector<double> phases, std::vector<double> v, bool loaded = true) {
  ObservedVelocities o;
  o.set(set) = VelocitySet{"", loaded, std::move(phases), std::move(v), {}, 0, 0, false};
  return o;
}

using Draw = std::function<PlotResult(RecordingCanvas&, PlotState&)>;

Draw lc(ComputedCurve c, ObservedLight o, Rgb colour = kBlack) {
  return [=](RecordingCanvas& k, PlotState& s) {
    return drawLightCurvePlot(k, s, c, o, PlotInfo{"star.lco", o.fileName, 7.84139}, colour, kBlack, kWhite);
  };
}

Draw rv(ComputedCurve c, ObservedVelocities o = {}) {
  return [=](RecordingCanvas& k, PlotState& s) {
    return drawVelocityPlot(k, s, c, o, PlotInfo{"rv.lco", "", 7.84139}, kGreen, kBlack, kWhite);
  };
}

struct Row {
  const char* name;
  int16_t mode;
  bool grid, join;
  double yMin, yMax;
  Draw draw;
};

}  // namespace

TEST(Plots, DrawingLogsMatchTheirGoldens) {
  const ComputedCurve rv176 = velocityCurve(-60, 40, -90, 70);
  ComputedCurve lc3 = withLight(lightCurve(0, 1, 3), {0.5, 1.3, 0.5}, 0.5);
  const Row rows[] = {
      // Phases -0.2 .. 1.2: 15 ticks, points repeated a cycle either way.
      {"lc_range_m02_12", kCurveAndData, false, false, 0, 1, lc(lightCurve(-0.2, 1.2), observed({0.1, 0.2, 0.5, 0.8, 0.9}))},
      {"lc_data_only_blue", kDataOnly, false, false, 0, 1, lc(lightCurve(0, 1), observed({0.3}), kBlue)},
      {"lc_range_0_1", kCurveAndData, false, false, 0, 1, lc(lightCurve(0, 1), observed({0.0, 0.1, 0.9, 1.0}))},
      {"lc_labels_off_axis", kCurveOnly, false, false, 0, 1, lc(lightCurve(0.6, 0.9), observed({}))},
      {"lc_first_tick_left_grid", kCurveOnly, true, false, 0, 1, lc(lightCurve(0.05, 1.0), observed({}))},
      {"lc_plain", kCurveOnly, false, false, 0, 1, lc(lightCurve(0, 1), observed({}))},
      {"lc_grid", kCurveOnly, true, false, 0, 1, lc(lightCurve(0, 1), observed({}))},
      {"lc_dots_green", kCurveOnly, false, false, 0, 1, lc(lightCurve(0, 1, 20), observed({0.5}), kGreen)},
      {"lc_joined_green", kCurveOnly, false, true, 0, 1, lc(lightCurve(0, 1, 20), observed({}), kGreen)},
      {"lc_both_join", kCurveAndData, false, false, 0, 1, lc(lightCurve(0, 1, 20), observed({}), kGreen)},
      {"lc_above_one", kCurveOnly, false, false, 0, 1, lc(lc3, observed({}))},
      {"lc_chosen_scale", kCurveOnly, false, false, 10, 12, lc(withLight(lightCurve(0, 1, 2), {11, 12}, 12), observed({}))},
      // No scale: one-row table, nothing read, flat vertical range.
      {"lc_noscale_one_row", kCurveAndData, true, false, 0, 1, lc(lightCurve(0.3, 0.3, 2), observed({0.3}))},
      {"lc_noscale_empty", kCurveAndData, true, false, 0, 1, lc(ComputedCurve{}, observed({0.3}))},
      {"lc_noscale_flat", kCurveAndData, true, false, 0.5, 0.5, lc(lightCurve(0, 1), observed({0.3}))},
      // No relative L1 without light, nor with a velocity report's -999.
      {"lc_no_l1_zero", kCurveOnly, false, false, 0, 1, lc(withLight(lightCurve(0, 1), lightCurve(0, 1).light, 0), observed({}))},
      {"lc_no_l1_velocity", kCurveOnly, false, false, 0, 1, lc(withLight(lightCurve(0, 1), lightCurve(0, 1).light, -999), observed({}))},
      {"rv_176_grid", kCurveOnly, true, false, 0, 1, rv(rv176)},
      {"rv_176_plain", kCurveOnly, false, false, 0, 1, rv(rv176)},
      {"rv_all_positive_grid", kCurveOnly, true, false, 0, 1, rv(velocityCurve(10, 50, 12, 48))},
      // Curves always joined and observed points always drawn, whatever the mode.
      {"rv_mode1", kCurveOnly, false, false, 0, 1, rv(rv176, velocities(1, {0.25}, {40}))},
      {"rv_mode2", kDataOnly, false, false, 0, 1, rv(rv176, velocities(1, {0.25}, {40}))},
      {"rv_mode3", kCurveAndData, false, false, 0, 1, rv(rv176, velocities(1, {0.25}, {40}))},
      {"rv_rings_set2", kCurveOnly, false, false, 0, 1, rv(rv176, velocities(2, {0.05, 0.95}, {-50, 30}))},
      {"rv_set2_not_loaded", kCurveOnly, false, false, 0, 1, rv(rv176, velocities(2, {0.05, 0.95}, {-50, 30}, false))},
      {"rv_zero_range", kCurveOnly, true, false, 0, 1, rv(velocityCurve(20, 20, 20, 20), velocities(1, {0.5}, {20}))},
      {"rv_zero_span", kCurveOnly, true, false, 0, 1, rv(velocityCurve(-60, 40, -90, 70, true), velocities(1, {0.5}, {20}))},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    PlotState s;
    s.displayMode = r.mode, s.gridLines = r.grid, s.joinPoints = r.join, s.yMin = r.yMin, s.yMax = r.yMax;
    RecordingCanvas canvas;
    const PlotResult result = r.draw(canvas, s);
    std::string log = "note: " + result.note + "\njoin after: " + std::to_string(s.joinPoints) + "\n";
    for (const PlotLabel& l : result.labels)
      log += "label " + l.name + " '" + l.text + "' " + RecordingCanvas::num(l.x) + " " + RecordingCanvas::num(l.y) +
             (l.visible ? " shown\n" : " hidden\n");
    for (const PlotLabel& l : result.labels) EXPECT_EQ(result.label(l.name), &l);
    EXPECT_EQ(result.label("Label99"), nullptr);
    tavrin::testing_support::expectGolden("output", std::string("plots/") + r.name + ".txt", log + canvas.log());
  }
}

TEST(Plots, VelocityTickSteps) {
  for (auto [range, step] : {std::pair{88.0, 10.0}, {44, 5}, {17.6, 2}, {176, 20}, {100, 20}, {0.5, 0.1}})
    EXPECT_DOUBLE_EQ(velocityTickStep(range), step) << range;
  // Limits on a multiple are included.
  for (auto [lo, hi] : {std::pair{-98.0, 78.0}, {-80, 60}})
    EXPECT_EQ(std::pair(velocityTicks(lo, hi).kLow, velocityTicks(lo, hi).kHigh), std::pair(-4LL, 3LL)) << lo;
}
