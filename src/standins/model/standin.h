#pragma once
// Entry points of the stand-in LC (Synthex) and DC (Solvex) programs.

#include <string>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin::standin {

const char* reportBanner();

// ---- LC ---------------------------------------------------------------------
// The LCO report for an LC input. Throws ModelError (binary_model.h) when the
// input cannot be computed; the text says why.
std::string lcReport(const ParameterSet& p);

// ---- DC ---------------------------------------------------------------------
struct DcUnknown {
  int param = 0;   // DC parameter number 1..35
  int curve = 0;   // light curve 1..5 for 31..35, else 0
  double input = 0.0;
  double increment = 0.0;
};

struct DcCurveSummary {
  int row = 0;          // curve-table row 1..7
  int points = 0;
  double sumWRes = 0.0;
  double l2 = 0.0;      // light curves: L2 as given or computed
};

struct DcSolution {
  std::string error;    // non-empty: the fit failed, the text says why
  std::vector<DcUnknown> unknowns;
  std::vector<double> correction, stdDev;
  std::vector<std::vector<double>> correlation;
  std::vector<std::vector<double>> normalMatrix;  // unscaled A = J^T W J
  std::vector<double> rhs;                        // J^T W r
  double sumWResInput = 0.0;
  double sumWResPredicted = 0.0;
  int observationCount = 0;
  std::vector<DcCurveSummary> curves;
  // Residual listing (IFDER = 1): per observation.
  struct Row { int row; double time, observed, computed, weight; std::vector<double> derivative; };
  std::vector<Row> rows;
  double r1 = 0.0, r2 = 0.0, pot1 = 0.0, pot2 = 0.0, crit1 = 0.0, crit2 = 0.0;
  double dom1dq = 0.0, dom2dq = 0.0;
};

// One differential-corrections step at the input values.
DcSolution dcSolve(const ParameterSet& p);
// The DCO report of a step (ends with "DOM1/DQ", or with an "*ERR*" line).
std::string dcReport(const ParameterSet& p, const DcSolution& s);

// DC's parameter values in its own units (spot angles in radians,
// temperatures in units of 10000 K, inclination in degrees).
double dcParameter(const ParameterSet& p, int param, int curve);
void setDcParameter(ParameterSet& p, int param, int curve, double value);

// The model's computed values at the DC observations, curve by curve in DC
// order (velocity curve 1, 2, light curves 1..NLC). Throws ModelError.
std::vector<double> dcComputed(const ParameterSet& p);

// ---- Input ------------------------------------------------------------------
// Reads an LCI / DCI text (as given on standard input) into a parameter set.
// Throws std::exception with a message when the text is not a readable file.
ParameterSet parseLciText(const std::string& text);
ParameterSet parseDciText(const std::string& text);

}  // namespace tavrin::standin
