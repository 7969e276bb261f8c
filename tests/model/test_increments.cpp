#include <gtest/gtest.h>

#include <tuple>

#include "model/increments.h"
#include "test_files.h"

using namespace tavrin;

namespace {

template <class Texts>
std::string joined(const Texts& t) {
  std::string s;
  for (size_t k = 1; k < t.size(); ++k) s += std::string(t[k]) + (k + 1 < t.size() ? " " : "");
  return s;
}

}  // namespace

TEST(Increments, StrictNumberAcceptsOnlyWholeNumericText) {
  const std::pair<const char*, double> good[] = {{"5", 5.0},     {" -1.0 ", -1.0},  {"+.5", 0.5},
                                                 {"5.", 5.0},    {"1e-3", 0.001},   {"1.5D+02", 150.0}};
  for (const auto& [text, value] : good) EXPECT_EQ(strictNumber(text), value) << '"' << text << '"';
  for (const char* bad : {"", "   ", "abc", "1,5", "5x", ".", "-", "1e", "1e+", "--1", "1.2.3", "0x10", "inf", "nan",
                          "1e999"})
    EXPECT_FALSE(strictNumber(bad).has_value()) << '"' << bad << '"';
}

// Shortest decimals of the start-up set (the 27th is x2Increment as held), the
// defaults (F1 and F2 0.01), a whole set stored (the 27th kept as typed), and
// refusals that store nothing, in golden/increments.txt.
TEST(Increments, TextsAndStoresAllOrNothing) {
  std::string log = joined(incrementTexts(ParameterSet{})) + "\n" + joined(defaultIncrementTexts()) + "\n";
  ParameterSet p;
  IncrementTexts t;
  for (int k = 1; k <= 27; ++k) t[static_cast<size_t>(k)] = std::to_string(k) + ".5";
  t[27] = " 0.02 ";
  ASSERT_FALSE(applyIncrementTexts(p, t).has_value());
  log += joined(incrementTexts(p)) + "|\n";
  EXPECT_EQ(p.increments[26], 26.5);
  EXPECT_EQ(p.x2Increment, " 0.02 ");
  for (const auto& [fixed, box, text] : {std::tuple{0, 14, "1.0x"}, {14, 6, ""}, {6, 27, "abc"}}) {
    if (fixed) t[static_cast<size_t>(fixed)] = "1";
    t[static_cast<size_t>(box)] = text;
    ParameterSet q;
    log += applyIncrementTexts(q, t).value_or("(stored)") + "\n";
    EXPECT_EQ(q.increments, ParameterSet::defaultIncrements());
    EXPECT_EQ(q.x2Increment, "0.01");
  }
  testing_support::expectGolden("model", "increments.txt", log);
}
