#include <gtest/gtest.h>

#include <sstream>

#include "model/adjust_rules.h"
#include "test_files.h"

using namespace tavrin;
using namespace tavrin::testing_support;

namespace {

std::array<bool, kAdjustKeys + 1> checkedKeys(const std::string& list) {
  std::array<bool, kAdjustKeys + 1> c{};
  std::istringstream in(list);
  for (std::string tok; in >> tok;) {
    const size_t dash = tok.find('-');
    const int from = std::stoi(tok), to = dash == std::string::npos ? from : std::stoi(tok.substr(dash + 1));
    for (int k = from; k <= to; ++k) c[static_cast<size_t>(k)] = true;
  }
  return c;
}

}  // namespace

// Each choice with what it did: the refusal, the keys and list afterwards and
// the labels coloured.
TEST(AdjustRules, ChoicesAgainstTheModel) {
  std::ostringstream out;
  ParameterSet p;
  for (const auto& c : tableRows(goldenPath("model", "adjust_cases.tsv"))) {
    if (c[0] == "new") p = ParameterSet{};
    std::istringstream preset(c[1]);
    for (std::string tok; preset >> tok;) {
      if (tok == "-") continue;
      if (tok[0] == 'p') p.adjustedParams = {static_cast<int16_t>(std::stoi(tok.substr(1)))};
      else p.adjustKeys[static_cast<size_t>(std::stoi(tok))] = tok.back();
    }
    AdjustModel m;
    m.eccentricity = std::stod(c[2]);
    m.mode = std::stoi(c[3]);
    m.jdphs = std::stoi(c[4]);
    m.totalSpots = std::stoi(c[5]);
    m.velocityCurves = std::stoi(c[6]);
    const AdjustOutcome r = applyAdjustChoice(p, m, checkedKeys(c[7]));
    out << c[0] << " [" << c[1] << "] E " << c[2] << " MODE " << c[3] << " JDPHS " << c[4] << " spots " << c[5]
        << " velocity " << c[6] << " keys " << c[7] << "\n  accepted " << r.accepted << " [" << r.message << "]\n  keys "
        << std::string(p.adjustKeys.begin() + 1, p.adjustKeys.end()) << " adjusted";
    for (auto k : p.adjustedParams) out << ' ' << k;
    out << " count " << p.adjustedCount() << "\n  labels";
    for (const auto& l : r.labelColours) out << ' ' << l.label << (l.red ? '+' : '-');
    out << '\n';
    EXPECT_EQ(r.accepted, r.message.empty()) << out.str();
  }
  out << "key table\n";
  for (const auto& k : adjustKeyTable())
    out << k.key << ' ' << k.checkBox << " [" << k.caption << "] [" << k.mainLabel << "] [" << mainLabelForKey(k.key)
        << "]\n";
  out << "30 [" << mainLabelForKey(30) << "]\n";
  expectGolden("model", "adjust_rules.txt", out.str());
}
