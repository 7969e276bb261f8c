#include "model/editor_rules.h"

#include <algorithm>
#include <cmath>

#include "model/record_layouts.h"

namespace tavrin {

ParameterFlags shownParameters(const EditorChoices& c) {
  const bool lc = !c.dc;
  const bool y = c.ld != 1;
  ParameterFlags out;
  for (const ScalarField& f : scalarFields()) {
    const std::string_view n = f.name;
    // Noise figures follow NOISE, LC's y coefficients the law, the rest the mode.
    if (n == "FRACSD" || n == "SEED") out.emplace_back(n, lc && c.noise);
    else if (n == "Y1" || n == "Y2") out.emplace_back(n, lc && y);
    else if (f.use == FieldUse::LC) out.emplace_back(n, lc);
    else if (f.use == FieldUse::DC) out.emplace_back(n, c.dc);
  }
  out.emplace_back("THE", c.mode == -1);
  out.emplace_back("ICOR1", c.mpage != 1);
  out.emplace_back("ICOR2", c.mpage != 1);
  out.emplace_back("NREF", c.mref == 2);
  out.emplace_back("YBOL1", y);
  out.emplace_back("YBOL2", y);
  return out;
}

ParameterFlags enabledParameters(const EditorChoices& c) {
  const bool time = c.jdphs == 1;
  ParameterFlags out;
  for (const char* n : {"HJD0", "DPDT", "JDSTART", "JDSTOP", "JDINCR"}) out.emplace_back(n, time);
  for (const char* n : {"PHSTRT", "PHSTOP", "PHIN"}) out.emplace_back(n, !time);
  return out;
}

std::vector<std::string_view> tiedParameters(std::string_view name, const EditorChoices& c) {
  static const std::pair<std::string_view, std::string_view> kOvercontactPairs[] = {
      {"IFAT1", "IFAT2"}, {"GR1", "GR2"}, {"ALB1", "ALB2"}, {"POTH", "POT2"}, {"XBOL1", "XBOL2"}, {"X1", "X2"}};
  std::vector<std::string_view> out;
  // Overcontact modes share one envelope: the stars' surface quantities are tied.
  if (c.mode == 1 || c.mode == 3) {
    for (const auto& [a, b] : kOvercontactPairs) {
      if (name == a) out.push_back(b);
      if (name == b) out.push_back(a);
    }
    if (name == "YBOL1") out.push_back("YBOL2");
    if (c.ld != 1) {
      if (name == "YBOL2") out.push_back("YBOL1");
      if (name == "Y1") out.push_back("Y2");
      if (name == "Y2") out.push_back("Y1");
    }
  }
  if (c.mode == 1) {
    if (name == "T1") out.push_back("T2");
    if (name == "T2") out.push_back("T1");
  }
  return out;
}

bool isRadiative(double albedo) { return std::floor(albedo + 0.0000001) == 1.0; }

RadConvPreset radConvPreset(int star, bool radiative) {
  RadConvPreset p;
  p.gravity = star == 1 ? "GR1" : "GR2";
  p.albedo = star == 1 ? "ALB1" : "ALB2";
  p.gravityText = radiative ? "1.000" : "0.320";
  p.albedoText = radiative ? "1.000" : "0.500";
  return p;
}

void takeLcLightCurve(ParameterSet& p, int band, double l1, double l2) {
  p.BAND = static_cast<int16_t>(band);
  p.L1 = l1;
  p.L2 = l2;
}

std::optional<int> dcLightCurveRowOfBand(const ParameterSet& p, int band) {
  const int nlc = std::min<int>(p.NLC, kCurveRows - 2);
  for (int j = 1; j <= nlc; ++j)
    if (p.curves[static_cast<size_t>(j + 2)].band == band) return j + 2;
  return std::nullopt;
}

std::vector<std::pair<std::string_view, std::string>> dcLightCurveTexts(const CurveRow& c) {
  // The short forms where they hold the value, else every digit: the LC file
  // saved from these fields must carry DC's values.
  const auto text = [](double x, int width, int decimals) { return shownText(x, {FormKind::Fixed, width, decimals}); };
  std::string y2 = text(c.y2, 7, 3);
  y2.erase(0, y2.find_first_not_of(' '));
  y2.erase(y2.find_last_not_of(' ') + 1);
  return {{"L1", text(c.l1, 10, 3)}, {"L2", text(c.l2, 10, 3)}, {"X1", text(c.x1, 7, 3)}, {"X2", text(c.x2, 7, 3)},
          {"Y1", text(c.y1, 7, 3)},  {"Y2", y2},                {"EL3", text(c.el3, 8, 4)}};
}

}  // namespace tavrin
