#pragma once
// Which DC parameters are adjusted: the check-box choice of the adjustment
// window checked against the rest of the model, key by key.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin {

// DC takes at most this many adjusted parameters in one run.
inline constexpr int kMaxAdjustedParams = 15;

struct AdjustKeyInfo {
  int key = 0;                   // 1..35 (30 has no entry)
  std::string_view checkBox;     // "Check1"
  std::string_view caption;      // check-box caption
  std::string_view mainLabel;    // main-window label coloured by the key ("" when none)
};

// Keys 1..29 and 31..35 in key order.
const std::vector<AdjustKeyInfo>& adjustKeyTable();
// Main-window label of a key ("" when the key has none).
std::string_view mainLabelForKey(int key);

struct LabelColour {
  std::string label;  // "Label35"
  bool red = false;   // red = adjusted, black = held
};

struct AdjustOutcome {
  bool accepted = false;
  std::string message;                    // the refusal, empty when accepted
  std::vector<LabelColour> labelColours;  // labels of the keys taken, in key order
};

// The quantities the choice is checked against. The window takes E, MODE and
// JDPHS from the main editor as they stand (not yet gathered).
struct AdjustModel {
  double eccentricity = 0.0;
  int mode = 0;
  int jdphs = 1;
  int totalSpots = 0;
  int velocityCurves = 0;
};
AdjustModel adjustModelFrom(const ParameterSet& p);

// checked[k] is the state of check box k (indices 0 and 30 are ignored).
// Keys are taken in order; the first failing test stops with its message,
// leaving the keys taken so far changed. adjustedParams is rebuilt only when
// every test passes. A choice of more than 15 parameters is refused before
// anything is taken.
AdjustOutcome applyAdjustChoice(ParameterSet& p, const AdjustModel& model,
                                const std::array<bool, kAdjustKeys + 1>& checked);

// Rebuilds adjustedParams from the keys that are '0', ascending.
void rebuildAdjustedParams(ParameterSet& p);

}  // namespace tavrin
