// Damaged inputs never crash or hang the stand-ins: LC refuses with a
// message, DC answers with an "*ERR*" line or a full report.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "binary_model.h"
#include "model/input_reader.h"
#include "shell/errors.h"
#include "standin.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace tavrin::standin {
namespace {

// Changes one character of the parameter records (the first `headBytes`).
std::string damaged(const std::string& text, size_t headBytes, std::mt19937& rng) {
  static const char kChars[] = "0123456789-.D E+9";
  std::string t = text;
  const int edits = 1 + static_cast<int>(rng() % 3);
  for (int e = 0; e < edits; ++e) {
    const size_t at = rng() % std::min(headBytes, t.size());
    if (t[at] == '\r' || t[at] == '\n') continue;
    t[at] = kChars[rng() % (sizeof kChars - 1)];
  }
  return t;
}

TEST(StandinRobustness, DamagedLightCurveInputsAreComputedOrRefused) {
  const std::string lci = slurp(std::string(TAVRIN_SOURCE_DIR) + "/examples/example.lci");
  ASSERT_FALSE(lci.empty());
  std::mt19937 rng(12345);
  int computed = 0, refused = 0;
  for (int i = 0; i < 300; ++i) {
    const std::string text = damaged(lci, 500, rng);
    try {
      const ParameterSet p = parseLciText(text);
      const std::string report = lcReport(p);
      EXPECT_EQ(report.find(','), std::string::npos);
      ++computed;
    } catch (const ModelError& e) {
      EXPECT_GT(std::string(e.what()).size(), 5u);
      ++refused;
    } catch (const TavrinError&) {
      ++refused;
    }
  }
  EXPECT_GT(computed, 0);
  EXPECT_GT(refused, 0);
}

TEST(StandinRobustness, DamagedCorrectionInputsGiveAReportOrAnErrLine) {
  const std::string dci = slurp(std::string(TAVRIN_SOURCE_DIR) + "/examples/example.dci");
  ASSERT_FALSE(dci.empty());
  std::mt19937 rng(777);
  int solved = 0, failed = 0;
  for (int i = 0; i < 60; ++i) {
    const std::string text = damaged(dci, 1300, rng);
    ParameterSet p;
    try {
      p = parseDciText(text);
    } catch (const TavrinError&) {
      continue;  // the program reports an unreadable input with "*ERR*" (programs test)
    }
    const DcSolution s = dcSolve(p);
    const std::string report = dcReport(p, s);
    if (s.error.empty()) {
      ++solved;
      EXPECT_NE(report.find("DOM1/DQ"), std::string::npos);
    } else {
      ++failed;
      EXPECT_NE(report.find("\r\n*ERR* "), std::string::npos);
    }
  }
  EXPECT_GT(solved + failed, 0);
}

}  // namespace
}  // namespace tavrin::standin
