#include <gtest/gtest.h>

#include "model/increments.h"

using namespace tavrin;

namespace {

template <class Texts>
std::string joined(const Texts& t) {
  std::string s;
  for (size_t k = 1; k < t.size(); ++k) s += std::string(t[k]) + (k + 1 < t.size() ? " " : "");
  return s;
}

}  // namespace

TEST(Increments, StartUpAndDefaultTexts) {
  // Shortest decimals of the start-up set; the 27th is x2Increment as held.
  EXPECT_EQ(joined(incrementTexts(ParameterSet{})),
            "5 5 3 0.03 5 5 3 0.03 0.01 0.1 0.1 0.1 0.002 -1 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 "
            "0.01 0.01");
  // The defaults give F1 and F2 0.01.
  EXPECT_EQ(joined(defaultIncrementTexts()),
            "5.0 5.0 3.0 0.03 5.0 5.0 3.0 0.03 0.01 0.10 0.01 0.01 0.002 -1.0 0.01 0.01 0.01 0.01 0.01 0.01 0.01 0.01 "
            "0.01 0.01 0.01 0.01 0.01");
}

TEST(Increments, StrictNumberAcceptsOnlyWholeNumericText) {
  const std::pair<const char*, double> good[] = {{"5", 5.0},     {" -1.0 ", -1.0},  {"+.5", 0.5},
                                                 {"5.", 5.0},    {"1e-3", 0.001},   {"1.5D+02", 150.0}};
  for (const auto& [text, value] : good) EXPECT_EQ(strictNumber(text), value) << '"' << text << '"';
  for (const char* bad : {"", "   ", "abc", "1,5", "5x", ".", "-", "1e", "1e+", "--1", "1.2.3", "0x10", "inf", "nan",
                          "1e999"})
    EXPECT_FALSE(strictNumber(bad).has_value()) << '"' << bad << '"';
}

TEST(Increments, StoresAllOrNothing) {
  ParameterSet p;
  IncrementTexts t;
  for (int k = 1; k <= 27; ++k) t[static_cast<size_t>(k)] = std::to_string(k) + ".5";
  t[27] = " 0.02 ";  // the 27th is kept as typed
  ASSERT_FALSE(applyIncrementTexts(p, t).has_value());
  EXPECT_EQ(joined(incrementTexts(p)),
            "1.5 2.5 3.5 4.5 5.5 6.5 7.5 8.5 9.5 10.5 11.5 12.5 13.5 14.5 15.5 16.5 17.5 18.5 19.5 20.5 21.5 22.5 23.5 "
            "24.5 25.5 26.5  0.02 ");
  EXPECT_EQ(p.increments[26], 26.5);
  EXPECT_EQ(p.x2Increment, " 0.02 ");

  ParameterSet q;
  t[14] = "1.0x";
  EXPECT_EQ(applyIncrementTexts(q, t).value_or(""),
            "The increment \"Inclination\" (box 14) is not a number.  Please correct it; no increment has been "
            "changed.");
  EXPECT_EQ(q.increments, ParameterSet::defaultIncrements());
  EXPECT_EQ(q.x2Increment, "0.01");
  t[14] = "1";
  t[6] = "";
  EXPECT_EQ(applyIncrementTexts(q, t).value_or(""),
            "The increment \"Star 2 Spot: Long. of spot\" (box 6) is not a number.  Please correct it; no increment "
            "has been changed.");
  t[6] = "1";
  t[27] = "abc";
  EXPECT_NE(applyIncrementTexts(q, t).value_or("").find("\"X2 (limb dark.)\" (box 27)"), std::string::npos);
  EXPECT_EQ(q.x2Increment, "0.01");
}
