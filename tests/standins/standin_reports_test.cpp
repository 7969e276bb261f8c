// The stand-ins' reports, whole, and what Tavrin's own LCO and DCO readers
// take from them, against golden files (TAVRIN_UPDATE_GOLDEN=1 rewrites).
// Differential corrections recover known parameters: each iteration's sums
// and the values reached against golden/dc_fits.txt. The committed examples
// are exactly what the generator writes.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "binary_model.h"
#include "example_system.h"
#include "model/dc_parameters.h"
#include "model/dci_writer.h"
#include "model/input_reader.h"
#include "model/lci_writer.h"
#include "model/settings_words.h"
#include "output/report_dumps.h"
#include "standin.h"
#include "test_files.h"

using namespace tavrin::testing_support;

namespace tavrin::standin {
namespace {

ParameterSet lightSystem(const std::string& settings = "") {
  ParameterSet p = exampleTruth();
  p.PHSTRT = -0.2, p.PHSTOP = 1.2, p.PHIN = 0.01;
  return withSettings(settings, p);
}

ParameterSet dcStart(const std::string& settings = "") { return withSettings(settings, exampleDcStart()); }

std::vector<std::vector<std::string>> cases(const char* name) {
  auto rows = tableRows(goldenPath("standins", name));
  EXPECT_GT(rows.size(), 8u) << name;
  return rows;
}

// The report whole, then what Tavrin's reader takes from it.
void expectDc(const std::string& name, const ParameterSet& p) {
  const std::string text = dcReport(p, dcSolve(p));
  EXPECT_EQ(text, dcReport(p, dcSolve(p))) << name;  // deterministic
  expectGolden("standins", "reports/" + name + ".txt", text + "==== read by Tavrin\n" + testreports::dcoReadOf(text));
}

TEST(StandinReports, ReportsOfTheListedSets) {
  for (const auto& c : cases("reports.tsv")) {
    if (c[1] == "dc") {
      expectDc(c[0], dcStart(c[2]));
      continue;
    }
    const std::string text = lcReport(lightSystem(c[2]));
    EXPECT_EQ(text.rfind(std::string(reportBanner()) + "\r\n", 0), 0u) << c[0];
    EXPECT_EQ(text.find(','), std::string::npos) << c[0];  // the reader splits lines at commas
    expectGolden("standins", "reports/" + c[0] + ".txt", text + "==== read by Tavrin\n" + testreports::lcoReadOf(text));
  }
}

TEST(StandinReports, LightCurveProgramRefusesInputsItCannotCompute) {
  std::string log;
  for (const auto& c : cases("lc_refusal_cases.tsv")) {
    try {
      log += c[0] + ": computed " + std::to_string(lcReport(lightSystem(c[1])).size()) + " bytes\n";
    } catch (const ModelError& e) {
      log += c[0] + ": " + e.what() + "\n";
    }
  }
  expectGolden("standins", "lc_refusals.txt", log);
}

TEST(StandinReports, CorrectionsReportsOfSetsNoTableNames) {
  ParameterSet w = dcStart();
  w.curves[3].points[0].weight = -1.0;
  expectDc("dc_nan_negative_weight", w);
  // Only the second velocity curve: its L2 row comes first.
  ParameterSet v = exampleWithObservations();
  v.IFVC1 = 0, v.NLC = 0, v.adjustKeys[15] = '0', v.adjustKeys[9] = '0';
  expectDc("dc_second_velocity_only", v);
  // Nothing adjusted: the residuals of the input values, nothing corrected.
  ParameterSet none = dcStart();
  none.adjustKeys = ParameterSet::defaultAdjustKeys();
  const DcSolution s = dcSolve(none);
  EXPECT_EQ(s.sumWResPredicted, s.sumWResInput);
  EXPECT_DOUBLE_EQ(s.sumWResInput, dcSolve(dcStart()).sumWResInput);  // whatever is adjusted
  expectDc("dc_nothing_adjusted", none);
}

TEST(StandinReports, FailedFitsEndWithAnErrLineThatSaysWhy) {
  std::string log;
  for (const auto& c : cases("dc_failed_fit_cases.tsv")) {
    const ParameterSet p = dcStart(c[1]);
    const std::string text = dcReport(p, dcSolve(p));
    EXPECT_EQ(text.find("DOM1/DQ"), std::string::npos) << c[0];
    EXPECT_NE(text.find("\r\n*ERR* "), std::string::npos) << c[0];
    log += "==== " + c[0] + "\n" + testreports::dcoReadOf(text);
  }
  expectGolden("standins", "dc_failed_fits.txt", log);
}

const std::string kExamples = std::string(TAVRIN_SOURCE_DIR) + "/examples/";

// Six digits, and nothing below 1e-7: enough to pin a fit, not its rounding noise.
std::string g6(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, " %.6g", std::fabs(v) < 1e-7 ? 0.0 : v);
  return buf;
}

// Runs `steps` corrections, each applied whole; the residuals never grow.
DcSolution iterate(ParameterSet& p, int steps, std::string& log) {
  double previous = INFINITY;
  for (int it = 0;; ++it) {
    const DcSolution s = dcSolve(p);
    EXPECT_EQ(s.error, "") << it;
    EXPECT_LE(s.sumWResInput, previous * (1.0 + 1e-9)) << it;
    EXPECT_LE(s.sumWResPredicted, s.sumWResInput * (1.0 + 1e-9)) << it;
    previous = s.sumWResInput;
    log += "step " + std::to_string(it) + " sums" + g6(s.sumWResInput) + g6(s.sumWResPredicted) + " |";
    for (size_t j = 0; j < s.unknowns.size(); ++j)
      log += " " + dcParameterLabel(s.unknowns[j].param) + g6(s.unknowns[j].input) + " +-" + g6(s.stdDev[j]) + " corr" + g6(s.correction[j]);
    log += "\n";
    if (it == steps) return s;
    for (size_t j = 0; j < s.unknowns.size(); ++j)
      setDcParameter(p, s.unknowns[j].param, s.unknowns[j].curve, s.unknowns[j].input + s.correction[j]);
  }
}

// Noise-free observations of p at the times (or phases) they have.
void observeModel(ParameterSet& p, int firstRow, int lastRow) {
  const std::vector<double> computed = dcComputed(p);
  size_t k = 0;
  for (int row = firstRow; row <= lastRow; ++row)
    for (ObservationPoint& pt : p.curves[row].points) pt.value = computed[k++];
}

TEST(StandinDc, FitsRecoverTheParameters) {
  std::string log = "== example from a visibly wrong start\n";
  const std::string dci = slurp(kExamples + "example.dci");
  ParameterSet p = readDciText(dci, ParameterSet{}, probeDciText(dci)).params;
  const DcSolution s = iterate(p, 5, log);
  // Chi-square per degree of freedom near 1: the weights follow the noise. The
  // values reached, each within its deviation of the truth, are in the golden.
  EXPECT_NEAR(s.sumWResInput / (s.observationCount - 5), 1.0, 0.15);

  log += "== symmetric, one-sided and damped derivatives\n";
  p = exampleWithObservations();
  p.XINCL = 85.5;
  for (int k : {16, 20, 23, 31}) p.adjustKeys[k] = '0';
  for (auto [isym, lambda] : {std::pair{1, 0.001}, {0, 0.001}, {0, 100.0}}) {
    p.ISYM = static_cast<int16_t>(isym), p.XLAMDA = lambda;
    iterate(p, 0, log);
  }

  log += "== spot temperature factor from noise-free data of the spotted star\n";
  p = exampleWithObservations();
  p.IFVC1 = p.IFVC2 = 0, p.spotCount[1] = 1, p.spotAStar = 1, p.spotANumber = 1;
  p.spots[1][1] = Spot{1.2, 1.0, 0.35, 0.85};
  observeModel(p, 3, 4);
  p.spots[1][1].temsp = 0.95;
  p.adjustKeys[4] = '0';
  iterate(p, 4, log);

  log += "== ephemeris and eccentric orbit from times over 40 cycles\n";
  p = exampleWithObservations();
  p.JDPHS = 1, p.E = 0.12, p.PER = 1.9, p.POTH = 6.0, p.POT2 = 6.5, p.DPERDT = 1e-4;
  for (int row = 1; row <= 4; ++row)
    for (size_t i = 0; i < p.curves[row].points.size(); ++i)
      p.curves[row].points[i].time = p.HJD0 + 2.5 * (std::fmod(i * 0.6180339887, 1.0) + static_cast<double>(i % 40));
  observeModel(p, 1, 4);
  const ParameterSet truthE = p;
  p.HJD0 += 0.004, p.PERIOD += 2e-5, p.E = 0.10, p.PER = 1.8;
  for (int key : {10, 11, 26, 27}) p.adjustKeys[key] = '0';
  iterate(p, 5, log);
  EXPECT_NEAR(p.HJD0, truthE.HJD0, 1e-5);
  EXPECT_NEAR(p.PERIOD, truthE.PERIOD, 1e-7);
  expectGolden("standins", "dc_fits.txt", log);
}

TEST(StandinDc, CommittedExamplesAreWhatTheGeneratorWrites) {
  const ParameterSet lc = exampleTruth(), rv = withSettings("MPAGE=2", lc), dc = exampleDcStart();
  for (const auto& [file, text] : std::vector<std::pair<std::string, std::string>>{
           {"example.lci", lciText(lc)}, {"example_rv.lci", lciText(rv)}, {"example.dci", dciText(dc)},
           {kExampleRv1File, observationCsv(dc.curves[1])}, {kExampleRv2File, observationCsv(dc.curves[2])},
           {kExampleLightBFile, observationCsv(dc.curves[3])}, {kExampleLightVFile, observationCsv(dc.curves[4])}})
    EXPECT_EQ(slurp(kExamples + file), text) << file;
}

}  // namespace
}  // namespace tavrin::standin
