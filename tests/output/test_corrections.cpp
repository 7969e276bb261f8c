#include <gtest/gtest.h>

#include "model/number_fields.h"
#include "model/parameter_history.h"
#include "output/corrections.h"
#include "shell/errors.h"

using namespace tavrin;

namespace {

DcResults threeRows() {
  DcResults r;
  r.adjustedCount = 3;
  r.adjustedParams[1] = 19;
  r.adjustedParams[2] = 2;
  r.adjustedParams[3] = 32;
  r.ioRows[1] = {19, 0, 0.53, 0.015, 0.545, 0.002};
  r.ioRows[2] = {2, 0, 1.0, 0.1, 1.1, 0.01};
  r.ioRows[3] = {32, 1, 0.9, -0.05, 0.85, 0.003};
  r.ioRowCount = 3;
  r.sumWResInput = 12.3456789;
  r.sumWResPredicted = 0.5;
  return r;
}

}  // namespace

TEST(Corrections, Labels) {
  EXPECT_EQ(dcParameterLabel(1), "SpLat A");
  EXPECT_EQ(dcParameterLabel(8), "SpTmF B");
  EXPECT_EQ(dcParameterLabel(19), "T1");
  EXPECT_EQ(dcParameterLabel(23), "Pot'l 1");
  EXPECT_EQ(dcParameterLabel(29), "dPer/dt");
  EXPECT_EQ(dcParameterLabel(30), "       ");
  EXPECT_EQ(dcParameterLabel(35), "EL3");
  EXPECT_EQ(dcParameterLabel(0), "");
  EXPECT_EQ(dcParameterLabel(36), "");
  EXPECT_EQ(dcParameterLabel(-5), "");
}

TEST(Corrections, IoParmsRowsScaledAndHidden) {
  UpdateDone done{};
  done[2] = true;
  IoParmsView v = ioParmsView(threeRows(), done, "star.dco");
  EXPECT_EQ(v.caption, "I/O Parms - star.dco");
  // T1: shown in kelvin.
  EXPECT_EQ(v.rows[1].label, "T1");
  EXPECT_EQ(v.rows[1].param, "19");
  EXPECT_EQ(v.rows[1].curve, " 0");
  EXPECT_EQ(v.rows[1].input, fixedField(5300.0, 10, 7));
  EXPECT_EQ(v.rows[1].correction, fixedField(150.0, 6, 4));
  EXPECT_EQ(v.rows[1].stdDev, fixedField(20.0, 6, 4));
  EXPECT_EQ(v.rows[1].output, "5450.00000");
  EXPECT_EQ(v.rows[1].button, "Update");
  // Spot longitude: degrees.
  EXPECT_EQ(v.rows[2].label, "SpLng A");
  EXPECT_EQ(v.rows[2].input, fixedField(57.29577951, 10, 7));
  EXPECT_EQ(v.rows[2].button, "Done");
  EXPECT_EQ(v.rows[3].label, "L2");
  EXPECT_EQ(v.rows[3].output, ".850000000");
  for (int i = 1; i <= 3; ++i) EXPECT_TRUE(v.rows[i].visible);
  for (int i = 4; i <= 8; ++i) {
    EXPECT_FALSE(v.rows[i].visible) << i;
    EXPECT_EQ(v.rows[i].label, "");
    EXPECT_EQ(v.rows[i].param, "0");
  }
  EXPECT_EQ(v.sumInput, fixedField(12.3456789, 8, 5));
  EXPECT_EQ(v.sumPredicted, "  .50000");
}

TEST(Corrections, RowsOfOneKeyForSeveralCurvesKeepTheirNames) {
  // L1 and x1 adjusted for two light curves: two keys, four rows.
  DcResults r;
  r.adjustedCount = 2;
  r.adjustedParams[1] = 31;
  r.adjustedParams[2] = 33;
  r.ioRows[1] = {31, 1, 7.8, 0.1, 7.9, 0.01};
  r.ioRows[2] = {31, 2, 6.1, 0.1, 6.2, 0.01};
  r.ioRows[3] = {33, 1, 0.5, 0.01, 0.51, 0.001};
  r.ioRows[4] = {33, 2, 0.6, 0.01, 0.61, 0.001};
  r.ioRowCount = 4;
  IoParmsView v = ioParmsView(r, UpdateDone{}, "x.dco");
  EXPECT_EQ(v.rows[1].label, "L1");
  EXPECT_EQ(v.rows[2].label, "L1");
  EXPECT_EQ(v.rows[3].label, "x1");
  EXPECT_EQ(v.rows[4].label, "x1");
  EXPECT_EQ(v.rows[2].curve, " 2");
  // A spot longitude after a per-curve row is still shown in degrees.
  r.ioRows[5] = {2, 0, 1.0, 0.0, 1.0, 0.0};
  EXPECT_EQ(ioParmsView(r, UpdateDone{}, "x.dco").rows[5].input, fixedField(DEG_PER_RAD, 10, 7));
}

TEST(Corrections, CorrelationView) {
  DcResults r;
  r.adjustedCount = 12;
  for (int i = 1; i <= 12; ++i) r.adjustedParams[i] = static_cast<int16_t>(i + 8);
  r.correlation[1][1] = "  1.00000";
  r.correlation[10][10] = "  1.00000";
  r.correlation[11][11] = "  1.00000";
  CorrelView v = correlView(r, "a.dco");
  EXPECT_EQ(v.caption, "Correlations - a.dco");
  EXPECT_EQ(v.cells[1][1], "  1.00000");
  EXPECT_EQ(v.cells[10][10], "  1.00000");
  EXPECT_EQ(v.cells[1][2], "");
  EXPECT_EQ(v.labels[1], "SmAxis");
  EXPECT_EQ(v.labels[10], "g2");
}

TEST(Corrections, UpdateAddsToValueHeldNowOnce) {
  ParameterSet p;
  p.T1 = 5300;
  DcResults r = threeRows();
  UpdateDone done{};
  auto f = applyCorrection(p, r, 1, done);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->control, "Text42");
  EXPECT_DOUBLE_EQ(p.T1, 5450.0);
  EXPECT_EQ(f->text, fixedField(5450.0, 7, 1));
  EXPECT_TRUE(done[1]);
  EXPECT_FALSE(applyCorrection(p, r, 1, done));
  EXPECT_DOUBLE_EQ(p.T1, 5450.0);
  // After a new standard read the row applies again, to the edited value.
  done = UpdateDone{};
  p.T1 = 6000;
  applyCorrection(p, r, 1, done);
  EXPECT_DOUBLE_EQ(p.T1, 6150.0);

  // Spot A longitude: radians in, radians added, no field.
  p.spotAStar = 2;
  p.spotANumber = 3;
  p.spots[2][3].xlong = 1.0;
  EXPECT_FALSE(applyCorrection(p, r, 2, done));
  EXPECT_DOUBLE_EQ(p.spots[2][3].xlong, 1.1);
  // L2 of curve 1 is per-curve row 3.
  p.curves[3].l2 = 2.0;
  EXPECT_FALSE(applyCorrection(p, r, 3, done));
  EXPECT_DOUBLE_EQ(p.curves[3].l2, 1.95);
}

TEST(Corrections, UpdateFieldForms) {
  struct Case {
    int param;
    double ParameterSet::*field;
    double before, delta;
    const char* control;
    std::string text;
  };
  const Case cases[] = {
      {9, &ParameterSet::A, 10.0, 0.5, "Text35", fixedField(10.5, 8, 3)},
      {11, &ParameterSet::PER, 1.0, 0.25, "Text30", fixedField(1.25, 7, 3)},
      {14, &ParameterSet::PSHIFT, 0.0, 0.0125, "Text13", fixedField(0.0125, 8, 4)},
      {23, &ParameterSet::POTH, 6.1624, 0.0100123, "Text46", leftOfPlain(6.1724123, 7)},
      {25, &ParameterSet::RM, 0.76115, 0.001, "Text48", fixedField(0.76215, 8, 5)},
      {26, &ParameterSet::HJD0, 7522.664328, 0.001, "Text10", fixedField(7522.665328, 15, 6)},
      {27, &ParameterSet::PERIOD, 232.5, 0.0123, "Text11", leftOfPlain(232.5123, 8)},
      {28, &ParameterSet::DPDT, 0.0, 1e-9, "Text12", leftOfPlain(1e-9, 6)},
      {29, &ParameterSet::DPERDT, 0.0, 2e-12, "Text31", expField(2e-12, 12, 5)},
  };
  for (const Case& c : cases) {
    ParameterSet p;
    p.*c.field = c.before;
    DcResults r;
    r.ioRows[4] = {static_cast<int16_t>(c.param), 0, 0, c.delta, 0, 0};
    UpdateDone done{};
    auto f = applyCorrection(p, r, 4, done);
    ASSERT_TRUE(f) << c.param;
    EXPECT_EQ(f->control, c.control);
    EXPECT_EQ(f->text, c.text) << c.param;
    EXPECT_DOUBLE_EQ(p.*c.field, c.before + c.delta);
  }
  EXPECT_EQ(fixedField(1.25, 7, 3), "  1.250");
}

TEST(Corrections, RowsThatNameNothing) {
  ParameterSet p;
  const ParameterSet before = p;
  DcResults r;
  UpdateDone done{};
  r.ioRows[1] = {30, 0, 0, 1.0, 0, 0};
  r.ioRows[2] = {36, 0, 0, 1.0, 0, 0};
  r.ioRows[3] = {-4, 0, 0, 1.0, 0, 0};
  r.ioRows[4] = {31, 9, 0, 1.0, 0, 0};  // curve 9 -> row 11: no such curve
  r.ioRows[5] = {1, 0, 0, 1.0, 0, 0};
  p.spotAStar = 3;  // no such star
  for (int i = 1; i <= 5; ++i) {
    EXPECT_FALSE(applyCorrection(p, r, i, done));
    EXPECT_TRUE(done[i]);
  }
  EXPECT_EQ(p.curves[7].l1, before.curves[7].l1);
  EXPECT_FALSE(applyCorrection(p, r, 0, done));
  EXPECT_FALSE(applyCorrection(p, r, 9, done));
  // A sum that does not fit a double is an overflow and changes nothing.
  r.ioRows[6] = {16, 0, 0, 1.7e308, 0, 0};
  p.XINCL = 1.7e308;
  EXPECT_THROW(applyCorrection(p, r, 6, done), TavrinError);
  EXPECT_DOUBLE_EQ(p.XINCL, 1.7e308);
  EXPECT_FALSE(done[6]);
}

TEST(Corrections, RevertAfterTwoRunsAndUpdates) {
  ParameterSet p;
  ParameterHistory h = ParameterHistory::fromParameterSet(p);
  const ParameterSet first = p;
  h.shift(p);  // first run
  p.F1 = 1.2;
  p.F2 = 0.8;
  p.T1 = 5450;
  p.curves[4].x1 = 0.6;
  p.spots[1][1].radsp = 0.3;
  p.curves[5].el3 = 0.25;  // third light is not in the history
  h.shift(p);  // second run
  std::vector<FieldText> fields = revertParameters(p, h);
  EXPECT_DOUBLE_EQ(p.F1, first.F1);
  EXPECT_DOUBLE_EQ(p.F2, first.F2);
  EXPECT_DOUBLE_EQ(p.T1, first.T1);
  EXPECT_DOUBLE_EQ(p.curves[4].x1, first.curves[4].x1);
  EXPECT_DOUBLE_EQ(p.spots[1][1].radsp, 0.0);
  EXPECT_DOUBLE_EQ(p.curves[5].el3, 0.25);
  ASSERT_EQ(fields.size(), 21u);
  EXPECT_EQ(fields[0].control, "Text35");
  EXPECT_EQ(fields[0].text, fixedField(first.A, 10, 4));
  EXPECT_EQ(fields[3].control, "Text36");
  EXPECT_EQ(fields[3].text, fixedField(1.0, 10, 4));
  EXPECT_EQ(fields[10].control, "Text42");
  EXPECT_EQ(fields[10].text, fixedField(5300.0, 7, 4));
  EXPECT_EQ(fields[11].text, fixedField(4521.0, 8, 4));
  EXPECT_EQ(fields[14].text, leftOfPlain(first.POTH, 7));
  EXPECT_EQ(fields[17].control, "Text10");
  EXPECT_EQ(fields[20].control, "Text31");
  EXPECT_EQ(fields[20].text, fixedField(first.DPERDT, 13, 6));

  // Two runs with no edits between them: revert changes nothing.
  ParameterSet q;
  q.XINCL = 80;
  ParameterHistory h2 = ParameterHistory::fromParameterSet(ParameterSet{});
  h2.shift(q);
  h2.shift(q);
  revertParameters(q, h2);
  EXPECT_DOUBLE_EQ(q.XINCL, 80.0);
}
