#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <sstream>

#include "model/dci_writer.h"
#include "model/lci_writer.h"
#include "shell/errors.h"
#include "model/settings_words.h"
#include "test_files.h"

using namespace tavrin;
using namespace tavrin::testing_support;
namespace fs = std::filesystem;

namespace {

std::string golden(const char* name) { return slurp(goldenPath("model", name)); }

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const TavrinError& e) {
    EXPECT_EQ(std::string(e.what()), errorMessage(e.number()));
    return e.number();
  }
  return 0;
}

// The start-up set in detached mode with two spots on star 1 and one on star 2.
ParameterSet spottedDetached() {
  ParameterSet p = withSettings("MODE=2 spots=2,1 spot1.1=1.5,0.25,0.2,0.9 spot1.2=2.0943951,3.14159265,0.17453293,1.05 "
                                "spot2.1=0.5235988,-1.0,0.0872665,0.75");
  p.totalSpotCount = 3;
  return p;
}

// With both velocity curves (the second without a data file and without
// points) and two light curves.
ParameterSet fullSet(int nppl) {
  // Key 30 is written as "1".
  ParameterSet p = withSettings("keys=9,16,30,31 IFVC1=1 IFVC2=1 NLC=2 NPPL=" + std::to_string(nppl), spottedDetached());
  p.spotBNumber = 2, p.velocityCurveCount = 2;
  // band, file, wavel, l1, l2, x1, x2, y1, y2, el3, opsf, noise, sigma, points
  p.curves[1] = {7, "velocity_curve_of_the_primary_star_observed_2019.csv", 0.55, 7.84139, 0.90038, 0.535, 0.535,
                 0.281, 0.281, 0, 0, 0, 2.5, {{0.05, -88.3864, 1.0}, {0.25, 45.5, 0.5}, {0.75, -12.125, 2.0}}};
  p.curves[2] = {7, "", 0.55, 0.5, 1.25, 0.6, 0.6, 0.2, 0.2, 0, 3, 0, 0.012, {}};
  p.curves[3] = {6, "a_rather_long_photometry_file_name_for_the_blue_band_2019.dat", 0.44, 9.5, 1.2345, 0.7, 0.65,
                 0.25, 0.22, 0.05, 0, 1, 0.015, {}};
  const double v[] = {0.9987, 0.9954, 0.9876, 0.9712, 0.9533, 0.9301, 0.9122, 0.9, 0.8876, 0.8654, 0.8432, 0.8210};
  for (int i = 0; i < 12; ++i) p.curves[3].points.push_back({0.01 * (i + 1), v[i], i == 3 ? 0.25 : 1.0});
  p.curves[4] = {7, "v.dat", 0.55, 8.25, 0.75, 0.55, 0.5, 0.3, 0.28, 0, 0, 0, 0.02,
                 {{-0.0025, 12.3456, 10.0}, {7522.66433, 9.87, 1.0}}};
  return p;
}

ParameterSet oneLightCurve(int points, int nppl) {
  ParameterSet p = withSettings("MODE=2 NLC=1 NPPL=" + std::to_string(nppl));
  for (int i = 1; i <= points; ++i) p.curves[3].points.push_back({0.001 * i, 1.0, 1.0});
  return p;
}

// What a save reports, the set's potentials after it, and the file it left.
std::string saved(ParameterSet& p, bool lci, const fs::path& file) {
  const SaveOutcome out = lci ? saveLci(p, file.string()) : saveDci(p, file.string());
  return "written " + std::to_string(out.written) + " refusal [" + out.refusal + "] text46 [" + out.text46.value_or("-") +
         "] text47 [" + out.text47.value_or("-") + "] POTH " + std::to_string(p.POTH) + " POT2 " + std::to_string(p.POT2) + "\n";
}

}  // namespace

TEST(Writers, GoldenFilesTextAndSave) {
  EXPECT_EQ(lciText(spottedDetached()), golden("lci_defaults_spots.lci"));
  EXPECT_EQ(dciText(fullSet(1)), golden("dci_curves_nppl1.dci"));
  EXPECT_EQ(dciText(fullSet(5)), golden("dci_curves_nppl5.dci"));
  TempDir dir;
  ParameterSet l = spottedDetached();
  const SaveOutcome lout = saveLci(l, (dir / "a.lci").string());
  EXPECT_TRUE(lout.written);
  EXPECT_TRUE(lout.refusal.empty());
  EXPECT_EQ(slurp(dir / "a.lci"), golden("lci_defaults_spots.lci"));
  // A DCI save also fills the record buffer.
  ParameterSet p = fullSet(5);
  ASSERT_TRUE(saveDci(p, (dir / "g.dci").string()).written);
  EXPECT_EQ(slurp(dir / "g.dci"), golden("dci_curves_nppl5.dci"));
  const auto lines = crlfLines(golden("dci_curves_nppl5.dci"));
  for (size_t r = 1; r <= 15; ++r) EXPECT_EQ(p.storedDciRecords[r], lines[r - 1]) << r;
  EXPECT_TRUE(p.storedDciRecords[16].empty());
}

// Texts and saves of many small sets in one golden: start-up fields, spot
// lists, negative values, point lines, the potential checks' copies, snaps
// and refusals.
TEST(Writers, OutputsOfSmallSets) {
  TempDir dir;
  std::string all;
  ParameterSet p;
  int n = 0;
  for (const auto& c : tableRows(goldenPath("model", "writer_cases.tsv"))) {
    if (c[1].rfind("again", 0) != 0) p = ParameterSet{};
    std::istringstream settings(c.size() > 2 ? c[2] : "");
    for (std::string s; settings >> s;)
      if (s.rfind("light=", 0) == 0) p = oneLightCurve(std::stoi(s.substr(6)), std::stoi(s.substr(s.find(',') + 1)));
      else applySettings(p, s);
    const bool lci = c[1].find("lci") != std::string::npos, save = c[1].find(' ') != std::string::npos;
    const fs::path file = dir / (std::to_string(c[1].rfind("again", 0) == 0 ? n : ++n) + (lci ? ".lci" : ".dci"));
    if (c[1].find("over") != std::string::npos) spit(file, "old contents\n");
    all += "== " + c[0] + "\n";
    try {
      if (c[1].find("lines") != std::string::npos)
        all += std::to_string(crlfLines(lci ? lciText(p) : dciText(p)).size()) + " lines\n";
      else if (!save) all += lci ? lciText(p) : dciText(p);
      else all += saved(p, lci, file);
    } catch (const TavrinError& e) {
      all += std::string(e.what()) + "\n";
    }
    if (save && c[1].find("lines") == std::string::npos) all += fs::exists(file) ? slurp(file) : "(no file)\n";
  }
  expectGolden("model", "writer_outputs.txt", all);
  const ParameterSet one = oneLightCurve(2, 1);
  EXPECT_EQ(dciRecords(one).size(), 12u);
  EXPECT_EQ(crlfLines(dciText(one))[11], dciRecords(one)[11]);
}

TEST(Writers, EndLineCountsTheRealPointsOfTheLastLine) {
  for (int nppl = 1; nppl <= 5; ++nppl)
    for (int n = 0; n <= 11; ++n) {
      const auto l = crlfLines(dciText(oneLightCurve(n, nppl)));
      const int rounded = n == 0 ? 0 : ((n - 1) / nppl + 1) * nppl;
      const int onLast = n == 0 ? nppl : n - (rounded - nppl);
      EXPECT_EQ(l.back(), "  " + std::to_string(-10000 - onLast) + ".") << "n=" << n << " nppl=" << nppl;
      EXPECT_EQ(l.size(), 15u + static_cast<size_t>(rounded / nppl) + 1) << "n=" << n << " nppl=" << nppl;
    }
}

TEST(Writers, FailuresLeaveTheOldFile) {
  TempDir dir;
  ParameterSet p = oneLightCurve(4, 2);
  fs::create_directories(dir / "taken.lci");
  EXPECT_NE(errorOf([&] { saveLci(p, (dir / "taken.lci").string()); }), 0);
  EXPECT_TRUE(fs::is_directory(dir / "taken.lci"));
  EXPECT_EQ(filesIn(dir.path()), 1u);
  // Values that cannot be formatted stop the save before the file is touched.
  spit(dir / "x.dci", "old");
  p.curves[3].points[1].value = std::numeric_limits<double>::infinity();
  EXPECT_EQ(errorOf([&] { saveDci(p, (dir / "x.dci").string()); }), 6);
  EXPECT_EQ(slurp(dir / "x.dci"), "old");
  EXPECT_EQ(filesIn(dir.path()), 2u);
}
