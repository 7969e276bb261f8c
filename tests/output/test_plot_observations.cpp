// Loading observed light and velocities for the plots: a run of loads on one
// state, each load's outcome and the whole state after it against a golden.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "output/plot_observations.h"
#include "recording_canvas.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;

namespace {

std::string lines(int n, double first, double step) {
  std::ostringstream s;
  s.precision(10);
  for (int i = 0; i < n; ++i) s << first + step * i << "," << 0.5 + 0.001 * i << "\r\n";
  return s.str();
}

std::string dates() {
  std::ostringstream s;
  s.precision(17);
  for (int i = 0; i < 30; ++i) s << 2450001.3 + 3.1 * i << ", 0.75\n";  // about 90 days
  return s.str();
}

std::string values(const std::vector<double>& v) {
  std::string s = std::to_string(v.size()) + ":";
  for (size_t i = 0; i < v.size(); ++i)
    if (v.size() <= 40 || i < 2 || i + 2 >= v.size()) s += " " + tavrin::test::RecordingCanvas::num(v[i]);
  return s + "\n";
}


}  // namespace

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
    else if (made == "dates") tavrin::testing_support::spit(dir / name, dates());
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
    log += ", display mode " + std::to_string(state.displayMode) + "\nlight " + obs.fileName + " folded " +
           std::to_string(obs.folded) + "\n phase " + values(obs.phase) + " light " + values(obs.light) + " time " +
           values(obs.timeAsRead);
    for (int s = 1; s <= 2; ++s) {
      const VelocitySet& v = rv.set(s);
      log += "rv" + std::to_string(s) + " " + v.fileName + " loaded " + std::to_string(v.loaded) + " folded " +
             std::to_string(v.folded) + " time range " + values({v.timeMin, v.timeMax}) + " phase " + values(v.phase) +
             " velocity " + values(v.velocity) + " time " + values(v.timeAsRead);
    }
  }
  tavrin::testing_support::expectGolden("output", "plot_observations.txt", log);
}

TEST(PlotObservations, RecordsAndTimeRanges) {
  // Records are read number by number: a record may wrap onto the next line.
  std::vector<double> t, v;
  ASSERT_TRUE(parseObservationRecords("0.1,0.5\n0.2\n0.6\n0.9,0.7", 10, t, v));
  EXPECT_EQ(t, (std::vector<double>{0.1, 0.2, 0.9}));
  EXPECT_EQ(v, (std::vector<double>{0.5, 0.6, 0.7}));
  // A trailing comma leaves an empty field, read as 0.
  ASSERT_TRUE(parseObservationRecords("0.1,0.5,\n0.9,0.7,\n", 10, t, v));
  EXPECT_EQ(t, (std::vector<double>{0.1, 0.9}));
  // Phases that do not reach down to 0.2 or up to 0.8 are dates.
  for (auto [lo, hi, phases] : {std::tuple{0.2, 0.8, true}, {0.21, 0.9, false}, {0.1, 0.79, false}}) {
    EXPECT_EQ(lightTimesArePhases(lo, hi), phases) << lo << ".." << hi;
    EXPECT_EQ(velocityTimesAreDates(lo, hi), !phases) << lo << ".." << hi;
  }
}
