#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <limits>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "model/dci_writer.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace fs = std::filesystem;
using namespace tavrin;

namespace {

std::string golden(const char* name) {
  return slurp(fs::path(TAVRIN_SOURCE_DIR) / "tests/model/golden" / name);
}

std::vector<ObservationPoint> pts(std::initializer_list<ObservationPoint> l) { return l; }

// Detached start-up set with spots, both velocity curves (the second without
// a data file and without points) and two light curves.
ParameterSet fullSet(int nppl) {
  ParameterSet p;
  p.MODE = 2;
  p.spotCount = {0, 2, 1};
  p.spots[1][1] = {1.5, 0.25, 0.2, 0.9};
  p.spots[1][2] = {2.0943951, 3.14159265, 0.17453293, 1.05};
  p.spots[2][1] = {0.5235988, -1.0, 0.0872665, 0.75};
  p.totalSpotCount = 3;
  p.spotBNumber = 2;
  p.adjustKeys[9] = '0';
  p.adjustKeys[16] = '0';
  p.adjustKeys[30] = '0';  // written as "1" whatever is held
  p.adjustKeys[31] = '0';
  p.IFVC1 = 1;
  p.IFVC2 = 1;
  p.velocityCurveCount = 2;
  p.NLC = 2;
  p.NPPL = static_cast<int16_t>(nppl);

  CurveRow& v1 = p.curves[1];
  v1.band = 7;
  v1.dataFile = "velocity_curve_of_the_primary_star_observed_2019.csv";
  v1.wavel = 0.55;
  v1.l1 = 7.84139;
  v1.l2 = 0.90038;
  v1.x1 = v1.x2 = 0.535;
  v1.y1 = v1.y2 = 0.281;
  v1.sigma = 2.5;
  v1.points = pts({{0.05, -88.3864, 1.0}, {0.25, 45.5, 0.5}, {0.75, -12.125, 2.0}});

  CurveRow& v2 = p.curves[2];
  v2.band = 7;
  v2.wavel = 0.55;
  v2.l1 = 0.5;
  v2.l2 = 1.25;
  v2.x1 = v2.x2 = 0.6;
  v2.y1 = v2.y2 = 0.2;
  v2.opsf = 3;
  v2.sigma = 0.012;

  CurveRow& c1 = p.curves[3];
  c1.band = 6;
  c1.dataFile = "a_rather_long_photometry_file_name_for_the_blue_band_2019.dat";
  c1.wavel = 0.44;
  c1.l1 = 9.5;
  c1.l2 = 1.2345;
  c1.x1 = 0.7;
  c1.x2 = 0.65;
  c1.y1 = 0.25;
  c1.y2 = 0.22;
  c1.el3 = 0.05;
  c1.noise = 1;
  c1.sigma = 0.015;
  const double t[] = {0.01, 0.02, 0.03, 0.04, 0.05, 0.06, 0.07, 0.08, 0.09, 0.10, 0.11, 0.12};
  const double v[] = {0.9987, 0.9954, 0.9876, 0.9712, 0.9533, 0.9301, 0.9122, 0.9, 0.8876, 0.8654, 0.8432, 0.8210};
  for (int i = 0; i < 12; ++i) c1.points.push_back({t[i], v[i], i == 3 ? 0.25 : 1.0});

  CurveRow& c2 = p.curves[4];
  c2.band = 7;
  c2.dataFile = "v.dat";
  c2.wavel = 0.55;
  c2.l1 = 8.25;
  c2.l2 = 0.75;
  c2.x1 = 0.55;
  c2.x2 = 0.5;
  c2.y1 = 0.3;
  c2.y2 = 0.28;
  c2.sigma = 0.02;
  c2.points = pts({{-0.0025, 12.3456, 10.0}, {7522.66433, 9.87, 1.0}});
  return p;
}

ParameterSet oneLightCurve(int points, int nppl) {
  ParameterSet p;
  p.MODE = 2;
  p.NLC = 1;
  p.NPPL = static_cast<int16_t>(nppl);
  for (int i = 1; i <= points; ++i) p.curves[3].points.push_back({0.001 * i, 1.0, 1.0});
  return p;
}

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const TavrinError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace

TEST(DciWriter, GoldenFilesCharacterForCharacter) {
  EXPECT_EQ(dciText(fullSet(1)), golden("dci_curves_nppl1.dci"));
  EXPECT_EQ(dciText(fullSet(5)), golden("dci_curves_nppl5.dci"));
}

TEST(DciWriter, SaveWritesTheGoldenBytesAndFillsTheRecordBuffer) {
  TempDir dir;
  ParameterSet p = fullSet(5);
  const SaveOutcome out = saveDci(p, (dir / "g.dci").string());
  ASSERT_TRUE(out.written) << out.refusal;
  EXPECT_EQ(slurp(dir / "g.dci"), golden("dci_curves_nppl5.dci"));
  const auto l = crlfLines(golden("dci_curves_nppl5.dci"));
  for (int r = 1; r <= 15; ++r) EXPECT_EQ(p.storedDciRecords[static_cast<size_t>(r)], l[static_cast<size_t>(r - 1)]);
  EXPECT_TRUE(p.storedDciRecords[16].empty());
}

TEST(DciWriter, OneLightCurveIsRecordTwelve) {
  ParameterSet p = oneLightCurve(2, 1);
  p.curves[3].band = 7;
  p.curves[3].wavel = 0.55;
  const auto recs = dciRecords(p);
  ASSERT_EQ(recs.size(), 12u);
  const auto l = crlfLines(dciText(p));
  EXPECT_EQ(l[11], recs[11]);
  EXPECT_EQ(l[11].substr(0, 3), "  7");
  EXPECT_EQ(l[11].size(), 94u);  // no data-file name: one blank after WAVEL
  EXPECT_EQ(l[11].back(), ' ');
  EXPECT_EQ(l[12], "300.");
  EXPECT_EQ(l[5].substr(0, 6), "0 0  1");
}

TEST(DciWriter, TwelvePointsFivePerLine) {
  const auto l = crlfLines(dciText(oneLightCurve(12, 5)));
  // 12 records, "300.", "300.", "150.", three data lines, the end line.
  ASSERT_EQ(l.size(), 19u);
  EXPECT_EQ(l[17].size(), 5u * 28);
  EXPECT_EQ(l[17].substr(2 * 28), std::string("       0.00000  0.0000  0.00") + "       0.00000  0.0000  0.00" +
                                      "       0.00000  0.0000  0.00");
  EXPECT_EQ(l[17].substr(0, 14), "        .01100");
  EXPECT_EQ(l[18], "  -10002.");
}

TEST(DciWriter, EndLineCountsTheRealPointsOfTheLastLine) {
  for (int nppl = 1; nppl <= 5; ++nppl) {
    for (int n = 0; n <= 11; ++n) {
      const auto l = crlfLines(dciText(oneLightCurve(n, nppl)));
      const int rounded = n == 0 ? 0 : ((n - 1) / nppl + 1) * nppl;
      const int onLast = n == 0 ? nppl : n - (rounded - nppl);
      EXPECT_EQ(l.back(), "  " + std::to_string(-10000 - onLast) + ".") << "n=" << n << " nppl=" << nppl;
      EXPECT_EQ(l.size(), 15u + static_cast<size_t>(rounded / nppl) + 1) << "n=" << n << " nppl=" << nppl;
      if (nppl == 1) {
        EXPECT_EQ(l.back(), "  -10001.");
      }
    }
  }
}

TEST(DciWriter, KeyThirtyIsAlwaysOne) {
  ParameterSet p;
  p.adjustKeys[30] = '0';
  EXPECT_EQ(crlfLines(dciText(p))[3].substr(35, 1), "1");
  p.adjustKeys[29] = '0';
  p.adjustKeys[31] = '0';
  EXPECT_EQ(crlfLines(dciText(p))[3].substr(31, 11), "11101 01111");
}

TEST(DciWriter, PeriodIsWiderThanInTheLci) {
  ParameterSet p;
  EXPECT_EQ(crlfLines(dciText(p))[7].substr(16, 17), "  .2325000000D+03");
}

TEST(DciWriter, PointIndexPastNineThousandIsASubscriptError) {
  EXPECT_EQ(errorOf([] { dciText(oneLightCurve(9000, 1)); }), 0);
  EXPECT_EQ(errorOf([] { dciText(oneLightCurve(8999, 5)); }), 0);  // rounds up to 9000 exactly
  EXPECT_EQ(errorOf([] { dciText(oneLightCurve(9001, 1)); }), 9);
  EXPECT_EQ(errorOf([] { dciText(oneLightCurve(8997, 7)); }), 9);  // rounds up to 9002
  try {
    dciText(oneLightCurve(9001, 1));
  } catch (const TavrinError& e) {
    EXPECT_STREQ(e.what(), "Error 9: Subscript out of range.");
  }
}

TEST(DciWriter, CountsOutsideTheirRangeAreRefused) {
  ParameterSet p = oneLightCurve(3, 1);
  p.NPPL = 0;
  EXPECT_EQ(errorOf([&] { dciText(p); }), 9);
  p = ParameterSet{};
  p.NLC = 6;
  EXPECT_EQ(errorOf([&] { dciText(p); }), 9);
  p.NLC = -1;
  EXPECT_EQ(errorOf([&] { dciText(p); }), 9);
  p = ParameterSet{};
  p.IFVC1 = 2;
  EXPECT_EQ(errorOf([&] { dciText(p); }), 9);
  p = ParameterSet{};
  p.spotCount[2] = 11;
  EXPECT_EQ(errorOf([&] { dciText(p); }), 9);
}

TEST(DciWriter, NoMode13CopyOfThePotential) {
  TempDir dir;
  ParameterSet p;
  p.MODE = 3;
  p.RM = 1.0;
  p.POTH = 3.5;
  p.POT2 = 3.6;
  ASSERT_TRUE(saveDci(p, (dir / "c.dci").string()).written);
  EXPECT_EQ(p.POT2, 3.6);
  EXPECT_EQ(crlfLines(slurp(dir / "c.dci"))[10].substr(42, 13), "  .360000D+01");
}

TEST(DciWriter, RefusalWritesNothing) {
  TempDir dir;
  const fs::path file = dir / "r.dci";
  {
    std::ofstream(file, std::ios::binary) << "old";
  }
  ParameterSet p;  // MODE 3 with detached potentials
  const SaveOutcome out = saveDci(p, file.string());
  EXPECT_FALSE(out.written);
  EXPECT_FALSE(out.refusal.empty());
  EXPECT_EQ(slurp(file), "old");
  EXPECT_FALSE(fs::exists(dir / "n.dci"));
}

TEST(DciWriter, SnapKeepsTheRecordValues) {
  TempDir dir;
  ParameterSet p;
  p.MODE = 6;
  p.RM = 1.0;
  p.POTH = 3.7;
  p.POT2 = 3.8;
  const SaveOutcome out = saveDci(p, (dir / "s.dci").string());
  ASSERT_TRUE(out.written) << out.refusal;
  ASSERT_TRUE(out.text46 && out.text47);
  EXPECT_EQ(*out.text46, " 3.7500");
  EXPECT_EQ(*out.text47, " 3.7500");
  const auto l = crlfLines(slurp(dir / "s.dci"));
  EXPECT_EQ(l[10].substr(29, 26), "  .370000D+01  .380000D+01");
}

TEST(DciWriter, FailedWriteLeavesTheOldFile) {
  TempDir dir;
  ParameterSet p = oneLightCurve(4, 2);
  EXPECT_EQ(errorOf([&] { saveDci(p, (dir / "none" / "x.dci").string()); }), 76);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 0);
  p.curves[3].points[1].value = std::numeric_limits<double>::infinity();
  const fs::path file = dir / "x.dci";
  {
    std::ofstream(file, std::ios::binary) << "old";
  }
  EXPECT_EQ(errorOf([&] { saveDci(p, file.string()); }), 6);
  EXPECT_EQ(slurp(file), "old");
}
