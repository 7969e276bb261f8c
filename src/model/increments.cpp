#include "model/increments.h"

#include <charconv>
#include <cmath>

namespace tavrin {

namespace {

const std::array<std::string_view, kIncrementBoxes + 1> kDefaults = {
    "",     "5.0",  "5.0",  "3.0",  "0.03", "5.0",  "5.0",  "3.0",  "0.03", "0.01",
    "0.10", "0.01", "0.01", "0.002", "-1.0", "0.01", "0.01", "0.01", "0.01", "0.01",
    "0.01", "0.01", "0.01", "0.01", "0.01", "0.01", "0.01", "0.01"};

const std::array<std::string_view, kIncrementBoxes + 1> kLabels = {
    "",
    "Latitude of spot",
    "Long. of spot",
    "Radius of spot",
    "Temp Factor",
    "Latitude of spot",
    "Long. of spot",
    "Radius of spot",
    "Temp. Factor",
    "Eccentricity",
    "Periastron Long.",
    "F1 (star1 rotation)",
    "F2 (star2 rotation)",
    "Phase shift",
    "Inclination",
    "g1 (grav. dark)",
    "g2 (grav. dark)",
    "T1 (temperature)",
    "T2 (temperature)",
    "Albedo1",
    "Albedo 2",
    "Potential 1",
    "Potential 2",
    "M2 / M1",
    "L1 (light)",
    "L2 (light)",
    "X1 (limb dark.)",
    "X2 (limb dark.)"};

}  // namespace

const std::array<std::string_view, kIncrementBoxes + 1>& defaultIncrementTexts() { return kDefaults; }

std::string_view incrementLabel(int box) {
  if (box < 1 || box > kIncrementBoxes) return {};
  return kLabels[static_cast<size_t>(box)];
}

std::string incrementBoxName(int box) {
  std::string label(incrementLabel(box));
  if (box >= 1 && box <= 4) return "Star 1 Spot: " + label;
  if (box >= 5 && box <= 8) return "Star 2 Spot: " + label;
  return label;
}

std::string shortestDecimalText(double x) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, x);
  return std::string(buf, r.ptr);
}

IncrementTexts incrementTexts(const ParameterSet& p) {
  IncrementTexts t;
  for (int k = 1; k <= kIncrements; ++k) t[static_cast<size_t>(k)] = shortestDecimalText(p.increments[static_cast<size_t>(k)]);
  t[kIncrementBoxes] = p.x2Increment;
  return t;
}

std::optional<double> strictNumber(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  std::string s(text.substr(b, e - b));
  if (s.empty()) return std::nullopt;
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
    s[i] = 'e';
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return std::nullopt;
  }
  if (i != s.size()) return std::nullopt;
  const char* first = s.data();
  if (*first == '+') ++first;
  double v = 0.0;
  const auto r = std::from_chars(first, s.data() + s.size(), v);
  if (r.ec != std::errc() || r.ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
  return v;
}

std::optional<std::string> applyIncrementTexts(ParameterSet& p, const IncrementTexts& texts) {
  std::array<double, kIncrements + 1> values{};
  for (int k = 1; k <= kIncrementBoxes; ++k) {
    const auto v = strictNumber(texts[static_cast<size_t>(k)]);
    if (!v)
      return "The increment \"" + incrementBoxName(k) + "\" (box " + std::to_string(k) +
             ") is not a number.  Please correct it; no increment has been changed.";
    if (k <= kIncrements) values[static_cast<size_t>(k)] = *v;
  }
  for (int k = 1; k <= kIncrements; ++k) p.increments[static_cast<size_t>(k)] = values[static_cast<size_t>(k)];
  p.x2Increment = texts[kIncrementBoxes];
  return std::nullopt;
}

}  // namespace tavrin
