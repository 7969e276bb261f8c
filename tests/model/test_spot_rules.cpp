#include <gtest/gtest.h>

#include <cmath>

#include "model/spot_rules.h"
#include "shell/errors.h"

using namespace tavrin;

namespace {

SpotsEntry entryFrom(const ParameterSet& p) {
  SpotsEntry e;
  e.rowLimit = spotRowLimit(p);
  for (int star = 1; star <= 2; ++star)
    for (int row = 1; row <= kMaxSpotsPerStar; ++row) {
      const auto t = spotCellTexts(p.spots[static_cast<size_t>(star)][static_cast<size_t>(row)]);
      for (size_t q = 0; q < 4; ++q) e.cells[static_cast<size_t>(star)][static_cast<size_t>(row)][q] = t[q];
    }
  e.spotAB = {std::to_string(p.spotAStar), std::to_string(p.spotANumber), std::to_string(p.spotBStar),
              std::to_string(p.spotBNumber)};
  return e;
}

void setAB(SpotsEntry& e, const char* as, const char* an, const char* bs, const char* bn) {
  e.spotAB = {as, an, bs, bn};
}

}  // namespace

TEST(SpotRules, DegreeTextsRoundTrip) {
  EXPECT_EQ(spotAngleText(90.0 / DEG_PER_RAD), "  90.00");
  EXPECT_EQ(spotFactorText(0.9), "  .9000");
  ParameterSet p;
  p.spotCount[1] = 1;
  SpotsEntry e = entryFrom(p);
  e.cells[1][1] = {"90", " 45.5", "abc", "0.85"};
  EXPECT_FALSE(applySpotsOk(p, e, false).has_value());
  EXPECT_NEAR(p.spots[1][1].xlat, 1.5707963, 1e-7);
  EXPECT_NEAR(p.spots[1][1].xlong, 45.5 / DEG_PER_RAD, 1e-12);
  EXPECT_EQ(p.spots[1][1].radsp, 0.0) << "non-numbers read as 0";
  EXPECT_EQ(p.spots[1][1].temsp, 0.85);
  EXPECT_EQ(spotCellTexts(p.spots[1][1])[0], "  90.00");
}

TEST(SpotRules, ChecksInOrderWithMessages) {
  ParameterSet p;
  p.spotCount = {0, 2, 0};
  SpotsEntry e = entryFrom(p);
  setAB(e, "1", "2", "1", "1");
  EXPECT_FALSE(applySpotsOk(p, e, true).has_value()) << "spot A = 1/2, spot B = 1/1 accepted";

  p.spotCount = {0, 0, 2};
  setAB(e, "2", "1", "2", "1");
  EXPECT_EQ(applySpotsOk(p, e, true), "Hey!  Spot B must be different from Spot A.  Please make changes.");

  p.spotCount = {0, 1, 0};
  e.cells[1][1] = {"30", "40", "10", "0.9"};
  setAB(e, "1", "2", "1", "1");
  EXPECT_EQ(applySpotsOk(p, e, true), "Hey!  Spot A does not exist.  Please make changes.");
  EXPECT_NEAR(p.spots[1][1].xlat, 30 / DEG_PER_RAD, 1e-12) << "values typed before OK are stored";
  EXPECT_EQ(p.spotANumber, 2);
  EXPECT_EQ(p.totalSpotCount, 1);

  // One spot in all: Spot B is not examined.
  setAB(e, "1", "1", "2", "9");
  EXPECT_FALSE(applySpotsOk(p, e, true).has_value());

  p.spotCount = {0, 1, 1};
  setAB(e, "2", "1", "1", "3");
  EXPECT_EQ(applySpotsOk(p, e, true), "Hey!  Spot B does not exist.  Please make changes.");

  // Star numbers other than 1 or 2 and spot numbers below 1 pass.
  setAB(e, "3", "1", "1", "0");
  EXPECT_FALSE(applySpotsOk(p, e, true).has_value());
}

TEST(SpotRules, LcModeKeepsSpotABAndSkipsTheirChecks) {
  ParameterSet p;
  p.spotCount = {0, 0, 1};  // Spot A = star 1 spot 1 does not exist
  SpotsEntry e = entryFrom(p);
  setAB(e, "2", "1", "2", "2");
  EXPECT_FALSE(applySpotsOk(p, e, false).has_value());
  EXPECT_EQ(p.spotAStar, 1) << "hidden fields are not taken in LC mode";
  EXPECT_EQ(p.totalSpotCount, 1);
}

TEST(SpotRules, LoweringACountZeroesTheDroppedRows) {
  ParameterSet p;
  p.spotCount = {0, 3, 0};
  for (int row = 1; row <= 3; ++row) p.spots[1][static_cast<size_t>(row)] = {0.1 * row, 0.2, 0.3, 0.9};
  SpotsEntry e = entryFrom(p);
  p.spotCount[1] = 1;
  EXPECT_FALSE(applySpotsOk(p, e, false).has_value());
  EXPECT_NEAR(p.spots[1][1].xlat, 0.1, 1e-4);
  for (int row = 2; row <= 3; ++row) {
    const Spot& s = p.spots[1][static_cast<size_t>(row)];
    EXPECT_EQ(s.xlat + s.xlong + s.radsp + s.temsp, 0.0) << row;
  }
}

TEST(SpotRules, SpotsSevenToTenAreKeptAndEdited) {
  ParameterSet p;
  p.spotCount = {0, 8, 0};
  for (int row = 1; row <= 10; ++row) p.spots[1][static_cast<size_t>(row)] = {0.01 * row, 0.5, 0.2, 0.95};
  p.spots[2][9] = {1, 1, 1, 1};  // beyond the window of an ordinary star: untouched
  EXPECT_EQ(spotRowLimit(p), 10);
  SpotsEntry e = entryFrom(p);
  e.cells[1][8][3] = "0.5";
  EXPECT_FALSE(applySpotsOk(p, e, false).has_value());
  EXPECT_NEAR(p.spots[1][7].xlat, 0.07, 1e-4) << "spot 7 survives OK";
  EXPECT_EQ(p.spots[1][8].temsp, 0.5);
  EXPECT_EQ(p.spots[1][9].temsp, 0.0) << "rows above the count are cleared";
  EXPECT_EQ(p.spots[2][9].temsp, 0.0) << "the window edits ten rows for both stars";

  ParameterSet q;
  q.spotCount = {0, 2, 0};
  q.spots[1][8] = {1, 1, 1, 1};
  EXPECT_EQ(spotRowLimit(q), 6);
  SpotsEntry f = entryFrom(q);
  EXPECT_FALSE(applySpotsOk(q, f, false).has_value());
  EXPECT_EQ(q.spots[1][8].temsp, 1.0) << "rows 7..10 are not touched by a six-row window";
}

TEST(SpotRules, OverflowInSpotABStoresNothing) {
  ParameterSet p;
  p.spotCount = {0, 1, 0};
  SpotsEntry e = entryFrom(p);
  e.cells[1][1][0] = "45";
  setAB(e, "1", "40000", "1", "2");
  try {
    applySpotsOk(p, e, true);
    FAIL() << "expected overflow";
  } catch (const TavrinError& err) {
    EXPECT_EQ(err.number(), 6);
    EXPECT_STREQ(err.what(), "Error 6: Overflow.");
  }
  EXPECT_EQ(p.spots[1][1].xlat, 0.0);
  EXPECT_EQ(p.spotANumber, 1);
}

TEST(SpotRules, HighlightsFollowKeysAndSpotAB) {
  ParameterSet p;
  p.spotAStar = 2;
  p.spotANumber = 3;
  p.spotBStar = 1;
  p.spotBNumber = 1;
  p.adjustKeys[1] = '0';
  p.adjustKeys[4] = '0';
  p.adjustKeys[7] = '0';
  auto h = spotHighlights(p, 6);
  ASSERT_EQ(h.size(), 3u);
  EXPECT_EQ(h[0].star, 2);
  EXPECT_EQ(h[0].row, 3);
  EXPECT_EQ(h[0].quantity, 0);
  EXPECT_EQ(h[0].green, 192);
  EXPECT_EQ(h[0].red, 255);
  EXPECT_EQ(h[1].quantity, 3);
  EXPECT_EQ(h[2].star, 1);
  EXPECT_EQ(h[2].quantity, 2);
  EXPECT_EQ(h[2].red, 192);
  EXPECT_EQ(h[2].blue, 255);

  p.spotANumber = 7;
  EXPECT_EQ(spotHighlights(p, 6).size(), 1u) << "no row 7 in a six-row window";
  EXPECT_EQ(spotHighlights(p, 10).size(), 3u);
  p.spotAStar = 3;
  EXPECT_EQ(spotHighlights(p, 10).size(), 1u);
}

TEST(SpotRules, ColumnHelpTexts) {
  const auto lat2 = spotColumnHelp(0, 2);
  ASSERT_EQ(lat2.size(), 3u);
  EXPECT_EQ(lat2[0], "XLAT# ");
  EXPECT_EQ(lat2[1], "  The 'latitude' of a star spot centre, star 2, measured from 0 degrees at the");
  EXPECT_EQ(spotColumnHelp(3, 1).size(), 7u);
  EXPECT_EQ(spotColumnHelp(3, 1)[6], "  a spot if the unspotted temperature varies.");
  EXPECT_EQ(spotColumnHelp(1, 1)[1],
            "  The longitude of a star spot centre, star 1, measured counter-clockwise (as ");
  EXPECT_EQ(spotsHelpPage().title, "Help - Spots");
}
