#include "model/adjust_rules.h"

#include <cmath>

#include "model/dc_parameters.h"

namespace tavrin {

namespace {


// Walks the keys in order, recording each key taken and its label colour.
class KeyTaker {
 public:
  KeyTaker(ParameterSet& p, const std::array<bool, kAdjustKeys + 1>& checked, AdjustOutcome& out)
      : p_(p), checked_(checked), out_(out) {}

  // Takes key k from its box; returns whether it is checked.
  bool take(int k) {
    const bool on = checked_[static_cast<size_t>(k)];
    p_.adjustKeys[static_cast<size_t>(k)] = on ? '0' : '1';
    colour(k, on);
    return on;
  }
  void colour(int k, bool red) {
    const std::string_view label = mainLabelForKey(k);
    if (!label.empty()) out_.labelColours.push_back({std::string(label), red});
  }
  bool checked(int k) const { return checked_[static_cast<size_t>(k)]; }

 private:
  ParameterSet& p_;
  const std::array<bool, kAdjustKeys + 1>& checked_;
  AdjustOutcome& out_;
};

AdjustOutcome refuse(AdjustOutcome out, std::string message) {
  out.accepted = false;
  out.message = std::move(message);
  return out;
}

}  // namespace

const std::vector<AdjustKeyInfo>& adjustKeyTable() {
  static const std::vector<AdjustKeyInfo> keys = [] {
    static std::vector<std::string> boxes;  // storage for the check-box names
    boxes.reserve(dcParameterTable().size());
    std::vector<AdjustKeyInfo> out;
    for (const DcParameterInfo& d : dcParameterTable()) {
      boxes.push_back("Check" + std::to_string(d.number));
      out.push_back({d.number, boxes.back(), d.caption, dcParameterKeyLabel(d.number)});
    }
    return out;
  }();
  return keys;
}

std::string_view mainLabelForKey(int key) {
  for (const auto& k : adjustKeyTable())
    if (k.key == key) return k.mainLabel;
  return {};
}

AdjustModel adjustModelFrom(const ParameterSet& p) {
  AdjustModel m;
  m.eccentricity = p.E;
  m.mode = p.MODE;
  m.jdphs = p.JDPHS;
  m.totalSpots = p.spotCount[1] + p.spotCount[2];
  m.velocityCurves = p.velocityCurveCount;
  return m;
}

void rebuildAdjustedParams(ParameterSet& p) {
  p.adjustedParams.clear();
  for (int k = 1; k <= kAdjustKeys; ++k)
    if (p.adjustKeys[static_cast<size_t>(k)] == '0') p.adjustedParams.push_back(static_cast<int16_t>(k));
}

AdjustOutcome applyAdjustChoice(ParameterSet& p, const AdjustModel& m,
                                const std::array<bool, kAdjustKeys + 1>& checked) {
  AdjustOutcome out;

  // The list DC reads holds 15 entries; refuse a longer choice before touching any key.
  int chosen = p.adjustKeys[30] == '0' ? 1 : 0;
  for (const auto& k : adjustKeyTable())
    if (checked[static_cast<size_t>(k.key)]) ++chosen;
  if (chosen > kMaxAdjustedParams) {
    return refuse(std::move(out), "DC can adjust at most 15 parameters at a time, but " + std::to_string(chosen) +
                                      " are selected.  Please deselect " + std::to_string(chosen - kMaxAdjustedParams) +
                                      ".");
  }

  KeyTaker t(p, checked, out);
  const bool noEccentricity = std::fabs(m.eccentricity) < 1e-6;

  bool any = false;
  for (int k = 1; k <= 4; ++k) any = t.take(k) || any;
  if (any && m.totalSpots < 1)
    return refuse(std::move(out),
                  "Hey!  Spot A does not exist!.  Please make changes on the spots page or do not try to vary any "
                  "Spot A parameters.");
  any = false;
  for (int k = 5; k <= 8; ++k) any = t.take(k) || any;
  if (any && m.totalSpots < 2)
    return refuse(std::move(out),
                  "Hey!  Spot B does not exist.  Please make changes on the spots page or do not try to vary any "
                  "Spot B parameters.");

  if (t.take(9) && m.velocityCurves == 0)
    return refuse(std::move(out),
                  "Hey!  No radial velocity curve has been loaded.  Please either load 1 or 2, or do not try to vary "
                  "the semi-major axis.");
  t.take(10);
  if (t.take(11) && noEccentricity)
    return refuse(std::move(out),
                  "Your eccentricity = 0.  Therefore you cannot vary the Argument of the Periastron; please fix.");
  for (int k = 12; k <= 14; ++k) t.take(k);
  if (t.take(15) && m.velocityCurves == 0)
    return refuse(std::move(out),
                  "Hey!  No radial velocity curve has been loaded.  Please either load 1 or 2, or do not try to vary "
                  "V gamma.");
  for (int k = 16; k <= 19; ++k) t.take(k);
  if (t.take(20) && m.mode == 1)
    return refuse(std::move(out),
                  "Hey!  You cannot adjust T2 in mode 1, where T2=T1.  Use mode 3 if you want to do this.");
  t.take(21);
  t.take(22);
  if (t.take(23)) {
    if (m.mode == 4)
      return refuse(std::move(out),
                    "Jeepers!  You cannot adjust Potential 1 in mode 4 (semidetached with star 1 filling its Roche "
                    "lobe.");
    if (m.mode == 6)
      return refuse(std::move(out),
                    "Aw shucks!  You cannot adjust Potential 1 in mode 6 (double contact - both stars fill their "
                    "Roche lobes).");
  }

  // Key 24 keeps its old value (and its label its old colour) when refused.
  if (t.checked(24)) {
    if (m.mode == 1 || m.mode == 3)
      return refuse(std::move(out),
                    "Hey!  In mode 1 or mode 3 -- both overcontact binary cases -- you cannot vary Potential 2, as it "
                    "is tied to Potential 1.");
    if (m.mode == 5)
      return refuse(std::move(out),
                    "Hey!  You cannot adjust Potential 2 in mode 5 (semidetached with star 2 filling its Roche lobe "
                    "-- Algol case).");
    if (m.mode == 6)
      return refuse(std::move(out),
                    "Hey!  You cannot adjust Potential 2 in mode 6 (double contact - both stars fill their Roche "
                    "lobes).");
  }
  t.take(24);
  t.take(25);

  const bool phases = m.jdphs == 2;
  if (t.take(26) && phases)
    return refuse(std::move(out),
                  "You have selected JDPHS = 2 (phases).  Therefore, you cannot vary HJDo.  Please change.");
  if (t.take(27) && phases)
    return refuse(std::move(out),
                  "You have selected JDPHS = 2 (phases).  Therefore, you cannot vary the period.  Please change.");
  if (t.take(28) && phases)
    return refuse(std::move(out),
                  "You have selected JDPHS = 2 (phases).  Therefore, you cannot vary the dP/dt.  Please change.");
  if (t.take(29) && noEccentricity)
    return refuse(std::move(out), "Your eccentricity = 0.  Therefore you cannot vary dPer/dt; please fix.");
  for (int k = 31; k <= 35; ++k) t.take(k);

  rebuildAdjustedParams(p);
  out.accepted = true;
  return out;
}

}  // namespace tavrin
