#pragma once
// The observed-data curve table as the data-file window shows and stores it,
// and the miscellaneous DC parameters of their own small window.

#include <array>
#include <string>
#include <string_view>

#include "model/parameter_set.h"

namespace tavrin {

inline constexpr int kVelocityRows = 2;
inline constexpr int kLightRows = 5;

inline bool isLightRow(int row) { return row >= 3 && row <= kCurveRows; }

// The texts of one row of the window (noise and el3 only for light rows).
struct CurveRowTexts {
  std::string band, dataFile, wavel, l1, l2, x1, x2, y1, y2, sigma, noise, el3;
};
CurveRowTexts curveRowTexts(const CurveRow& row, bool lightRow);

struct DataFileEntry {
  int velocityCount = 0;  // Combo1 index 0..2
  int lightCount = 0;     // Combo2 index 0..5
  std::array<CurveRowTexts, kCurveRows + 1> rows{};  // [1..7]
};

// IFVC1 and IFVC2 for a number of velocity curves; with two curves and no file
// on row 1, DC is told to use curve 2 only.
std::array<int16_t, 2> velocitySwitches(int velocityCount, const std::string& row1File);

// OK of the data-file window: counts, switches and every used row. All texts
// are converted before anything is stored, so an integer that does not fit
// 16 bits (TavrinError 6) leaves the set unchanged.
void applyDataFileEntry(ParameterSet& p, const DataFileEntry& e);

// Wavelength text for a typed band (empty for a band without one).
std::string wavelengthForBandText(std::string_view bandText);

// x1/x2 and y1/y2 follow each other in the overcontact modes.
inline bool limbDarkeningCoupled(int mode) { return mode == 1 || mode == 3; }

// Caption of the file dialog for a row's Load button; "" for rows outside 1..7.
std::string dataFileDialogCaption(int row);

// ---- Miscellaneous DC parameters ------------------------------------------
// Box order: IFDER, IFM, IFR, XLAMDA, KDISK, KO, NPPL (Text5..Text11).
using MiscTexts = std::array<std::string, 7>;
MiscTexts miscParameterTexts(const ParameterSet& p);
// Stores all seven or, on a 16-bit overflow (TavrinError 6), nothing.
void applyMiscParameterTexts(ParameterSet& p, const MiscTexts& t);

}  // namespace tavrin
