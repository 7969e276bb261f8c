#include "shell/help_text.h"

#include <gtest/gtest.h>

#include <set>

using namespace tavrin;

namespace {

TEST(HelpPages, EightPagesWithTheirTitles) {
  const std::vector<std::pair<const char*, const char*>> expected = {
      {"HelpIntro", "Help - Introduction"},       {"HelpModes", "Help - Modes"},
      {"HelpLCIfiles", "Help - Edit LCI Files"},  {"HelpDCIfiles", "Help - Edit DCI Files"},
      {"HelpRunLCDC", "Help - Run LC/Solvex"},    {"HelpDisplayLCO", "Help - Display LCO"},
      {"HelpDisplayDCO", "Help - Display DCO"},   {"HelpReferences", "Help - References"},
  };
  ASSERT_EQ(helpPageMenuItems().size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(helpPageMenuItems()[i], expected[i].first);
    const auto page = helpPageForMenuItem(expected[i].first);
    ASSERT_TRUE(page) << expected[i].first;
    EXPECT_EQ(page->title, expected[i].second);
    EXPECT_GE(page->paragraphs.size(), 3u) << expected[i].first;
    for (const std::string& p : page->paragraphs) EXPECT_FALSE(p.empty());
  }
  EXPECT_FALSE(helpPageForMenuItem("HelpLoadDCO"));
  EXPECT_FALSE(helpPageForMenuItem("About"));
  EXPECT_FALSE(helpPageForMenuItem(""));
}

TEST(HelpPages, SubjectsTheReaderNeeds) {
  auto text = [](const char* item) {
    std::string all;
    const auto page = helpPageForMenuItem(item);
    for (const auto& p : page->paragraphs) all += p + " ";
    return all;
  };
  const std::string intro = text("HelpIntro");
  EXPECT_NE(intro.find("Synthex"), std::string::npos);
  EXPECT_NE(intro.find("Solvex"), std::string::npos);
  const std::string modes = text("HelpModes");
  for (const char* m : {"Mode -1", "Mode 0", "Mode 1", "Mode 2", "Mode 3", "Mode 4", "Mode 5", "Mode 6"})
    EXPECT_NE(modes.find(m), std::string::npos) << m;
  EXPECT_NE(text("HelpRunLCDC").find("\"*\""), std::string::npos);
  EXPECT_NE(text("HelpLCIfiles").find("JDPHS"), std::string::npos);
  EXPECT_NE(text("HelpDCIfiles").find("Misc."), std::string::npos);
  // Four numbered references.
  EXPECT_NE(text("HelpReferences").find("4. "), std::string::npos);
  EXPECT_EQ(contourHelpPage().title, "Help - Contours");
  std::string contours;
  const HelpPage contourPage = contourHelpPage();
  for (const auto& p : contourPage.paragraphs) contours += p;
  EXPECT_NE(contours.find("Sum(W*Res**2)"), std::string::npos);
  EXPECT_NE(contours.find("M x N"), std::string::npos);
  EXPECT_NE(contours.find("L1"), std::string::npos);
}

TEST(ParameterHelp, EveryTopicPresentNamedAndShort) {
  std::set<int> want;
  for (int k = 1; k <= 68; ++k) want.insert(k);
  want.insert({95, 96, 99});
  const std::set<int> have(parameterHelpTopics().begin(), parameterHelpTopics().end());
  EXPECT_EQ(have, want);
  for (int k : want) {
    const auto& lines = parameterHelp(k);
    ASSERT_GE(lines.size(), 2u) << "topic " << k;
    EXPECT_LE(lines.size(), static_cast<size_t>(kMaxHelpLines)) << "topic " << k;
    EXPECT_NE(lines[0][0], ' ') << "topic " << k << " must start by naming the parameter";
    for (const auto& l : lines) EXPECT_LE(l.size(), 60u) << "topic " << k << ": " << l;
  }
  EXPECT_EQ(parameterHelp(67)[0], "V fac");
  EXPECT_EQ(parameterHelp(68)[0], "Lng. Per");
  EXPECT_EQ(parameterHelp(99)[0], "Spots A and B:");
  // Line 1 names the parameter the label shows.
  const std::vector<std::pair<int, const char*>> named = {
      {1, "MPAGE"}, {9, "JDPHS"}, {24, "MODE"}, {39, "XINCL"}, {46, "POTH"}, {47, "POT2"},
      {48, "RM"},   {63, "Factor"}, {64, "ISYM"}, {65, "N1L"}, {66, "N2L"}, {95, "Band"}, {96, "[M/H]"}};
  for (const auto& [k, name] : named) EXPECT_EQ(parameterHelp(k)[0].rfind(name, 0), 0u) << k;
  // Every value of a drop-down appears in its help.
  std::string mode;
  for (const auto& l : parameterHelp(24)) mode += l + "\n";
  for (const char* v : {"-1:", " 0:", " 1:", " 2:", " 3:", " 4:", " 5:", " 6:"})
    EXPECT_NE(mode.find(v), std::string::npos) << v;
}

TEST(ParameterHelp, UnknownTopicsHaveNoLines) {
  for (int k : {0, -1, 69, 94, 97, 98, 100, 32767}) EXPECT_TRUE(parameterHelp(k).empty()) << k;
}

TEST(About, VersionLineAndAtmosphereNote) {
  EXPECT_EQ(aboutText().programName, "Tavrin");
  EXPECT_EQ(aboutText().version, "Vers. 5.6a  Revision of 2009-06-27");
  bool atmospheres = false;
  for (const auto& n : aboutText().notes) atmospheres |= n.find("model atmospheres") != std::string::npos;
  EXPECT_TRUE(atmospheres);
}

}  // namespace
