// Damaged inputs never crash or hang the stand-ins: LC refuses with a
// message, DC answers with an "*ERR*" line or a full report. How many of each
// against golden/robustness.txt.

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "binary_model.h"
#include "model/input_reader.h"
#include "shell/errors.h"
#include "standin.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace tavrin::standin {
namespace {

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
  const std::string lci = slurp(std::string(TAVRIN_SOURCE_DIR) + "/examples/example.lci");
  const std::string dci = slurp(std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci");
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
