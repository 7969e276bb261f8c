// DC's results: the I/O Parms and Correlations views, Update and Revert, the
// CSV and LaTeX tables; and the publication figures' ticks, residuals, sizes
// and whole drawings. Each case's outcome logged against a golden file.
#include <gtest/gtest.h>

#include <cmath>

#include "model/number_fields.h"
#include "output/dc_tables.h"
#include "output/figure_layout.h"
#include "output/figure_plot.h"
#include "output/figure_residuals.h"
#include "output/figure_tables.h"
#include "output/figure_ticks.h"
#include "model/parameter_history.h"
#include "output/corrections.h"
#include "record_printers.h"
#include "recording_canvas.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using tavrin::testing_support::expectGolden;

namespace {

using tavrin::test::RecordingCanvas;
constexpr auto num = &RecordingCanvas::num;

DcResults threeRows() {
  DcResults r;
  r.adjustedParams = {2, 19, 32};
  r.ioRows = {{19, 0, 0.53, 0.015, 0.545, 0.002}, {2, 0, 1.0, 0.1, 1.1, 0.01}, {32, 1, 0.9, -0.05, 0.85, 0.003}};
  for (const DcIoRow& io : r.ioRows) r.unknowns.push_back({io.param, io.curve});
  r.sumWResInput = 12.3456789;
  r.sumWResPredicted = 0.5;
  return r;
}

std::string viewText(const IoParmsView& v) {
  std::string s = v.caption + " | sums '" + v.sumInput + "' '" + v.sumPredicted + "' | failure " + v.failure + "\n";
  for (const IoParmsRow& r : v.rows)
    s += r.label + "|" + r.param + "|" + r.curve + "|" + r.input + "|" + r.correction + "|" + r.stdDev + "|" + r.output + "|" +
         r.button + "|" + (r.updatable ? "updatable" : "fixed") + "\n";
  return s;
}

std::string viewText(const CorrelView& v) {
  std::string s = v.caption + " | note " + v.note + "\n";
  for (size_t i = 0; i < v.labels.size(); ++i) s += v.labels[i] + (i + 1 < v.labels.size() ? "|" : "\n");
  for (const auto& row : v.cells) {
    for (const std::string& c : row) s += "[" + c + "]";
    s += "\n";
  }
  return s;
}

std::string applied(ParameterSet& p, const DcResults& r, size_t i, UpdateDone& done) {
  const auto f = applyCorrection(p, r, i, done);
  return (f ? f->control + " '" + f->text + "'" : std::string("no field")) + (i < done.size() && done[i] ? " done" : "") + "\n";
}

}  // namespace

TEST(Corrections, ViewsUpdatesAndReverts) {
  std::string log;
  for (DcUnknown u : std::vector<DcUnknown>{{1, 0}, {8, 0}, {19, 0}, {23, 0}, {29, 0}, {30, 0}, {35, 3}, {31, 2}, {0, 0}, {36, 0}, {-5, 0}, {16, 2}})
    log += "label " + std::to_string(u.param) + "/" + std::to_string(u.curve) + " '" + dcUnknownLabel(u) + "'\n";
  // T1 shown in kelvin, spot longitude in degrees, the second row done.
  log += viewText(ioParmsView(threeRows(), UpdateDone{false, true, false}, "star.dco"));
  DcResults failed = threeRows();
  failed.failure = "the correction of T1 is NaN";
  failed.ioRows[0].correction = std::nan("");
  log += viewText(ioParmsView(failed, UpdateDone{}, "x.dco"));
  DcResults c;
  for (int k = 9; k <= 20; ++k) c.unknowns.push_back({static_cast<int16_t>(k), 0});
  c.unknowns.insert(c.unknowns.end(), {{31, 1}, {31, 2}});
  c.correlation.assign(14, std::vector<double>(14, 0.25));
  for (size_t i = 0; i < 14; ++i) c.correlation[i][i] = 1.0;
  log += viewText(correlView(c, "a.dco"));
  c.correlation.clear();
  log += viewText(correlView(c, "a.dco"));

  // Update adds to the value held now, once per read; a failed solution offers nothing.
  ParameterSet p;
  UpdateDone done;
  log += "failed: " + applied(p, failed, 0, done);
  EXPECT_EQ(p, ParameterSet{});
  p.T1 = 5300;
  const DcResults r = threeRows();
  log += applied(p, r, 0, done);
  log += applied(p, r, 0, done);
  log += "T1 " + num(p.T1) + "\n";
  done.clear();
  p.T1 = 6000;
  log += applied(p, r, 0, done);
  log += "T1 " + num(p.T1) + "\n";
  // Spot A longitude: radians added, no field. L2 of curve 1 is per-curve row 3.
  p.spotAStar = 2, p.spotANumber = 3, p.spots[2][3].xlong = 1.0, p.curves[3].l2 = 2.0;
  log += applied(p, r, 1, done);
  log += applied(p, r, 2, done);
  log += "xlong " + num(p.spots[2][3].xlong) + " l2 " + num(p.curves[3].l2) + "\n";

  // Rows that name nothing are only marked done: 30, out of range, curve 9, a spot of no star.
  DcResults nothing;
  nothing.ioRows = {{30, 0, 0, 1.0, 0, 0}, {36, 0, 0, 1.0, 0, 0}, {-4, 0, 0, 1.0, 0, 0}, {31, 9, 0, 1.0, 0, 0}, {1, 0, 0, 1.0, 0, 0}};
  ParameterSet q;
  q.spotAStar = 3;
  const ParameterSet before = q;
  done.clear();
  for (size_t i = 0; i < 6; ++i) log += "names nothing: " + applied(q, nothing, i, done);
  EXPECT_EQ(q, before);
  // A sum that does not fit a double is an overflow and changes nothing.
  nothing.ioRows.push_back({16, 0, 0, 1.7e308, 0, 0});
  q.XINCL = 1.7e308;
  EXPECT_THROW(applyCorrection(q, nothing, 5, done), TavrinError);
  EXPECT_DOUBLE_EQ(q.XINCL, 1.7e308);
  EXPECT_FALSE(done[5]);
  expectGolden("output", "corrections.txt", log);
}

// The short form where it holds the value, every digit needed where it does not.
TEST(Corrections, UpdateFieldFormsKeepEveryDigit) {
  std::string log;
  for (const auto& c : tavrin::testing_support::tableRows(tavrin::testing_support::goldenPath("output", "update_field_cases.tsv"))) {
    ParameterSet p;
    ASSERT_TRUE(setScalar(p, c[1], std::stod(c[2]))) << c[1];
    DcResults r;
    r.ioRows = {{static_cast<int16_t>(std::stoi(c[0])), 0, 0, std::stod(c[3]), 0, 0}};
    UpdateDone done;
    const auto f = applyCorrection(p, r, 0, done);
    ASSERT_TRUE(f) << c[0];
    const double after = *getScalar(p, c[1]);
    EXPECT_EQ(leadingNumber(f->text), after) << c[0];
    log += c[0] + " " + num(after) + ": " + f->control + " '" + f->text + "'\n";
  }
  expectGolden("output", "update_fields.txt", log);
}

TEST(Corrections, RevertAfterTwoRunsAndUpdates) {
  ParameterSet p;
  p.DPDT = 3.34425e-10, p.PERIOD = 0.37268513, p.DPERDT = 7.8963e-13, p.E = 0.22775;
  ParameterHistory h = ParameterHistory::fromParameterSet(p);
  const ParameterSet first = p;
  h.shift(p);  // first run
  p.F1 = 1.2, p.F2 = 0.8, p.T1 = 5450, p.DPDT = 0, p.curves[4].x1 = 0.6, p.spots[1][1].radsp = 0.3;
  p.curves[5].el3 = 0.25;  // third light is not in the history
  h.shift(p);  // second run
  std::string log;
  for (const FieldText& f : revertParameters(p, h)) log += f.control + " '" + f.text + "' " + num(leadingNumber(f.text)) + "\n";
  ParameterSet expected = first;
  expected.curves[5].el3 = 0.25;
  EXPECT_EQ(p, expected);
  expectGolden("output", "revert.txt", log);
}

namespace {

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
  const std::string head = tavrin::testing_support::slurp(tavrin::testing_support::goldenPath("output", "lco_head.txt"));
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

// A report header's values stand right-justified under their names, in D notation.
TEST(Figures, ReportHeaderValuesStandUnderTheirNames) {
  const std::string report = " JDPHS      HJD0            PERIOD          DPDT        PSHIFT\n"
                             "     1 2450000.123400  .2450000000D+01   .000000D+00    0.0100\n";
  EXPECT_EQ(reportHeaderValue(report, "JDPHS", "PERIOD"), 2.45);
  EXPECT_EQ(reportHeaderValue(report, "JDPHS", "PSHIFT"), 0.01);
  EXPECT_EQ(reportHeaderValue(report, "MODE", "PERIOD"), std::nullopt);
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
