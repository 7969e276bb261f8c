#include <gtest/gtest.h>

#include <cmath>

#include "model/number_fields.h"
#include "model/parameter_history.h"
#include "output/corrections.h"
#include "shell/errors.h"

using namespace tavrin;

namespace {

DcResults threeRows() {
  DcResults r;
  r.adjustedParams = {2, 19, 32};
  r.ioRows = {{19, 0, 0.53, 0.015, 0.545, 0.002}, {2, 0, 1.0, 0.1, 1.1, 0.01}, {32, 1, 0.9, -0.05, 0.85, 0.003}};
  for (const DcIoRow& io : r.ioRows) r.unknowns.push_back({io.param, io.curve});
  r.sumWResInput = 12.3456789;
  r.sumWResPredicted = 0.5;
  return r;
}

}  // namespace

TEST(Corrections, Labels) {
  const std::pair<DcUnknown, const char*> cases[] = {
      {{1, 0}, "SpLat A"}, {{8, 0}, "SpTmF B"}, {{19, 0}, "T1"},      {{23, 0}, "Pot'l 1"}, {{29, 0}, "dPer/dt"},
      {{30, 0}, "       "}, {{35, 3}, "EL3 (3)"}, {{31, 2}, "L1 (2)"}, {{0, 0}, ""},         {{36, 0}, ""},
      {{-5, 0}, ""},        {{16, 2}, "Inclin."}};
  for (const auto& [u, label] : cases) EXPECT_EQ(dcUnknownLabel(u), label) << u.param << "/" << u.curve;
}

TEST(Corrections, IoParmsRowsScaledOnePerUnknown) {
  UpdateDone done{false, true, false};
  IoParmsView v = ioParmsView(threeRows(), done, "star.dco");
  EXPECT_EQ(v.caption, "I/O Parms - star.dco");
  ASSERT_EQ(v.rows.size(), 3u);
  // T1: shown in kelvin.
  EXPECT_EQ(v.rows[0].label, "T1");
  EXPECT_EQ(v.rows[0].param, "19");
  EXPECT_EQ(v.rows[0].curve, " 0");
  EXPECT_EQ(v.rows[0].input, fixedField(5300.0, 10, 7));
  EXPECT_EQ(v.rows[0].correction, fixedField(150.0, 6, 4));
  EXPECT_EQ(v.rows[0].stdDev, fixedField(20.0, 6, 4));
  EXPECT_EQ(v.rows[0].output, "5450.00000");
  EXPECT_EQ(v.rows[0].button, "Update");
  // Spot longitude: degrees.
  EXPECT_EQ(v.rows[1].label, "SpLng A");
  EXPECT_EQ(v.rows[1].input, fixedField(57.29577951, 10, 7));
  EXPECT_EQ(v.rows[1].button, "Done");
  EXPECT_EQ(v.rows[2].label, "L2 (1)");
  EXPECT_EQ(v.rows[2].output, ".850000000");
  EXPECT_EQ(v.sumInput, fixedField(12.3456789, 8, 5));
  EXPECT_EQ(v.sumPredicted, "  .50000");
  EXPECT_TRUE(v.rows[2].updatable);
  EXPECT_TRUE(v.failure.empty());
}

TEST(Corrections, FailedSolutionOffersNothing) {
  DcResults r = threeRows();
  r.failure = "the correction of T1 is NaN";
  r.ioRows[0].correction = std::nan("");
  IoParmsView v = ioParmsView(r, UpdateDone{}, "x.dco");
  EXPECT_EQ(v.failure, r.failure);
  EXPECT_EQ(v.rows[0].correction, "NaN");
  for (const IoParmsRow& row : v.rows) EXPECT_FALSE(row.updatable);
  ParameterSet p;
  const double t1 = p.T1;
  UpdateDone done;
  EXPECT_FALSE(applyCorrection(p, r, 0, done));
  EXPECT_EQ(p.T1, t1);
}

TEST(Corrections, CorrelationViewNamesEveryUnknown) {
  DcResults r;
  for (int k = 9; k <= 20; ++k) r.unknowns.push_back({static_cast<int16_t>(k), 0});
  r.unknowns.push_back({31, 1});
  r.unknowns.push_back({31, 2});
  const size_t n = r.unknowns.size();
  r.correlation.assign(n, std::vector<double>(n, 0.25));
  for (size_t i = 0; i < n; ++i) r.correlation[i][i] = 1.0;
  CorrelView v = correlView(r, "a.dco");
  EXPECT_EQ(v.caption, "Correlations - a.dco");
  ASSERT_EQ(v.cells.size(), 14u);
  EXPECT_EQ(v.cells[13][13], "  1.00000");
  EXPECT_EQ(v.cells[12][13], "   .25000");
  EXPECT_EQ(v.labels[0], "SmAxis");
  EXPECT_EQ(v.labels[13], "L1 (2)");
  EXPECT_TRUE(v.note.empty());
  // A report that printed no matrix says so instead.
  r.correlation.clear();
  v = correlView(r, "a.dco");
  EXPECT_TRUE(v.cells.empty());
  EXPECT_EQ(v.note, "This report printed no correlation matrix.");
}

TEST(Corrections, UpdateAddsToValueHeldNowOnce) {
  ParameterSet p;
  p.T1 = 5300;
  DcResults r = threeRows();
  UpdateDone done;
  auto f = applyCorrection(p, r, 0, done);
  ASSERT_TRUE(f);
  EXPECT_EQ(f->control, "Text42");
  EXPECT_DOUBLE_EQ(p.T1, 5450.0);
  EXPECT_EQ(f->text, fixedField(5450.0, 7, 1));
  EXPECT_TRUE(done[0]);
  EXPECT_FALSE(applyCorrection(p, r, 0, done));
  EXPECT_DOUBLE_EQ(p.T1, 5450.0);
  // After a new read the row applies again, to the edited value.
  done.clear();
  p.T1 = 6000;
  applyCorrection(p, r, 0, done);
  EXPECT_DOUBLE_EQ(p.T1, 6150.0);

  // Spot A longitude: radians in, radians added, no field.
  p.spotAStar = 2;
  p.spotANumber = 3;
  p.spots[2][3].xlong = 1.0;
  EXPECT_FALSE(applyCorrection(p, r, 1, done));
  EXPECT_DOUBLE_EQ(p.spots[2][3].xlong, 1.1);
  // L2 of curve 1 is per-curve row 3.
  p.curves[3].l2 = 2.0;
  EXPECT_FALSE(applyCorrection(p, r, 2, done));
  EXPECT_DOUBLE_EQ(p.curves[3].l2, 1.95);
}

// The short form where it holds the value, every digit needed where it does not.
TEST(Corrections, UpdateFieldFormsKeepEveryDigit) {
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
      {23, &ParameterSet::POTH, 6.25, 0.0078125, "Text46", "6.2578125"},
      {25, &ParameterSet::RM, 0.76115, 0.001, "Text48", fixedField(0.76215, 8, 5)},
      {26, &ParameterSet::HJD0, 7522.664328, 0.001, "Text10", fixedField(7522.665328, 15, 6)},
      {27, &ParameterSet::PERIOD, 0.37268513, 3e-7, "Text11", "0.37268543"},
      {28, &ParameterSet::DPDT, 0.0, 3.34425e-10, "Text12", "3.34425e-10"},
      {29, &ParameterSet::DPERDT, 0.0, 7.8963e-13, "Text31", "7.8963e-13"},
      {10, &ParameterSet::E, 0.2, 0.02775, "Text34", "0.22775"},
  };
  for (const Case& c : cases) {
    ParameterSet p;
    p.*c.field = c.before;
    DcResults r;
    r.ioRows = {{static_cast<int16_t>(c.param), 0, 0, c.delta, 0, 0}};
    UpdateDone done;
    auto f = applyCorrection(p, r, 0, done);
    ASSERT_TRUE(f) << c.param;
    EXPECT_EQ(f->control, c.control);
    EXPECT_EQ(f->text, c.text) << c.param;
    EXPECT_EQ(leadingNumber(f->text), p.*c.field) << c.param;
  }
}

TEST(Corrections, RowsThatNameNothing) {
  ParameterSet p;
  const ParameterSet before = p;
  DcResults r;
  UpdateDone done;
  // 30, out of range, curve 9 (row 11: no such curve), a spot of no star.
  r.ioRows = {{30, 0, 0, 1.0, 0, 0}, {36, 0, 0, 1.0, 0, 0}, {-4, 0, 0, 1.0, 0, 0}, {31, 9, 0, 1.0, 0, 0}, {1, 0, 0, 1.0, 0, 0}};
  p.spotAStar = 3;
  for (size_t i = 0; i < r.ioRows.size(); ++i) {
    EXPECT_FALSE(applyCorrection(p, r, i, done));
    EXPECT_TRUE(done[i]);
  }
  EXPECT_EQ(p.curves[7].l1, before.curves[7].l1);
  EXPECT_FALSE(applyCorrection(p, r, 9, done));
  // A sum that does not fit a double is an overflow and changes nothing.
  r.ioRows.push_back({16, 0, 0, 1.7e308, 0, 0});
  p.XINCL = 1.7e308;
  EXPECT_THROW(applyCorrection(p, r, 5, done), TavrinError);
  EXPECT_DOUBLE_EQ(p.XINCL, 1.7e308);
  EXPECT_FALSE(done[5]);
}

TEST(Corrections, RevertAfterTwoRunsAndUpdates) {
  ParameterSet p;
  p.DPDT = 3.34425e-10;
  p.PERIOD = 0.37268513;
  p.DPERDT = 7.8963e-13;
  p.E = 0.22775;
  ParameterHistory h = ParameterHistory::fromParameterSet(p);
  const ParameterSet first = p;
  h.shift(p);  // first run
  p.F1 = 1.2;
  p.F2 = 0.8;
  p.T1 = 5450;
  p.DPDT = 0;
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
  EXPECT_EQ(fields[17].control, "Text10");
  // Every field reads back as the value reverted to, the awkward ones included.
  const std::pair<size_t, const char*> awkward[] = {{1, "0.22775"}, {18, "0.37268513"}, {19, "3.34425e-10"}, {20, "7.8963e-13"}};
  for (const auto& [i, text] : awkward) EXPECT_EQ(fields[i].text, text) << fields[i].control;
  EXPECT_EQ(leadingNumber(fields[19].text), first.DPDT);

  // Two runs with no edits between them: revert changes nothing.
  ParameterSet q;
  q.XINCL = 80;
  ParameterHistory h2 = ParameterHistory::fromParameterSet(ParameterSet{});
  h2.shift(q);
  h2.shift(q);
  revertParameters(q, h2);
  EXPECT_DOUBLE_EQ(q.XINCL, 80.0);
}
