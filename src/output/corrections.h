#pragma once
// DC's results as the I/O Parms and Correlations windows show them, applying
// one correction to the parameter set, and revert from the parameter history.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "model/parameter_history.h"
#include "model/parameter_set.h"
#include "output/dco_reader.h"

namespace tavrin {

inline constexpr int kIoParmsRows = 8;
inline constexpr int kCorrelShown = 10;

// Label of DC parameter 1..35 ("SpLat A" .. "EL3"; 30 is seven blanks);
// "" for any other number.
std::string dcParameterLabel(int param);

// Rows applied since the last standard read: updateDone[1..8].
using UpdateDone = std::array<bool, kIoParmsRows + 1>;

struct IoParmsRow {
  bool visible = true;
  std::string label;                    // Label2(i): the label of the row's parameter
  std::string param, curve;             // Text1(i), Text2(i)
  std::string input, correction, stdDev, output;  // Text3, Text4, Text5, Text6
  std::string button;                   // "Update" or "Done"
};

struct IoParmsView {
  std::string caption;                  // "I/O Parms - " + DCO name
  std::array<IoParmsRow, kIoParmsRows + 1> rows;  // [1..8]
  std::string sumInput, sumPredicted;   // Text9, Text10
};

IoParmsView ioParmsView(const DcResults& r, const UpdateDone& done, const std::string& dcoName);

struct CorrelView {
  std::string caption;  // "Correlations - " + DCO name
  // cells[r][c] is element r of the text box array of column c (1..10).
  std::array<std::array<std::string, kCorrelShown + 1>, kCorrelShown + 1> cells;
  std::array<std::string, kCorrelShown + 1> labels;  // Label1(i) and Label2(i)
};

CorrelView correlView(const DcResults& r, const std::string& dcoName);

// A main-window field and the text to show in it.
struct FieldText {
  std::string control;  // "Text35", ...
  std::string text;
};

// Applies row i (1..8): adds the row's correction to the value the set holds
// now and marks the row done. Returns the field to refresh, if the parameter
// has one. Nothing happens for a row already done; a row whose parameter or
// curve names nothing is only marked done. A result that does not fit a
// double is TavrinError(6) and changes nothing.
std::optional<FieldText> applyCorrection(ParameterSet& p, const DcResults& r, int i, UpdateDone& done);

// Revert: the set and generation 1 take generation 2. Returns the 21 scalar
// fields rewritten, in the order they are shown.
std::vector<FieldText> revertParameters(ParameterSet& p, ParameterHistory& h);

}  // namespace tavrin
