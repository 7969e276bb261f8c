#include <gtest/gtest.h>

#include <algorithm>

#include "model/editor_rules.h"

namespace tavrin {
namespace {

bool flag(const ParameterFlags& flags, std::string_view name) {
  auto it = std::find_if(flags.begin(), flags.end(), [&](const auto& f) { return f.first == name; });
  EXPECT_NE(it, flags.end()) << name << " is not decided by the rules";
  return it != flags.end() && it->second;
}

EditorChoices lc() { return {}; }
EditorChoices dc() {
  EditorChoices c;
  c.dc = true;
  return c;
}
EditorChoices with(EditorChoices c, int EditorChoices::*member, int v) {
  c.*member = v;
  return c;
}

TEST(EditorRules, WhatTheEditorShows) {
  EditorChoices noisy = lc();
  noisy.noise = true;
  EditorChoices noisyDc = dc();
  noisyDc.noise = true;
  const struct {
    const char* name;
    EditorChoices choices;
    const char* parameter;
    bool shown;
  } rows[] = {
      {"LC-only field in LC", lc(), "L1", true},
      {"LC-only field in DC", dc(), "L1", false},
      {"DC-only field in LC", lc(), "N1L", false},
      {"DC-only field in DC", dc(), "ISYM", true},
      {"noise figures without noise", lc(), "SEED", false},
      {"noise figures with noise", noisy, "FRACSD", true},
      {"noise figures in DC", noisyDc, "FRACSD", false},
      {"linear law hides y", lc(), "YBOL2", false},
      {"log law shows y", with(lc(), &EditorChoices::ld, 2), "YBOL1", true},
      {"LC's y in LC", with(lc(), &EditorChoices::ld, 3), "Y2", true},
      {"LC's y in DC", with(dc(), &EditorChoices::ld, 3), "Y1", false},
      {"THE only in mode -1", with(dc(), &EditorChoices::mode, -1), "THE", true},
      {"THE hidden in mode 0", lc(), "THE", false},
      {"velocity corrections for velocities", with(lc(), &EditorChoices::mpage, 2), "ICOR2", true},
      {"velocity corrections for light", lc(), "ICOR1", false},
      {"reflections when detailed", with(lc(), &EditorChoices::mref, 2), "NREF", true},
      {"reflections when simple", lc(), "NREF", false},
  };
  for (const auto& r : rows) EXPECT_EQ(flag(shownParameters(r.choices), r.parameter), r.shown) << r.name;
}

TEST(EditorRules, TimeOrPhaseFieldsAreEditable) {
  const EditorChoices time = with(lc(), &EditorChoices::jdphs, 1), phase = lc();
  for (const char* n : {"HJD0", "DPDT", "JDSTART", "JDSTOP", "JDINCR"}) {
    EXPECT_TRUE(flag(enabledParameters(time), n)) << n;
    EXPECT_FALSE(flag(enabledParameters(phase), n)) << n;
  }
  for (const char* n : {"PHSTRT", "PHSTOP", "PHIN"}) {
    EXPECT_FALSE(flag(enabledParameters(time), n)) << n;
    EXPECT_TRUE(flag(enabledParameters(phase), n)) << n;
  }
}

TEST(EditorRules, TiesOfTheOvercontactModes) {
  using V = std::vector<std::string_view>;
  const EditorChoices m1 = with(lc(), &EditorChoices::mode, 1), m3 = with(lc(), &EditorChoices::mode, 3);
  const EditorChoices m3log = with(m3, &EditorChoices::ld, 2), m2 = with(lc(), &EditorChoices::mode, 2);
  EXPECT_EQ(tiedParameters("POTH", m3), V{"POT2"});
  EXPECT_EQ(tiedParameters("POT2", m1), V{"POTH"});
  EXPECT_EQ(tiedParameters("X2", m3), V{"X1"});
  EXPECT_EQ(tiedParameters("IFAT1", m3), V{"IFAT2"});
  EXPECT_EQ(tiedParameters("POTH", m2), V{});
  EXPECT_EQ(tiedParameters("T1", m1), V{"T2"});
  EXPECT_EQ(tiedParameters("T2", m3), V{});
  // y goes from star 1 to star 2 always, back and between LC's y only under a law with y.
  EXPECT_EQ(tiedParameters("YBOL1", m3), V{"YBOL2"});
  EXPECT_EQ(tiedParameters("YBOL2", m3), V{});
  EXPECT_EQ(tiedParameters("YBOL2", m3log), V{"YBOL1"});
  EXPECT_EQ(tiedParameters("Y1", m3), V{});
  EXPECT_EQ(tiedParameters("Y2", m3log), V{"Y1"});
}

TEST(EditorRules, RadConvAndTheRadiativeTest) {
  EXPECT_TRUE(isRadiative(1.0));
  EXPECT_TRUE(isRadiative(0.9999999));
  EXPECT_FALSE(isRadiative(0.999999));
  EXPECT_FALSE(isRadiative(2.0));
  const RadConvPreset r = radConvPreset(2, true), c = radConvPreset(1, false);
  EXPECT_EQ(std::string(r.gravity) + r.albedo.data() + " " + r.gravityText.data() + " " + r.albedoText.data(),
            "GR2ALB2 1.000 1.000");
  EXPECT_EQ(std::string(c.gravity) + c.albedo.data() + " " + c.gravityText.data() + " " + c.albedoText.data(),
            "GR1ALB1 0.320 0.500");
}

TEST(EditorRules, DcLightCurveShowsShortFormsUnlessDigitsWouldBeLost) {
  CurveRow c;
  c.l1 = 9.87654;
  c.l2 = 1.25;
  c.x1 = 0.6;
  c.x2 = 0.55;
  c.y1 = 0.25;
  c.y2 = 0.2;
  c.el3 = 0.05;
  std::string shown;
  for (const auto& [name, text] : dcLightCurveTexts(c)) shown += std::string(name) + "=[" + text + "]";
  EXPECT_EQ(shown, "L1=[9.87654]L2=[     1.250]X1=[   .600]X2=[   .550]Y1=[   .250]Y2=[.200]EL3=[   .0500]");
}

}  // namespace
}  // namespace tavrin

namespace tavrin {
namespace {
TEST(EditorRules, TheFirstDcLightCurveOfABand) {
  ParameterSet p;
  p.NLC = 3;
  p.curves[3].band = 7;
  p.curves[4].band = 5;
  p.curves[5].band = 5;
  p.curves[6].band = 8;  // past NLC
  EXPECT_EQ(dcLightCurveRowOfBand(p, 5), 4);
  EXPECT_EQ(dcLightCurveRowOfBand(p, 7), 3);
  EXPECT_EQ(dcLightCurveRowOfBand(p, 8), std::nullopt);
  p.NLC = 9;  // more than the rows hold
  EXPECT_EQ(dcLightCurveRowOfBand(p, 8), 6);
}
}  // namespace
}  // namespace tavrin
