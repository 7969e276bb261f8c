#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "model/observation_file.h"
#include "shell/errors.h"
#include "test_files.h"
#include "error_of.h"

using namespace tavrin;
using namespace tavrin::testing_support;

namespace {

// The cell with \n, \r and \t for their characters (and \x for x).
std::string unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    const char c = s[i] == '\\' && i + 1 < s.size() ? s[++i] : '\0';
    out += c == '\0' ? s[i] : c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
  }
  return out;
}

std::string pointsText(const std::vector<ObservationPoint>& pts) {
  std::string s = std::to_string(pts.size()) + " points";
  char b[96];
  for (const auto& p : pts) {
    std::snprintf(b, sizeof b, " (%.17g %.17g %.17g)", p.time, p.value, p.weight);
    s += b;
  }
  return s;
}

}  // namespace

// Every file as the points it gives, or the error with its message; the
// message keeps the table's text first, then names the file and the line.
TEST(ObservationFiles, ReadAsPointsOrErrors) {
  TempDir dir;
  std::string out;
  int n = 0;
  for (const auto& c : tableRows(goldenPath("model", "observation_cases.tsv"))) {
    const std::string path = (dir / ("f" + std::to_string(++n) + ".csv")).string();
    spit(path, unescape(c.size() > 1 ? c[1] : ""));
    out += c[0] + ": ";
    try {
      out += pointsText(readObservationFile(path)) + "\n";
    } catch (const TavrinError& e) {
      std::string what = e.what();
      what.replace(what.find(path), path.size(), "FILE");
      out += "error " + std::to_string(e.number()) + " [" + what + "]\n";
      EXPECT_EQ(e.detail().rfind("File: " + path, 0), 0u) << c[0];
    }
  }
  expectGolden("model", "observation_files.txt", out);
  EXPECT_EQ(errorOf([&] { readObservationFile((dir / "absent.csv").string()); }), 53);
  std::string junk("1,2,3\n", 6);
  for (int i = 0; i < 4096; ++i) junk += static_cast<char>((i * 37) & 0xff);
  spit(dir / "junk.bin", junk);
  EXPECT_NE(errorOf([&] { readObservationFile((dir / "junk.bin").string()); }), 0);
}

// Curve 1 and 2 switch their velocity curves on; a file without commas
// empties the curve; a failed load leaves the curve as it was; curves 1..7 only.
TEST(ObservationFiles, LoadFillsTheCurveOnlyWhenTheWholeFileWasRead) {
  TempDir dir;
  const std::string folder = dir.path().string();
  std::string many;
  for (int i = 0; i < 9001; ++i) many += std::to_string(i) + ",1,1\n";
  for (const auto& [name, text] : std::vector<std::pair<std::string, std::string>>{
           {"rv2.csv", "phase,rv\n0.1,-50\n0.6,50\n"}, {"rv1.csv", "0.1,-50,1\n0.6,50,1\n"},
           {"blank.txt", "0.1 1 1\n0.2 1 1\n"}, {"9001.csv", many}, {"garbage.csv", "1,2,3\n4,5,6\nnot,a,number\n"}})
    spit(dir / name, text);
  spit(dir / "9000.csv", many.substr(0, many.rfind("9000,")));  // nine thousand points load, one more fails
  EXPECT_EQ(readObservationFile((dir / "9000.csv").string()).size(), 9000u);
  EXPECT_EQ(errorOf([&] { readObservationFile((dir / "9001.csv").string()); }), 9);
  ParameterSet p;
  p.curves[2].dataFile = "rv2.csv";
  p.curves[3].points = {{1, 2, 3}};
  p.curves[4].dataFile = "old.csv";
  p.curves[4].points = {{1, 2, 3}, {4, 5, 6}};
  loadObservationFile(p, 2, folder);
  EXPECT_EQ(p.IFVC2 * 10 + p.IFVC1, 10);
  for (const char* name : {"9001.csv", "garbage.csv", "missing.csv"})
    for (int curve : {1, 4}) EXPECT_NE(errorOf([&] { loadObservationFile(p, curve, folder, name); }), 0) << name;
  EXPECT_EQ(p.IFVC1, 0);
  EXPECT_EQ(p.curves[1].dataFile, "");
  loadObservationFile(p, 1, folder, "rv1.csv");
  loadObservationFile(p, 3, folder, "blank.txt");
  loadObservationFile(p, 5, folder, "rv1.csv");  // a light curve switches nothing
  std::string curves = "IFVC1 " + std::to_string(p.IFVC1) + " IFVC2 " + std::to_string(p.IFVC2) + "\n";
  for (size_t c = 1; c <= 5; ++c) curves += p.curves[c].dataFile + ": " + pointsText(p.curves[c].points) + "\n";
  expectGolden("model", "observation_load.txt", curves);
  EXPECT_EQ(errorOf([&] { loadObservationFile(p, 8, folder); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(p, 0, folder, "rv1.csv"); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(p, -3, folder, "rv1.csv"); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(p, 6, folder, ""); }), 53);
}
