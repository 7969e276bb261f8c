// The I/O Parms and Correlations views, Update and Revert: each case's whole
// outcome logged against golden/corrections.txt.
#include <gtest/gtest.h>

#include <cmath>

#include "model/number_fields.h"
#include "model/parameter_history.h"
#include "output/corrections.h"
#include "record_printers.h"
#include "recording_canvas.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;

namespace {

using tavrin::test::RecordingCanvas;
constexpr auto num = &RecordingCanvas::num;

DcResults threeRows() {
  DcResults r;
  r.adjustedParams = {2, 19, 32};
  r.ioRows = {{19, 0, 0.53, 0.015, 0.545, 0.002}, {2, 0, 1.0, 0.1, 1.1, 0.01}, {32, 1, 0.9, -0.05, 0.85, 0.003}};
  for (const DcIoRow& io : r.ioRows) r.unknowns.push_back({io.param, io.curve});
  r.sumWResInput = 12.3456789;
  r.sumWResPredicted = 0.5;
  return r;
}

std::string viewText(const IoParmsView& v) {
  std::string s = v.caption + " | sums '" + v.sumInput + "' '" + v.sumPredicted + "' | failure " + v.failure + "\n";
  for (const IoParmsRow& r : v.rows)
    s += r.label + "|" + r.param + "|" + r.curve + "|" + r.input + "|" + r.correction + "|" + r.stdDev + "|" + r.output + "|" +
         r.button + "|" + (r.updatable ? "updatable" : "fixed") + "\n";
  return s;
}

std::string viewText(const CorrelView& v) {
  std::string s = v.caption + " | note " + v.note + "\n";
  for (size_t i = 0; i < v.labels.size(); ++i) s += v.labels[i] + (i + 1 < v.labels.size() ? "|" : "\n");
  for (const auto& row : v.cells) {
    for (const std::string& c : row) s += "[" + c + "]";
    s += "\n";
  }
  return s;
}

std::string applied(ParameterSet& p, const DcResults& r, size_t i, UpdateDone& done) {
  const auto f = applyCorrection(p, r, i, done);
  return (f ? f->control + " '" + f->text + "'" : std::string("no field")) + (i < done.size() && done[i] ? " done" : "") + "\n";
}

}  // namespace

TEST(Corrections, ViewsUpdatesAndReverts) {
  std::string log;
  for (DcUnknown u : std::vector<DcUnknown>{{1, 0}, {8, 0}, {19, 0}, {23, 0}, {29, 0}, {30, 0}, {35, 3}, {31, 2}, {0, 0}, {36, 0}, {-5, 0}, {16, 2}})
    log += "label " + std::to_string(u.param) + "/" + std::to_string(u.curve) + " '" + dcUnknownLabel(u) + "'\n";
  // T1 shown in kelvin, spot longitude in degrees, the second row done.
  log += viewText(ioParmsView(threeRows(), UpdateDone{false, true, false}, "star.dco"));
  DcResults failed = threeRows();
  failed.failure = "the correction of T1 is NaN";
  failed.ioRows[0].correction = std::nan("");
  log += viewText(ioParmsView(failed, UpdateDone{}, "x.dco"));
  DcResults c;
  for (int k = 9; k <= 20; ++k) c.unknowns.push_back({static_cast<int16_t>(k), 0});
  c.unknowns.push_back({31, 1});
  c.unknowns.push_back({31, 2});
  c.correlation.assign(14, std::vector<double>(14, 0.25));
  for (size_t i = 0; i < 14; ++i) c.correlation[i][i] = 1.0;
  log += viewText(correlView(c, "a.dco"));
  c.correlation.clear();
  log += viewText(correlView(c, "a.dco"));

  // Update adds to the value held now, once per read; a failed solution offers nothing.
  ParameterSet p;
  UpdateDone done;
  log += "failed: " + applied(p, failed, 0, done);
  EXPECT_EQ(p, ParameterSet{});
  p.T1 = 5300;
  const DcResults r = threeRows();
  log += applied(p, r, 0, done);
  log += applied(p, r, 0, done);
  log += "T1 " + num(p.T1) + "\n";
  done.clear();
  p.T1 = 6000;
  log += applied(p, r, 0, done);
  log += "T1 " + num(p.T1) + "\n";
  // Spot A longitude: radians added, no field. L2 of curve 1 is per-curve row 3.
  p.spotAStar = 2, p.spotANumber = 3, p.spots[2][3].xlong = 1.0, p.curves[3].l2 = 2.0;
  log += applied(p, r, 1, done);
  log += applied(p, r, 2, done);
  log += "xlong " + num(p.spots[2][3].xlong) + " l2 " + num(p.curves[3].l2) + "\n";

  // Rows that name nothing are only marked done: 30, out of range, curve 9, a spot of no star.
  DcResults nothing;
  nothing.ioRows = {{30, 0, 0, 1.0, 0, 0}, {36, 0, 0, 1.0, 0, 0}, {-4, 0, 0, 1.0, 0, 0}, {31, 9, 0, 1.0, 0, 0}, {1, 0, 0, 1.0, 0, 0}};
  ParameterSet q;
  q.spotAStar = 3;
  const ParameterSet before = q;
  done.clear();
  for (size_t i = 0; i < 6; ++i) log += "names nothing: " + applied(q, nothing, i, done);
  EXPECT_EQ(q, before);
  // A sum that does not fit a double is an overflow and changes nothing.
  nothing.ioRows.push_back({16, 0, 0, 1.7e308, 0, 0});
  q.XINCL = 1.7e308;
  EXPECT_THROW(applyCorrection(q, nothing, 5, done), TavrinError);
  EXPECT_DOUBLE_EQ(q.XINCL, 1.7e308);
  EXPECT_FALSE(done[5]);
  tavrin::testing_support::expectGolden("output", "corrections.txt", log);
}

// The short form where it holds the value, every digit needed where it does not.
TEST(Corrections, UpdateFieldFormsKeepEveryDigit) {
  const std::tuple<int, double ParameterSet::*, double, double> cases[] = {
      {9, &ParameterSet::A, 10.0, 0.5},          {11, &ParameterSet::PER, 1.0, 0.25},
      {14, &ParameterSet::PSHIFT, 0.0, 0.0125},  {23, &ParameterSet::POTH, 6.25, 0.0078125},
      {25, &ParameterSet::RM, 0.76115, 0.001},   {26, &ParameterSet::HJD0, 7522.664328, 0.001},
      {27, &ParameterSet::PERIOD, 0.37268513, 3e-7}, {28, &ParameterSet::DPDT, 0.0, 3.34425e-10},
      {29, &ParameterSet::DPERDT, 0.0, 7.8963e-13},  {10, &ParameterSet::E, 0.2, 0.02775},
  };
  std::string log;
  for (const auto& [param, field, before, delta] : cases) {
    ParameterSet p;
    p.*field = before;
    DcResults r;
    r.ioRows = {{static_cast<int16_t>(param), 0, 0, delta, 0, 0}};
    UpdateDone done;
    const auto f = applyCorrection(p, r, 0, done);
    ASSERT_TRUE(f) << param;
    EXPECT_EQ(leadingNumber(f->text), p.*field) << param;
    log += std::to_string(param) + " " + num(p.*field) + ": " + f->control + " '" + f->text + "'\n";
  }
  tavrin::testing_support::expectGolden("output", "update_fields.txt", log);
}

TEST(Corrections, RevertAfterTwoRunsAndUpdates) {
  ParameterSet p;
  p.DPDT = 3.34425e-10, p.PERIOD = 0.37268513, p.DPERDT = 7.8963e-13, p.E = 0.22775;
  ParameterHistory h = ParameterHistory::fromParameterSet(p);
  const ParameterSet first = p;
  h.shift(p);  // first run
  p.F1 = 1.2, p.F2 = 0.8, p.T1 = 5450, p.DPDT = 0, p.curves[4].x1 = 0.6, p.spots[1][1].radsp = 0.3;
  p.curves[5].el3 = 0.25;  // third light is not in the history
  h.shift(p);  // second run
  std::string log;
  for (const FieldText& f : revertParameters(p, h)) log += f.control + " '" + f.text + "' " + num(leadingNumber(f.text)) + "\n";
  ParameterSet expected = first;
  expected.curves[5].el3 = 0.25;
  EXPECT_EQ(p, expected);
  tavrin::testing_support::expectGolden("output", "revert.txt", log);
  // Two runs with no edits between them: revert changes nothing.
  ParameterSet q;
  q.XINCL = 80;
  ParameterHistory h2 = ParameterHistory::fromParameterSet(ParameterSet{});
  h2.shift(q);
  h2.shift(q);
  revertParameters(q, h2);
  EXPECT_DOUBLE_EQ(q.XINCL, 80.0);
}
