// The grid loop driven by a scripted DC: order of runs and fit steps, how
// results are applied, failed points, the summary, serial against parallel,
// cancel, and the real process driver on small shell programs. What DC was
// given and the whole outcome are compared with golden files.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <sstream>
#include <thread>

#include "contours/contour_engine.h"
#include "contours/contour_file.h"
#include "model/dci_writer.h"
#include "shell/atomic_file.h"
#include "../runs/run_test_support.h"

using namespace tavrin;
using namespace tavrin::contours;
using tavrin::testing_support::expectGolden;

namespace {

// A scripted DC for the contour engine: it reads every DCI it is given,
// records the set and the keys set to "0", and answers with a DCO built by a
// script from what it saw, so the answers do not depend on the order of runs.
struct SeenRun {
  ParameterSet p;
  std::vector<int> zeroKeys;  // keys "0" in the DCI, ascending
};

// What the scripted DC answers: the first-row correction and output, the
// per-light-curve corrections, the Sum(W*Res**2) for the input values; or
// failure (no report) / DC's error line.
struct Answer {
  double correction = 0, output = 0;
  std::vector<double> l1Corrections{0.0, 0.0};
  double sum = 1.0;
  enum Kind { Report, NoReport, ErrorLine, CutShort } kind = Report;
};
using Script = std::function<Answer(const SeenRun&)>;

using tavrin::testing_support::dcNumber;
using tavrin::testing_support::exampleSet;

// A report of DC's unknowns for the keys the DCI set: one row per key, one
// per light curve for L1 (the first curve's correction is `correction`).
inline std::string dcoFor(const Answer& a, const ParameterSet& p, const std::vector<int>& zeroKeys) {
  testreports::DcoSpec s;
  s.keys = testreports::dcoKeyLine(zeroKeys);
  s.switches = std::to_string(p.IFVC1) + "      " + std::to_string(p.IFVC2) + "      " + std::to_string(p.NLC);
  s.velocityL2.assign(static_cast<size_t>(p.IFVC1 + p.IFVC2), "0.9000000");
  s.lightL2.assign(static_cast<size_t>(p.NLC), "1.5000000");
  s.rows.clear();
  for (int k : zeroKeys) {
    if (k != 31) {
      s.rows.push_back({k, 0, dcNumber(0), dcNumber(a.correction), dcNumber(a.output), dcNumber(0.001)});
      continue;
    }
    for (int n = 1; n <= p.NLC; ++n) {
      const double c = n == 1 ? a.correction : static_cast<size_t>(n) <= a.l1Corrections.size() ? a.l1Corrections[static_cast<size_t>(n - 1)] : 0.0;
      s.rows.push_back({31, n, dcNumber(0), dcNumber(c), dcNumber(0), dcNumber(0.001)});
    }
  }
  s.correlation.assign(s.rows.size(), std::vector<std::string>(s.rows.size(), "0.00000"));
  for (size_t i = 0; i < s.rows.size(); ++i) s.correlation[i][i] = "1.00000";
  tavrin::testing_support::scriptedSums(s, a.sum, a.kind == Answer::ErrorLine);
  if (a.kind == Answer::CutShort) s.marker = s.sumsPrinted = false;
  return testreports::join(testreports::dcoLines(s));
}

class ScriptedDc : public DcDriver {
 public:
  ScriptedDc(Script script, std::vector<SeenRun>* log, std::mutex* m) : script_(std::move(script)), log_(log), m_(m) {}
  DcRun run(const std::string& text) override {
    SeenRun seen;
    seen.p = readDciText(text, ParameterSet{}, probeDciText(text)).params;
    for (int k = 1; k <= kAdjustKeys; ++k)
      if (seen.p.adjustKeys[static_cast<size_t>(k)] == '0') seen.zeroKeys.push_back(k);
    const Answer a = script_(seen);
    if (log_) {
      std::lock_guard lock(*m_);
      log_->push_back(seen);
    }
    DcRun r;
    r.seconds = 0.5;
    r.detail = "DC exit status 2: scripted failure";
    if (a.kind == Answer::NoReport) return r;
    r.status = DcRun::Ok;
    r.dco = dcoFor(a, seen.p, seen.zeroKeys);
    return r;
  }

 private:
  Script script_;
  std::vector<SeenRun>* log_;
  std::mutex* m_;
};

inline DcDriverFactory scripted(Script s, std::vector<SeenRun>* log = nullptr) {
  auto m = std::make_shared<std::mutex>();
  return [s, log, m](int, int) -> std::unique_ptr<DcDriver> { return std::make_unique<ScriptedDc>(s, log, m.get()); };
}

inline ContourJob jobFor(const GridDef& s, ParameterSet p) {
  applySetup(p, s);
  ContourJob j;
  j.gridDef = s;
  j.base = readBackBase(p);
  return j;
}

// One line per DC run: the keys set to "0" and the values the map moves.
std::string runsText(const std::vector<SeenRun>& log) {
  std::string s;
  for (const SeenRun& r : log) {
    char b[240];
    std::snprintf(b, sizeof b, "RM %.12g XINCL %.12g POTH %.12g POT2 %.12g T2 %.12g L1 %.12g %.12g keys", r.p.RM,
                  r.p.XINCL, r.p.POTH, r.p.POT2, r.p.T2, r.p.curves[3].l1, r.p.curves[4].l1);
    s += b;
    for (int k : r.zeroKeys) s += " " + std::to_string(k);
    s += "\n";
  }
  return s;
}

// The parameter lines of a DCI; the observations after them never change here.
std::string setText(const ParameterSet& p) {
  const std::string t = dciText(p);
  size_t end = 0;
  for (int n = 0; n < 20 && end != std::string::npos; ++n) end = t.find('\n', end + 1);
  return t.substr(0, end) + "\n";
}

std::string outcomeText(const ContourOutcome& o) {
  std::ostringstream s;
  s.precision(12);
  s << "computed " << o.computed << " cancelled " << o.cancelled << " runs " << o.runs << " points " << o.points
    << " failed " << o.failedPoints << " first failed at " << o.firstFailedI << "," << o.firstFailedJ
    << "\nfirst failure: " << o.firstFailure << "\nsummary: " << failureSummary(o) << "\nwres " << o.grid.wresMin
    << " to " << o.grid.wresMax << " ready " << o.grid.dataReady << " range " << o.grid.range.low << " to "
    << o.grid.range.high << " decimals " << o.grid.range.decimals << "\n";
  if (o.best)
    s << "best " << o.best->i << "," << o.best->j << " " << o.best->wres << " POTH " << o.best->params.POTH << "\n"
      << setText(o.best->params);
  else
    s << "no best point\n";
  s << "--- file\n" << contourFileText(o.grid) << "--- final set, Sum(W*Res**2) " << o.finalResults.sumWResInput
    << " POTH " << o.finalParams.POTH << "\n" << setText(o.finalParams);
  return s.str();
}

}  // namespace

TEST(ContourFitSteps, TableForEveryPair) {
  std::string s;
  for (int x = 1; x <= 5; ++x)
    for (int y = 1; y <= 5; ++y) {
      s += std::to_string(x) + "," + std::to_string(y) + ":";
      for (const FitStep& f : fitSteps(x, y))
        s += " " + std::to_string(f.key) + (f.apply == FitStep::AddCorrection ? "+" : "=") + std::to_string(f.code) +
             (f.tiePotential2 ? "t" : "");
      s += "\n";
    }
  expectGolden("contours", "fit_steps.txt", s);
}

TEST(ContourEngine, ThreeByTwoMassRatioInclinationRunsAndValues) {
  GridDef s{1, 2, 0.2, 0.4, 3, 80, 86, 2, 1};
  ParameterSet base = exampleSet();
  base.MODE = 3;
  std::vector<SeenRun> log;
  // Every run corrects by 0.01 and each light curve's L1 by 0.5 and 0.25.
  Script script = [](const SeenRun& r) {
    return Answer{.correction = 0.01, .l1Corrections = {0.0, 0.25}, .sum = 1000 + 100 * r.p.RM + r.p.XINCL};
  };
  ContourJob job = jobFor(s, base);
  Progress last;
  job.onProgress = [&](const Progress& p) { last = p; };
  const ContourOutcome o = computeGrid(job, scripted(script, &log));
  // Progress counts every run and the time they took. Per point L1,
  // potential 1, T2 and a last run with no key; X outer, Y inner; +delta
  // carries within a column and restarts with each new X.
  std::ostringstream progress;
  progress << "--- progress points " << last.pointsDone << " runs " << last.runsDone << "/" << last.runsTotal << " seconds "
           << last.runSeconds << " left " << remainingSeconds(last, 1) << "\n";
  expectGolden("contours", "engine_3x2.txt", runsText(log) + progress.str() + "--- base POTH " + std::to_string(job.base.POTH) +
                                                 " T2 " + std::to_string(job.base.T2) + "\n" + outcomeText(o));
}

TEST(ContourEngine, EstimateAndTimeLeft) {
  GridDef g{1, 2, 0, 1, 3, 0, 1, 2, 1};  // 3 columns of 2 points of 4 runs
  EXPECT_EQ(runsPerPoint(g), 4);
  EXPECT_EQ(runsPerPoint(GridDef{4, 5, 0, 1, 3, 0, 1, 2, 3}), 13);
  // Workers take whole columns: with 2 of them the third column runs alone.
  for (auto [workers, columns] : {std::pair{1, 3}, std::pair{2, 2}, std::pair{3, 1}, std::pair{8, 1}})
    EXPECT_DOUBLE_EQ(estimateSeconds(0.7, g, workers), 0.7 * 8 * columns) << workers;
  Progress p{.runsTotal = 24, .workers = 2, .workerRunsLeft = {8, 8}, .columnsPending = 1,
             .runsPerColumn = 8};
  EXPECT_DOUBLE_EQ(remainingSeconds(p, 0.02), 0.02 * 16);  // the timing run until runs finish
  p.runsDone = 6;
  p.runSeconds = 4.2;
  p.workerRunsLeft = {5, 7};  // the first free worker takes the last column
  EXPECT_DOUBLE_EQ(remainingSeconds(p, 0.02), 0.7 * 13);
  p.columnsPending = 0;
  p.workerRunsLeft = {0, 0};
  EXPECT_DOUBLE_EQ(remainingSeconds(p, 0.02), 0);
}

TEST(ContourEngine, PointValuesTakeOnlyWhatTheMapChanges) {
  ParameterSet point = exampleSet(), p = exampleSet();
  point.MODE = p.MODE = 3;
  point.RM = 0.5, point.XINCL = 81, point.POTH = 4.4, point.POT2 = 4.4, point.T2 = 5100, point.ALB1 = 0.3;
  point.curves[3].l1 = 9, point.curves[4].l1 = 8;
  point.adjustKeys.fill('1');
  std::vector<SeenRun> taken;
  std::string pairs;
  for (int16_t x = 1; x <= 5; ++x)
    for (int16_t y = 1; y <= 5; ++y) {
      if (x == y) continue;
      ParameterSet q = p;
      takePointValues(q, point, GridDef{x, y});
      EXPECT_EQ(q.ALB1, p.ALB1);
      EXPECT_EQ(q.adjustKeys, p.adjustKeys);
      pairs += std::to_string(x) + "," + std::to_string(y) + "\n";
      taken.push_back({q, {}});
    }
  expectGolden("contours", "point_values.txt", runsText(taken) + pairs);
}

TEST(ContourEngine, TakeOutputStepsScaleT2AndIterate) {
  // Inclination vs potential 1: L1, mass ratio =out, T2 =out; 2 iterations.
  // Single-value directions need no step: M = 1 and N = 1 give one point.
  std::string text;
  for (const GridDef& s : {GridDef{2, 4, 80, 90, 2, 4.5, 5.5, 2, 2}, GridDef{2, 4, 80, 90, 1, 4.5, 5.5, 1, 1}}) {
    std::vector<SeenRun> log;
    const ContourOutcome o = computeGrid(jobFor(s, exampleSet()), scripted([](const SeenRun& r) {
      return Answer{.output = r.zeroKeys == std::vector<int>{25} ? 0.77 : 0.6123, .sum = 50};
    }, &log));
    text += runsText(log) + outcomeText(o);
  }
  expectGolden("contours", "engine_take_output.txt", text);
}

TEST(ContourEngine, FailedRunsMarkThePointWithoutTouchingTheRange) {
  GridDef s{3, 2, 4000, 5000, 3, 80, 90, 3, 1};  // T2 vs inclination
  std::string text;
  // The centre point's fit step for the mass ratio fails, in each way; then every point.
  for (int kind : {int{Answer::NoReport}, int{Answer::ErrorLine}, int{Answer::CutShort}, -1})
    text += outcomeText(computeGrid(jobFor(s, exampleSet()), scripted([kind](const SeenRun& r) {
      Answer a{.output = 0.8, .sum = 2000 + r.p.T2 / 10 + r.p.XINCL};
      if (kind < 0) a.kind = Answer::NoReport;
      if (kind >= 0 && std::abs(r.p.T2 - 4500) < 1e-6 && std::abs(r.p.XINCL - 85) < 1e-9 && r.zeroKeys == std::vector<int>{25})
        a.kind = static_cast<Answer::Kind>(kind);
      return a;
    })));
  expectGolden("contours", "engine_failures.txt", text);
}

// Three equal minima, two in one column: the best point is the first.
TEST(ContourEngine, SummaryRangeFromSmallestValueAndTheFirstOfEqualMinima) {
  std::vector<SeenRun> log;
  const ContourOutcome o = computeGrid(jobFor(GridDef{1, 4, 0.5, 1.0, 2, 4, 6, 2, 1}, exampleSet()),
                                       scripted([](const SeenRun& r) { return Answer{.sum = r.p.RM > 0.7 && r.p.POTH > 5 ? 3000 : 1234.5}; }));
  EXPECT_EQ(std::pair(o.best->i, o.best->j), std::pair(0, 0));
  EXPECT_FALSE(wresRange(computeGrid(jobFor(GridDef{3, 2, 4000, 5000, 3, 80, 90, 3, 1}, exampleSet()),
                                     scripted([](const SeenRun&) { return Answer{.kind = Answer::NoReport}; }))
                             .grid));
  // Pairs that compute nothing run nothing.
  const ContourOutcome none = computeGrid(jobFor(GridDef{5, 1, 4, 5, 3, 0.5, 1, 3, 1}, exampleSet()),
                                          scripted([](const SeenRun&) { return Answer{}; }, &log));
  EXPECT_TRUE(log.empty());
  expectGolden("contours", "engine_summary.txt", outcomeText(o) + outcomeText(none));
}

TEST(ContourEngine, ParallelColumnsGiveTheSerialFile) {
  GridDef s{2, 4, 80, 88, 5, 4.6, 5.4, 3, 1};
  // Answers depend only on what DC is given, so any order of runs must agree.
  Script script = [](const SeenRun& r) {
    Answer a{.correction = 0.001 * r.p.XINCL,
             .output = r.zeroKeys == std::vector<int>{25} ? 0.7 + 0.001 * r.p.XINCL : 0.5 + 0.01 * r.p.POTH,
             .l1Corrections = {0, 0.002 * r.p.POTH},
             .sum = 100 + (r.p.XINCL - 86) * (r.p.XINCL - 86) + 50 * (r.p.POTH - 5) * (r.p.POTH - 5) + r.p.curves[3].l1};
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
    EXPECT_EQ(outcomeText(o2), outcomeText(o1)) << workers;
    EXPECT_EQ(dciText(o1.finalParams), dciText(o2.finalParams));
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

using tavrin::testing_support::TempDir;
using tavrin::testing_support::writeProgram;

TEST(ContourProcessDriver, RunsWaitsReadsTheReportOrFails) {
  TempDir t;
  // Echoes its input with a tag: the report is exactly what it wrote.
  const std::string exe = writeProgram(t / "dc", "printf 'report of: '; cat; pwd > where.txt");
  ProcessDcDriver d(exe, t.path().string(), 10);
  const DcRun r = d.run("the input\r\n");
  ASSERT_EQ(r.status, DcRun::Ok) << r.detail;
  EXPECT_EQ(r.dco, "report of: the input\r\n");
  EXPECT_EQ(readWholeFile((t.path() / "Contour.dci").string()), "the input\r\n");
  // DC works in its own folder.
  EXPECT_NE(readWholeFile((t.path() / "where.txt").string()).find(t.path().filename().string()), std::string::npos);
  // A missing or crashing program fails.
  const std::string missing = (t.path() / "nothing-here").string();
  EXPECT_NE(ProcessDcDriver(missing, t.path().string(), 5).run("x").status, DcRun::Ok);
  const std::string crash = writeProgram(t / "crash", "kill -SEGV $$");
  EXPECT_EQ(ProcessDcDriver(crash, t.path().string(), 5).run("x").status, DcRun::Failed);
  // A folder that cannot be written: nothing starts, the run fails.
  EXPECT_EQ(ProcessDcDriver(crash, (t.path() / "no" / "such").string(), 5).run("x").status, DcRun::Failed);
}

TEST(ContourProcessDriver, ScratchFoldersHoldDcsCompanionsAndAreRemoved) {
  TempDir t, program;
  // Like the real DC: its tables are opened by relative name from the working folder.
  const std::string exe = writeProgram(program / "dc", "cat > /dev/null; [ -f atmcof.dat ] && echo ok && exit 0\n"
                                               "echo ignored >&2; echo \"Can't open file 'atmcof.dat'\" >&2; exit 2");
  tavrin::testing_support::spit(program / "atmcof.dat", "table\n");
  {
    ScratchDrivers drivers(exe, t.path().string(), 10, "base\r\n");
    auto f = drivers.factory();
    auto a = f(0, 2), b = f(1, 2), one = f(0, 1);
    auto* pa = dynamic_cast<ProcessDcDriver*>(a.get());
    auto* pb = dynamic_cast<ProcessDcDriver*>(b.get());
    ASSERT_TRUE(pa && pb);
    EXPECT_NE(pa->folder(), pb->folder());
    // A single worker too: the data folder gets no DCI, report or links of DC's.
    EXPECT_NE(dynamic_cast<ProcessDcDriver*>(one.get())->folder(), t.path().string());
    EXPECT_EQ(readWholeFile(pa->folder() + "/Contour0.dci"), "base\r\n");
    EXPECT_EQ(readWholeFile(pb->folder() + "/atmcof.dat"), "table\n");
    EXPECT_EQ(a->run("x").dco, "ok\n");
    EXPECT_EQ(b->run("x").dco, "ok\n");
  }
  EXPECT_EQ(tavrin::testing_support::filesIn(t.path()), 0u);
  EXPECT_TRUE(std::filesystem::exists(program.path() / "atmcof.dat"));  // links removed, not their targets
  // Without the table DC fails, and says why.
  std::filesystem::remove(program.path() / "atmcof.dat");
  ScratchDrivers drivers(exe, t.path().string(), 10, "");
  const DcRun r = drivers.factory()(0, 1)->run("x");
  EXPECT_EQ(r.status, DcRun::Failed);
  EXPECT_EQ(r.detail, "DC exit status 2: Can't open file 'atmcof.dat'");
  EXPECT_EQ(lastLine("a\r\n  b c \r\n\r\n  \n"), "b c");
  EXPECT_EQ(lastLine(" \n"), "");
}

// A slow run is killed after the timeout. A DC program that leaves a child
// behind (a wrapper script, say): the whole of it must stop, or the child
// would go on writing the report the next run is to read.
TEST(ContourProcessDriver, TimeoutStopsTheProgramAndItsChildren) {
  TempDir t;
  const std::filesystem::path dir = t.path();
  const std::string exe = writeProgram(t / "dc", "(while :; do echo more >> '" + (dir / "marker").string() +
                                              "'; sleep 0.05; done) &\necho $! > '" + (dir / "child.pid").string() + "'\nwait");
  ProcessDcDriver d(exe, dir.string(), 0.3);
  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_EQ(d.run("x").status, DcRun::TimedOut);
  const double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  EXPECT_LT(s, 5.0);
  EXPECT_GE(s, 0.29);
  EXPECT_DOUBLE_EQ(runTimeout(0.5), 60);
  EXPECT_DOUBLE_EQ(runTimeout(4), 80);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto size1 = std::filesystem::file_size(dir / "marker");
  std::this_thread::sleep_for(std::chrono::milliseconds(400));
  const auto size2 = std::filesystem::file_size(dir / "marker");
  EXPECT_EQ(size1, size2) << "a child of the timed-out program is still running";
  const long child = std::stol(readWholeFile((dir / "child.pid").string()));
  // A killed child nobody has reaped yet is a zombie, not a running process.
  auto running = [](long pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat;
    std::getline(in, stat);
    const auto close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
  };
  if (child > 0 && running(child)) {
    ADD_FAILURE() << "child " << child << " outlived the timeout";
    ::kill(static_cast<pid_t>(child), SIGKILL);
  }
}
