// Loading observed light and velocities for the plots: a run of loads on one
// state, each load's outcome and the whole state after it against a golden.
#include <gtest/gtest.h>

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

enum Ephemeris { kDefault, kFolding, kZeroPeriod };
const std::string kNoFile = "(no file)";

}  // namespace

TEST(PlotObservations, LoadsAndWhatTheyLeave) {
  const struct {
    int set;  // 0 light, else the velocity set
    const char* name;
    std::string text;
    Ephemeris ephemeris;
  } rows[] = {
      {0, "phases.csv", "0.05,0.912\r\n0.3,0.8\r\n0.6,0.7\r\n0.97,0.9\r\n", kDefault},  // not folded
      {0, "jd.dat", dates(), kFolding},
      // Light: span 1.5 stays phases, 1.52 is taken for dates; velocities: the limit is 1.56.
      {0, "a.csv", "-0.25,0.5\n0.5,0.6\n1.25,0.7\n", kDefault},
      {0, "b.csv", "-0.26,0.5\n0.5,0.6\n1.26,0.7\n", kDefault},
      {1, "c.csv", "-0.27,10\n0.5,20\n1.28,30\n", kDefault},
      {1, "d.csv", "-0.29,10\n0.5,20\n1.28,30\n", kDefault},
      // The record size comes from the first line: blanks or five values are not recognised.
      {0, "ok.csv", "0.1,0.5\n0.9,0.6\n", kDefault},
      {0, "blank.txt", "0.1 0.5\n0.9 0.6\n", kDefault},
      {0, "five.csv", "0.1,0.5,1,2,3\n", kDefault},
      {0, "three.csv", "0.1,0.5,0.01\n0.5,0.6,0.02\n0.9,0.7,0.03\n", kDefault},
      // Four values, blanks after the commas, LF or CR LF, blank lines, D exponents.
      {0, "four.txt", "0.1, 0.5, 1, 2\r\n\r\n0.5 ,0.6D0,1,2\n0.9,  7.0d-1,1,2\n\n\n", kDefault},
      // Failed loads leave the earlier points untouched.
      {0, "good.csv", "0.1,0.5\n0.5,0.6\n0.9,0.7\n", kDefault},
      {0, "missing.csv", kNoFile, kDefault},
      {0, "big.csv", lines(5001, 0.0, 0.0001), kDefault},  // the 5001st does not fit
      {0, "garbage.csv", "0.2,0.5\n0.4,0.6\nphase,flux\n0.9,0.7\n", kDefault},
      {0, "short.csv", "0.2,0.5\n0.4,0.6\n0.9\n", kDefault},
      {0, "empty.csv", "", kDefault},
      {0, "dates.csv", "2450001.1,0.5\n2450005.2,0.6\n", kZeroPeriod},
      {0, "huge.csv", "0.2,1e999\n0.9,0.5\n", kDefault},
      {0, "junk.csv", std::string("\x01,\xff\xfe\0,\x7f", 7), kDefault},
      {0, "l5000.csv", lines(5000, 0.0, 0.0002), kDefault},
      {2, "v9000.csv", lines(9000, 0.0, 0.0001), kDefault},
      {2, "v9001.csv", lines(9001, 0.0, 0.0001), kDefault},
      // The velocity sets are independent.
      {1, "rv1.csv", "0.1,-50\n0.5,10\n0.9,40\n", kDefault},
      {2, "rv2.csv", "0.1,60\n0.5,-10\n0.9,-70\n", kDefault},
      {1, "rv1b.csv", "0.0,-55\n0.95,45\n", kDefault},
      {2, "nothing.csv", kNoFile, kDefault},
      {3, "rv1.csv", "0.1,-50\n0.5,10\n0.9,40\n", kDefault},
  };
  const auto dir = tavrin::testing_support::freshTestDir("plot-observations");
  ObservedLight obs;
  ObservedVelocities rv;
  std::string log;
  for (const auto& r : rows) {
    ParameterSet p;
    if (r.ephemeris == kFolding) p.HJD0 = 2450000.0, p.PERIOD = 2.5, p.PSHIFT = 0.1;
    if (r.ephemeris == kZeroPeriod) p.PERIOD = 0;
    if (r.text != kNoFile) tavrin::testing_support::spit(dir / r.name, r.text);
    PlotState state;
    state.displayMode = kCurveOnly;
    log += "==== " + std::string(r.set ? "velocity set " + std::to_string(r.set) : "light") + " " + r.name + ": ";
    try {
      const ObservationLoad l = r.set ? loadVelocityData(dir.string(), r.name, r.set, p, rv, state)
                                      : loadLightData(dir.string(), r.name, p, obs, state);
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
