#pragma once
// Reader of LC's report (LCO): a few header values and the final table, kept
// as the light column (page 1) or the two velocity columns (page 2).

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin {

inline constexpr int kMaxLcoRows = 9000;

struct ComputedCurve {
  int16_t page = 0;   // 1 light curve, 2 radial velocities
  int16_t mode = 0;
  double inclination = 0.0;
  double t1 = 0.0, t2 = 0.0;  // kelvin
  double pot1 = 0.0, pot2 = 0.0;
  double massRatio = 0.0;
  double l2 = 0.0;
  int16_t count = 0;          // rows kept, at most kMaxLcoRows
  // Row n (1-based) is element n - 1; each holds count entries (light for
  // page 1, rv1/rv2 for page 2; the other arrays are empty).
  std::vector<double> phase, light, rv1, rv2;
  double phaseFirst = 0.0, phaseLast = 0.0;
  double lightMin = 999.0, lightMax = -999.0;  // page 1
  double rvMin = 999.0, rvMax = -999.0;        // page 2, widened by 5 % each way
  // The main window's L2 field (Text55) as it is to be shown: fixedField(l2, 7, 4).
  std::string l2Text;
};

// A refusal with a message of its own (not an error-table entry):
// "mpage must be 1 (LC output) or 2 (RV output).  Please try again." and
// "Error trap: Phases should be between -1 and 2.". Callers show what();
// the read-error flag is not set for these.
class ReportMessage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kMpageMessage = "mpage must be 1 (LC output) or 2 (RV output).  Please try again.";
inline constexpr const char* kPhaseMessage = "Error trap: Phases should be between -1 and 2.";

// Reads the LCO at path. On success sets p.MPAGE to the page and returns the
// curve; the caller shows l2Text in Text55 and draws the plot of the page.
// On failure throws TavrinError (53 missing, 62 cut short, 9 beyond 9000
// rows, 6 absurd number, ...) or ReportMessage, and p is left unchanged.
ComputedCurve readLcoFile(const std::string& path, ParameterSet& p);

// The same on text already in memory (CR LF or LF line ends).
ComputedCurve parseLco(const std::string& text);

}  // namespace tavrin
