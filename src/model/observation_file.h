#pragma once
// Observation files of the DC curves: comma-separated text, 2 to 6 columns
// (time or phase, observed value, weight, further columns dropped), with an
// optional header line recognised by itself. LF and CR LF line ends.

#include <string>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin {

// Reads every point. Two columns give weight 1; a second line without a comma
// or with more than five commas gives no point. Throws TavrinError: 53 (and
// the other file errors) when the file cannot be read, 62 when it ends before
// its second line or inside a record, 321 for an item that is not a number,
// 6 for a number too large for a double, 9 past point 9000.
std::vector<ObservationPoint> readObservationFile(const std::string& path);

// Loads curve row `curve` (1..7, else TavrinError(9)) from
// folder/curves[curve].dataFile. The points are replaced only when the whole
// file was read; curve 1 switches IFVC1 on, curve 2 IFVC2.
void loadObservationFile(ParameterSet& p, int curve, const std::string& folder);

// The same for a newly chosen name, which becomes the curve's data-file name
// only when the load succeeds.
void loadObservationFile(ParameterSet& p, int curve, const std::string& folder, const std::string& name);

}  // namespace tavrin
