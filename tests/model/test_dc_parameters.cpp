#include <gtest/gtest.h>

#include "model/dc_parameters.h"

namespace tavrin {
namespace {

// Each row's name, value slot and editor field must agree: a row copied
// with one column left over would apply a correction to the wrong value.
TEST(DcParameters, EveryScalarRowNamesItsOwnField) {
  for (const DcParameterInfo& d : dcParameterTable()) {
    if (!d.scalar) continue;
    SCOPED_TRACE(d.number);
    ParameterSet p;
    *dcParameterSlot(p, d.number, 0) = 1234.5;
    EXPECT_EQ(getScalar(p, d.name), 1234.5);
    ASSERT_NE(dcParameterEditorField(d.number), nullptr);
    EXPECT_EQ(dcParameterEditorField(d.number)->name, d.name);
  }
}

TEST(DcParameters, SpotAndCurveSlotsFollowTheChosenSpotsAndCurve) {
  ParameterSet p;
  p.spotAStar = 2;
  p.spotANumber = 3;
  p.spotBStar = 1;
  p.spotBNumber = 4;
  EXPECT_EQ(dcParameterSlot(p, 2, 0), &p.spots[2][3].xlong);
  EXPECT_EQ(dcParameterSlot(p, 8, 0), &p.spots[1][4].temsp);
  EXPECT_EQ(dcParameterSlot(p, 33, 2), &p.curves[4].x1);
  EXPECT_EQ(dcParameterSlot(p, 35, -1), &p.curves[1].el3);
  EXPECT_EQ(dcParameterSlot(p, 31, 6), nullptr);  // past the last curve row
  EXPECT_EQ(dcParameterSlot(p, 30, 0), nullptr);
  p.spotBNumber = kMaxSpotsPerStar + 1;
  EXPECT_EQ(dcParameterSlot(p, 5, 0), nullptr);
}

TEST(DcParameters, LabelsAndScalesByNumber) {
  EXPECT_EQ(dcParameterLabel(23), "Pot'l 1");
  EXPECT_EQ(dcParameterLabel(30), "       ");
  EXPECT_EQ(dcParameterLabel(36), "");
  EXPECT_DOUBLE_EQ(dcDisplayScale(7), DEG_PER_RAD);
  EXPECT_DOUBLE_EQ(dcDisplayScale(8), 1.0);
  EXPECT_DOUBLE_EQ(dcDisplayScale(20), 10000.0);
  EXPECT_EQ(dcParameterKeyLabel(35), "Label60");
  EXPECT_EQ(dcParameterKeyLabel(31), "");
  EXPECT_EQ(dcParameterInfo(16).incrementBox, 14);
}

}  // namespace
}  // namespace tavrin
