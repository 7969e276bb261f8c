#include <gtest/gtest.h>

#include "model/curve_table.h"
#include "shell/errors.h"

using namespace tavrin;

TEST(CurveTable, VelocitySwitches) {
  EXPECT_EQ(velocitySwitches(0, "a.csv"), (std::array<int16_t, 2>{0, 0}));
  EXPECT_EQ(velocitySwitches(1, ""), (std::array<int16_t, 2>{1, 0}));
  EXPECT_EQ(velocitySwitches(2, ""), (std::array<int16_t, 2>{0, 1}));
  EXPECT_EQ(velocitySwitches(2, "rv1.csv"), (std::array<int16_t, 2>{1, 1}));
}

TEST(CurveTable, BandWavelengths) {
  EXPECT_EQ(wavelengthForBandText("7"), "0.550");
  EXPECT_EQ(wavelengthForBandText("20"), "");
  EXPECT_EQ(wavelengthForBandText("1"), "0.350");
  EXPECT_EQ(wavelengthForBandText("5"), "0.350");
  EXPECT_EQ(wavelengthForBandText("16"), "0.789");
  EXPECT_EQ(wavelengthForBandText("23"), "0.420");
  EXPECT_EQ(wavelengthForBandText("24"), "0.530");
  EXPECT_EQ(wavelengthForBandText("25"), "");
  EXPECT_EQ(wavelengthForBandText("0"), "");
  EXPECT_EQ(wavelengthForBandText("-3"), "");
  EXPECT_EQ(wavelengthForBandText("abc"), "");
  EXPECT_EQ(wavelengthForBandText("99999"), "");
}

TEST(CurveTable, DialogCaptions) {
  EXPECT_EQ(dataFileDialogCaption(1), "Load data from File 1 (RV)");
  EXPECT_EQ(dataFileDialogCaption(2), "Load data from File 2 (RV)");
  EXPECT_EQ(dataFileDialogCaption(3), "Load data from File 3 (Phot)");
  EXPECT_EQ(dataFileDialogCaption(7), "Load data from File 7 (Phot)");
  EXPECT_EQ(dataFileDialogCaption(8), "");
}

TEST(CurveTable, RowTextsInTheirForms) {
  CurveRow r;
  r.band = 7;
  r.dataFile = "v.csv";
  r.wavel = 0.55;
  r.l1 = 7.84139;
  r.l2 = 0.9;
  r.x1 = 0.535;
  r.y2 = -0.25;
  r.sigma = 0.012;
  r.noise = 1;
  r.el3 = 0.5;
  const auto t = curveRowTexts(r, true);
  EXPECT_EQ(t.band, "7");
  EXPECT_EQ(t.wavel, "   .5500");
  EXPECT_EQ(t.l1, "  7.841");
  EXPECT_EQ(t.l2, "   .900");
  EXPECT_EQ(t.x1, ".535");
  EXPECT_EQ(t.x2, "0");
  EXPECT_EQ(t.y2, "-.25");
  EXPECT_EQ(t.sigma, ".012");
  EXPECT_EQ(t.noise, "1");
  EXPECT_EQ(t.el3, ".5");
  EXPECT_EQ(curveRowTexts(r, false).noise, "");
}

TEST(CurveTable, OkStoresUsedRowsAndSwitches) {
  ParameterSet p;
  p.curves[4].l1 = 9.0;  // a light row beyond the count keeps its values
  p.curves[3].points = {{0.1, 1.0, 1.0}};
  DataFileEntry e;
  e.velocityCount = 2;
  e.lightCount = 1;
  e.rows[1] = curveRowTexts(CurveRow{}, false);
  e.rows[2] = {"7", "rv2.csv", "0.55", "1", "1", "0.5", "0.5", "0", "0", "2.5", "", ""};
  e.rows[3] = {"6", "b.csv", ".44", "7.8", "0.9", "0.6", "0.6", "0.2", "0.2", "0.01", "1", "0.05"};
  e.rows[4] = {"6", "x.csv", ".44", "1", "1", "1", "1", "1", "1", "1", "1", "1"};
  applyDataFileEntry(p, e);
  EXPECT_EQ(p.velocityCurveCount, 2);
  EXPECT_EQ(p.IFVC1, 0) << "two velocity curves, no file on row 1";
  EXPECT_EQ(p.IFVC2, 1);
  EXPECT_EQ(p.NLC, 1);
  EXPECT_EQ(p.curves[2].dataFile, "rv2.csv");
  EXPECT_EQ(p.curves[2].band, 7);
  EXPECT_EQ(p.curves[2].sigma, 2.5);
  EXPECT_EQ(p.curves[3].noise, 1);
  EXPECT_EQ(p.curves[3].el3, 0.05);
  EXPECT_EQ(p.curves[3].wavel, 0.44);
  EXPECT_EQ(p.curves[3].points.size(), 1u) << "observations are not touched";
  EXPECT_EQ(p.curves[4].l1, 9.0);
  EXPECT_EQ(p.curves[4].dataFile, "");
}

TEST(CurveTable, NonNumbersStoreZeroAndOverflowStoresNothing) {
  ParameterSet p;
  DataFileEntry e;
  e.lightCount = 1;
  e.rows[3] = {"B", "f", "x", "", "", "", "", "", "", "", "", ""};
  applyDataFileEntry(p, e);
  EXPECT_EQ(p.curves[3].band, 0);
  EXPECT_EQ(p.curves[3].wavel, 0.0);

  ParameterSet q;
  e.velocityCount = 1;
  e.rows[1].band = "7";
  e.rows[3].noise = "70000";
  EXPECT_THROW(applyDataFileEntry(q, e), TavrinError);
  EXPECT_EQ(q.velocityCurveCount, 0);
  EXPECT_EQ(q.curves[1].band, 0);
}

TEST(CurveTable, MiscParameters) {
  ParameterSet p;
  const auto t = miscParameterTexts(p);
  EXPECT_EQ(t, (MiscTexts{"1", "1", "1", ".001", "0", "0", "1"}));
  applyMiscParameterTexts(p, {"0", "2.5", "1.5", "1e-4", "1", "2", "3"});
  EXPECT_EQ(p.IFDER, 0);
  EXPECT_EQ(p.IFM, 2) << "halves to even";
  EXPECT_EQ(p.IFR, 2);
  EXPECT_EQ(p.XLAMDA, 1e-4);
  EXPECT_EQ(p.KDISK, 1);
  EXPECT_EQ(p.KO, 2);
  EXPECT_EQ(p.NPPL, 3);
  EXPECT_THROW(applyMiscParameterTexts(p, {"9", "9", "9", "9", "9", "9", "40000"}), TavrinError);
  EXPECT_EQ(p.IFDER, 0) << "nothing stored on overflow";
}
