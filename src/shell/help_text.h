#pragma once
// Every fixed help text of the program in one place: the help pages of the
// Help menu, the one-parameter help shown when a parameter label is clicked,
// the contour page and the About texts. Windows only show these.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

struct HelpPage {
  std::string title;
  std::vector<std::string> paragraphs;
};

// The page of a Help menu item by its control name ("HelpIntro",
// "HelpRunLCDC", ...); nothing for "HelpLoadDCO" and for unknown names.
std::optional<HelpPage> helpPageForMenuItem(std::string_view menuItem);

// The Help menu items that have a page, in menu order.
const std::vector<std::string>& helpPageMenuItems();

// The contour window's page ("Help - Contours").
HelpPage contourHelpPage();

// Parameter help: topics 1..68, 95, 96 and 99. Line 1 names the parameter,
// the others explain it with its admissible values; at most 32 lines.
// An unknown topic gives no lines.
inline constexpr int kMaxHelpLines = 32;
const std::vector<std::string>& parameterHelp(int topic);
const std::vector<int>& parameterHelpTopics();

struct AboutText {
  std::string programName;
  std::string version;  // "Vers. 5.6a  Revision of 2009-06-27"
  std::vector<std::string> notes;
};
const AboutText& aboutText();

}  // namespace tavrin
