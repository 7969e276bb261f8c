#pragma once
// Reader of DC's report (DCO): the adjusted keys, DC's unknowns (one per key,
// one per light curve for the per-curve keys 31..35), the per-curve L2 values
// and curve switches, the correlation matrix, the input-output table and the
// two weighted residual sums.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "model/parameter_set.h"
#include "shell/app_state.h"

namespace tavrin {

inline constexpr int kMaxAdjusted = 15;
// DC solves for at most this many unknowns and prints as many rows.
inline constexpr int kMaxUnknowns = 50;

// One unknown of DC's solution.
struct DcUnknown {
  int16_t param = 0;  // DC parameter number 1..35
  int16_t curve = 0;  // DC's light-curve number for 31..35, else 0
  friend bool operator==(const DcUnknown&, const DcUnknown&) = default;
};

struct DcIoRow {
  int16_t param = 0;  // DC parameter number
  int16_t curve = 0;  // 0 for parameters of no curve
  double input = 0.0, correction = 0.0, output = 0.0, stdDev = 0.0;  // DC's own units
  friend bool operator==(const DcIoRow&, const DcIoRow&) = default;
};

struct DcResults {
  std::vector<int16_t> adjustedParams;  // adjusted keys of the key line, ascending
  std::vector<DcUnknown> unknowns;      // in DC's order: keys, then curves
  std::vector<DcIoRow> ioRows;          // the input-output table as printed
  // unknowns x unknowns; empty when the report printed no matrix.
  std::vector<std::vector<double>> correlation;
  double sumWResInput = 0.0;
  double sumWResPredicted = 0.0;
  bool dcErrorSeen = false;
  // Why DC's solution failed (a NaN, a stop line, an "*ERR*" line); empty
  // for a sound solution. Nothing of a failed solution may be applied.
  std::string failure;
  bool failed() const { return !failure.empty(); }
};

// What one read found besides DcResults.
struct DcoReadReport {
  // The listing's last line when it begins "*ERR*" (DC's failed solution).
  std::optional<std::string> errorLine;
  bool curveSwitchesRead = false;   // IFVC1, IFVC2, NLC were read
  std::map<int, double> curveL2;    // curve row 1..7 -> L2 value read
};

// Reads a DCO text. A listing is whole once its residual sums are read (or
// at its "DOM1/DQ" line). Then results become this report's: when the
// solution failed (NaN or infinity anywhere, a stop line, an "*ERR*" ending)
// results.failure says why and the set is left alone; otherwise the set's
// IFVC1, IFVC2, NLC and curve L2 values take the report's. A listing cut
// short, or one that cannot be held, throws TavrinError and stores nothing.
// dcErrorSeen is never touched here.
DcoReadReport parseDco(const std::string& text, DcResults& results, ParameterSet& p);
DcoReadReport readDco(const std::string& path, DcResults& results, ParameterSet& p);

// The unknowns DC makes of adjusted keys with nlc light curves.
std::vector<DcUnknown> unknownsOfKeys(const std::vector<int16_t>& keys, int nlc);

// The DCO name of a DCI name: its last four characters cut, ".dco" appended.
std::string standardOutputName(const std::string& inputName, const char* extension);

// The whole read as the program does it: when the DCO was not chosen by the
// user the standard name is derived from the DCI name first; then data folder
// + DCO name is read. Failures, failed solutions and "*ERR*" endings set
// dcErrorSeen; failures also set app.readError.
struct DcoLoadOutcome {
  bool ok = false;              // a sound solution was read
  bool showMessageBox = false;  // a failure outside a contour computation
  std::string message;          // the error-table text of the failure, or why the solution failed
  std::optional<std::string> errorWindowLine;  // "*ERR*" line for frmMessage
  DcoReadReport report;
};
DcoLoadOutcome loadDco(AppState& app, ParameterSet& p, DcResults& results, bool dcoChosenByUser);

}  // namespace tavrin
