// Differential corrections recover the example's known parameters, and the
// committed examples are exactly what the generator writes.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "example_system.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/lci_writer.h"
#include "standin.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace tavrin::standin {
namespace {

const std::string kExamples = std::string(TAVRIN_SOURCE_DIR) + "/examples/";

TEST(StandinDc, RecoversTheExampleParametersFromAVisiblyWrongStart) {
  const std::string dci = slurp(kExamples + "example.dci");
  ASSERT_FALSE(dci.empty());
  ParameterSet p = readDciText(dci, ParameterSet{}, probeDciText(dci)).params;
  const ParameterSet truth = exampleTruth();
  // Visibly wrong: several degrees, hundreds of kelvin, tenths in potential and L1.
  ASSERT_GT(std::fabs(p.XINCL - truth.XINCL), 3.0);
  ASSERT_GT(std::fabs(p.T2 - truth.T2), 300.0);
  ASSERT_GT(std::fabs(p.POTH - truth.POTH), 0.3);
  ASSERT_GT(std::fabs(p.curves[4].l1 - 0.75), 0.05);
  double previous = INFINITY;
  DcSolution s;
  for (int iteration = 1; iteration <= 5; ++iteration) {
    s = dcSolve(p);
    ASSERT_EQ(s.error, "") << iteration;
    EXPECT_LE(s.sumWResInput, previous * (1.0 + 1e-9)) << iteration;
    EXPECT_LE(s.sumWResPredicted, s.sumWResInput * (1.0 + 1e-9)) << iteration;
    previous = s.sumWResInput;
    for (size_t j = 0; j < s.unknowns.size(); ++j)
      setDcParameter(p, s.unknowns[j].param, s.unknowns[j].curve, s.unknowns[j].input + s.correction[j]);
  }
  s = dcSolve(p);  // standard errors at the solution
  ASSERT_EQ(s.error, "");
  EXPECT_LE(s.sumWResInput, previous * (1.0 + 1e-9));
  // Chi-square per degree of freedom near 1: the weights follow the noise.
  EXPECT_NEAR(s.sumWResInput / (s.observationCount - 5), 1.0, 0.15);
  ASSERT_EQ(s.unknowns.size(), 5u);
  const double expected[5] = {truth.XINCL, truth.T2 / 10000.0, truth.POTH, 0.70, 0.75};
  for (size_t j = 0; j < 5; ++j) {
    const double value = s.unknowns[j].input;
    EXPECT_LE(std::fabs(value - expected[j]), s.stdDev[j]) << dcLabel(s.unknowns[j].param) << " " << value;
    EXPECT_LT(s.stdDev[j], 0.01 * std::fabs(expected[j]));
  }
}

TEST(StandinDc, SymmetricAndOneSidedDerivativesAgreeNearTheSolution) {
  ParameterSet p = exampleWithObservations();
  p.XINCL = 85.5;
  for (int k : {16, 20, 23, 31}) p.adjustKeys[k] = '0';
  p.ISYM = 1;
  const DcSolution sym = dcSolve(p);
  p.ISYM = 0;
  const DcSolution one = dcSolve(p);
  ASSERT_EQ(sym.error, "");
  ASSERT_EQ(one.error, "");
  EXPECT_NEAR(one.correction[0], sym.correction[0], 0.1 * std::fabs(sym.correction[0]));
  EXPECT_NEAR(one.correction[0] + 85.5, 86.0, 3.0 * sym.stdDev[0]);
  // A large Marquardt lambda shortens the step.
  p.XLAMDA = 100.0;
  const DcSolution damped = dcSolve(p);
  EXPECT_LT(std::fabs(damped.correction[0]), 0.5 * std::fabs(one.correction[0]));
}

TEST(StandinDc, SpotTemperatureFactorIsFitted) {
  ParameterSet p = exampleWithObservations();
  p.IFVC1 = p.IFVC2 = 0;
  p.spotCount[1] = 1;
  p.spots[1][1] = Spot{1.2, 1.0, 0.35, 0.85};
  p.spotAStar = 1;
  p.spotANumber = 1;
  // Noise-free data from the spotted star.
  const std::vector<double> computed = dcComputed(p);
  size_t k = 0;
  for (int row = 3; row <= 4; ++row)
    for (ObservationPoint& pt : p.curves[row].points) pt.value = computed[k++];
  p.spots[1][1].temsp = 0.95;
  p.adjustKeys[4] = '0';
  for (int it = 0; it < 4; ++it) {
    const DcSolution s = dcSolve(p);
    ASSERT_EQ(s.error, "");
    setDcParameter(p, 4, 0, s.unknowns[0].input + s.correction[0]);
  }
  EXPECT_NEAR(p.spots[1][1].temsp, 0.85, 1e-4);
}

TEST(StandinDc, EphemerisAndEccentricOrbitAreFittedFromTimes) {
  ParameterSet p = exampleWithObservations();
  p.JDPHS = 1;
  p.E = 0.12;
  p.PER = 1.9;
  p.POTH = 6.0;
  p.POT2 = 6.5;
  p.DPERDT = 1e-4;
  // Observation times spread over 40 cycles; noise-free values from the model.
  for (int row = 1; row <= 4; ++row)
    for (size_t i = 0; i < p.curves[row].points.size(); ++i)
      p.curves[row].points[i].time = p.HJD0 + 2.5 * (std::fmod(i * 0.6180339887, 1.0) + static_cast<double>(i % 40));
  const std::vector<double> computed = dcComputed(p);
  size_t k = 0;
  for (int row = 1; row <= 4; ++row)
    for (ObservationPoint& pt : p.curves[row].points) pt.value = computed[k++];
  const double hjd0 = p.HJD0, period = p.PERIOD, e = p.E, per = p.PER;
  p.HJD0 += 0.004;
  p.PERIOD += 2e-5;
  p.E = 0.10;
  p.PER = 1.8;
  for (int key : {10, 11, 26, 27}) p.adjustKeys[key] = '0';
  double previous = INFINITY;
  for (int it = 0; it < 5; ++it) {
    const DcSolution s = dcSolve(p);
    ASSERT_EQ(s.error, "") << it;
    EXPECT_LE(s.sumWResInput, previous * (1.0 + 1e-9)) << it;
    previous = s.sumWResInput;
    for (size_t j = 0; j < s.unknowns.size(); ++j)
      setDcParameter(p, s.unknowns[j].param, s.unknowns[j].curve, s.unknowns[j].input + s.correction[j]);
  }
  EXPECT_NEAR(p.HJD0, hjd0, 1e-5);
  EXPECT_NEAR(p.PERIOD, period, 1e-7);
  EXPECT_NEAR(p.E, e, 1e-4);
  EXPECT_NEAR(p.PER, per, 1e-3);
}

TEST(StandinDc, CommittedExamplesAreWhatTheGeneratorWrites) {
  ParameterSet lc = exampleTruth();
  EXPECT_EQ(slurp(kExamples + "example.lci"), lciText(lc));
  lc.MPAGE = 2;
  EXPECT_EQ(slurp(kExamples + "example_rv.lci"), lciText(lc));
  const ParameterSet dc = exampleDcStart();
  EXPECT_EQ(slurp(kExamples + "example.dci"), dciText(dc));
  EXPECT_EQ(slurp(kExamples + kExampleRv1File), observationCsv(dc.curves[1]));
  EXPECT_EQ(slurp(kExamples + kExampleRv2File), observationCsv(dc.curves[2]));
  EXPECT_EQ(slurp(kExamples + kExampleLightBFile), observationCsv(dc.curves[3]));
  EXPECT_EQ(slurp(kExamples + kExampleLightVFile), observationCsv(dc.curves[4]));
}

}  // namespace
}  // namespace tavrin::standin
