// Every help page, every parameter topic (and the numbers that have none) and
// the About text, whole.
#include "shell/help_text.h"

#include <gtest/gtest.h>

#include "test_files.h"

using namespace tavrin;

TEST(HelpPages, EveryPageTopicAndTheAboutText) {
  std::string text;
  auto page = [&text](const HelpPage& p) {
    text += "== " + p.title + "\n";
    for (const std::string& para : p.paragraphs) text += para + "\n--\n";
  };
  for (const auto& item : helpPageMenuItems()) {
    text += "menu item " + item + "\n";
    page(*helpPageForMenuItem(item));
  }
  for (const char* none : {"HelpLoadDCO", "About", ""}) EXPECT_FALSE(helpPageForMenuItem(none)) << none;
  page(contourHelpPage());
  std::string listed;
  for (int k : parameterHelpTopics()) listed += " " + std::to_string(k);
  text += "topics" + listed + "\n";
  std::vector<int> numbers{32767};
  for (int k = -1; k <= 100; ++k) numbers.push_back(k);
  for (int k : numbers) {
    const auto& lines = parameterHelp(k);
    EXPECT_LE(lines.size(), static_cast<size_t>(kMaxHelpLines)) << "topic " << k;
    text += "topic " + std::to_string(k) + "\n";
    for (const auto& l : lines) text += l + "\n";
  }
  text += "about " + aboutText().programName + " / " + aboutText().version + "\n";
  for (const auto& n : aboutText().notes) text += n + "\n";
  testing_support::expectGolden("shell", "help.txt", text);
}
