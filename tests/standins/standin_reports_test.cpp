// The stand-ins' reports are read by Tavrin's own LCO and DCO readers, and
// every value the readers take comes out as the model computed it.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "binary_model.h"
#include "example_system.h"
#include "output/dco_reader.h"
#include "output/lco_reader.h"
#include "standin.h"

namespace tavrin::standin {
namespace {

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> out;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find("\r\n", start);
    if (end == std::string::npos) end = text.size();
    out.push_back(text.substr(start, end - start));
    start = end + 2;
  }
  return out;
}

ParameterSet lightSystem() {
  ParameterSet p = exampleTruth();
  p.PHSTRT = -0.2;
  p.PHSTOP = 1.2;
  p.PHIN = 0.01;
  return p;
}

TEST(StandinReports, LightCurveReportIsReadWithEveryHeaderValue) {
  const ParameterSet p = lightSystem();
  const std::string text = lcReport(p);
  EXPECT_EQ(text.find(','), std::string::npos);  // the reader splits lines at commas
  EXPECT_EQ(linesOf(text).front(), reportBanner());
  const ComputedCurve c = parseLco(text);
  EXPECT_EQ(c.page, 1);
  EXPECT_EQ(c.mode, 2);
  EXPECT_DOUBLE_EQ(c.inclination, 86.0);
  EXPECT_NEAR(c.t1, 6500.0, 1e-9);
  EXPECT_NEAR(c.t2, 5200.0, 1e-9);
  EXPECT_NEAR(c.pot1, 5.0, 1e-12);
  EXPECT_NEAR(c.pot2, 5.2, 1e-12);
  EXPECT_NEAR(c.massRatio, 0.8, 1e-12);
  const BinaryModel m(p);
  CurveSpec curveDef;
  curveDef.wavelength = 0.55;
  curveDef.l1 = p.L1;
  curveDef.x1 = p.X1, curveDef.x2 = p.X2, curveDef.y1 = p.Y1, curveDef.y2 = p.Y2;
  const PreparedCurve pc = m.prepare(curveDef);
  EXPECT_NEAR(c.l2, pc.l2, 5e-6);  // printed with five decimals
  ASSERT_EQ(c.count, 141);
  EXPECT_NEAR(c.phaseFirst, -0.2, 1e-12);
  EXPECT_NEAR(c.phaseLast, 1.2, 1e-12);
  for (int i = 0; i < c.count; ++i) {
    const double ph = -0.2 + 0.01 * i;
    EXPECT_NEAR(c.phase[i], ph, 1e-6);
    EXPECT_NEAR(c.light[i], m.lights(pc, m.stateAt(ph, false)).total(), 1e-7) << i;
  }
  EXPECT_LT(c.lightMin, 0.6);
  EXPECT_GT(c.lightMax, 0.8);
}

TEST(StandinReports, VelocityReportIsReadInTheVelocityColumns) {
  ParameterSet p = lightSystem();
  p.MPAGE = 2;
  p.VUNIT = 100.0;
  p.E = 0.15;
  p.PER = 2.0;
  const ComputedCurve c = parseLco(lcReport(p));
  EXPECT_EQ(c.page, 2);
  const BinaryModel m(p);
  ASSERT_EQ(c.count, 141);
  double lo = 1e9, hi = -1e9;
  for (int i = 0; i < c.count; ++i) {
    const Velocities v = m.velocities(m.stateAt(-0.2 + 0.01 * i, false));
    EXPECT_NEAR(c.rv1[i], v.v1 / 100.0, 1e-6) << i;
    EXPECT_NEAR(c.rv2[i], v.v2 / 100.0, 1e-6) << i;
    lo = std::min({lo, c.rv1[i], c.rv2[i]});
    hi = std::max({hi, c.rv1[i], c.rv2[i]});
  }
  EXPECT_NEAR(c.rvMin, lo - 0.05 * (hi - lo), 1e-9);
  EXPECT_NEAR(c.rvMax, hi + 0.05 * (hi - lo), 1e-9);
}

TEST(StandinReports, TimeModeAndOddValuesKeepTheColumns) {
  ParameterSet p = lightSystem();
  p.JDPHS = 1;
  p.JDSTART = 2458000.0;
  p.JDSTOP = 2458010.0;
  p.JDINCR = 0.05;
  p.MODE = -1;      // prints as "-1": the reader takes the sign as 0
  p.XINCL = 123.4567;
  p.E = 0.0;
  p.VGA = -1234.5678;
  p.spotCount[1] = 1;
  p.spots[1][1] = Spot{1.0, 2.0, 0.3, 0.9};
  const std::string text = lcReport(p);
  const ComputedCurve c = parseLco(text);
  EXPECT_DOUBLE_EQ(c.inclination, 123.4567);
  EXPECT_EQ(c.count, 201);
  for (int i = 0; i < c.count; ++i) {
    EXPECT_GE(c.phase[i], 0.0);
    EXPECT_LT(c.phase[i], 1.0);
  }
  // Times that cross a power of ten keep the table's columns.
  p.JDSTART = 9999.0;
  p.JDSTOP = 10001.0;
  p.JDINCR = 0.5;
  p.HJD0 = 9990.0;
  const ComputedCurve d = parseLco(lcReport(p));
  EXPECT_EQ(d.count, 5);
  for (int i = 0; i < d.count; ++i) EXPECT_NEAR(d.phase[i], std::fmod((9999.0 + 0.5 * i - 9990.0) / 2.5, 1.0), 1e-6);
}

TEST(StandinReports, NoisyCurvesAreReproducibleAndScatterAsAsked) {
  ParameterSet p = lightSystem();
  p.PHSTRT = 0.2;
  p.PHSTOP = 0.3;
  p.PHIN = 0.0001;  // outside eclipse: constant light
  p.NOISE = 1;
  p.FRACSD = 0.01;
  const std::string a = lcReport(p), b = lcReport(p);
  EXPECT_EQ(a, b);
  const ComputedCurve c = parseLco(a);
  double sum = 0.0, sum2 = 0.0;
  for (int i = 0; i < c.count; ++i) sum += c.light[i], sum2 += c.light[i] * c.light[i];
  const double mean = sum / c.count, sd = std::sqrt(sum2 / c.count - mean * mean);
  EXPECT_NEAR(sd / mean, 0.01, 0.001);
  p.SEED = 7.0;
  EXPECT_NE(lcReport(p), a);
}

TEST(StandinReports, LightCurveProgramRefusesInputsItCannotCompute) {
  auto refusal = [](auto change) -> std::string {
    ParameterSet p = lightSystem();
    change(p);
    try {
      lcReport(p);
    } catch (const ModelError& e) {
      return e.what();
    }
    return "";
  };
  EXPECT_NE(refusal([](ParameterSet& p) { p.MPAGE = 3; }).find("MPAGE"), std::string::npos);
  EXPECT_NE(refusal([](ParameterSet& p) { p.PHIN = 0.0; }), "");
  EXPECT_NE(refusal([](ParameterSet& p) { p.PHSTOP = -1.0; }), "");
  EXPECT_NE(refusal([](ParameterSet& p) { p.PHIN = 1e-6; }).find("9000"), std::string::npos);
  EXPECT_NE(refusal([](ParameterSet& p) { p.PHIN = std::nan(""); }), "");
  EXPECT_NE(refusal([](ParameterSet& p) { p.JDPHS = 1, p.JDINCR = -1.0; }), "");
  EXPECT_NE(refusal([](ParameterSet& p) { p.JDPHS = 1, p.PERIOD = 0.0; }), "");
  EXPECT_NE(refusal([](ParameterSet& p) { p.MPAGE = 2, p.VUNIT = 0.0; }), "");
  EXPECT_NE(refusal([](ParameterSet& p) { p.RM = -0.5; }).find("RM"), std::string::npos);
}

TEST(StandinReports, CorrectionsReportIsReadWithEveryBlock) {
  const ParameterSet p = exampleDcStart();
  const DcSolution s = dcSolve(p);
  ASSERT_EQ(s.error, "");
  const std::string text = dcReport(p, s);
  EXPECT_EQ(text, dcReport(p, dcSolve(p)));  // deterministic
  DcResults r;
  ParameterSet q = p;
  for (int row = 1; row <= 7; ++row) q.curves[row].l2 = -9.0;
  q.IFVC1 = q.IFVC2 = q.NLC = 0;
  const DcoReadReport rep = parseDco(text, r, q);
  EXPECT_FALSE(rep.errorLine.has_value());
  EXPECT_FALSE(r.failed()) << r.failure;
  EXPECT_EQ(r.adjustedParams, (std::vector<int16_t>{16, 20, 23, 31}));
  // L1 is solved for once per light curve.
  EXPECT_EQ(r.unknowns, (std::vector<tavrin::DcUnknown>{{16, 0}, {20, 0}, {23, 0}, {31, 1}, {31, 2}}));
  EXPECT_EQ(q.IFVC1, 1);
  EXPECT_EQ(q.IFVC2, 1);
  EXPECT_EQ(q.NLC, 2);
  // L2 per curve: velocity curves as given, light curves as computed (IPB = 0).
  EXPECT_NEAR(q.curves[1].l2, 0.0, 1e-12);
  EXPECT_NEAR(q.curves[3].l2, s.curves[2].l2, 5e-6);
  EXPECT_NEAR(q.curves[4].l2, s.curves[3].l2, 5e-6);
  ASSERT_EQ(r.ioRows.size(), 5u);
  for (size_t i = 0; i < 5; ++i) {
    const DcIoRow& row = r.ioRows[i];
    EXPECT_EQ(row.param, s.unknowns[i].param);
    EXPECT_EQ(row.curve, s.unknowns[i].curve);
    EXPECT_NEAR(row.input, s.unknowns[i].input, 1e-9 * std::fabs(s.unknowns[i].input) + 1e-15);
    EXPECT_NEAR(row.correction, s.correction[i], 1e-9 * std::fabs(s.correction[i]) + 1e-15);
    EXPECT_NEAR(row.output, s.unknowns[i].input + s.correction[i], 1e-9 * std::fabs(row.output) + 1e-15);
    EXPECT_NEAR(row.stdDev, s.stdDev[i], 1e-9 * s.stdDev[i] + 1e-15);
  }
  EXPECT_NEAR(r.sumWResInput, s.sumWResInput, 1e-9 * s.sumWResInput);
  EXPECT_NEAR(r.sumWResPredicted, s.sumWResPredicted, 1e-9 * s.sumWResPredicted);
  ASSERT_EQ(r.correlation.size(), 5u);
  for (size_t i = 0; i < 5; ++i)
    for (size_t j = 0; j < 5; ++j) EXPECT_NEAR(r.correlation[i][j], s.correlation[i][j], 6e-6) << i << j;
  EXPECT_EQ(linesOf(text).back().rfind(" DOM1/DQ", 0), 0u);
}

// The radii block with its DOM1/DQ line only with IFR = 1, the correlation
// heading only with IFM = 1, matrix rows wrapped after 11 values.
TEST(StandinReports, ReportFormsFollowIfrAndIfm) {
  struct Case {
    int ifr, ifm;
    bool marker, heading;
  };
  for (const Case c : {Case{0, 0, false, false}, Case{1, 0, true, false}, Case{0, 1, false, true}}) {
    ParameterSet p = exampleDcStart();
    p.IFR = static_cast<int16_t>(c.ifr);
    p.IFM = static_cast<int16_t>(c.ifm);
    const std::string text = dcReport(p, dcSolve(p));
    EXPECT_EQ(text.find("DOM1/DQ") != std::string::npos, c.marker) << c.ifr << c.ifm;
    EXPECT_EQ(text.find("CORRELATION") != std::string::npos, c.heading) << c.ifr << c.ifm;
    DcResults r;
    ParameterSet q = p;
    parseDco(text, r, q);
    EXPECT_FALSE(r.failed()) << r.failure;
    EXPECT_EQ(r.ioRows.size(), 5u);
    EXPECT_EQ(r.correlation.size(), c.heading ? 5u : 0u);
  }
  // Twelve unknowns: every matrix row takes two lines and reads back whole.
  ParameterSet p = exampleDcStart();
  for (int k : {10, 12, 13, 14, 15, 25, 33}) p.adjustKeys[static_cast<size_t>(k)] = '0';
  p.E = 0.05;
  const DcSolution s = dcSolve(p);
  ASSERT_EQ(s.error, "");
  ASSERT_EQ(s.unknowns.size(), 13u);
  DcResults r;
  ParameterSet q = p;
  parseDco(dcReport(p, s), r, q);
  ASSERT_EQ(r.correlation.size(), 13u);
  for (size_t i = 0; i < 13; ++i)
    for (size_t j = 0; j < 13; ++j) EXPECT_NEAR(r.correlation[i][j], s.correlation[i][j], 6e-6) << i << " " << j;
}

// Like the real program, a solution that breaks down prints NaN.
TEST(StandinReports, BrokenDownSolutionsPrintNaN) {
  const std::pair<void (*)(ParameterSet&), const char*> cases[] = {
      // Temperatures of a model with given luminosities and no spots change nothing: singular.
      {[](ParameterSet& p) { p.IPB = 1, p.adjustKeys[19] = '0'; }, "singular"},
      {[](ParameterSet& p) { p.curves[3].points[0].weight = -1.0; }, "negative weight"},
  };
  for (const auto& [change, what] : cases) {
    ParameterSet p = exampleDcStart();
    change(p);
    const std::string text = dcReport(p, dcSolve(p));
    EXPECT_EQ(text.find("*ERR*"), std::string::npos) << what;
    DcResults r;
    ParameterSet q = p;
    parseDco(text, r, q);
    EXPECT_TRUE(r.failed()) << what;
    EXPECT_NE(r.failure.find("NaN"), std::string::npos) << what << ": " << r.failure;
    for (int row = 1; row <= 7; ++row) EXPECT_EQ(q.curves[row].l2, p.curves[row].l2) << what;
  }
}

TEST(StandinReports, CorrectionsReportWithOnlyVelocitiesOrOnlyTheSecondVelocityCurve) {
  ParameterSet p = exampleWithObservations();
  p.IFVC1 = 0;
  p.NLC = 0;
  p.adjustKeys[15] = '0';  // systemic velocity
  p.adjustKeys[9] = '0';   // semi-major axis
  const DcSolution s = dcSolve(p);
  ASSERT_EQ(s.error, "");
  DcResults r;
  ParameterSet q = p;
  q.curves[2].l2 = 5.0;
  parseDco(dcReport(p, s), r, q);
  EXPECT_EQ(q.IFVC1, 0);
  EXPECT_EQ(q.IFVC2, 1);
  EXPECT_EQ(q.NLC, 0);
  EXPECT_NEAR(q.curves[2].l2, 0.0, 1e-12);  // the first row after the header is curve 2's
  EXPECT_EQ(r.adjustedParams.size(), 2u);
  ASSERT_EQ(r.ioRows.size(), 2u);
  EXPECT_EQ(r.ioRows[0].param, 9);
  EXPECT_EQ(r.ioRows[1].param, 15);
  // Velocities alone pin the systemic velocity to its true value within errors.
  EXPECT_NEAR(r.ioRows[1].output, 15.0, 3.0 * r.ioRows[1].stdDev);
}

TEST(StandinReports, FailedFitsEndWithAnErrLineThatSaysWhy) {
  auto errorOf = [](auto change) {
    ParameterSet p = exampleDcStart();
    change(p);
    const DcSolution s = dcSolve(p);
    const std::string text = dcReport(p, s);
    const std::vector<std::string> lines = linesOf(text);
    EXPECT_EQ(text.find("DOM1/DQ"), std::string::npos);
    DcResults r;
    ParameterSet q = p;
    const DcoReadReport rep = parseDco(text, r, q);
    EXPECT_TRUE(rep.errorLine.has_value());
    EXPECT_EQ(lines.back().rfind("*ERR* ", 0), 0u);
    return lines.back();
  };
  EXPECT_NE(errorOf([](ParameterSet& p) { p.adjustKeys[17] = '0'; }).find("gravity darkening"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.adjustKeys[22] = '0'; }).find("reflection"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.adjustKeys[32] = '0'; }).find("IPB = 0"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.adjustKeys[27] = '0'; }).find("JDPHS = 2"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.adjustKeys[11] = '0'; }).find("circular"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.adjustKeys[1] = '0'; }).find("spot A does not exist"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.MODE = 3, p.adjustKeys[24] = '0'; }).find("tied"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.IFVC1 = p.IFVC2 = 0, p.adjustKeys[15] = '0'; }).find("velocity curve"),
            std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.curves[3].sigma = 0.0; }).find("SIGMA"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.NLC = 7; }).find("NLC"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.RM = -1.0; }).find("RM"), std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.curves[3].points.resize(1), p.curves[4].points.clear(),
                                          p.IFVC1 = p.IFVC2 = 0; }).find("observations"),
            std::string::npos);
  EXPECT_NE(errorOf([](ParameterSet& p) { p.increments[14] = 0.0; }).find("increment"), std::string::npos);
}

TEST(StandinReports, NoAdjustedParameterGivesTheResidualsOfTheInputValues) {
  ParameterSet p = exampleDcStart();
  p.adjustKeys = ParameterSet::defaultAdjustKeys();
  const DcSolution s = dcSolve(p);
  ASSERT_TRUE(s.error.empty()) << s.error;
  EXPECT_TRUE(s.unknowns.empty());
  EXPECT_GT(s.sumWResInput, 0.0);
  // Nothing is corrected, so the prediction is the input.
  EXPECT_EQ(s.sumWResPredicted, s.sumWResInput);
  const std::string text = dcReport(p, s);
  EXPECT_EQ(text.find("*ERR*"), std::string::npos);

  ParameterSet with = exampleDcStart();
  const DcSolution fitted = dcSolve(with);
  ASSERT_TRUE(fitted.error.empty()) << fitted.error;
  // The input residuals do not depend on which parameters are adjusted.
  EXPECT_DOUBLE_EQ(s.sumWResInput, fitted.sumWResInput);

  DcResults r;
  r.adjustedParams = {1, 2, 3};
  r.ioRows.resize(2);
  ParameterSet q = p;
  for (int row = 3; row <= 2 + q.NLC; ++row) q.curves[row].l2 = -1.0;
  const DcoReadReport rep = parseDco(text, r, q);
  EXPECT_FALSE(rep.errorLine.has_value());
  EXPECT_TRUE(r.adjustedParams.empty());
  EXPECT_TRUE(r.ioRows.empty());
  EXPECT_NEAR(r.sumWResInput, s.sumWResInput, 1e-9 * s.sumWResInput);
  EXPECT_NEAR(r.sumWResPredicted, s.sumWResInput, 1e-9 * s.sumWResInput);
  for (int row = 3; row <= 2 + q.NLC; ++row) EXPECT_GE(q.curves[row].l2, 0.0) << row;
}

}  // namespace
}  // namespace tavrin::standin
