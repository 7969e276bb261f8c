// The residual-map window's boxes as the core stores them, and the checks
// before its timing run and its computation.
#include <gtest/gtest.h>

#include <cmath>
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

TEST(ContourSetup, DelayIsRaisedToItsMinimum) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double delay, after;
    bool raised;
  } rows[] = {{0.2, 0.7, true}, {-1, 0.7, true}, {0.7, 0.7, false}, {5, 5, false}, {nan, nan, false}};
  for (const auto& r : rows) {
    SCOPED_TRACE(r.delay);
    SetupEntry e;
    e.delay = r.delay;
    EXPECT_EQ(raiseDelay(e), r.raised);
    if (std::isnan(r.after))
      EXPECT_TRUE(std::isnan(e.delay));
    else
      EXPECT_EQ(e.delay, r.after);
  }
}

TEST(ContourSetup, ChecksBeforeTimingAndComputation) {
  const std::string same = "Sorry, you must select different parameters for X and Y.  Press any key ...";
  const std::string negative = "Sorry, Min X or Min Y can never be negative.  Press any key ...";
  const std::string xRange = "Sorry, Minimum X must be less than the maximum X.  Press any key ...";
  const struct {
    const char* name;
    GridDef grid;
    std::vector<std::string> timing;  // the messages before the timing run
    bool applied;                     // the set-up went into the set
    bool computes;
    std::optional<std::string> refusal;
  } rows[] = {
      {"good", GridDef{1, 2, 0.1, 0.5, 3, 80, 90, 3, 1}, {}, true, true, std::nullopt},
      {"negative minimum", GridDef{1, 2, -0.1, 0.5, 3, 80, 90, 3, 1}, {negative}, true, true, std::nullopt},
      {"same variables", GridDef{2, 2, 80, 90, 3, 80, 90, 3, 1}, {same}, false, false, std::nullopt},
      {"empty X range", GridDef{1, 3, 0.5, 0.5, 3, 1, 2, 3, 1}, {xRange}, false, true, xRange},
      // A pair that fits nothing is never refused: the window summarises the grid it holds.
      {"pair without fits", GridDef{5, 1, 0.5, 0.5, 3, 1, 2, 3, 1}, {xRange}, false, false, std::nullopt},
      {"pair 4-5 fits", GridDef{4, 5, 1, 2, 3, 1, 2, 0, 1}, {"Sorry, N must be a positive number.  Press any key ..."},
       false, true, "Sorry, N must be a positive number.  Press any key ..."},
  };
  for (const auto& r : rows) {
    SCOPED_TRACE(r.name);
    ParameterSet p;
    p.adjustKeys[3] = '0';
    ParameterSet applied = p;
    applySetup(applied, r.grid);
    const ParameterSet before = p;
    EXPECT_EQ(prepareTiming(p, r.grid), r.timing);
    EXPECT_EQ(p, r.applied ? applied : before);
    EXPECT_NE(applied, before);
    EXPECT_EQ(pairComputes(r.grid), r.computes);
    EXPECT_EQ(gridRefusal(r.grid), r.refusal);
  }
  EXPECT_GE(defaultWorkers(), 1);
}
