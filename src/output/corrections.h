#pragma once
// DC's results as the I/O Parms and Correlations windows show them, applying
// one correction to the parameter set, and revert from the parameter history.

#include <optional>
#include <string>
#include <vector>

#include "model/dc_parameters.h"
#include "model/parameter_history.h"
#include "model/parameter_set.h"
#include "output/dco_reader.h"

namespace tavrin {

// The label of an unknown: its parameter's, with its curve where it has one ("L1 (2)").
std::string dcUnknownLabel(const DcUnknown& u);

// Rows applied since the last read, one flag per input-output row.
using UpdateDone = std::vector<bool>;

struct IoParmsRow {
  std::string label;                    // Label2(i): the label of the row's unknown
  std::string param, curve;             // Text1(i), Text2(i)
  std::string input, correction, stdDev, output;  // Text3, Text4, Text5, Text6
  std::string button;                   // "Update" or "Done"
  bool updatable = true;                // false for a failed solution
};

struct IoParmsView {
  std::string caption;                  // "I/O Parms - " + DCO name
  std::vector<IoParmsRow> rows;         // one per input-output row
  std::string sumInput, sumPredicted;   // Text9, Text10
  std::string failure;                  // why DC's solution failed, when it did
};

IoParmsView ioParmsView(const DcResults& r, const UpdateDone& done, const std::string& dcoName);

struct CorrelView {
  std::string caption;  // "Correlations - " + DCO name
  // cells[r][c]: row r, column c (0-based), fixedField(value, 9, 5).
  std::vector<std::vector<std::string>> cells;
  std::vector<std::string> labels;  // one per unknown
  std::string note;                 // said instead of a matrix the report did not print
};

CorrelView correlView(const DcResults& r, const std::string& dcoName);

// A main-window field and the text to show in it.
struct FieldText {
  std::string control;  // "Text35", ...
  std::string text;
};

// The main-window field of DC parameter `param`, if it has one.
std::optional<std::string> dcParameterControl(int param);
// The main-window field of DC parameter `param` showing `value` as Update shows it.
std::optional<FieldText> dcParameterField(int param, double value);

// Applies input-output row i (0-based): adds the row's correction to the
// value the set holds now and marks the row done. Returns the field to
// refresh, if the parameter has one. Nothing happens for a row already done
// or for a failed solution; a row whose parameter or curve names nothing is
// only marked done. A result that does not fit a double is TavrinError(6)
// and changes nothing.
std::optional<FieldText> applyCorrection(ParameterSet& p, const DcResults& r, size_t i, UpdateDone& done);

// The input-output rows not applied since the last read.
std::vector<size_t> pendingRows(const DcResults& r, const UpdateDone& done);

// Applies every input-output row at once, each correction times `damping`,
// and marks every row done. All or nothing: a result that does not fit a
// double is TavrinError(6) and changes nothing; a failed solution changes
// nothing. Returns the fields to refresh.
std::vector<FieldText> applyAllCorrections(ParameterSet& p, const DcResults& r, UpdateDone& done,
                                           double damping = 1.0);

// Revert: the set and generation 1 take generation 2. Returns the 21 scalar
// fields rewritten, in the order they are shown.
std::vector<FieldText> revertParameters(ParameterSet& p, ParameterHistory& h);

}  // namespace tavrin
