// The fit loop: stop rules, the divergence guard, damping, failures and
// Cancel on a scripted DC; then whole fits of the example with the stand-in.
#include <gtest/gtest.h>
#include <signal.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <sstream>
#include <thread>

#include "model/input_reader.h"
#include "output/fit_history.h"
#include "runs/fit.h"
#include "shell/atomic_file.h"
#include "run_test_support.h"

namespace {

using namespace tavrin;
using namespace tavrin::runs;
using tavrin::contours::DcRun;

using tavrin::testing_support::exampleSet;
const std::string kDc = std::string(TAVRIN_BINARY_DIR) + "/src/standins/Solvex";

std::string e(double v) { return tavrin::testing_support::dcNumber(v); }

// One scripted answer: the sum for the input values, the inclination's
// correction and standard deviation; or a failure.
struct Answer {
  double sum = 0, correction = 0, sd = 0.1;
  enum Kind { Report, ErrorLine, NoReport, Cancel } kind = Report;
};

std::string dcoOf(const Answer& a) {
  testreports::DcoSpec s;
  s.keys = testreports::dcoKeyLine({16});
  s.rows = {{16, 0, e(80), e(a.correction), e(80 + a.correction), e(a.sd)}};
  s.correlation = {{"1.00000"}};
  tavrin::testing_support::scriptedSums(s, a.sum, a.kind == Answer::ErrorLine);
  return testreports::join(testreports::dcoLines(s));
}

struct Scripted {
  std::vector<Answer> answers;
  std::vector<double> inclinations, lambdas;  // what each run was given
  std::atomic<bool> cancel{false};
  DcRun operator()(const std::string& text, int run) {
    const ParameterSet p = readDciText(text, ParameterSet{}, probeDciText(text)).params;
    inclinations.push_back(p.XINCL);
    lambdas.push_back(p.XLAMDA);
    DcRun r;
    const Answer& a = answers.at(static_cast<size_t>(run - 1));
    if (a.kind == Answer::NoReport) return r.detail = "DC exit status 2: no data", r;
    if (a.kind == Answer::Cancel) return cancel = true, r.status = DcRun::Cancelled, r;
    r.status = DcRun::Ok;
    r.dco = dcoOf(a);
    return r;
  }
};

FitOutcome fit(Scripted& dc, FitRules rules, ParameterSet start) {
  start.XINCL = 80;
  start.XLAMDA = 0.001;
  const auto runner = [&dc](const std::string& t, int n) { return dc(t, n); };
  return runFit({.start = start, .rules = rules, .runner = runner, .cancel = &dc.cancel, .onPass = {}});
}

FitRules rules(bool sigma, bool rel, int max, double damping = 1) {
  return {.useSigma = sigma, .useRelChange = rel, .maxPasses = max, .damping = damping};
}

// Each case's outcome whole: how it stopped, what every run was given, every pass.
TEST(Fit, StopRulesDivergenceGuardRetriesAndFailures) {
  const ParameterSet start = exampleSet();
  const Answer err{0, 0, 0, Answer::ErrorLine}, none{0, 0, 0, Answer::NoReport}, cancel{0, 0, 0, Answer::Cancel};
  const struct {
    const char* name;
    std::vector<Answer> answers;
    FitRules rules;
  } cases[] = {
      {"sigma", {{100, 1}, {50, .5}, {49, .01}}, rules(true, false, 10)},
      {"relative fall", {{100, 1}, {99.999, 1}}, rules(true, true, 10)},
      {"maximum", {{100, 1}, {90, 1}}, rules(true, true, 2)},
      {"damping", {{100, 1}, {80, 0}}, rules(true, false, 10, 0.5)},
      // A rise goes back to the values before it, three times, then gives up.
      {"diverged", {{100, 2}, {120, 1}, {100, 1}, {130, 1}, {100, 1}, {140, 1}, {100, 1}, {150, 1}},
       rules(false, false, 10)},
      // Retries that help: the fit goes on from them, XLAMDA ten times larger each.
      {"recovered", {{100, 2}, {120, 1}, {100, 1}, {90, 0.01}}, rules(true, false, 10)},
      {"recovered twice", {{100, 2}, {120, 1}, {100, 1}, {130, 1}, {100, 1}, {90, 0.01}}, rules(true, false, 10)},
      {"failed solution", {{100, 1}, err}, rules(true, true, 10)},
      {"no report", {{100, 1}, none}, rules(true, true, 10)},
      {"cancelled", {{100, 1}, cancel}, rules(true, true, 10)},
  };
  std::ostringstream text;
  text.precision(12);
  for (const auto& c : cases) {
    Scripted dc;
    dc.answers = c.answers;
    const FitOutcome o = fit(dc, c.rules, start);
    text << "== " << c.name << ": " << fitStopName(o.stopped) << ", rule " << o.rule << ", last sound "
         << o.lastSound << ", reason " << o.reason << "\nruns given (XINCL XLAMDA):";
    for (size_t k = 0; k < dc.inclinations.size(); ++k) text << " " << dc.inclinations[k] << " " << dc.lambdas[k];
    text << "\n";
    for (const FitPass& p : o.passes)
      text << "pass " << p.pass << " retry " << p.retry << " run " << p.run << " xlamda " << p.xlamda << " rejected "
           << p.rejected << " sum " << p.results.sumWResInput << " note " << p.note << "\n";
    text << fitSummary(o, c.rules) << "\n";
  }
  tavrin::testing_support::expectGolden("runs", "fit_cases.txt", text.str());
}

TEST(Fit, HistoryKeepsAColumnPerUnknownAcrossFits) {
  FitHistory h;
  FitPass a, b;
  a.pass = b.pass = 1;
  a.results.ioRows = {{16, 0, 80, 1, 81, 0.1}};
  b.results.ioRows = {{20, 0, 0.5, 0.01, 0.51, 0.001}, {16, 0, 81, 0, 81, 0.1}};
  h.add(h.beginFit(), a);
  h.add(h.beginFit(), b);
  // A column per unknown across fits; T2 in kelvin, as I/O Parms shows it.
  const FitHistoryTable t = fitHistoryTable(h);
  std::string text;
  for (const std::string& cell : t.headers) text += cell + "|";
  for (const auto& row : t.rows) {
    text += "\n";
    for (const std::string& cell : row) text += cell + "|";
  }
  tavrin::testing_support::expectGolden("runs", "fit_history.txt",
                                        text + "\n" + fitHistoryCsv(h) + "--\n" + fitHistoryLatex(h));
  h.clear();
  EXPECT_TRUE(fitHistoryTable(h).rows.empty());
}

// ---- With the stand-in DC ----------------------------------------------------

struct RealFit {
  tavrin::testing_support::TempDir dir;
  std::atomic<bool> cancel{false};
  FitOutcome run(const std::string& exe, FitRules r = {}) {
    FitFolderRunner runner(exe, (dir / "star.fit").string(), 60, &cancel);
    const auto run = [&runner](const std::string& t, int n) { return runner(t, n); };
    return runFit({.start = exampleSet(), .rules = r, .runner = run, .cancel = &cancel, .onPass = {}});
  }
};

TEST(FitWithStandIn, ExampleConvergesToTheValuesItWasMadeFrom) {
  RealFit f;
  const auto t0 = std::chrono::steady_clock::now();
  const FitOutcome o = f.run(kDc);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  ASSERT_EQ(o.stopped, FitStop::Converged) << o.reason;
  EXPECT_EQ(o.rule, "sigma");
  std::printf("example fit: %zu passes, %.3f s wall, %.3f s in DC, %.1f ms per pass beyond DC\n", o.passes.size(), wall,
              o.dcSeconds, 1000 * (wall - o.dcSeconds) / static_cast<double>(o.passes.size()));
  const FitPass& last = o.passes.at(static_cast<size_t>(o.lastSound));
  // The values the example was made from, in DC's units.
  const std::map<std::pair<int, int>, double> truth = {{{16, 0}, 86.0}, {{20, 0}, 0.52}, {{23, 0}, 5.0},
                                                       {{31, 1}, 0.70}, {{31, 2}, 0.75}};
  ASSERT_EQ(last.results.ioRows.size(), truth.size());
  for (const DcIoRow& io : last.results.ioRows) {
    EXPECT_LE(std::fabs(io.input - truth.at({io.param, io.curve})), 2 * io.stdDev) << io.param << "/" << io.curve;
  }
  // Every run's files are kept, numbered; a second fit numbers on after the first.
  const FitFolderRunner fresh("", (f.dir / "star.fit").string(), 60, nullptr);
  for (const FitPass& p : o.passes) {
    const std::string stem = fresh.stem(p.run - static_cast<int>(o.passes.size()));
    EXPECT_TRUE(std::filesystem::exists(f.dir / "star.fit" / (stem + ".dci"))) << stem;
    EXPECT_TRUE(std::filesystem::exists(f.dir / "star.fit" / (stem + ".dco"))) << stem;
  }
  EXPECT_EQ(fresh.stem(1), o.passes.size() + 1 < 10 ? "00" + std::to_string(o.passes.size() + 1) : "0" + std::to_string(o.passes.size() + 1));
}

// A DC that overshoots trips the guard; one that fails stops the fit with its words.
TEST(FitWithStandIn, OvershootingDcTriggersTheGuardAndAFailedPassStops) {
  RealFit over, failing;
  using tavrin::testing_support::writeProgram;
  const FitOutcome o = over.run(writeProgram(over.dir / "dc", "SOLVEX_OVERSHOOT=4 exec '" + kDc + "'\n"),
                                rules(false, false, 10));
  int retries = 0, rejected = 0;
  for (const FitPass& p : o.passes) retries += p.retry > 0, rejected += p.rejected;
  EXPECT_GE(retries, 1);
  EXPECT_GE(rejected, 1);
  EXPECT_TRUE(o.stopped == FitStop::Diverged || o.stopped == FitStop::MaxPasses) << fitStopName(o.stopped);
  const FitOutcome f = failing.run(writeProgram(failing.dir / "dc", "echo 'no licence for this' >&2\nexit 4\n"));
  EXPECT_EQ(f.stopped, FitStop::Failed);
  EXPECT_NE(f.reason.find("no licence for this"), std::string::npos) << f.reason;
  EXPECT_TRUE(f.passes.empty());
  EXPECT_EQ(f.lastSound, -1);
}

TEST(FitWithStandIn, CancelStopsDcAtOnceAndLeavesNoChild) {
  RealFit f;
  const std::string exe = (f.dir / "dc").string();
  const std::string child = (f.dir / "child").string();
  tavrin::testing_support::writeProgram(exe, "sleep 30 &\necho $! > '" + child + "'\nwait\n");
  std::thread stopper([&] {
    while (!std::filesystem::exists(child)) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    f.cancel = true;
  });
  const auto t0 = std::chrono::steady_clock::now();
  const FitOutcome o = f.run(exe);
  stopper.join();
  EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), 5.0);
  EXPECT_EQ(o.stopped, FitStop::Cancelled);
  const pid_t pid = std::stoi(readWholeFile(child));
  bool gone = false;
  for (int i = 0; i < 200 && !gone; ++i) {
    gone = ::kill(pid, 0) != 0 && errno == ESRCH;
    if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_TRUE(gone);
}

}  // namespace
