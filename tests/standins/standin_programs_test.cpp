// The two programs as Tavrin runs them: input on standard input, report on
// standard output, nothing else. Damaged inputs never crash or hang them: LC
// refuses with a message, DC answers with an "*ERR*" line or a full report.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <random>
#include <string>

#include "binary_model.h"
#include "shell/errors.h"
#include "standin.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace tavrin::standin {
namespace {

struct ProgramRun {
  int status = -1;
  std::string out, err;
};

ProgramRun run(const std::string& program, const fs::path& input) {
  const fs::path dir = freshTestDir("standin-programs", "run");
  const fs::path out = dir / "out.txt", err = dir / "err.txt";
  const std::string exe = std::string(TAVRIN_BINARY_DIR) + "/src/standins/" + program;
  const std::string cmd = "\"" + exe + "\" < \"" + input.string() + "\" > \"" + out.string() + "\" 2> \"" + err.string() + "\"";
  const int status = std::system(cmd.c_str());
  return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}

const fs::path kExamples = fs::path(TAVRIN_SOURCE_DIR) / "examples";

// The examples' reports, the same bytes each run; bad input refused by
// Synthex on standard error, answered by Solvex with an "*ERR*" line.
TEST(StandinPrograms, RunsOfExamplesAndBadInputs) {
  const fs::path dir = freshTestDir("standin-programs", "inputs");
  const std::string lci = slurp(kExamples / "example.lci"), dci = slurp(kExamples / "example.dci");
  // An .lci goes to Synthex, a .dci to Solvex.
  const std::pair<const char*, std::string> rows[] = {
      {"example.lci", lci}, {"example_rv.lci", slurp(kExamples / "example_rv.lci")}, {"example.dci", dci},
      {"empty.lci", ""}, {"garbage.lci", "hello\r\nworld\r\n"}, {"cut.lci", lci.substr(0, lci.size() / 2)},
      {"binary.lci", std::string("\0\1\2\3\xff\xfe", 6)}, {"page3.lci", "3" + lci.substr(1)}, {"empty.dci", ""},
      {"garbage.dci", "not a DC input\r\n"}, {"cut.dci", dci.substr(0, dci.size() / 3)}, {"lci.dci", lci}};
  std::string log;
  for (const auto& [name, text] : rows) {
    const std::string program = std::string(name).ends_with(".lci") ? "Synthex" : "Solvex";
    spit(dir / name, text);
    const ProgramRun got = run(program, dir / name);
    EXPECT_EQ(run(program, dir / name).out, got.out) << name;
    log += "==== " + program + " < " + name + ": status " + std::to_string(got.status) + "\n" + got.out +
           "---- standard error\n" + got.err;
  }
  expectGolden("standins", "program_runs.txt", log);
}

// Changes one to three characters of the parameter records (the first `headBytes`).
std::string damaged(const std::string& text, size_t headBytes, std::mt19937& rng) {
  static const char kChars[] = "0123456789-.D E+9";
  std::string t = text;
  for (int e = 0, edits = 1 + static_cast<int>(rng() % 3); e < edits; ++e) {
    const size_t at = rng() % std::min(headBytes, t.size());
    if (t[at] != '\r' && t[at] != '\n') t[at] = kChars[rng() % (sizeof kChars - 1)];
  }
  return t;
}

TEST(StandinRobustness, DamagedInputsAreComputedOrRefused) {
  const std::string lci = slurp(kExamples / "example.lci"), dci = slurp(kExamples / "example.dci");
  std::mt19937 rng(12345);
  int computed = 0, refusedByModel = 0, unreadable = 0, solved = 0, failed = 0, dcUnreadable = 0;
  for (int i = 0; i < 300; ++i) {
    try {
      EXPECT_EQ(lcReport(parseLciText(damaged(lci, 500, rng))).find(','), std::string::npos);
      ++computed;
    } catch (const ModelError& e) {
      EXPECT_GT(std::string(e.what()).size(), 5u);
      ++refusedByModel;
    } catch (const TavrinError&) {
      ++unreadable;
    }
  }
  rng.seed(777);
  for (int i = 0; i < 60; ++i) {
    ParameterSet p;
    try {
      p = parseDciText(damaged(dci, 1300, rng));
    } catch (const TavrinError&) {
      ++dcUnreadable;  // the program reports it with "*ERR*" (programs test)
      continue;
    }
    const DcSolution s = dcSolve(p);
    const std::string report = dcReport(p, s);
    EXPECT_NE(report.find(s.error.empty() ? "DOM1/DQ" : "\r\n*ERR* "), std::string::npos) << s.error;
    ++(s.error.empty() ? solved : failed);
  }
  expectGolden("standins", "robustness.txt",
               "lc computed " + std::to_string(computed) + " refused " + std::to_string(refusedByModel) + " unreadable " +
                   std::to_string(unreadable) + "\ndc solved " + std::to_string(solved) + " failed " +
                   std::to_string(failed) + " unreadable " + std::to_string(dcUnreadable) + "\n");
}

}  // namespace
}  // namespace tavrin::standin
