#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "model/observation_file.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace tavrin::testing_support;

namespace {

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const TavrinError& e) {
    return e.number();
  }
  return 0;
}

std::string unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size()) {
      const char c = s[++i];
      out += c == 'n' ? '\n' : c == 'r' ? '\r' : c == 't' ? '\t' : c;
    } else {
      out += s[i];
    }
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

TEST(ObservationFiles, NineThousandPointsLoadAndOneMoreFails) {
  TempDir dir;
  std::string text;
  for (int i = 0; i < 9000; ++i) text += std::to_string(i) + ",1.5,1\n";
  spit(dir / "9000.csv", text);
  EXPECT_EQ(readObservationFile((dir / "9000.csv").string()).size(), 9000u);
  spit(dir / "9001.csv", text + "9000,1.5,1\n");
  EXPECT_EQ(errorOf([&] { readObservationFile((dir / "9001.csv").string()); }), 9);
}

TEST(ObservationFiles, LoadFillsTheCurveOnlyWhenTheWholeFileWasRead) {
  TempDir dir;
  const std::string folder = dir.path().string();
  spit(dir / "rv2.csv", "phase,rv\n0.1,-50\n0.6,50\n");
  spit(dir / "rv1.csv", "0.1,-50,1\n0.6,50,1\n");
  spit(dir / "lc.csv", "0.1,1.0,1\n0.6,0.5,1\n");
  spit(dir / "blank.txt", "0.1 1 1\n0.2 1 1\n");
  ParameterSet p;
  p.curves[2].dataFile = "rv2.csv";
  loadObservationFile(p, 2, folder);  // velocity curves switch on
  EXPECT_EQ(p.IFVC2, 1);
  EXPECT_EQ(p.IFVC1, 0);
  EXPECT_EQ(pointsText(p.curves[2].points), "2 points (0.10000000000000001 -50 1) (0.59999999999999998 50 1)");
  loadObservationFile(p, 1, folder, "rv1.csv");
  EXPECT_EQ(p.IFVC1, 1);
  EXPECT_EQ(p.curves[1].dataFile, "rv1.csv");
  ParameterSet q;
  loadObservationFile(q, 5, folder, "lc.csv");
  EXPECT_EQ(q.curves[5].points.size(), 2u);
  EXPECT_EQ(q.IFVC1 + q.IFVC2, 0);
  // A file without commas empties the curve.
  q.curves[3].points = {{1, 2, 3}};
  loadObservationFile(q, 3, folder, "blank.txt");
  EXPECT_TRUE(q.curves[3].points.empty());
  EXPECT_EQ(q.curves[3].dataFile, "blank.txt");

  std::string many;
  for (int i = 0; i < 9001; ++i) many += std::to_string(i) + ",1,1\n";
  spit(dir / "9001.csv", many);
  spit(dir / "garbage.csv", "1,2,3\n4,5,6\nnot,a,number\n");
  ParameterSet r;
  r.curves[1].dataFile = "old.csv";
  r.curves[1].points = {{1, 2, 3}, {4, 5, 6}};
  for (const char* name : {"9001.csv", "garbage.csv", "missing.csv"}) {
    EXPECT_NE(errorOf([&] { loadObservationFile(r, 1, folder, name); }), 0) << name;
    EXPECT_EQ(r.curves[1].dataFile, "old.csv");
    EXPECT_EQ(pointsText(r.curves[1].points), "2 points (1 2 3) (4 5 6)");
    EXPECT_EQ(r.IFVC1, 0);
  }
  // Curves 1..7 only; no name is no file.
  spit(dir / "ok.csv", "1,2\n3,4\n");
  r.curves[1].dataFile = "ok.csv";
  EXPECT_EQ(errorOf([&] { loadObservationFile(r, 8, folder); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(r, 0, folder, "ok.csv"); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(r, -3, folder, "ok.csv"); }), 9);
  EXPECT_EQ(errorOf([&] { loadObservationFile(r, 3, folder, ""); }), 53);
}
