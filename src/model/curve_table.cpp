#include "model/curve_table.h"

#include <algorithm>
#include <cmath>

#include "model/number_fields.h"
#include "shell/errors.h"

namespace tavrin {

CurveRowTexts curveRowTexts(const CurveRow& r, bool lightRow) {
  CurveRowTexts t;
  t.band = trimmedPlainText(static_cast<double>(r.band));
  t.dataFile = r.dataFile;
  t.wavel = fixedField(r.wavel, 8, 4);
  t.l1 = fixedField(r.l1, 7, 3);
  t.l2 = fixedField(r.l2, 7, 3);
  t.x1 = trimmedPlainText(r.x1);
  t.x2 = trimmedPlainText(r.x2);
  t.y1 = trimmedPlainText(r.y1);
  t.y2 = trimmedPlainText(r.y2);
  t.sigma = trimmedPlainText(r.sigma);
  if (lightRow) {
    t.noise = trimmedPlainText(static_cast<double>(r.noise));
    t.el3 = trimmedPlainText(r.el3);
  }
  return t;
}

std::array<int16_t, 2> velocitySwitches(int velocityCount, const std::string& row1File) {
  if (velocityCount <= 0) return {0, 0};
  if (velocityCount == 1) return {1, 0};
  return {static_cast<int16_t>(row1File.empty() ? 0 : 1), 1};
}

void applyDataFileEntry(ParameterSet& p, const DataFileEntry& e) {
  const int nv = std::clamp(e.velocityCount, 0, kVelocityRows);
  const int nl = std::clamp(e.lightCount, 0, kLightRows);

  // Convert every used row into a copy first: an overflow must leave p alone.
  auto rows = p.curves;
  const auto store = [&](int row, bool light) {
    const CurveRowTexts& t = e.rows[static_cast<size_t>(row)];
    CurveRow& r = rows[static_cast<size_t>(row)];
    r.band = leadingInt16(t.band);
    r.dataFile = t.dataFile;
    r.wavel = leadingNumber(t.wavel);
    r.l1 = leadingNumber(t.l1);
    r.l2 = leadingNumber(t.l2);
    r.x1 = leadingNumber(t.x1);
    r.x2 = leadingNumber(t.x2);
    r.y1 = leadingNumber(t.y1);
    r.y2 = leadingNumber(t.y2);
    r.sigma = leadingNumber(t.sigma);
    if (light) {
      r.noise = leadingInt16(t.noise);
      r.el3 = leadingNumber(t.el3);
    }
  };
  for (int row = 1; row <= nv; ++row) store(row, false);
  for (int row = 3; row < 3 + nl; ++row) store(row, true);

  const auto sw = velocitySwitches(nv, e.rows[1].dataFile);
  for (int row = 1; row <= kCurveRows; ++row) {
    // Keep the observation tables: they change only through the loader.
    rows[static_cast<size_t>(row)].points = std::move(p.curves[static_cast<size_t>(row)].points);
  }
  p.curves = std::move(rows);
  p.velocityCurveCount = static_cast<int16_t>(nv);
  p.IFVC1 = sw[0];
  p.IFVC2 = sw[1];
  p.NLC = static_cast<int16_t>(nl);
}

std::string wavelengthForBandText(std::string_view bandText) {
  double v = 0.0;
  try {
    v = leadingNumber(bandText);
  } catch (const TavrinError&) {
    return {};  // too large for any band
  }
  if (!(std::fabs(v) < 32768.0)) return {};
  return std::string(bandWavelengthText(static_cast<int>(std::nearbyint(v))));
}

std::string dataFileDialogCaption(int row) {
  if (row < 1 || row > kCurveRows) return {};
  return "Load data from File " + std::to_string(row) + (row <= kVelocityRows ? " (RV)" : " (Phot)");
}

MiscTexts miscParameterTexts(const ParameterSet& p) {
  const auto i = [](int16_t v) { return trimmedPlainText(static_cast<double>(v)); };
  return {i(p.IFDER), i(p.IFM), i(p.IFR), trimmedPlainText(p.XLAMDA), i(p.KDISK), i(p.KO), i(p.NPPL)};
}

void applyMiscParameterTexts(ParameterSet& p, const MiscTexts& t) {
  const int16_t ifder = leadingInt16(t[0]);
  const int16_t ifm = leadingInt16(t[1]);
  const int16_t ifr = leadingInt16(t[2]);
  const double xlamda = leadingNumber(t[3]);
  const int16_t kdisk = leadingInt16(t[4]);
  const int16_t ko = leadingInt16(t[5]);
  const int16_t nppl = leadingInt16(t[6]);
  p.IFDER = ifder;
  p.IFM = ifm;
  p.IFR = ifr;
  p.XLAMDA = xlamda;
  p.KDISK = kdisk;
  p.KO = ko;
  p.NPPL = nppl;
}

}  // namespace tavrin
