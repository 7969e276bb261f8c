#pragma once
// Reader of DC's report (DCO): the adjusted keys, the per-curve L2 values and
// curve switches, the correlation matrix, the input-output table and the two
// weighted residual sums.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "model/parameter_set.h"
#include "shell/app_state.h"

namespace tavrin {

inline constexpr int kMaxAdjusted = 15;
inline constexpr int kMaxCorrelation = 25;
inline constexpr int kMaxIoRows = 20;

struct DcIoRow {
  int16_t param = 0;  // DC parameter number
  int16_t curve = 0;  // 0 for parameters of no curve
  double input = 0.0, correction = 0.0, output = 0.0, stdDev = 0.0;  // DC's own units
};

struct DcResults {
  int16_t adjustedCount = 0;
  std::array<int16_t, kMaxAdjusted + 1> adjustedParams{};  // [1..15]
  // [row][column], 1-based; texts of fixedField(value, 9, 5).
  std::array<std::array<std::string, kMaxCorrelation + 1>, kMaxCorrelation + 1> correlation{};
  std::array<DcIoRow, kMaxIoRows + 1> ioRows{};  // [1..20]
  int16_t ioRowCount = 0;
  double sumWResInput = 0.0;
  double sumWResPredicted = 0.0;
  bool dcErrorSeen = false;
};

// What one read found besides DcResults.
struct DcoReadReport {
  // The listing's last line when it begins "*ERR*" (DC's failed solution).
  std::optional<std::string> errorLine;
  bool curveSwitchesRead = false;   // IFVC1, IFVC2, NLC were read
  std::map<int, double> curveL2;    // curve row 1..7 -> L2 value read
};

// Reads a DCO text into results and the set's IFVC1, IFVC2, NLC and curve L2
// values. Fields the listing does not reach keep their values. Everything is
// stored only when the listing ends with its "DOM1/DQ" marker; a listing that
// ends in an "*ERR*" line stores nothing and returns that line; any other
// failure (cut short, more than 15 keys, 20 rows or five light curves, an
// absurd number) throws TavrinError and stores nothing. dcErrorSeen is never
// touched here.
DcoReadReport parseDco(const std::string& text, DcResults& results, ParameterSet& p);
DcoReadReport readDco(const std::string& path, DcResults& results, ParameterSet& p);

// The DCO name of a DCI name: its last four characters cut, ".dco" appended.
std::string standardOutputName(const std::string& inputName, const char* extension);

// The whole read as the program does it: when the DCO was not chosen by the
// user the standard name is derived from the DCI name first; then data folder
// + DCO name is read. Failures and "*ERR*" endings set dcErrorSeen; failures
// also set app.readError.
struct DcoLoadOutcome {
  bool ok = false;              // read to its end marker
  bool showMessageBox = false;  // a failure outside a contour computation
  std::string message;          // the error-table text of the failure
  std::optional<std::string> errorWindowLine;  // "*ERR*" line for frmMessage
  DcoReadReport report;
};
DcoLoadOutcome loadDco(AppState& app, ParameterSet& p, DcResults& results, bool dcoChosenByUser);

}  // namespace tavrin
