#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "output/plot_observations.h"
#include "shell/errors.h"

using namespace tavrin;
namespace fs = std::filesystem;

namespace {

class PlotObservations : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("tavrin-plotobs-" + std::to_string(::getpid()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  void write(const std::string& name, const std::string& text) {
    std::ofstream(dir / name, std::ios::binary) << text;
  }
  ObservationLoad light(const std::string& name) {
    return loadLightData(dir.string(), name, params, obs, state);
  }
  ObservationLoad velocity(const std::string& name, int set) {
    return loadVelocityData(dir.string(), name, set, params, rv, state);
  }
  // The error number a load fails with, 0 when it does not fail.
  template <class F>
  int errorOf(F f) {
    try {
      f();
    } catch (const TavrinError& e) {
      return e.number();
    }
    return 0;
  }

  fs::path dir;
  ParameterSet params;
  ObservedLight obs;
  ObservedVelocities rv;
  PlotState state;
};

std::string lines(int n, double first, double step, const char* eol = "\r\n") {
  std::ostringstream s;
  s.precision(10);
  for (int i = 0; i < n; ++i) s << first + step * i << "," << 0.5 + 0.001 * i << eol;
  return s.str();
}

}  // namespace

TEST_F(PlotObservations, PhasesAreNotFolded) {
  write("ph.csv", "0.05,0.912\r\n0.3,0.8\r\n0.6,0.7\r\n0.97,0.9\r\n");
  ASSERT_EQ(light("ph.csv"), ObservationLoad::Loaded);
  ASSERT_EQ(obs.count(), 4);
  EXPECT_FALSE(obs.folded);
  EXPECT_EQ(obs.phase, (std::vector<double>{0.05, 0.3, 0.6, 0.97}));
  EXPECT_EQ(obs.light, (std::vector<double>{0.912, 0.8, 0.7, 0.9}));
  EXPECT_TRUE(obs.timeAsRead.empty());
  EXPECT_EQ(obs.fileName, "ph.csv");
  EXPECT_EQ(state.displayMode, kCurveAndData);
}

TEST_F(PlotObservations, JulianDatesAreFoldedWithTheEphemeris) {
  params.HJD0 = 2450000.0;
  params.PERIOD = 2.5;
  params.PSHIFT = 0.1;
  std::ostringstream s;
  s.precision(17);
  std::vector<double> dates;
  for (int i = 0; i < 30; ++i) dates.push_back(2450001.3 + 3.1 * i);  // about 90 days
  for (double d : dates) s << d << ", 0.75\n";
  write("jd.dat", s.str());
  ASSERT_EQ(light("jd.dat"), ObservationLoad::Loaded);
  ASSERT_EQ(obs.count(), 30);
  EXPECT_TRUE(obs.folded);
  for (int i = 0; i < 30; ++i) {
    const double t = (dates[i] - params.HJD0) / 2.5;
    EXPECT_NEAR(obs.phase[i], t - std::floor(t) + 0.1, 1e-9) << i;
    EXPECT_EQ(obs.timeAsRead[i], dates[i]);
  }
}

TEST_F(PlotObservations, FoldingLimits) {
  // Light: span 1.5 stays phases, 1.52 is taken for dates.
  write("a.csv", "-0.25,0.5\n0.5,0.6\n1.25,0.7\n");
  ASSERT_EQ(light("a.csv"), ObservationLoad::Loaded);
  EXPECT_FALSE(obs.folded);
  EXPECT_EQ(obs.phase.front(), -0.25);
  write("b.csv", "-0.26,0.5\n0.5,0.6\n1.26,0.7\n");
  ASSERT_EQ(light("b.csv"), ObservationLoad::Loaded);
  EXPECT_TRUE(obs.folded);
  // Velocities: the limit is 1.56.
  write("c.csv", "-0.27,10\n0.5,20\n1.28,30\n");
  ASSERT_EQ(velocity("c.csv", 1), ObservationLoad::Loaded);
  EXPECT_FALSE(rv.set(1).folded);
  write("d.csv", "-0.29,10\n0.5,20\n1.28,30\n");
  ASSERT_EQ(velocity("d.csv", 1), ObservationLoad::Loaded);
  EXPECT_TRUE(rv.set(1).folded);
  EXPECT_EQ(rv.set(1).timeMin, -0.29);
  EXPECT_EQ(rv.set(1).timeMax, 1.28);
  EXPECT_EQ(rv.set(1).timeAsRead, (std::vector<double>{-0.29, 0.5, 1.28}));
  // Phases that do not reach down to 0.2 or up to 0.8 are dates.
  EXPECT_TRUE(lightTimesArePhases(0.2, 0.8));
  EXPECT_FALSE(lightTimesArePhases(0.21, 0.9));
  EXPECT_FALSE(lightTimesArePhases(0.1, 0.79));
  EXPECT_FALSE(velocityTimesAreDates(0.2, 0.8));
  EXPECT_TRUE(velocityTimesAreDates(0.21, 0.9));
  EXPECT_TRUE(velocityTimesAreDates(0.1, 0.79));
}

TEST_F(PlotObservations, RecordSizeFromTheFirstLine) {
  // Blank-separated first line: nothing is loaded and nothing changes.
  write("ok.csv", "0.1,0.5\n0.9,0.6\n");
  ASSERT_EQ(light("ok.csv"), ObservationLoad::Loaded);
  state.displayMode = kCurveOnly;
  write("blank.txt", "0.1 0.5\n0.9 0.6\n");
  EXPECT_EQ(light("blank.txt"), ObservationLoad::NotRecognised);
  EXPECT_EQ(obs.fileName, "ok.csv");
  EXPECT_EQ(obs.count(), 2);
  EXPECT_EQ(state.displayMode, kCurveOnly);
  write("four.csv", "0.1,0.5,1,2,3\n");
  EXPECT_EQ(light("four.csv"), ObservationLoad::NotRecognised);
  EXPECT_EQ(obs.count(), 2);

  // Three values a line: the third is read and ignored.
  write("three.csv", "0.1,0.5,0.01\n0.5,0.6,0.02\n0.9,0.7,0.03\n");
  ASSERT_EQ(light("three.csv"), ObservationLoad::Loaded);
  EXPECT_EQ(obs.light, (std::vector<double>{0.5, 0.6, 0.7}));
  // Four values a line, blanks after the commas, LF or CR LF, blank lines, D exponents.
  write("four.txt", "0.1, 0.5, 1, 2\r\n\r\n0.5 ,0.6D0,1,2\n0.9,  7.0d-1,1,2\n\n\n");
  ASSERT_EQ(light("four.txt"), ObservationLoad::Loaded);
  EXPECT_EQ(obs.phase, (std::vector<double>{0.1, 0.5, 0.9}));
  EXPECT_EQ(obs.light, (std::vector<double>{0.5, 0.6, 0.7}));
}

TEST_F(PlotObservations, NumbersRunAcrossLines) {
  // Records are read number by number: a record may wrap onto the next line.
  std::vector<double> t, v;
  ASSERT_TRUE(parseObservationRecords("0.1,0.5\n0.2\n0.6\n0.9,0.7", 10, t, v));
  EXPECT_EQ(t, (std::vector<double>{0.1, 0.2, 0.9}));
  EXPECT_EQ(v, (std::vector<double>{0.5, 0.6, 0.7}));
  // A trailing comma leaves an empty field, read as 0.
  ASSERT_TRUE(parseObservationRecords("0.1,0.5,\n0.9,0.7,\n", 10, t, v));
  EXPECT_EQ(t, (std::vector<double>{0.1, 0.9}));
}

TEST_F(PlotObservations, FailedLoadLeavesEarlierPointsUntouched) {
  write("good.csv", "0.1,0.5\n0.5,0.6\n0.9,0.7\n");
  ASSERT_EQ(light("good.csv"), ObservationLoad::Loaded);
  const ObservedLight before = obs;
  state.displayMode = kCurveOnly;

  auto unchanged = [&] {
    EXPECT_EQ(obs.fileName, before.fileName);
    EXPECT_EQ(obs.phase, before.phase);
    EXPECT_EQ(obs.light, before.light);
    EXPECT_EQ(state.displayMode, kCurveOnly);
  };
  // Missing file.
  EXPECT_EQ(errorOf([&] { light("missing.csv"); }), 53);
  unchanged();
  // 5001 points: the first 5000 read, the next one does not fit.
  write("big.csv", lines(5001, 0.0, 0.0001));
  EXPECT_EQ(errorOf([&] { light("big.csv"); }), 9);
  unchanged();
  // Text that is not a number, part-way through.
  write("garbage.csv", "0.2,0.5\n0.4,0.6\nphase,flux\n0.9,0.7\n");
  EXPECT_EQ(errorOf([&] { light("garbage.csv"); }), 321);
  unchanged();
  // A record cut short at the end of the file.
  write("short.csv", "0.2,0.5\n0.4,0.6\n0.9\n");
  EXPECT_EQ(errorOf([&] { light("short.csv"); }), 62);
  unchanged();
  // An empty file has no first line to read.
  write("empty.csv", "");
  EXPECT_EQ(errorOf([&] { light("empty.csv"); }), 62);
  unchanged();
  // Dates with a Period of 0.
  params.PERIOD = 0;
  write("dates.csv", "2450001.1,0.5\n2450005.2,0.6\n");
  EXPECT_EQ(errorOf([&] { light("dates.csv"); }), 11);
  unchanged();
  // A number too large for a double.
  write("huge.csv", "0.2,1e999\n0.9,0.5\n");
  EXPECT_EQ(errorOf([&] { light("huge.csv"); }), 6);
  unchanged();
  // Binary junk.
  write("junk.csv", std::string("\x01,\xff\xfe\0,\x7f", 7));
  EXPECT_NE(errorOf([&] { light("junk.csv"); }), 0);
  unchanged();
}

TEST_F(PlotObservations, Limits) {
  write("l5000.csv", lines(5000, 0.0, 0.0002));
  ASSERT_EQ(light("l5000.csv"), ObservationLoad::Loaded);
  EXPECT_EQ(obs.count(), 5000);
  write("v9000.csv", lines(9000, 0.0, 0.0001));
  ASSERT_EQ(velocity("v9000.csv", 2), ObservationLoad::Loaded);
  EXPECT_EQ(rv.set(2).count(), 9000);
  write("v9001.csv", lines(9001, 0.0, 0.0001));
  EXPECT_EQ(errorOf([&] { velocity("v9001.csv", 2); }), 9);
  EXPECT_EQ(rv.set(2).count(), 9000);
  EXPECT_EQ(rv.set(2).fileName, "v9000.csv");
  EXPECT_TRUE(rv.set(2).loaded);
}

TEST_F(PlotObservations, VelocitySetsAreIndependent) {
  write("rv1.csv", "0.1,-50\n0.5,10\n0.9,40\n");
  write("rv2.csv", "0.1,60\n0.5,-10\n0.9,-70\n");
  write("rv1b.csv", "0.0,-55\n0.95,45\n");
  ASSERT_EQ(velocity("rv1.csv", 1), ObservationLoad::Loaded);
  ASSERT_EQ(velocity("rv2.csv", 2), ObservationLoad::Loaded);
  ASSERT_EQ(velocity("rv1b.csv", 1), ObservationLoad::Loaded);
  EXPECT_EQ(rv.set(1).fileName, "rv1b.csv");
  EXPECT_EQ(rv.set(1).velocity, (std::vector<double>{-55, 45}));
  EXPECT_EQ(rv.set(2).fileName, "rv2.csv");
  EXPECT_EQ(rv.set(2).velocity, (std::vector<double>{60, -10, -70}));
  EXPECT_TRUE(rv.set(2).loaded);
  EXPECT_EQ(state.displayMode, kCurveAndData);
  // A failed load of set 2 leaves set 2 as it was.
  EXPECT_EQ(errorOf([&] { velocity("nothing.csv", 2); }), 53);
  EXPECT_EQ(rv.set(2).fileName, "rv2.csv");
  EXPECT_EQ(rv.set(2).count(), 3);
  EXPECT_EQ(errorOf([&] { velocity("rv1.csv", 3); }), 9);
}
