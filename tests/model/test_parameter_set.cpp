#include <gtest/gtest.h>

#include "model/parameter_history.h"
#include "model/parameter_set.h"

using namespace tavrin;

TEST(ParameterSet, NamedAccessCoversEveryField) {
  ParameterSet p;
  for (const auto& f : scalarFields()) {
    ASSERT_TRUE(getScalar(p, f.name).has_value()) << f.name;
    EXPECT_TRUE(setScalar(p, f.name, 1.0)) << f.name;
    EXPECT_EQ(*getScalar(p, f.name), 1.0) << f.name;
  }
  EXPECT_FALSE(getScalar(p, "NOPE").has_value());
}

TEST(ParameterSet, StartUpDefaults) {
  // The set's own defaults are pinned by the writers' start-up files.
  EXPECT_EQ(bandWavelengthTextForIndex(5), "0.440");
  EXPECT_EQ(bandWavelengthTextForIndex(19), "");
  EXPECT_EQ(findComboList("Combo3")->items[static_cast<size_t>(findComboList("Combo3")->startIndex)],
            "3:overcon,adj T2");
}

TEST(ParameterHistory, TwoShiftsWithoutEditsMakeRevertANoOp) {
  ParameterSet p;
  auto h = ParameterHistory::fromParameterSet(p);
  p.A = 10.0;
  h.shift(p);
  h.shift(p);
  p.A = 99.0;  // an Update after the second run
  h.revert(p);
  EXPECT_EQ(p.A, 10.0);
}
