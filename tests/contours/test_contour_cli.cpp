// tavrin-cli contour, contour-merge and contour-render end to end with the
// stand-in DC: serial and parallel runs and a split over GNU parallel give
// the same file; bad arguments are refused with their messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "contours/contour_file.h"
#include "shell/atomic_file.h"

namespace fs = std::filesystem;
using namespace tavrin;

namespace {

const std::string kCli = std::string(TAVRIN_BINARY_DIR) + "/src/cli/tavrin-cli";
const std::string kDc = std::string(TAVRIN_BINARY_DIR) + "/src/standins/Solvex";
const std::string kExample = std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci";

struct Result {
  int code = -1;
  std::string err;
};

Result run(const std::string& args, const fs::path& dir) {
  const std::string errFile = (dir / "stderr.txt").string();
  const std::string cmd = "cd '" + dir.string() + "' && '" + kCli + "' " + args + " 2>'" + errFile + "' >/dev/null";
  const int st = std::system(cmd.c_str());
  Result r;
  r.code = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.err = readWholeFile(errFile);
  return r;
}

class ContourCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("tavrin-contour-cli-" + std::to_string(::getpid()));
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  fs::path dir;
  // Inclination against potential 1 around the example's true values.
  const std::string grid = "'" + kExample + "' --x 2:83:89:7 --y 4:4.7:5.3:7 --iterations 1 --dc '" + kDc + "'";
};

}  // namespace

TEST_F(ContourCli, SerialParallelAndSplitRunsGiveOneFile) {
  const Result a = run("contour " + grid + " --jobs 1 --out serial.txt", dir);
  ASSERT_EQ(a.code, 0) << a.err;
  EXPECT_NE(a.err.find("49/49 points"), std::string::npos) << a.err;
  const Result b = run("contour " + grid + " --jobs 2 --out parallel.txt", dir);
  ASSERT_EQ(b.code, 0) << b.err;
  const std::string serial = readWholeFile((dir / "serial.txt").string());
  EXPECT_EQ(serial, readWholeFile((dir / "parallel.txt").string()));
  const contours::ContourGrid g = contours::parseContourText(serial);
  EXPECT_EQ(g.gridDef.M, 7);
  EXPECT_EQ(g.wres.size(), 49u);
  // The valley: the smallest value lies near the true inclination (86) and potential (5.0).
  size_t best = 0;
  for (size_t k = 0; k < g.wres.size(); ++k)
    if (g.wres[k] < g.wres[best]) best = k;
  const double incl = 83 + static_cast<double>(best / 7), pot = 4.7 + 0.1 * static_cast<double>(best % 7);
  EXPECT_NEAR(incl, 86, 2.01);
  EXPECT_NEAR(pot, 5.0, 0.21);
  EXPECT_LT(g.wresMin * 2, g.wresMax);
  // Scratch folders are gone.
  for (const auto& e : fs::directory_iterator(dir)) EXPECT_FALSE(e.is_directory()) << e.path();

  // Split over GNU parallel, joined, equals the single run.
  if (std::system("command -v parallel >/dev/null 2>&1") != 0) {
    GTEST_SKIP() << "GNU parallel is not installed (scripts/setup installs it); split and merge not tested";
  }
  const std::string split = "cd '" + dir.string() + "' && parallel --will-cite -j 3 '" + kCli + "' contour " + grid +
                            " --jobs 1 --columns {} --out part{#}.txt ::: 0-2 3-4 5-6 2>/dev/null";
  ASSERT_EQ(std::system(split.c_str()), 0);
  const Result m = run("contour-merge part3.txt part1.txt part2.txt --out merged.txt", dir);
  ASSERT_EQ(m.code, 0) << m.err;
  EXPECT_EQ(readWholeFile((dir / "merged.txt").string()), serial);

  // Rendering the computed grid.
  const Result r = run("contour-render serial.txt --zoom 5 --colours --contours --out map.png --size 800x500", dir);
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_GT(fs::file_size(dir / "map.png"), 1000u);
  const Result partial = run("contour-render part1.txt --zoom 5 --out p.png", dir);
  EXPECT_EQ(partial.code, 1);
  EXPECT_NE(partial.err.find("contour-merge"), std::string::npos);
}

// A DC that, like the real one, needs a table from its program folder in its
// working folder, and fails (with a run-time error) on the runs FAIL_FROM..FAIL_TO
// of each worker.
TEST_F(ContourCli, CompanionFilesAndFailedPoints) {
  const fs::path program = dir / "program";
  fs::create_directories(program);
  const std::string dc = (program / "Solvex").string();
  writeFileAtomically(dc,
                      "#!/bin/sh\n"
                      "[ -f atmcof.dat ] || { echo \"Fortran runtime error: Cannot open file 'atmcof.dat'\" >&2; exit 2; }\n"
                      "n=$(($(cat count 2>/dev/null || echo 0) + 1)); echo $n > count\n"
                      "if [ $n -ge ${FAIL_FROM:-0} ] && [ $n -le ${FAIL_TO:--1} ]; then\n"
                      "  echo ' Program stopped in PLANCKINT'; echo 'Fortran runtime error: Bad value' >&2; exit 2; fi\n"
                      "exec '" + kDc + "'\n");
  fs::permissions(dc, fs::perms::owner_all);
  writeFileAtomically((program / "atmcof.dat").string(), "table\n");
  const std::string args = "contour '" + kExample + "' --x 2:84:88:3 --y 4:4.8:5.2:3 --jobs 2 --dc '" + dc + "' --out m.txt";
  struct Row {
    const char *from, *to;
    int code;
    const char* said;  // in the messages
    size_t failed;     // points marked 99 in the file
  };
  // Two workers: the second point of each one's first column fails.
  for (const Row& r : {Row{"0", "-1", 0, "0 failed point(s), Wres ", 0},
                       Row{"6", "6", 1,
                           "2 of 9 grid points failed (marked 99). The first, at Inclination 84, Omega1 5: "
                           "DC exit status 2: Fortran runtime error: Bad value", 2},
                       Row{"2", "999", 1, "9 of 9 grid points failed", 9}}) {
    setenv("FAIL_FROM", r.from, 1);
    setenv("FAIL_TO", r.to, 1);
    const Result res = run(args, dir);
    EXPECT_EQ(res.code, r.code) << res.err;
    EXPECT_NE(res.err.find(r.said), std::string::npos) << res.err;
    EXPECT_EQ(res.err.find("999"), std::string::npos) << res.err;
    const contours::ContourGrid g = contours::parseContourText(readWholeFile((dir / "m.txt").string()));
    EXPECT_EQ(static_cast<size_t>(std::count(g.wres.begin(), g.wres.end(), 99.0)), r.failed) << r.from;
  }
  unsetenv("FAIL_FROM");
  unsetenv("FAIL_TO");
  fs::remove(program / "atmcof.dat");
  const Result res = run(args, dir);
  EXPECT_EQ(res.code, 1);
  EXPECT_NE(res.err.find("timing run of DC failed"), std::string::npos) << res.err;
  EXPECT_NE(res.err.find("DC exit status 2: Fortran runtime error: Cannot open file 'atmcof.dat'"), std::string::npos);
}

TEST_F(ContourCli, RefusalsAndBadArguments) {
  EXPECT_EQ(run("contour", dir).code, 2);
  EXPECT_EQ(run("contour x.dci --x 2:80:90 --y 4:4:5:3 --out o.txt", dir).code, 2);
  EXPECT_EQ(run("contour x.dci --x 9:80:90:3 --y 4:4:5:3 --out o.txt", dir).code, 2);
  Result r = run("contour '" + kExample + "' --x 2:90:80:3 --y 4:4:5:3 --dc '" + kDc + "' --out o.txt", dir);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Sorry, Minimum X must be less than the maximum X."), std::string::npos) << r.err;
  r = run("contour '" + kExample + "' --x 2:80:90:3 --y 2:4:5:3 --dc '" + kDc + "' --out o.txt", dir);
  EXPECT_NE(r.err.find("Sorry, you must select different parameters for X and Y."), std::string::npos);
  r = run("contour '" + kExample + "' --x 5:4:5:3 --y 1:0.5:1:3 --dc '" + kDc + "' --out o.txt", dir);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("computes nothing"), std::string::npos);
  r = run("contour missing.dci --x 2:80:90:3 --y 4:4:5:3 --dc '" + kDc + "' --out o.txt", dir);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Error 53: File not found."), std::string::npos) << r.err;
  r = run("contour '" + kExample + "' --x 2:80:90:3 --y 4:4:5:3 --dc /nonexistent/Solvex --out o.txt", dir);
  EXPECT_EQ(r.code, 1);
  r = run("contour '" + kExample + "' --x 2:80:90:3 --y 4:4:5:3 --columns 2-7 --dc '" + kDc + "' --out o.txt", dir);
  EXPECT_EQ(r.code, 2);
  EXPECT_FALSE(fs::exists(dir / "o.txt"));

  writeFileAtomically((dir / "g.txt").string(),
                      "\"a\"\r\n\"b\"\r\n\"c\"\r\n\"d\"\r\n\"e\"\r\n1,0,1,2\r\n2,0,1,2,1\r\n1,0\r\n2,0\r\n3,0\r\n4,0\r\n");
  r = run("contour-render g.txt --zoom 5 --out g.png", dir);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("at least 3 points"), std::string::npos) << r.err;
  r = run("contour-render missing.txt --zoom 5 --out g.png", dir);
  EXPECT_NE(r.err.find("Error 53"), std::string::npos);
  r = run("contour-merge g.txt --out m.txt", dir);
  EXPECT_EQ(r.code, 1);
  EXPECT_NE(r.err.find("Error 321"), std::string::npos) << r.err;
  EXPECT_EQ(run("contour-merge --out m.txt", dir).code, 2);
}
