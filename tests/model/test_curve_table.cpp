#include <gtest/gtest.h>

#include <sstream>

#include "model/curve_table.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;

namespace {

std::string textsOf(const CurveRowTexts& t) {
  return t.band + "|" + t.dataFile + "|" + t.wavel + "|" + t.l1 + "|" + t.l2 + "|" + t.x1 + "|" + t.x2 + "|" + t.y1 +
         "|" + t.y2 + "|" + t.sigma + "|" + t.noise + "|" + t.el3;
}

std::string rowOf(const CurveRow& c) {
  std::ostringstream o;
  o << c.band << '|' << c.dataFile << '|' << c.wavel << '|' << c.l1 << '|' << c.l2 << '|' << c.x1 << '|' << c.x2 << '|'
    << c.y1 << '|' << c.y2 << '|' << c.sigma << '|' << c.noise << '|' << c.el3 << '|' << c.opsf << '|'
    << c.points.size();
  return o.str();
}

std::string curvesOf(const ParameterSet& p) {
  std::string s = "velocity " + std::to_string(p.velocityCurveCount) + " IFVC1 " + std::to_string(p.IFVC1) + " IFVC2 " +
                  std::to_string(p.IFVC2) + " NLC " + std::to_string(p.NLC) + "\n";
  for (size_t r = 1; r <= kCurveRows; ++r) s += rowOf(p.curves[r]) + "\n";
  return s;
}

}  // namespace

// Switches, band wavelengths and dialog captions over their whole ranges.
TEST(CurveTable, Lookups) {
  std::ostringstream o;
  for (int n = 0; n <= 2; ++n)
    for (const char* file : {"", "rv1.csv"}) {
      const auto s = velocitySwitches(n, file);
      o << "velocity " << n << " [" << file << "] " << s[0] << ' ' << s[1] << '\n';
    }
  for (int band = -3; band <= 27; ++band)
    o << "band " << band << " [" << wavelengthForBandText(std::to_string(band)) << "]\n";
  for (const char* band : {"abc", "99999", "7.4", " 7"}) o << "band " << band << " [" << wavelengthForBandText(band) << "]\n";
  for (int row = -1; row <= 8; ++row) o << "row " << row << " [" << dataFileDialogCaption(row) << "]\n";
  testing_support::expectGolden("model", "curve_table_lookups.txt", o.str());
}

TEST(CurveTable, RowTextsInTheirForms) {
  // band, file, wavel, l1, l2, x1, x2, y1, y2, el3, opsf, noise, sigma, points
  const CurveRow r{7, "v.csv", 0.55, 7.84139, 0.9, 0.535, 0, 12.3456, -0.25, 0.5, 0, 1, 0.012, {}};
  EXPECT_EQ(textsOf(curveRowTexts(r, true)), "7|v.csv|   .5500|  7.841|   .900|.535|0|12.3456|-.25|.012|1|.5");
  EXPECT_EQ(textsOf(curveRowTexts(r, false)), "7|v.csv|   .5500|  7.841|   .900|.535|0|12.3456|-.25|.012||");
}

TEST(CurveTable, OkStoresUsedRowsAndSwitches) {
  ParameterSet p;
  p.curves[4].l1 = 9.0;  // a light row beyond the count keeps its values
  p.curves[3].points = {{0.1, 1.0, 1.0}};  // observations are not touched
  DataFileEntry e;
  e.velocityCount = 2;
  e.lightCount = 1;
  e.rows[1] = curveRowTexts(CurveRow{}, false);
  e.rows[2] = {"7", "rv2.csv", "0.55", "1", "1", "0.5", "0.5", "0", "0", "2.5", "", ""};
  e.rows[3] = {"6", "b.csv", ".44", "7.8", "0.9", "0.6", "0.6", "0.2", "0.2", "0.01", "1", "0.05"};
  e.rows[4] = {"6", "x.csv", ".44", "1", "1", "1", "1", "1", "1", "1", "1", "1"};
  applyDataFileEntry(p, e);  // two velocity curves, no file on row 1: IFVC1 0
  // Non-numbers store zero; an overflow stores nothing.
  ParameterSet q;
  DataFileEntry f;
  f.lightCount = 1;
  f.rows[3] = {"B", "f", "x", "", "", "", "", "", "", "", "", ""};
  applyDataFileEntry(q, f);
  testing_support::expectGolden("model", "curve_table_ok.txt", curvesOf(p) + curvesOf(q));
  ParameterSet r;
  f.velocityCount = 1;
  f.rows[1].band = "7";
  f.rows[3].noise = "70000";
  EXPECT_THROW(applyDataFileEntry(r, f), TavrinError);
  EXPECT_EQ(curvesOf(r), curvesOf(ParameterSet{}));
}

TEST(CurveTable, MiscParameters) {
  ParameterSet p;
  EXPECT_EQ(miscParameterTexts(p), (MiscTexts{"1", "1", "1", ".001", "0", "0", "1"}));
  applyMiscParameterTexts(p, {"0", "2.5", "1.5", "1e-4", "1", "2", "3"});  // halves to even
  EXPECT_EQ(miscParameterTexts(p), (MiscTexts{"0", "2", "2", ".0001", "1", "2", "3"}));
  EXPECT_EQ(p.XLAMDA, 1e-4);
  EXPECT_THROW(applyMiscParameterTexts(p, {"9", "9", "9", "9", "9", "9", "40000"}), TavrinError);
  EXPECT_EQ(miscParameterTexts(p), (MiscTexts{"0", "2", "2", ".0001", "1", "2", "3"})) << "nothing stored on overflow";
}
