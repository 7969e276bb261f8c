// The residual-map window's boxes as the core stores them, and the checks
// before its timing run and its computation.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <sstream>

#include "contours/contour_engine.h"
#include "contours/contour_setup.h"
#include "model/number_fields.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace tavrin::contours;

namespace {

std::string dump(const SetupEntry& e) {
  const GridDef& g = e.grid;
  std::ostringstream o;
  o << "x" << g.xCode << " y" << g.yCode << " X " << g.xMin << ".." << g.xMax << " M" << g.M << " Y " << g.yMin
    << ".." << g.yMax << " N" << g.N << " it" << g.iterations << " delay " << e.delay << " zoom " << e.zoom;
  return o.str();
}

SetupEntry held() {
  SetupEntry e;
  e.grid = GridDef{1, 2, 1, 2, 3, 4, 5, 6, 7};
  return e;
}

}  // namespace

// Each box's text, then the entry stored from it and whether the estimate goes
// stale; "throws" keeps the entry as held.
TEST(ContourSetup, BoxesStoreTheirLeadingNumber) {
  std::string dumps;
  for (const auto& c : testing_support::tableRows(testing_support::goldenPath("contours", "boxes.tsv"))) {
    SetupEntry e = held();
    dumps += c[0] + " [" + c[1] + "] ";
    try {
      const bool estimate = storeBox(e, static_cast<SetupBox>(std::stoi(c[0])), c[1]);
      dumps += dump(e) + (estimate ? " estimate\n" : "\n");
    } catch (const TavrinError&) {
      dumps += "throws " + dump(e) + "\n";
    }
  }
  testing_support::expectGolden("contours", "boxes.txt", dumps);
  EXPECT_EQ(zoomOf(" 12.7"), 12);
  // The boxes stored again before a run: the grid's own, not delay or zoom.
  std::string grid;
  for (SetupBox b : kGridBoxes) grid += std::to_string(static_cast<int>(b));
  EXPECT_EQ(grid, "0123458");
}

// Each delay, what it became, and whether it was raised.
TEST(ContourSetup, DelayIsRaisedToItsMinimum) {
  std::string text;
  for (double delay : {0.2, -1.0, 0.7, 5.0, std::numeric_limits<double>::quiet_NaN()}) {
    SetupEntry e;
    e.delay = delay;
    const bool raised = raiseDelay(e);
    char b[80];
    std::snprintf(b, sizeof b, "%.17g -> %.17g%s\n", delay, e.delay, raised ? " raised" : "");
    text += b;
  }
  testing_support::expectGolden("contours", "delays.txt", text);
}

// Each grid's messages before the timing run, whether the set-up went into the
// set, whether the pair computes, and the refusal of its computation.
TEST(ContourSetup, ChecksBeforeTimingAndComputation) {
  std::string dumps;
  for (const auto& c : testing_support::tableRows(testing_support::goldenPath("contours", "checks.tsv"))) {
    auto n = [&](size_t k) { return std::stod(c[k]); };
    auto i = [&](size_t k) { return static_cast<int16_t>(std::stoi(c[k])); };
    const GridDef grid{i(1), i(2), n(3), n(4), i(5), n(6), n(7), i(8), i(9)};
    ParameterSet p;
    p.adjustKeys[3] = '0';
    ParameterSet applied = p;
    applySetup(applied, grid);
    const ParameterSet before = p;
    dumps += "== " + c[0] + "\n";
    for (const std::string& m : prepareTiming(p, grid)) dumps += m + "\n";
    EXPECT_TRUE(p == applied || p == before) << c[0];
    EXPECT_NE(applied, before);
    dumps += std::string("applied ") + (p == applied ? "1" : "0") + " computes " + std::to_string(pairComputes(grid)) +
             " refusal " + gridRefusal(grid).value_or("none") + "\n";
  }
  testing_support::expectGolden("contours", "checks.txt", dumps);
  EXPECT_GE(defaultWorkers(), 1);
}
