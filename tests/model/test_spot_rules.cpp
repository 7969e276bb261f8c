#include <gtest/gtest.h>

#include <sstream>

#include "model/spot_rules.h"
#include "shell/errors.h"
#include "model/settings_words.h"
#include "test_files.h"

using namespace tavrin;

namespace {

SpotsEntry entryFrom(const ParameterSet& p) {
  SpotsEntry e;
  e.rowLimit = spotRowLimit(p);
  for (size_t star = 1; star <= 2; ++star)
    for (size_t row = 1; row <= kMaxSpotsPerStar; ++row) {
      const auto t = spotCellTexts(p.spots[star][row]);
      for (size_t q = 0; q < 4; ++q) e.cells[star][row][q] = t[q];
    }
  e.spotAB = {std::to_string(p.spotAStar), std::to_string(p.spotANumber), std::to_string(p.spotBStar),
              std::to_string(p.spotBNumber)};
  return e;
}

// Both stars' ten rows, the counts and Spot A/B.
std::string spotsOf(const ParameterSet& p) {
  std::ostringstream o;
  o.precision(9);
  o << "counts " << p.spotCount[1] << ' ' << p.spotCount[2] << ' ' << p.totalSpotCount << " A " << p.spotAStar << '/'
    << p.spotANumber << " B " << p.spotBStar << '/' << p.spotBNumber;
  for (size_t star = 1; star <= 2; ++star)
    for (size_t row = 1; row <= kMaxSpotsPerStar; ++row) {
      const Spot& s = p.spots[star][row];
      o << (row == 1 ? "\n" : " |") << ' ' << s.xlat << ' ' << s.xlong << ' ' << s.radsp << ' ' << s.temsp;
    }
  return o.str();
}

}  // namespace

TEST(SpotRules, DegreeTexts) {
  EXPECT_EQ(spotAngleText(90.0 / DEG_PER_RAD), "  90.00");
  EXPECT_EQ(spotFactorText(0.9), "  .9000");
  EXPECT_EQ(spotCellTexts({90.0 / DEG_PER_RAD, 0.5, 0.1, 1.25}), (std::array<std::string, 4>{"  90.00", "  28.65", "   5.73", " 1.2500"}));
}

// The checks in order with their messages; what was typed before OK is stored
// even when OK is refused. In LC mode Spot A/B are hidden: not taken, not checked.
TEST(SpotRules, ChecksInOrder) {
  std::string all;
  for (const auto& c : testing_support::tableRows(testing_support::goldenPath("model", "spot_check_cases.tsv"))) {
    ParameterSet p;
    p.spotCount = {0, static_cast<int16_t>(std::stoi(c[0])), static_cast<int16_t>(std::stoi(c[1]))};
    SpotsEntry e = entryFrom(p);
    e.cells[1][1] = {"90", " 45.5", "abc", "0.85"};  // degrees; non-numbers read as 0
    std::istringstream ab(c[2]);
    for (std::string& t : e.spotAB) ab >> t;
    std::string refusal;
    try {
      refusal = applySpotsOk(p, e, c[3] == "dc").value_or("");
    } catch (const TavrinError& err) {
      refusal = err.what();
    }
    EXPECT_EQ(refusal, c.size() > 4 ? c[4] : "") << c[2];
    all += spotsOf(p) + "\n";
  }
  testing_support::expectGolden("model", "spot_checks.txt", all);
}

// Rows above a lowered count are zeroed; a ten-row window (a star with more
// than six spots) edits ten rows of both stars, a six-row window leaves rows 7..10.
TEST(SpotRules, RowsKeptClearedAndLeftAlone) {
  ParameterSet p;
  p.spotCount = {0, 3, 0};
  for (size_t row = 1; row <= 3; ++row) p.spots[1][row] = {0.1 * static_cast<double>(row), 0.2, 0.3, 0.9};
  SpotsEntry e = entryFrom(p);
  p.spotCount[1] = 1;
  EXPECT_FALSE(applySpotsOk(p, e, false).has_value());

  ParameterSet ten;
  ten.spotCount = {0, 8, 0};
  for (size_t row = 1; row <= 10; ++row) ten.spots[1][row] = {0.01 * static_cast<double>(row), 0.5, 0.2, 0.95};
  ten.spots[2][9] = {1, 1, 1, 1};
  EXPECT_EQ(spotRowLimit(ten), 10);
  SpotsEntry f = entryFrom(ten);
  f.cells[1][8][3] = "0.5";
  EXPECT_FALSE(applySpotsOk(ten, f, false).has_value());

  ParameterSet six;
  six.spotCount = {0, 2, 0};
  six.spots[1][8] = {1, 1, 1, 1};
  EXPECT_EQ(spotRowLimit(six), 6);
  EXPECT_FALSE(applySpotsOk(six, entryFrom(six), false).has_value());
  testing_support::expectGolden("model", "spot_rows.txt", spotsOf(p) + "\n" + spotsOf(ten) + "\n" + spotsOf(six) + "\n");
}

TEST(SpotRules, HighlightsAndHelp) {
  ParameterSet p = testing_support::withSettings("keys=1,4,7");
  p.spotAStar = 2, p.spotANumber = 3, p.spotBStar = 1, p.spotBNumber = 1;
  std::ostringstream o;
  auto highlights = [&](int limit) {
    o << "window of " << limit << " rows, A " << p.spotAStar << '/' << p.spotANumber << ":";
    for (const auto& h : spotHighlights(p, limit))
      o << " (" << h.star << ' ' << h.row << ' ' << h.quantity << ' ' << h.red << ',' << h.green << ',' << h.blue << ')';
    o << '\n';
  };
  highlights(6);
  p.spotANumber = 7;  // no row 7 in a six-row window
  highlights(6);
  highlights(10);
  p.spotAStar = 3;
  highlights(10);
  for (int q = 0; q <= 3; ++q)
    for (int star = 1; star <= 2; ++star) {
      o << "help " << q << ' ' << star << '\n';
      for (const auto& l : spotColumnHelp(q, star)) o << '[' << l << "]\n";
    }
  const HelpPageText page = spotsHelpPage();
  o << page.title << '\n';
  for (const auto& para : page.paragraphs) o << '[' << para << "]\n";
  testing_support::expectGolden("model", "spot_highlights_help.txt", o.str());
}
