#include <gtest/gtest.h>

#include "model/increments.h"

using namespace tavrin;

TEST(Increments, StartUpTextsAreShortestDecimals) {
  const ParameterSet p;
  const auto t = incrementTexts(p);
  const char* first14[] = {"5", "5", "3", "0.03", "5", "5", "3", "0.03", "0.01", "0.1", "0.1", "0.1", "0.002", "-1"};
  for (int k = 1; k <= 14; ++k) EXPECT_EQ(t[static_cast<size_t>(k)], first14[k - 1]) << k;
  EXPECT_EQ(t[26], "0.01");
  EXPECT_EQ(t[27], "0.01") << "x2Increment as held";
}

TEST(Increments, DefaultTextsGiveF1F2APointZeroOne) {
  const auto& d = defaultIncrementTexts();
  EXPECT_EQ(d[1], "5.0");
  EXPECT_EQ(d[4], "0.03");
  EXPECT_EQ(d[10], "0.10");
  EXPECT_EQ(d[11], "0.01");
  EXPECT_EQ(d[12], "0.01");
  EXPECT_EQ(d[13], "0.002");
  EXPECT_EQ(d[14], "-1.0");
  for (int k = 15; k <= 27; ++k) EXPECT_EQ(d[static_cast<size_t>(k)], "0.01") << k;
}

TEST(Increments, StrictNumberAcceptsOnlyWholeNumericText) {
  EXPECT_EQ(strictNumber("5"), 5.0);
  EXPECT_EQ(strictNumber(" -1.0 "), -1.0);
  EXPECT_EQ(strictNumber("+.5"), 0.5);
  EXPECT_EQ(strictNumber("5."), 5.0);
  EXPECT_EQ(strictNumber("1e-3"), 0.001);
  EXPECT_EQ(strictNumber("1.5D+02"), 150.0);
  for (const char* bad : {"", "   ", "abc", "1,5", "5x", ".", "-", "1e", "1e+", "--1", "1.2.3", "0x10", "inf", "nan",
                          "1e999"})
    EXPECT_FALSE(strictNumber(bad).has_value()) << '"' << bad << '"';
}

TEST(Increments, StoresAllOrNothing) {
  ParameterSet p;
  IncrementTexts t;
  for (int k = 1; k <= 27; ++k) t[static_cast<size_t>(k)] = std::to_string(k) + ".5";
  t[27] = " 0.02 ";
  ASSERT_FALSE(applyIncrementTexts(p, t).has_value());
  EXPECT_EQ(p.increments[1], 1.5);
  EXPECT_EQ(p.increments[26], 26.5);
  EXPECT_EQ(p.x2Increment, " 0.02 ") << "the 27th is kept as typed";

  ParameterSet q;
  t[14] = "1.0x";
  const auto msg = applyIncrementTexts(q, t);
  ASSERT_TRUE(msg.has_value());
  EXPECT_EQ(*msg, "The increment \"Inclination\" (box 14) is not a number.  Please correct it; no increment has been "
                  "changed.");
  EXPECT_EQ(q.increments, ParameterSet::defaultIncrements());
  EXPECT_EQ(q.x2Increment, "0.01");

  t[14] = "1";
  t[6] = "";
  EXPECT_EQ(*applyIncrementTexts(q, t),
            "The increment \"Star 2 Spot: Long. of spot\" (box 6) is not a number.  Please correct it; no increment "
            "has been changed.");
  t[6] = "1";
  t[27] = "abc";
  EXPECT_NE(applyIncrementTexts(q, t)->find("\"X2 (limb dark.)\" (box 27)"), std::string::npos);
  EXPECT_EQ(q.x2Increment, "0.01");
}
