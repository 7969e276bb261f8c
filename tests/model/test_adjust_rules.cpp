#include <gtest/gtest.h>

#include "model/adjust_rules.h"

using namespace tavrin;

namespace {

using Checks = std::array<bool, kAdjustKeys + 1>;

Checks only(std::initializer_list<int> keys) {
  Checks c{};
  for (int k : keys) c[static_cast<size_t>(k)] = true;
  return c;
}

std::string keysText(const ParameterSet& p, int from, int to) {
  std::string s;
  for (int k = from; k <= to; ++k) s += p.adjustKeys[static_cast<size_t>(k)];
  return s;
}

AdjustModel model(double e = 0.1, int mode = 2, int jdphs = 1, int spots = 2, int velocity = 2) {
  AdjustModel m;
  m.eccentricity = e;
  m.mode = mode;
  m.jdphs = jdphs;
  m.totalSpots = spots;
  m.velocityCurves = velocity;
  return m;
}

}  // namespace

TEST(AdjustRules, SpotAMissingStopsAfterKeysOneToFour) {
  ParameterSet p;
  p.adjustedParams = {14};
  const auto out = applyAdjustChoice(p, model(0.1, 2, 1, /*spots*/ 0), only({3, 9, 14}));
  EXPECT_FALSE(out.accepted);
  EXPECT_EQ(out.message,
            "Hey!  Spot A does not exist!.  Please make changes on the spots page or do not try to vary any Spot A "
            "parameters.");
  EXPECT_EQ(keysText(p, 1, 4), "1101");
  EXPECT_EQ(keysText(p, 5, 35), std::string(31, '1')) << "later keys keep their old values";
  EXPECT_EQ(p.adjustedParams, std::vector<int16_t>{14}) << "not rebuilt on a refusal";
  EXPECT_TRUE(out.labelColours.empty());
}

TEST(AdjustRules, SpotBNeedsTwoSpotsSpotANeedsOne) {
  ParameterSet p;
  auto out = applyAdjustChoice(p, model(0.1, 2, 1, 1), only({5}));
  EXPECT_EQ(out.message,
            "Hey!  Spot B does not exist.  Please make changes on the spots page or do not try to vary any Spot B "
            "parameters.");
  EXPECT_EQ(keysText(p, 1, 8), "11110111");

  ParameterSet q;
  out = applyAdjustChoice(q, model(0.1, 2, 1, 1), only({1, 2, 3, 4}));
  EXPECT_TRUE(out.accepted) << out.message;
  EXPECT_EQ(q.adjustedParams, (std::vector<int16_t>{1, 2, 3, 4}));
}

TEST(AdjustRules, VelocityCurvesNeededForAAndVGamma) {
  ParameterSet p;
  auto out = applyAdjustChoice(p, model(0.1, 2, 1, 0, 0), only({9}));
  EXPECT_EQ(out.message,
            "Hey!  No radial velocity curve has been loaded.  Please either load 1 or 2, or do not try to vary the "
            "semi-major axis.");
  EXPECT_EQ(p.adjustKeys[9], '0') << "a refused key is already taken";
  ASSERT_EQ(out.labelColours.size(), 1u);
  EXPECT_EQ(out.labelColours[0].label, "Label35");
  EXPECT_TRUE(out.labelColours[0].red);

  out = applyAdjustChoice(p, model(0.1, 2, 1, 0, 0), only({15}));
  EXPECT_EQ(out.message,
            "Hey!  No radial velocity curve has been loaded.  Please either load 1 or 2, or do not try to vary V "
            "gamma.");
  EXPECT_EQ(p.adjustKeys[9], '1') << "unchecking settles the refused key";

  out = applyAdjustChoice(p, model(0.1, 2, 1, 0, 1), only({9, 15}));
  EXPECT_TRUE(out.accepted);
}

TEST(AdjustRules, EccentricityThresholdForPeriastronAndItsRate) {
  ParameterSet p;
  auto out = applyAdjustChoice(p, model(0.0000005), only({11}));
  EXPECT_EQ(out.message, "Your eccentricity = 0.  Therefore you cannot vary the Argument of the Periastron; please fix.");
  out = applyAdjustChoice(p, model(-0.0000005), only({29}));
  EXPECT_EQ(out.message, "Your eccentricity = 0.  Therefore you cannot vary dPer/dt; please fix.");
  out = applyAdjustChoice(p, model(0.000001), only({11, 29}));
  EXPECT_TRUE(out.accepted) << out.message;
}

TEST(AdjustRules, ModeRefusalsForT2AndPotentials) {
  struct Case {
    int key, mode;
    const char* message;
  };
  const Case cases[] = {
      {20, 1, "Hey!  You cannot adjust T2 in mode 1, where T2=T1.  Use mode 3 if you want to do this."},
      {23, 4,
       "Jeepers!  You cannot adjust Potential 1 in mode 4 (semidetached with star 1 filling its Roche lobe."},
      {23, 6,
       "Aw shucks!  You cannot adjust Potential 1 in mode 6 (double contact - both stars fill their Roche lobes)."},
      {24, 1,
       "Hey!  In mode 1 or mode 3 -- both overcontact binary cases -- you cannot vary Potential 2, as it is tied "
       "to Potential 1."},
      {24, 3,
       "Hey!  In mode 1 or mode 3 -- both overcontact binary cases -- you cannot vary Potential 2, as it is tied "
       "to Potential 1."},
      {24, 5,
       "Hey!  You cannot adjust Potential 2 in mode 5 (semidetached with star 2 filling its Roche lobe -- Algol "
       "case)."},
      {24, 6, "Hey!  You cannot adjust Potential 2 in mode 6 (double contact - both stars fill their Roche lobes)."},
  };
  for (const auto& c : cases) {
    ParameterSet p;
    const auto out = applyAdjustChoice(p, model(0.1, c.mode), only({c.key}));
    EXPECT_FALSE(out.accepted);
    EXPECT_EQ(out.message, c.message) << "key " << c.key << " mode " << c.mode;
  }
  for (int mode : {-1, 0, 2, 3, 5}) {
    ParameterSet p;
    EXPECT_TRUE(applyAdjustChoice(p, model(0.1, mode), only({23})).accepted) << mode;
  }
  for (int mode : {-1, 0, 2, 4}) {
    ParameterSet p;
    EXPECT_TRUE(applyAdjustChoice(p, model(0.1, mode), only({24})).accepted) << mode;
  }
}

TEST(AdjustRules, KeyTwentyFourKeepsItsOldValueWhenRefused) {
  ParameterSet p;
  p.adjustKeys[24] = '1';
  auto out = applyAdjustChoice(p, model(0.1, 3), only({16, 24}));
  EXPECT_FALSE(out.accepted);
  EXPECT_EQ(p.adjustKeys[24], '1');
  EXPECT_EQ(p.adjustKeys[16], '0');
  for (const auto& lc : out.labelColours) EXPECT_NE(lc.label, "Label47");

  // Already adjusted from a file: the refusal leaves it adjusted.
  ParameterSet q;
  q.adjustKeys[24] = '0';
  out = applyAdjustChoice(q, model(0.1, 5), only({24}));
  EXPECT_FALSE(out.accepted);
  EXPECT_EQ(q.adjustKeys[24], '0');

  ParameterSet r;
  out = applyAdjustChoice(r, model(0.1, 2), only({24}));
  EXPECT_TRUE(out.accepted);
  EXPECT_EQ(r.adjustKeys[24], '0');
}

TEST(AdjustRules, TimeKeysOnlyWithJulianDates) {
  const char* messages[] = {
      "You have selected JDPHS = 2 (phases).  Therefore, you cannot vary HJDo.  Please change.",
      "You have selected JDPHS = 2 (phases).  Therefore, you cannot vary the period.  Please change.",
      "You have selected JDPHS = 2 (phases).  Therefore, you cannot vary the dP/dt.  Please change.",
  };
  for (int k = 26; k <= 28; ++k) {
    ParameterSet p;
    EXPECT_EQ(applyAdjustChoice(p, model(0.1, 2, 2), only({k})).message, messages[k - 26]);
    for (int mode = -1; mode <= 6; ++mode) {
      ParameterSet q;
      EXPECT_TRUE(applyAdjustChoice(q, model(0.1, mode, 1), only({k})).accepted) << k << " " << mode;
    }
  }
}

TEST(AdjustRules, FirstFailingTestWinsInKeyOrder) {
  ParameterSet p;
  // Both key 11 (e = 0) and key 20 (mode 1) fail; key 11 comes first.
  auto out = applyAdjustChoice(p, model(0.0, 1), only({11, 20}));
  EXPECT_EQ(out.message, "Your eccentricity = 0.  Therefore you cannot vary the Argument of the Periastron; please fix.");
  EXPECT_EQ(p.adjustKeys[20], '1');
}

TEST(AdjustRules, SuccessRebuildsListAndColoursLabels) {
  ParameterSet p;
  p.adjustKeys[10] = '0';  // previously adjusted, now unchecked
  const auto out = applyAdjustChoice(p, model(), only({31, 35}));
  ASSERT_TRUE(out.accepted);
  EXPECT_EQ(p.adjustedParams, (std::vector<int16_t>{31, 35}));
  EXPECT_EQ(p.adjustKeys[30], '1');
  // Every key with a main label is coloured, in key order; key 31 has none.
  ASSERT_EQ(out.labelColours.size(), 22u);
  EXPECT_EQ(out.labelColours.front().label, "Label35");
  EXPECT_EQ(out.labelColours.back().label, "Label60");
  EXPECT_TRUE(out.labelColours.back().red);
  for (size_t i = 0; i + 1 < out.labelColours.size(); ++i) EXPECT_FALSE(out.labelColours[i].red);
}

TEST(AdjustRules, MoreThanFifteenIsRefusedAndNothingTaken) {
  ParameterSet p;
  Checks all{};
  for (int k = 9; k <= 24; ++k) all[static_cast<size_t>(k)] = true;  // 16 keys, each allowed alone
  auto out = applyAdjustChoice(p, model(0.1, 2, 1), all);
  EXPECT_FALSE(out.accepted);
  EXPECT_EQ(out.message, "DC can adjust at most 15 parameters at a time, but 16 are selected.  Please deselect 1.");
  EXPECT_EQ(keysText(p, 1, 35), std::string(35, '1'));
  EXPECT_TRUE(out.labelColours.empty());

  all[24] = false;  // fifteen is the limit itself
  out = applyAdjustChoice(p, model(0.1, 2, 1), all);
  EXPECT_TRUE(out.accepted) << out.message;
  EXPECT_EQ(p.adjustedCount(), 15);

  // A key 30 set by a file counts too.
  ParameterSet q;
  q.adjustKeys[30] = '0';
  out = applyAdjustChoice(q, model(0.1, 2, 1), all);
  EXPECT_FALSE(out.accepted);
  EXPECT_EQ(q.adjustKeys[9], '1');
}

TEST(AdjustRules, KeyTableMatchesTheWindow) {
  const auto& t = adjustKeyTable();
  ASSERT_EQ(t.size(), 34u);
  EXPECT_EQ(t[0].caption, "Spot Latitude");
  EXPECT_EQ(t[27].caption, "dP/ dt");
  EXPECT_EQ(t[28].checkBox, "Check29");
  EXPECT_EQ(t[29].checkBox, "Check31");
  EXPECT_EQ(mainLabelForKey(14), "Label13");
  EXPECT_EQ(mainLabelForKey(30), "");
}
