#pragma once
// The 27 derivative increments of DC as the increments window shows and
// stores them: boxes 1..26 are increments[1..26], box 27 is x2Increment.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "model/parameter_set.h"

namespace tavrin {

inline constexpr int kIncrementBoxes = 27;
using IncrementTexts = std::array<std::string, kIncrementBoxes + 1>;  // [1..27]

// Texts the Default button puts into the boxes.
const std::array<std::string_view, kIncrementBoxes + 1>& defaultIncrementTexts();
// The label beside box k (1..27), e.g. "Inclination".
std::string_view incrementLabel(int box);
// How a refusal names box k: its group and label, e.g. "Star 2 Spot: Long. of spot".
std::string incrementBoxName(int box);

// Shortest decimal text that reads back as the same number (5 -> "5", -1 -> "-1").
std::string shortestDecimalText(double x);
// The boxes as the window opens: increments[1..26] in shortest form, then x2Increment as held.
IncrementTexts incrementTexts(const ParameterSet& p);

// Whole-text number conversion: optional blanks, sign, digits with one point,
// optional exponent (E or D), nothing else. nullopt otherwise.
std::optional<double> strictNumber(std::string_view text);

// Stores all 27 boxes, or nothing: returns the refusal naming the first box
// that does not hold a number.
std::optional<std::string> applyIncrementTexts(ParameterSet& p, const IncrementTexts& texts);

}  // namespace tavrin
