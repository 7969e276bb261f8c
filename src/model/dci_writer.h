#pragma once
// The DC input file: eleven fixed records, one record per observed curve,
// the spot lists, "150." and one block of observations per curve, CR LF line
// ends. Works on a ParameterSet and a path only.

#include <string>
#include <vector>

#include "model/lci_writer.h"
#include "model/parameter_set.h"

namespace tavrin {

// Fixed records 1..N (N = 11 + IFVC1 + IFVC2 + NLC) without line ends;
// element 0 is record 1. Throws TavrinError(9) for IFVC1/IFVC2 outside 0..1
// or NLC outside 0..5.
std::vector<std::string> dciRecords(const ParameterSet& p);

// The whole DCI text (CR LF). Throws TavrinError(9) when a curve's point
// count rounded up to a multiple of NPPL passes observation index 9000 (or
// NPPL is below 1), TavrinError(6) for a value that cannot be formatted,
// TavrinError(64) for a data-file name holding a line end.
std::string dciText(const ParameterSet& p);

// Formats, stores records 1..N in the record buffer, runs the potential
// checks and writes atomically; on refusal nothing is written. I/O failures
// throw TavrinError and leave the old file as it was.
SaveOutcome saveDci(ParameterSet& p, const std::string& path);

}  // namespace tavrin
