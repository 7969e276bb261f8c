#pragma once
// DC's parameter numbers 1..35: labels, display scale and which ones DC
// solves for once per light curve.

#include <string>

namespace tavrin {

inline constexpr int kDcParameters = 35;

// "SpLat A" .. "EL3" (30 is seven blanks); "" for any other number.
std::string dcParameterLabel(int param);
// Spot angles are shown in degrees, temperatures in kelvin; DC's units otherwise.
double dcDisplayScale(int param);
// L1, L2, x1, x2 and third light: one unknown per light curve.
constexpr bool isPerCurveParameter(int param) { return param >= 31 && param <= 35; }

}  // namespace tavrin
