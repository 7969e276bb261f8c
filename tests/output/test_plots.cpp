// The light-curve and velocity plots: each case's whole drawing log, labels
// and note against a golden file (TAVRIN_UPDATE_GOLDEN=1 rewrites them). The
// observations they show: a run of loads on one state, each load's outcome
// and the whole state after it against a golden.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "output/light_curve_plot.h"
#include "output/plot_observations.h"
#include "output/velocity_plot.h"
#include "recording_canvas.h"
#include "shell/errors.h"
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

std::vector<double> numbers(const std::string& list) {
  std::vector<double> v;
  std::istringstream in(list);
  for (std::string x; std::getline(in, x, ',');) v.push_back(std::stod(x));
  return v;
}

// Draws a row of golden/plots/cases.tsv.
PlotResult drawRow(const std::vector<std::string>& row, RecordingCanvas& k, PlotState& s) {
  s.displayMode = static_cast<int16_t>(std::stoi(row[1])), s.gridLines = row[2] == "1", s.joinPoints = row[3] == "1";
  s.yMin = std::stod(row[4]), s.yMax = std::stod(row[5]);
  std::istringstream curve(row[6]), observed(row[7]);
  std::string kind, option;
  double a = 0, b = 0, c = 0, d = 0;
  curve >> kind >> a >> b >> c;
  if (kind == "rv") {
    curve >> d >> option;
    ObservedVelocities o;
    std::string phases, values;
    if (int set = 0; observed >> set >> phases >> values)
      o.set(set) = VelocitySet{"", !(observed >> option), numbers(phases), numbers(values), {}, 0, 0, false};
    return drawVelocityPlot(k, s, velocityCurve(a, b, c, d, option == "zero-span"), o, PlotInfo{"rv.lco", "", 7.84139}, kGreen, kBlack, kWhite);
  }
  ComputedCurve lc = kind == "lc" ? lightCurve(a, b, static_cast<int>(c)) : ComputedCurve{};
  for (std::string opt; curve >> opt;)
    if (opt.rfind("light=", 0) == 0) lc.light = numbers(opt.substr(6));
    else lc.lightMax = std::stod(opt.substr(4));  // max=
  const std::vector<double> phases = row[7] == "-" ? std::vector<double>{} : numbers(row[7]);
  const ObservedLight o{"obs.csv", phases, std::vector<double>(phases.size(), 0.5), {}, false};
  const Rgb colour = row[8] == "blue" ? kBlue : row[8] == "green" ? kGreen : kBlack;
  return drawLightCurvePlot(k, s, lc, o, PlotInfo{"star.lco", o.fileName, 7.84139}, colour, kBlack, kWhite);
}

std::string lines(int n, double first, double step) {
  std::ostringstream s;
  s.precision(10);
  for (int i = 0; i < n; ++i) s << first + step * i << "," << 0.5 + 0.001 * i << "\r\n";
  return s.str();
}

std::string values(const std::vector<double>& v) {
  std::string s = std::to_string(v.size()) + ":";
  for (size_t i = 0; i < v.size(); ++i)
    if (v.size() <= 40 || i < 2 || i + 2 >= v.size()) s += " " + tavrin::test::RecordingCanvas::num(v[i]);
  return s + "\n";
}

}  // namespace

TEST(Plots, DrawingLogsMatchTheirGoldens) {
  const auto rows = tavrin::testing_support::tableRows(tavrin::testing_support::goldenPath("output", "plots/cases.tsv"));
  EXPECT_EQ(rows.size(), 27u);
  for (const auto& row : rows) {
    SCOPED_TRACE(row[0]);
    PlotState s;
    RecordingCanvas canvas;
    const PlotResult result = drawRow(row, canvas, s);
    std::string log = "note: " + result.note + "\njoin after: " + std::to_string(s.joinPoints) + "\n";
    for (const PlotLabel& l : result.labels)
      log += "label " + l.name + " '" + l.text + "' " + RecordingCanvas::num(l.x) + " " + RecordingCanvas::num(l.y) +
             (l.visible ? " shown\n" : " hidden\n");
    for (const PlotLabel& l : result.labels) EXPECT_EQ(result.label(l.name), &l);
    EXPECT_EQ(result.label("Label99"), nullptr);
    tavrin::testing_support::expectGolden("output", "plots/" + row[0] + ".txt", log + canvas.log());
  }
}

TEST(PlotObservations, LoadsAndWhatTheyLeave) {
  const auto dir = tavrin::testing_support::freshTestDir("plot-observations");
  const auto cases = tavrin::testing_support::goldenPath("output", "observations");
  ObservedLight obs;
  ObservedVelocities rv;
  std::string log;
  for (const auto& row : tavrin::testing_support::tableRows(cases / "loads.tsv")) {
    const int set = std::stoi(row[0]);
    const std::string name = row[1], made = row.size() > 3 ? row[3] : "";
    ParameterSet p;
    if (row[2] == "folding") p.HJD0 = 2450000.0, p.PERIOD = 2.5, p.PSHIFT = 0.1;
    if (row[2] == "zero-period") p.PERIOD = 0;
    std::istringstream counts(made);
    int n = 0;
    double first = 0, step = 0;
    if (made.empty()) std::filesystem::copy_file(cases / name, dir / name, std::filesystem::copy_options::overwrite_existing);
    else if (counts >> n >> first >> step) tavrin::testing_support::spit(dir / name, lines(n, first, step));
    PlotState state;
    state.displayMode = kCurveOnly;
    log += "==== " + std::string(set ? "velocity set " + std::to_string(set) : "light") + " " + name + ": ";
    try {
      const ObservationLoad l = set ? loadVelocityData(dir.string(), name, set, p, rv, state)
                                      : loadLightData(dir.string(), name, p, obs, state);
      log += l == ObservationLoad::Loaded ? "loaded" : "not recognised";
    } catch (const TavrinError& e) {
      log += "error " + std::to_string(e.number());
    }
    log += ", display mode " + std::to_string(state.displayMode) + " join " + std::to_string(state.joinPoints) +
           "\nlight " + obs.fileName + " folded " + std::to_string(obs.folded) + "\n phase " + values(obs.phase) +
           " light " + values(obs.light) + " time " + values(obs.timeAsRead);
    for (int s = 1; s <= 2; ++s) {
      const VelocitySet& v = rv.set(s);
      log += "rv" + std::to_string(s) + " " + v.fileName + " loaded " + std::to_string(v.loaded) + " folded " +
             std::to_string(v.folded) + " time range " + values({v.timeMin, v.timeMax}) + " phase " + values(v.phase) +
             " velocity " + values(v.velocity) + " time " + values(v.timeAsRead);
    }
  }
  tavrin::testing_support::expectGolden("output", "plot_observations.txt", log);
}

// Velocity tick steps, limits on a multiple included; records read number by
// number (a record may wrap, a trailing comma leaves an empty field read as 0);
// phases that do not reach down to 0.2 or up to 0.8 are dates.
TEST(PlotObservations, TickStepsRecordsAndTimeRanges) {
  std::string log;
  for (double range : {88.0, 44.0, 17.6, 176.0, 100.0, 0.5}) log += "step " + RecordingCanvas::num(velocityTickStep(range)) + "\n";
  for (auto [lo, hi] : {std::pair{-98.0, 78.0}, {-80.0, 60.0}})
    log += "ticks " + std::to_string(velocityTicks(lo, hi).kLow) + " " + std::to_string(velocityTicks(lo, hi).kHigh) + "\n";
  for (const char* text : {"0.1,0.5\n0.2\n0.6\n0.9,0.7", "0.1,0.5,\n0.9,0.7,\n"}) {
    std::vector<double> t, v;
    const bool read = parseObservationRecords(text, 10, t, v);
    log += "records " + std::to_string(read) + " t " + values(t) + " v " + values(v);
  }
  for (auto [lo, hi] : {std::pair{0.2, 0.8}, {0.21, 0.9}, {0.1, 0.79}})
    log += "phases " + std::to_string(lightTimesArePhases(lo, hi)) + " dates " + std::to_string(velocityTimesAreDates(lo, hi)) + "\n";
  tavrin::testing_support::expectGolden("output", "plot_records.txt", log);
}
