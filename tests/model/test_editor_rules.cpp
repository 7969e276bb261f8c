#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "model/dc_parameters.h"
#include "model/editor_rules.h"
#include "model/settings_words.h"
#include "test_files.h"

namespace tavrin {
namespace {

// "dc noise ld=2 mode=-1": the LC defaults with those choices changed.
EditorChoices choicesOf(const std::string& words) {
  EditorChoices c;
  std::istringstream in(words);
  for (std::string w; in >> w;) {
    const std::string key = w.substr(0, w.find('='));
    const int v = key == w ? 0 : std::stoi(w.substr(key.size() + 1));
    if (w == "dc") c.dc = true;
    else if (w == "noise") c.noise = true;
    else if (key == "jdphs") c.jdphs = v;
    else if (key == "ld") c.ld = v;
    else if (key == "mode") c.mode = v;
    else if (key == "mpage") c.mpage = v;
    else if (key == "mref") c.mref = v;
    else EXPECT_EQ(w, "lc");
  }
  return c;
}

TEST(EditorRules, ShownEditableAndTiedFields) {
  const auto rows = testing_support::tableRows(testing_support::goldenPath("model", "editor_rules.tsv"));
  ASSERT_EQ(rows.size(), 45u);
  for (const auto& r : rows) {
    SCOPED_TRACE(r[0] + " " + r[1] + " " + r[2]);
    const EditorChoices c = choicesOf(r[1]);
    std::string got;
    if (r[0] == "tied") {
      for (std::string_view t : tiedParameters(r[2], c)) got += (got.empty() ? "" : ",") + std::string(t);
      if (got.empty()) got = "-";
    } else {
      const ParameterFlags flags = r[0] == "shown" ? shownParameters(c) : enabledParameters(c);
      auto it = std::find_if(flags.begin(), flags.end(), [&](const auto& f) { return f.first == r[2]; });
      got = it == flags.end() ? "not decided by the rules" : it->second ? "1" : "0";
    }
    EXPECT_EQ(got, r[3]);
  }
}

TEST(EditorRules, RadConvTheRadiativeTestAndDcLightCurveForms) {
  for (auto [t, radiative] : {std::pair{1.0, true}, {0.9999999, true}, {0.999999, false}, {2.0, false}})
    EXPECT_EQ(isRadiative(t), radiative) << t;
  std::string s;
  for (const RadConvPreset& r : {radConvPreset(2, true), radConvPreset(1, false)})
    s += std::string(r.gravity) + r.albedo.data() + " " + r.gravityText.data() + " " + r.albedoText.data() + ";";
  EXPECT_EQ(s, "GR2ALB2 1.000 1.000;GR1ALB1 0.320 0.500;");
  // Short forms unless digits would be lost.
  CurveRow c;
  c.l1 = 9.87654, c.l2 = 1.25, c.x1 = 0.6, c.x2 = 0.55, c.y1 = 0.25, c.y2 = 0.2, c.el3 = 0.05;
  std::string shown;
  for (const auto& [name, text] : dcLightCurveTexts(c)) shown += std::string(name) + "=[" + text + "]";
  EXPECT_EQ(shown, "L1=[9.87654]L2=[     1.250]X1=[   .600]X2=[   .550]Y1=[   .250]Y2=[.200]EL3=[   .0500]");
}

// Each row's name, value slot and editor field must agree: a row copied
// with one column left over would apply a correction to the wrong value.
// Labels, scales, key labels and increment boxes of every number in a golden.
TEST(DcParameters, EveryRowNamesItsOwnFieldLabelAndScale) {
  std::ostringstream o;
  o.precision(17);
  for (const DcParameterInfo& d : dcParameterTable()) {
    o << d.number << " [" << dcParameterLabel(d.number) << "] scale " << dcDisplayScale(d.number) << " key ["
      << dcParameterKeyLabel(d.number) << "] box " << dcParameterInfo(d.number).incrementBox << '\n';
    if (!d.scalar) continue;
    SCOPED_TRACE(d.number);
    ParameterSet p;
    *dcParameterSlot(p, d.number, 0) = 1234.5;
    EXPECT_EQ(getScalar(p, d.name), 1234.5);
    ASSERT_NE(dcParameterEditorField(d.number), nullptr);
    EXPECT_EQ(dcParameterEditorField(d.number)->name, d.name);
  }
  o << "30 [" << dcParameterLabel(30) << "] 36 [" << dcParameterLabel(36) << "]\n";
  testing_support::expectGolden("model", "dc_parameters.txt", o.str());
}

TEST(EditorRules, TheFirstDcLightCurveOfABand) {
  ParameterSet p = testing_support::withSettings("NLC=3 curve3=7,0 curve4=5,0 curve5=5,0 curve6=8,0");  // row 6 past NLC
  EXPECT_EQ(dcLightCurveRowOfBand(p, 5), 4);
  EXPECT_EQ(dcLightCurveRowOfBand(p, 7), 3);
  EXPECT_EQ(dcLightCurveRowOfBand(p, 8), std::nullopt);
  p.NLC = 9;  // more than the rows hold
  EXPECT_EQ(dcLightCurveRowOfBand(p, 8), 6);
}

TEST(DcParameters, SpotAndCurveSlotsFollowTheChosenSpotsAndCurve) {
  ParameterSet p;
  p.spotAStar = 2, p.spotANumber = 3, p.spotBStar = 1, p.spotBNumber = 4;
  EXPECT_EQ(dcParameterSlot(p, 2, 0), &p.spots[2][3].xlong);
  EXPECT_EQ(dcParameterSlot(p, 8, 0), &p.spots[1][4].temsp);
  EXPECT_EQ(dcParameterSlot(p, 33, 2), &p.curves[4].x1);
  EXPECT_EQ(dcParameterSlot(p, 35, -1), &p.curves[1].el3);
  EXPECT_EQ(dcParameterSlot(p, 31, 6), nullptr);  // past the last curve row
  EXPECT_EQ(dcParameterSlot(p, 30, 0), nullptr);
  p.spotBNumber = kMaxSpotsPerStar;
  EXPECT_EQ(dcParameterSlot(p, 5, 0), &p.spots[1][kMaxSpotsPerStar].xlat);
  p.spotBNumber = kMaxSpotsPerStar + 1;
  EXPECT_EQ(dcParameterSlot(p, 5, 0), nullptr);
}

}  // namespace
}  // namespace tavrin
