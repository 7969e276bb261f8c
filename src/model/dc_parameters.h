#pragma once
// DC's parameter numbers 1..35, described once: the set's name for each, the
// labels it goes by, where its value lives in the set, its units.

#include <string>
#include <string_view>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin {

inline constexpr int kDcParameters = 35;

// Numbers other parts of the program pick by meaning.
inline constexpr int kDcInclination = 16;
inline constexpr int kDcT2 = 20;
inline constexpr int kDcPotential1 = 23;
inline constexpr int kDcMassRatio = 25;
inline constexpr int kDcL1 = 31;

struct DcParameterInfo {
  int number = 0;
  std::string_view name;       // the set's name for it: "POTH"; spot rows "XLAT A"
  std::string_view label;      // DC's label in its reports: "Pot'l 1"
  std::string_view caption;    // caption of its adjustment check box
  int incrementBox = 0;        // its box of DC's derivative increments (1..27), 0 when none
  bool keyColoursLabel = false;  // its adjustment key colours its main-window label
  double ParameterSet::*scalar = nullptr;  // 9..29
  double Spot::*spot = nullptr;            // 1..8, of spot A (1..4) or B (5..8)
  double CurveRow::*curve = nullptr;       // 31..35, of the unknown's curve
  double setPerDcUnit = 1.0;   // the set's units per DC unit (temperatures: 10000 K)
  double displayScale = 1.0;   // shown = DC value * displayScale (angles in degrees, K)
};

// Rows 1..29 and 31..35 in number order (30 is unused).
const std::vector<DcParameterInfo>& dcParameterTable();
// The row of a number; an empty row (number 0, label "" or seven blanks for 30) otherwise.
const DcParameterInfo& dcParameterInfo(int param);

// "SpLat A" .. "EL3" (30 is seven blanks); "" for any other number.
std::string dcParameterLabel(int param);
// Spot angles are shown in degrees, temperatures in kelvin; DC's units otherwise.
double dcDisplayScale(int param);
// L1, L2, x1, x2 and third light: one unknown per light curve.
constexpr bool isPerCurveParameter(int param) { return param >= 31 && param <= 35; }

// The main-window field of a scalar parameter (9..29), else nullptr.
const ScalarField* dcParameterEditorField(int param);
// The main-window label its adjustment key colours ("Label46"), "" when none.
std::string_view dcParameterKeyLabel(int param);

// Where the value of parameter `param` for curve `curve` lives in the set (in
// the set's units), or nullptr: no such parameter, spot slot or curve row.
double* dcParameterSlot(ParameterSet& p, int param, int curve);

}  // namespace tavrin
