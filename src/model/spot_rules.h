#pragma once
// The spot tables as the spots window shows and stores them: degree texts,
// the OK steps with their checks, and the highlighting of the cells of the
// two spots DC may adjust.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/parameter_set.h"

namespace tavrin {

inline constexpr int kSpotRowsShown = 6;  // rows of the window for ordinary models

// Number of rows the window edits for this set: 6, or 10 when a star carries
// more than 6 spots (so every loaded spot stays visible and is kept on OK).
int spotRowLimit(const ParameterSet& p);

// Cell texts: angles in degrees (fixedField 7.2), the temperature factor fixedField 7.4.
std::string spotAngleText(double radians);
std::string spotFactorText(double factor);
// The four cell texts of a stored spot (latitude, longitude, radius, factor).
std::array<std::string, 4> spotCellTexts(const Spot& s);

struct SpotsEntry {
  int rowLimit = kSpotRowsShown;
  // cells[star][row][quantity], star 1..2, row 1..10, quantity 0..3.
  std::array<std::array<std::array<std::string, 4>, kMaxSpotsPerStar + 1>, 3> cells{};
  std::array<std::string, 4> spotAB;  // star A, number A, star B, number B
};

// OK of the spots window with the counts held in p.spotCount. Stores rows
// 1..count of each star, zeroes rows count+1..rowLimit (rows beyond rowLimit
// are left alone), takes Spot A/B in DC mode, recomputes the total and runs
// the checks. Returns the first refusal (what was stored stays stored).
// The Spot A/B checks are made in DC mode only: in LC mode the fields are
// hidden and could not be corrected. Throws TavrinError(6) before storing
// anything when a Spot A/B field does not fit a 16-bit integer.
std::optional<std::string> applySpotsOk(ParameterSet& p, const SpotsEntry& entry, bool dcMode);

struct SpotHighlight {
  int star = 0;      // 1..2
  int row = 0;       // spot number
  int quantity = 0;  // 0 latitude .. 3 temperature factor
  int red = 255, green = 255, blue = 255;
};
// Cells to colour for the adjusted Spot A (255,192,192) and Spot B (192,192,255) quantities.
std::vector<SpotHighlight> spotHighlights(const ParameterSet& p, int rowLimit);

// Help lines of a column caption: quantity 0..3, star 1..2.
std::vector<std::string> spotColumnHelp(int quantity, int star);

struct HelpPageText {
  std::string title;
  std::vector<std::string> paragraphs;
};
HelpPageText spotsHelpPage();

}  // namespace tavrin
