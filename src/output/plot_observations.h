#pragma once
// Observed points for the plots: one file of observed light for the
// light-curve plot, up to two files of observed radial velocities. The first
// column holds phases or Julian dates; dates are folded with the ephemeris.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "model/parameter_set.h"
#include "output/plot_state.h"

namespace tavrin {

inline constexpr int kMaxObservedLight = 5000;
inline constexpr int kMaxObservedVelocities = 9000;

struct ObservedLight {
  std::string fileName;  // no folder; shown in Label25
  // Point j (1-based) is element j - 1; all three hold count() entries.
  std::vector<double> phase;
  std::vector<double> light;
  std::vector<double> timeAsRead;  // filled only when the file held dates
  bool folded = false;
  int count() const { return static_cast<int>(phase.size()); }
};

struct VelocitySet {
  std::string fileName;
  bool loaded = false;
  std::vector<double> phase;
  std::vector<double> velocity;
  std::vector<double> timeAsRead;  // filled only when the file held dates
  double timeMin = 0.0, timeMax = 0.0;
  bool folded = false;
  int count() const { return static_cast<int>(phase.size()); }
};

struct ObservedVelocities {
  std::array<VelocitySet, 2> sets;  // set 1 is sets[0]
  VelocitySet& set(int n) { return sets.at(static_cast<size_t>(n - 1)); }
  const VelocitySet& set(int n) const { return sets.at(static_cast<size_t>(n - 1)); }
};

// What a load did when it did not fail.
enum class ObservationLoad {
  Loaded,          // points replaced, display mode set to 3
  NotRecognised,   // first line without commas or with more than three: nothing changed
};

// The records of a file: first column and second column of each record, in
// file order. Reads all of the text; throws TavrinError on failure (62 for a
// record cut short, 9 past maxRecords, 321 for text that is not a number,
// 6 for a number too large). Returns false (and leaves times/values empty)
// when the first line does not fix a record size of 2 to 4 numbers.
// failedAt, when given, gets the offset of the field being read when it fails.
bool parseObservationRecords(const std::string& text, int maxRecords, std::vector<double>& times,
                             std::vector<double>& values, size_t* failedAt = nullptr);

// Reads folder/fileName into a new table and replaces obs only on success;
// on success the display mode becomes 3 (curve and data). Throws TavrinError and leaves obs
// and state untouched on any failure (53 missing file, 9 a 5001st point,
// 11 a Period of 0 when dates are folded, ...).
ObservationLoad loadLightData(const std::string& folder, const std::string& fileName, const ParameterSet& p,
                              ObservedLight& obs, PlotState& state);

// The same for velocity set 1 or 2; the other set is not touched.
ObservationLoad loadVelocityData(const std::string& folder, const std::string& fileName, int set,
                                 const ParameterSet& p, ObservedVelocities& obs, PlotState& state);

// Phase of a date: t = (date - HJD0) / PERIOD; t - Int(t) + PSHIFT.
// Throws TavrinError(11) for a Period of 0.
double foldDate(double date, const ParameterSet& p);

// The folding tests on the smallest and largest first-column value.
bool lightTimesArePhases(double min, double max);
bool velocityTimesAreDates(double min, double max);

}  // namespace tavrin
