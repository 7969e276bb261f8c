// The grid loop driven by a scripted DC: order of runs and fit steps, how
// results are applied, failed points, the summary, serial against parallel,
// cancel, and the real process driver on small shell programs.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>

#include "contour_test_support.h"
#include "contours/contour_file.h"
#include "model/dci_writer.h"
#include "shell/errors.h"

using namespace contourtest;

namespace {

std::vector<std::vector<int>> keysOf(const std::vector<SeenRun>& log) {
  std::vector<std::vector<int>> k;
  for (const SeenRun& r : log) k.push_back(r.zeroKeys);
  return k;
}

}  // namespace

TEST(ContourFitSteps, TableForEveryPair) {
  using K = std::vector<int>;
  auto keys = [](int x, int y) {
    K k;
    for (const FitStep& s : fitSteps(x, y)) k.push_back(s.key);
    return k;
  };
  EXPECT_EQ(keys(1, 2), (K{31, 23, 20}));
  EXPECT_EQ(keys(1, 3), (K{31, 23, 16}));
  EXPECT_EQ(keys(1, 4), (K{31, 16, 20}));
  EXPECT_EQ(keys(2, 1), (K{31, 23, 20}));
  EXPECT_EQ(keys(2, 3), (K{31, 25, 23}));
  EXPECT_EQ(keys(2, 4), (K{31, 25, 20}));
  EXPECT_EQ(keys(3, 1), (K{31, 23, 16}));
  EXPECT_EQ(keys(3, 2), (K{31, 25, 23}));
  EXPECT_EQ(keys(3, 4), (K{31, 25, 16}));
  EXPECT_EQ(keys(4, 1), (K{31, 16, 20}));
  EXPECT_EQ(keys(4, 2), (K{31, 25, 20}));
  EXPECT_EQ(keys(4, 3), (K{31, 25, 16}));
  EXPECT_EQ(keys(4, 5), (K{31, 20, 25, 16}));
  for (int x = 1; x <= 5; ++x) {
    EXPECT_TRUE(fitSteps(5, x).empty());
    EXPECT_TRUE(fitSteps(x, x).empty());
  }
  for (int x = 1; x <= 3; ++x) EXPECT_TRUE(fitSteps(x, 5).empty());
  // +delta only for (1,2) and (4,5); the tie only on potential 1 of (1,2).
  EXPECT_EQ(fitSteps(1, 2)[1].apply, FitStep::AddCorrection);
  EXPECT_TRUE(fitSteps(1, 2)[1].tiePotential2);
  EXPECT_EQ(fitSteps(2, 3)[1].apply, FitStep::TakeOutput);
  EXPECT_EQ(fitSteps(4, 5)[3].apply, FitStep::AddCorrection);
}

TEST(ContourEngine, ThreeByTwoMassRatioInclinationRunsAndValues) {
  GridDef s{1, 2, 0.2, 0.4, 3, 80, 86, 2, 1};
  ParameterSet base = exampleSet();
  base.MODE = 3;
  std::vector<SeenRun> log;
  // Every run corrects by 0.01 and each light curve's L1 by 0.5 and 0.25.
  Script script = [](const SeenRun& r) {
    Answer a;
    a.correction = 0.01;
    a.l1Corrections = {0.0, 0.25};
    a.sum = 1000 + 100 * r.p.RM + r.p.XINCL;
    return a;
  };
  ContourJob job = jobFor(s, base);
  Progress last;
  job.onProgress = [&](const Progress& p) { last = p; };
  const ContourOutcome o = computeGrid(job, scripted(script, &log));
  ASSERT_TRUE(o.computed);
  ASSERT_FALSE(o.cancelled);
  EXPECT_EQ(o.runs, 24);
  // Progress counts every run and the time they took.
  EXPECT_EQ(last.pointsDone, 6);
  EXPECT_EQ(last.runsDone, 24);
  EXPECT_EQ(last.runsTotal, 24);
  EXPECT_DOUBLE_EQ(last.runSeconds, 12);
  EXPECT_DOUBLE_EQ(remainingSeconds(last, 1), 0);
  ASSERT_EQ(log.size(), 24u);
  // Per point: L1, potential 1, T2, then the final run with no key set.
  for (size_t k = 0; k < 24; k += 4) {
    EXPECT_EQ(log[k].zeroKeys, std::vector<int>{31});
    EXPECT_EQ(log[k + 1].zeroKeys, std::vector<int>{23});
    EXPECT_EQ(log[k + 2].zeroKeys, std::vector<int>{20});
    EXPECT_TRUE(log[k + 3].zeroKeys.empty());
  }
  // X outer, Y inner: 0.2 0.2 0.3 0.3 0.4 0.4 and 80 86 80 86 ...
  const double xs[] = {0.2, 0.2, 0.3, 0.3, 0.4, 0.4};
  const double ys[] = {80, 86, 80, 86, 80, 86};
  for (int pnt = 0; pnt < 6; ++pnt) {
    EXPECT_NEAR(log[static_cast<size_t>(pnt * 4)].p.RM, xs[pnt], 1e-12);
    EXPECT_NEAR(log[static_cast<size_t>(pnt * 4)].p.XINCL, ys[pnt], 1e-12);
  }
  // +delta carries within a column and restarts with each new X value.
  const double pot0 = job.base.POTH, t20 = job.base.T2;
  EXPECT_NEAR(log[1].p.POTH, pot0, 1e-9);
  EXPECT_NEAR(log[2].p.POTH, pot0 + 0.01, 1e-9);
  EXPECT_NEAR(log[2].p.POT2, pot0 + 0.01, 1e-9);  // MODE 3 ties potential 2
  EXPECT_NEAR(log[3].p.T2, t20 + 100, 1e-6);      // T2 corrections are in 10000 K
  EXPECT_NEAR(log[5].p.POTH, pot0 + 0.01, 1e-9);  // second Y value carries on
  EXPECT_NEAR(log[9].p.POTH, pot0, 1e-9);         // new column: base set again
  // L1 of each light curve: own row's correction (row 1 carries 0.01).
  EXPECT_NEAR(log[1].p.curves[3].l1, job.base.curves[3].l1 + 0.01, 1e-6);
  EXPECT_NEAR(log[1].p.curves[4].l1, job.base.curves[4].l1 + 0.25, 1e-6);
  // The value is the last run's Sum(W*Res**2) for the input values.
  EXPECT_NEAR(o.grid.value(1, 1), 1000 + 30 + 86, 1e-6);
  EXPECT_NEAR(o.grid.wresMin, 1000 + 20 + 80, 1e-6);
  EXPECT_NEAR(o.grid.wresMax, 1000 + 40 + 86, 1e-6);
  EXPECT_TRUE(o.grid.dataReady);
  // The editor's final set: the last point of the last column.
  EXPECT_NEAR(o.finalParams.RM, 0.4, 1e-12);
  EXPECT_NEAR(o.finalParams.XINCL, 86, 1e-12);
  EXPECT_NEAR(o.finalParams.POTH, pot0 + 0.02, 1e-9);
  EXPECT_NEAR(o.finalResults.sumWResInput, 1000 + 40 + 86, 1e-6);
  // All keys back to "1".
  for (int k = 1; k <= kAdjustKeys; ++k) EXPECT_EQ(o.finalParams.adjustKeys[static_cast<size_t>(k)], '1');
  // The best point, with the set it was fitted with.
  ASSERT_TRUE(o.best);
  EXPECT_EQ(std::pair(o.best->i, o.best->j), std::pair(0, 0));
  EXPECT_NEAR(o.best->wres, 1000 + 20 + 80, 1e-6);
  EXPECT_NEAR(o.best->params.POTH, pot0 + 0.01, 1e-9);
  EXPECT_EQ(o.firstFailedI, -1);
  EXPECT_EQ(failureSummary(o), "");
}

TEST(ContourEngine, PointValuesTakeOnlyWhatTheMapChanges) {
  ParameterSet point = exampleSet(), p = exampleSet();
  point.MODE = p.MODE = 3;
  point.RM = 0.5, point.XINCL = 81, point.POTH = 4.4, point.POT2 = 4.4, point.T2 = 5100, point.ALB1 = 0.3;
  point.curves[3].l1 = 9, point.curves[4].l1 = 8;
  point.adjustKeys.fill('1');
  struct Row {
    GridDef g;
    bool rm, incl, poth, pot2, t2;
  };
  for (const Row& r : {Row{{1, 2}, true, true, true, true, true}, Row{{2, 3}, true, true, true, false, true},
                       Row{{4, 2}, true, true, true, false, true}, Row{{2, 4}, true, true, true, false, true},
                       Row{{1, 4}, true, true, true, false, true}, Row{{5, 1}, true, false, false, true, false}}) {
    ParameterSet q = p;
    takePointValues(q, point, r.g);
    const std::string at = std::to_string(r.g.xCode) + "," + std::to_string(r.g.yCode);
    EXPECT_EQ(q.RM == point.RM, r.rm) << at;
    EXPECT_EQ(q.XINCL == point.XINCL, r.incl) << at;
    EXPECT_EQ(q.POTH == point.POTH, r.poth) << at;
    EXPECT_EQ(q.POT2 == point.POT2, r.pot2) << at;
    EXPECT_EQ(q.T2 == point.T2, r.t2) << at;
    EXPECT_EQ(q.curves[3].l1 == 9 && q.curves[4].l1 == 8, !fitSteps(r.g.xCode, r.g.yCode).empty()) << at;
    EXPECT_EQ(q.ALB1, p.ALB1) << at;
    EXPECT_EQ(q.adjustKeys, p.adjustKeys) << at;
  }
}

TEST(ContourEngine, EstimateAndTimeLeft) {
  GridDef g{1, 2, 0, 1, 3, 0, 1, 2, 1};  // 3 columns of 2 points of 4 runs
  EXPECT_EQ(runsPerPoint(g), 4);
  EXPECT_EQ(runsPerPoint(GridDef{4, 5, 0, 1, 3, 0, 1, 2, 3}), 13);
  // Workers take whole columns: with 2 of them the third column runs alone.
  for (auto [workers, columns] : {std::pair{1, 3}, std::pair{2, 2}, std::pair{3, 1}, std::pair{8, 1}})
    EXPECT_DOUBLE_EQ(estimateSeconds(0.7, g, workers), 0.7 * 8 * columns) << workers;
  Progress p;
  p.runsTotal = 24;
  p.workers = 2;
  p.runsPerColumn = 8;
  p.workerRunsLeft = {8, 8};
  p.columnsPending = 1;
  EXPECT_DOUBLE_EQ(remainingSeconds(p, 0.02), 0.02 * 16);  // the timing run until runs finish
  p.runsDone = 6;
  p.runSeconds = 4.2;
  p.workerRunsLeft = {5, 7};  // the first free worker takes the last column
  EXPECT_DOUBLE_EQ(remainingSeconds(p, 0.02), 0.7 * 13);
  p.columnsPending = 0;
  p.workerRunsLeft = {0, 0};
  EXPECT_DOUBLE_EQ(remainingSeconds(p, 0.02), 0);
}

TEST(ContourEngine, TakeOutputStepsScaleT2AndIterate) {
  // Inclination vs potential 1: L1, mass ratio =out, T2 =out; 2 iterations.
  GridDef s{2, 4, 80, 90, 2, 4.5, 5.5, 2, 2};
  std::vector<SeenRun> log;
  Script script = [](const SeenRun& r) {
    Answer a;
    a.output = r.zeroKeys == std::vector<int>{25} ? 0.77 : 0.6123;
    a.sum = 50;
    return a;
  };
  const ContourOutcome o = computeGrid(jobFor(s, exampleSet()), scripted(script, &log));
  EXPECT_EQ(o.runs, 4 * (2 * 3 + 1));
  EXPECT_EQ(keysOf(log)[0], std::vector<int>{31});
  EXPECT_EQ(keysOf(log)[1], std::vector<int>{25});
  EXPECT_EQ(keysOf(log)[2], std::vector<int>{20});
  EXPECT_EQ(keysOf(log)[3], std::vector<int>{31});  // second iteration
  EXPECT_TRUE(keysOf(log)[6].empty());
  EXPECT_NEAR(log[2].p.RM, 0.77, 1e-9);
  EXPECT_NEAR(log[3].p.T2, 6123, 1e-6);
  EXPECT_DOUBLE_EQ(o.grid.wresMin, 50);
  // Single-value directions would need no step: M = 1 and N = 1 give one point.
  GridDef one{2, 4, 80, 90, 1, 4.5, 5.5, 1, 1};
  log.clear();
  const ContourOutcome o1 = computeGrid(jobFor(one, exampleSet()), scripted(script, &log));
  ASSERT_EQ(o1.grid.wres.size(), 1u);
  EXPECT_NEAR(log[0].p.XINCL, 80, 1e-12);
  EXPECT_NEAR(log[0].p.POTH, 4.5, 1e-12);
}

TEST(ContourEngine, FailedRunsMarkThePointWithoutTouchingTheRange) {
  GridDef s{3, 2, 4000, 5000, 3, 80, 90, 3, 1};  // T2 vs inclination
  auto failing = [](Answer::Kind kind) {
    return [kind](const SeenRun& r) {
      Answer a;
      a.output = 0.8;
      a.sum = 2000 + r.p.T2 / 10 + r.p.XINCL;
      // The centre point's fit step for the mass ratio fails.
      if (std::abs(r.p.T2 - 4500) < 1e-6 && std::abs(r.p.XINCL - 85) < 1e-9 && r.zeroKeys == std::vector<int>{25})
        a.kind = kind;
      return a;
    };
  };
  const std::pair<Answer::Kind, const char*> kinds[] = {
      {Answer::NoReport, "DC exit status 2: scripted failure"},
      {Answer::ErrorLine, "DC's solution failed: *ERR* solution failed: matrix singular"},
      {Answer::CutShort, "DC's report could not be read: Error 62: Input past end of file."}};
  for (const auto& [kind, why] : kinds) {
    const ContourOutcome o = computeGrid(jobFor(s, exampleSet()), scripted(failing(kind)));
    EXPECT_EQ(o.failedPoints, 1);
    EXPECT_DOUBLE_EQ(o.grid.value(1, 1), 99);
    EXPECT_EQ(o.runs, 9 * 4);  // the loop goes on
    EXPECT_NEAR(o.grid.wresMin, 2000 + 400 + 80, 1e-6);
    EXPECT_NEAR(o.grid.wresMax, 2000 + 500 + 90, 1e-6);
    EXPECT_EQ(o.firstFailure, why);
    EXPECT_EQ(failureSummary(o), std::string("1 of 9 grid points failed (marked 99). The first, at Temp, T2 4500, "
                                             "Inclination 85: ") + why);
  }
  // Every point failed: no range, no best point.
  const ContourOutcome none = computeGrid(jobFor(s, exampleSet()), scripted([](const SeenRun&) {
    Answer a;
    a.kind = Answer::NoReport;
    return a;
  }));
  EXPECT_EQ(none.failedPoints, 9);
  EXPECT_EQ(std::pair(none.firstFailedI, none.firstFailedJ), std::pair(0, 0));
  EXPECT_FALSE(wresRange(none.grid));
  EXPECT_FALSE(none.best);
}

TEST(ContourEngine, SummaryRangeFromSmallestValue) {
  GridDef s{1, 4, 0.5, 1.0, 2, 4, 6, 2, 1};
  Script script = [](const SeenRun& r) {
    Answer a;
    a.sum = (r.p.RM < 0.7 && r.p.POTH < 5) ? 1234.5 : 3000;
    return a;
  };
  const ContourOutcome o = computeGrid(jobFor(s, exampleSet()), scripted(script));
  EXPECT_DOUBLE_EQ(o.grid.wresMin, 1234.5);
  EXPECT_DOUBLE_EQ(o.grid.range.low, 1230);
  EXPECT_DOUBLE_EQ(o.grid.range.high, 4920);
  EXPECT_EQ(o.grid.range.decimals, -1);
  // The file: 7 + M x N lines, X outer, Y inner.
  const std::string text = contourFileText(o.grid);
  EXPECT_EQ(text.substr(text.find("\r\n1,") + 2),
            "1,.5,1,2\r\n4,4,6,2,1\r\n1234.5,0\r\n3000,0\r\n3000,0\r\n3000,0\r\n");
}

TEST(ContourEngine, PairsThatComputeNothing) {
  std::vector<SeenRun> log;
  const ContourOutcome o = computeGrid(jobFor(GridDef{5, 1, 4, 5, 3, 0.5, 1, 3, 1}, exampleSet()),
                                       scripted([](const SeenRun&) { return Answer{}; }, &log));
  EXPECT_FALSE(o.computed);
  EXPECT_TRUE(log.empty());
}

TEST(ContourEngine, ParallelColumnsGiveTheSerialFile) {
  GridDef s{2, 4, 80, 88, 5, 4.6, 5.4, 3, 1};
  // Answers depend only on what DC is given, so any order of runs must agree.
  Script script = [](const SeenRun& r) {
    Answer a;
    a.output = r.zeroKeys == std::vector<int>{25} ? 0.7 + 0.001 * r.p.XINCL : 0.5 + 0.01 * r.p.POTH;
    a.correction = 0.001 * r.p.XINCL;
    a.l1Corrections = {0, 0.002 * r.p.POTH};
    a.sum = 100 + (r.p.XINCL - 86) * (r.p.XINCL - 86) + 50 * (r.p.POTH - 5) * (r.p.POTH - 5) + r.p.curves[3].l1;
    // One failed point on the way.
    if (std::abs(r.p.XINCL - 84) < 1e-9 && std::abs(r.p.POTH - 5.0) < 1e-9 && r.zeroKeys.empty())
      a.kind = Answer::NoReport;
    return a;
  };
  ContourJob serial = jobFor(s, exampleSet());
  const ContourOutcome o1 = computeGrid(serial, scripted(script));
  for (int workers : {2, 3, 16}) {
    ContourJob par = serial;
    par.workers = workers;
    const ContourOutcome o2 = computeGrid(par, scripted(script));
    EXPECT_EQ(contourFileText(o1.grid), contourFileText(o2.grid)) << workers;
    EXPECT_EQ(o1.grid.wresMin, o2.grid.wresMin);
    EXPECT_EQ(o1.grid.wresMax, o2.grid.wresMax);
    EXPECT_EQ(dciText(o1.finalParams), dciText(o2.finalParams));
    EXPECT_EQ(o1.runs, o2.runs);
    EXPECT_EQ(o2.failedPoints, 1);
  }
  // Columns computed apart and joined give the same file.
  std::vector<PartialGrid> parts;
  for (auto [a, b] : {std::pair{0, 1}, std::pair{2, 2}, std::pair{3, 4}}) {
    ContourJob part = serial;
    part.firstColumn = a;
    part.lastColumn = b;
    const ContourOutcome o = computeGrid(part, scripted(script));
    parts.push_back(parsePartialText(partialFileText(o.grid, a, b)));
  }
  std::swap(parts[0], parts[2]);
  const ContourGrid merged = mergePartials(parts);
  EXPECT_EQ(contourFileText(merged), contourFileText(o1.grid));
  EXPECT_EQ(merged.wresMin, o1.grid.wresMin);
  EXPECT_EQ(merged.range, o1.grid.range);
}

TEST(ContourEngine, CancelStopsAfterRunsInFlight) {
  GridDef s{2, 4, 80, 88, 6, 4.6, 5.4, 6, 1};
  std::atomic<bool> cancel{false};
  std::vector<SeenRun> log;
  ContourJob job = jobFor(s, exampleSet());
  job.cancel = &cancel;
  job.workers = 2;
  job.onProgress = [&](const Progress& p) {
    EXPECT_EQ(p.pointsTotal, 36);
    if (p.pointsDone == 3) cancel = true;
  };
  const ContourOutcome o = computeGrid(job, scripted([](const SeenRun&) { return Answer{}; }, &log));
  EXPECT_TRUE(o.cancelled);
  EXPECT_FALSE(o.grid.dataReady);
  EXPECT_LT(log.size(), 36u * 4 / 2);
  EXPECT_EQ(dciText(o.finalParams), dciText(job.base));
}

// ---- The process driver on small shell programs -----------------------------

namespace {

struct TempDir {
  std::filesystem::path path;
  TempDir() {
    path = std::filesystem::temp_directory_path() /
           ("tavrin-contour-" + std::to_string(::getpid()) + "-" + std::to_string(counter()++));
    std::filesystem::create_directories(path);
  }
  ~TempDir() { std::filesystem::remove_all(path); }
  static int& counter() {
    static int n = 0;
    return n;
  }
  std::string script(const std::string& name, const std::string& body) const {
    const auto p = path / name;
    std::ofstream(p) << "#!/bin/sh\n" << body << "\n";
    std::filesystem::permissions(p, std::filesystem::perms::owner_all);
    return p.string();
  }
};

}  // namespace

TEST(ContourProcessDriver, RunsWaitsAndReadsTheReport) {
  TempDir t;
  // Echoes its input with a tag: the report is exactly what it wrote.
  const std::string exe = t.script("dc", "printf 'report of: '; cat; pwd > where.txt");
  ProcessDcDriver d(exe, t.path.string(), 10);
  const DcRun r = d.run("the input\r\n");
  ASSERT_EQ(r.status, DcRun::Ok) << r.detail;
  EXPECT_EQ(r.dco, "report of: the input\r\n");
  EXPECT_EQ(readWholeFile((t.path / "Contour.dci").string()), "the input\r\n");
  // DC works in its own folder.
  EXPECT_NE(readWholeFile((t.path / "where.txt").string()).find(t.path.filename().string()), std::string::npos);
}

TEST(ContourProcessDriver, SlowRunIsKilledAfterTheTimeout) {
  TempDir t;
  const std::string exe = t.script("dc", "exec sleep 30");
  ProcessDcDriver d(exe, t.path.string(), 0.3);
  const auto t0 = std::chrono::steady_clock::now();
  const DcRun r = d.run("x");
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_EQ(r.status, DcRun::TimedOut);
  EXPECT_LT(s, 5.0);
  EXPECT_GE(s, 0.29);
  EXPECT_DOUBLE_EQ(runTimeout(0.5), 60);
  EXPECT_DOUBLE_EQ(runTimeout(4), 80);
}

TEST(ContourProcessDriver, MissingOrCrashingProgramFails) {
  TempDir t;
  ProcessDcDriver missing((t.path / "nothing-here").string(), t.path.string(), 5);
  EXPECT_NE(missing.run("x").status, DcRun::Ok);
  const std::string crash = t.script("dc", "kill -SEGV $$");
  ProcessDcDriver d(crash, t.path.string(), 5);
  EXPECT_EQ(d.run("x").status, DcRun::Failed);
  // A folder that cannot be written: nothing starts, the run fails.
  ProcessDcDriver nowhere(crash, (t.path / "no" / "such").string(), 5);
  EXPECT_EQ(nowhere.run("x").status, DcRun::Failed);
}

TEST(ContourProcessDriver, ScratchFoldersHoldDcsCompanionsAndAreRemoved) {
  TempDir t, program;
  // Like the real DC: its tables are opened by relative name from the working folder.
  const std::string exe = program.script("dc", "cat > /dev/null; [ -f atmcof.dat ] && echo ok && exit 0\n"
                                               "echo ignored >&2; echo \"Can't open file 'atmcof.dat'\" >&2; exit 2");
  std::ofstream((program.path / "atmcof.dat").string()) << "table\n";
  {
    ScratchDrivers drivers(exe, t.path.string(), 10, "base\r\n");
    auto f = drivers.factory();
    auto a = f(0, 2), b = f(1, 2), one = f(0, 1);
    auto* pa = dynamic_cast<ProcessDcDriver*>(a.get());
    auto* pb = dynamic_cast<ProcessDcDriver*>(b.get());
    ASSERT_TRUE(pa && pb);
    EXPECT_NE(pa->folder(), pb->folder());
    // A single worker too: the data folder gets no DCI, report or links of DC's.
    EXPECT_NE(dynamic_cast<ProcessDcDriver*>(one.get())->folder(), t.path.string());
    EXPECT_EQ(readWholeFile(pa->folder() + "/Contour0.dci"), "base\r\n");
    EXPECT_EQ(readWholeFile(pb->folder() + "/atmcof.dat"), "table\n");
    EXPECT_EQ(a->run("x").dco, "ok\n");
    EXPECT_EQ(b->run("x").dco, "ok\n");
  }
  int left = 0;
  for (const auto& e : std::filesystem::directory_iterator(t.path)) left += e.is_directory() ? 1 : 0;
  EXPECT_EQ(left, 0);
  EXPECT_TRUE(std::filesystem::exists(program.path / "atmcof.dat"));  // links removed, not their targets
  // Without the table DC fails, and says why.
  std::filesystem::remove(program.path / "atmcof.dat");
  ScratchDrivers drivers(exe, t.path.string(), 10, "");
  const DcRun r = drivers.factory()(0, 1)->run("x");
  EXPECT_EQ(r.status, DcRun::Failed);
  EXPECT_EQ(r.detail, "DC exit status 2: Can't open file 'atmcof.dat'");
  EXPECT_EQ(lastLine("a\r\n  b c \r\n\r\n  \n"), "b c");
  EXPECT_EQ(lastLine(" \n"), "");
}
