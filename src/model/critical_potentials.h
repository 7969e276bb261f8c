#pragma once
// Inner and outer Roche critical potentials from the mass ratio (piecewise
// fits for synchronous rotation and circular orbits), the figures of the
// critical-potentials window, and the potential checks run before a save.

#include <optional>
#include <string>

#include "model/parameter_set.h"

namespace tavrin {

double criticalPotentialInner(double q);  // q >= 0
double criticalPotentialOuter(double q);

enum class InputFileKind { LCI, DCI };

struct FillFactors {
  double inner, outer, f1, f2;
  std::string innerText, outerText, f1Text, f2Text;  // window texts
};

// The window's figures; nullopt when F1 or F2 is not 1 within 1e-4 or RM < 0
// (the window then keeps its values).
std::optional<FillFactors> criticalPotentialFigures(const ParameterSet& p);

// First 7 characters of plainNumberText (sign place kept).
std::string shortPotentialText(double x);

struct PotentialCheck {
  bool passed = true;
  std::string message;                        // refusal text when !passed
  std::optional<std::string> text46, text47;  // new field texts when POTH / POT2 were snapped
};

// Runs the save-time checks; may snap p.POTH / p.POT2 to the inner critical
// potential (modes 4, 5, 6). A negative mass ratio is refused before any fit.
PotentialCheck checkPotentials(ParameterSet& p, InputFileKind kind);

}  // namespace tavrin
