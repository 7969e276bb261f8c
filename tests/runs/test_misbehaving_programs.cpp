// External programs that misbehave: crashing at start, stopping in the middle
// of the report, writing garbage or a huge report, never ending. The run ends
// (or can be ended) without taking Tavrin along, and the report readers then
// refuse with the table's message and change nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <memory>
#include <random>
#include <thread>

#include "output/dco_reader.h"
#include "output/lco_reader.h"
#include "shell/errors.h"
#include "run_test_support.h"

using namespace tavrin::testing_support;

using namespace tavrin;
using namespace tavrin::runs;
namespace fs = std::filesystem;

namespace {

// A real report of the stand-in programs on the examples.
std::string standInReport(const char* program, const char* example) {
  const fs::path out = freshTestDir("misbehaving", std::string("report-") + program) / "report.txt";
  const std::string cmd = std::string("'") + TAVRIN_BINARY_DIR + "/src/standins/" + program + "' < '" +
                          TAVRIN_SOURCE_DIR + "/examples/" + example + "' > '" + out.string() + "' 2>/dev/null";
  EXPECT_EQ(std::system(cmd.c_str()), 0) << cmd;
  return slurp(out);
}

// Starts `body` as the DC program on a DCI; app is left as the run set it.
long startDcProgram(const fs::path& dir, const std::string& body, AppState& app) {
  writeProgram(dir / "program" / "Solvex", body);
  spit(dir / "star.dci", "input\n");
  app.programFolder = (dir / "program").string();
  app.dataFolder = dir.string();
  app.dciName = "star.dci";
  return startRun(planStandardRun(app, ProgramMode::DC).value());
}

// Reads the run's DCO as the program does; the set and results must be unchanged.
void expectRefusedDco(AppState& app, int expectedError) {
  ParameterSet p;
  p.NLC = 3;
  const ParameterSet before = p;
  auto results = std::make_unique<DcResults>();
  results->adjustedParams.assign(7, 16);
  const DcoLoadOutcome out = loadDco(app, p, *results, false);
  EXPECT_FALSE(out.ok);
  EXPECT_TRUE(out.showMessageBox);
  if (expectedError) {
    EXPECT_EQ(out.message.rfind(errorMessage(expectedError) + "\nstar.dco", 0), 0u) << out.message;
  }
  EXPECT_FALSE(out.message.empty());
  EXPECT_TRUE(app.readError);
  EXPECT_TRUE(results->dcErrorSeen);
  EXPECT_EQ(results->adjustedParams.size(), 7u);
  EXPECT_EQ(p.NLC, before.NLC);
}

}  // namespace

// Programs that crash at start, stop half way through the report, write
// garbage or 40 MB of lines that never reach the end marker: each run ends,
// with its message, and its report is refused.
TEST(MisbehavingPrograms, RunsThatEndBadlyLeaveAReportThatIsRefused) {
  const fs::path cut = freshTestDir("misbehaving", "cut-report") / "partial";
  const std::string full = standInReport("Solvex", "example.dci");
  spit(cut, full.substr(0, full.size() / 2));
  const struct {
    const char* name;
    std::string body;
    int error;
  } rows[] = {{"crash", "kill -SEGV $$\n", kErrPastEndOfFile},
              {"cut", "cat '" + cut.string() + "'\nexit 1\n", 0},
              {"garbage", "head -c 20000 /dev/urandom\n", 0},
              {"huge", "yes '  1   2   3.0000   4.0000   5.0000   6.0000' | head -c 40000000\n", 0}};
  std::string messages;
  for (const auto& r : rows) {
    const fs::path dir = freshTestDir("misbehaving", r.name);
    AppState app;
    const RunStatus status = waitForRun(startDcProgram(dir, r.body, app));
    messages += std::string(r.name) + ": " + runEndMessage(ProgramMode::DC, app.dcoName, status, 0.1) + "\n";
    expectRefusedDco(app, r.error);
    if (std::string(r.name) == "huge") {
      EXPECT_GE(fs::file_size(dir / "star.dco"), 40000000u);
    }
  }
  expectGolden("runs", "misbehaving_runs.txt", messages);
}

// Reports cut anywhere, or with random bytes overwritten, are read or refused
// with their error's message; a DCO is whole once the line after its residual
// sums heading is in.
TEST(MisbehavingPrograms, CutAndGarbledReportsAreRefused) {
  const std::string full = standInReport("Solvex", "example.dci");
  const std::string lco = standInReport("Synthex", "example.lci");
  ASSERT_GT(full.size(), 1000u);
  const size_t heading = full.find("Sum(W*Res**2)");
  ASSERT_NE(heading, std::string::npos);
  const size_t whole = full.find('\n', full.find('\n', heading) + 1);
  const auto readLco = [](const std::string& text) {
    try {
      (void)parseLco(text);
    } catch (const TavrinError& e) {
      EXPECT_EQ(e.what(), errorMessage(e.number()));
    } catch (const ReportMessage&) {
    }
  };
  for (size_t cut = 0; cut + 1 < full.size(); cut += 97) {
    auto results = std::make_unique<DcResults>();
    ParameterSet p;
    try {
      parseDco(full.substr(0, cut), *results, p);
      EXPECT_GE(cut, whole) << "a report cut at " << cut << " was read";
    } catch (const TavrinError& e) {
      EXPECT_LT(cut, whole);
      EXPECT_EQ(e.what(), errorMessage(e.number()));
    }
  }
  for (size_t cut = 0; cut + 1 < lco.size(); cut += lco.size() / 61 + 1) readLco(lco.substr(0, cut));
  std::mt19937 rng(11);
  for (int round = 0; round < 300; ++round) {
    std::string d = full, l = lco;
    for (int k = 0; k < 20; ++k) {
      d[rng() % d.size()] = static_cast<char>(rng() % 256);
      l[rng() % l.size()] = static_cast<char>(rng() % 256);
    }
    auto results = std::make_unique<DcResults>();
    ParameterSet p;
    try {
      (void)parseDco(d, *results, p);
    } catch (const TavrinError& e) {
      EXPECT_FALSE(errorMessage(e.number()).empty());
    }
    readLco(l);
  }
}

TEST(MisbehavingPrograms, NeverEndingProgramCanBeEndedAndItsPartialReportIsRefused) {
  AppState app;
  const long pid = startDcProgram(freshTestDir("misbehaving", "endless"),
                                  "echo 'first line of a report'\nwhile :; do sleep 1; done\n", app);
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  EXPECT_EQ(pollRun(pid).state, RunStatus::Running);
  // Reading now finds a report still being written: refused, nothing taken.
  expectRefusedDco(app, kErrPastEndOfFile);
  ::kill(-static_cast<pid_t>(pid), SIGKILL);
  const RunStatus st = waitForRun(pid, 10);
  EXPECT_EQ(runEndMessage(ProgramMode::DC, "star.dco", st, 1), "DC failed: star.dco (killed by signal 9)");
}
