#include "model/spot_rules.h"

#include <algorithm>

#include "model/number_fields.h"

namespace tavrin {

int spotRowLimit(const ParameterSet& p) {
  return (p.spotCount[1] > kSpotRowsShown || p.spotCount[2] > kSpotRowsShown) ? kMaxSpotsPerStar : kSpotRowsShown;
}

std::string spotAngleText(double radians) { return fixedField(radians * DEG_PER_RAD, 7, 2); }
std::string spotFactorText(double factor) { return fixedField(factor, 7, 4); }

std::array<std::string, 4> spotCellTexts(const Spot& s) {
  return {spotAngleText(s.xlat), spotAngleText(s.xlong), spotAngleText(s.radsp), spotFactorText(s.temsp)};
}

std::optional<std::string> applySpotsOk(ParameterSet& p, const SpotsEntry& entry, bool dcMode) {
  // Convert the Spot A/B fields first so that an overflow stores nothing.
  std::array<int16_t, 4> ab{p.spotAStar, p.spotANumber, p.spotBStar, p.spotBNumber};
  if (dcMode)
    for (size_t i = 0; i < 4; ++i) ab[i] = leadingInt16(entry.spotAB[i]);

  const int limit = std::clamp(entry.rowLimit, 1, kMaxSpotsPerStar);
  for (int star = 1; star <= 2; ++star) {
    const int count = std::clamp<int>(p.spotCount[static_cast<size_t>(star)], 0, kMaxSpotsPerStar);
    auto& table = p.spots[static_cast<size_t>(star)];
    for (int row = 1; row <= count; ++row) {
      const auto& c = entry.cells[static_cast<size_t>(star)][static_cast<size_t>(row)];
      Spot& s = table[static_cast<size_t>(row)];
      s.xlat = leadingNumber(c[0]) / DEG_PER_RAD;
      s.xlong = leadingNumber(c[1]) / DEG_PER_RAD;
      s.radsp = leadingNumber(c[2]) / DEG_PER_RAD;
      s.temsp = leadingNumber(c[3]);
    }
    for (int row = count + 1; row <= limit; ++row) table[static_cast<size_t>(row)] = Spot{};
  }
  if (dcMode) {
    p.spotAStar = ab[0];
    p.spotANumber = ab[1];
    p.spotBStar = ab[2];
    p.spotBNumber = ab[3];
  }
  p.totalSpotCount = static_cast<int16_t>(p.spotCount[1] + p.spotCount[2]);
  if (!dcMode) return std::nullopt;

  const int total = p.totalSpotCount;
  const auto beyond = [&](int star, int number) {
    return (star == 1 && number > p.spotCount[1]) || (star == 2 && number > p.spotCount[2]);
  };
  if (total > 1 && p.spotBStar == p.spotAStar && p.spotBNumber == p.spotANumber)
    return std::string("Hey!  Spot B must be different from Spot A.  Please make changes.");
  if (total > 0 && beyond(p.spotAStar, p.spotANumber))
    return std::string("Hey!  Spot A does not exist.  Please make changes.");
  if (total > 1 && beyond(p.spotBStar, p.spotBNumber))
    return std::string("Hey!  Spot B does not exist.  Please make changes.");
  return std::nullopt;
}

std::vector<SpotHighlight> spotHighlights(const ParameterSet& p, int rowLimit) {
  std::vector<SpotHighlight> out;
  const auto mark = [&](int firstKey, int star, int number, int r, int g, int b) {
    if ((star != 1 && star != 2) || number < 1 || number > rowLimit) return;
    for (int q = 0; q < 4; ++q)
      if (p.adjustKeys[static_cast<size_t>(firstKey + q)] == '0') out.push_back({star, number, q, r, g, b});
  };
  mark(1, p.spotAStar, p.spotANumber, 255, 192, 192);
  mark(5, p.spotBStar, p.spotBNumber, 192, 192, 255);
  return out;
}

std::vector<std::string> spotColumnHelp(int quantity, int star) {
  const std::string which = star == 2 ? "star 2" : "star 1";
  switch (quantity) {
    case 0:
      return {"XLAT# ", "  The 'latitude' of a star spot centre, " + which + ", measured from 0 degrees at the",
              "  'north' (+z) pole to 180 degrees at the 'south' pole."};
    case 1:
      return {"XLONG# ", "  The longitude of a star spot centre, " + which + ", measured counter-clockwise (as ",
              "  viewed from above the +z axis) from the line of star centres from 0 to 360 deg."};
    case 2:
      return {"RADSP# ", "  The angular radius of a star spot, " + which + ", in degrees.  This angle is the one",
              "  subtended by the spot radius at the centre of the star."};
    case 3:
      return {"TEMSP# ",
              "  The 'temperature factor' of the spot, " + which + ", that specifies the local spot",
              "  temperature compared to the local temperature one would have without the ",
              "  spot. A value larger or smaller than unity corresponds to the spot being ",
              "  hotter than or cooler than the unspotted surface, respectively.  Note that ",
              "  TEMSP# is constant for a given spot, but the local temperature will vary over ",
              "  a spot if the unspotted temperature varies."};
    default:
      return {};
  }
}

HelpPageText spotsHelpPage() {
  return {"Help - Spots",
          {"Use the two '# of Spots' boxes to choose how many spots each star carries.  The rows of "
           "latitude, longitude, radius (all in degrees) and temperature factor appear for the spots in use; "
           "a star may carry up to 10 spots when they come from a loaded file.",
           "Click a column caption (Latitude, Longitude, Radius, Temp. factor) to see the help for that "
           "quantity.",
           "In DC mode only two spots, Spot A and Spot B, can be adjusted at a time.  Name each one by its star "
           "(1 or 2) and its spot number on that star (1 to 6).  The cells of the quantities chosen for "
           "adjustment in the Adjust window are coloured: pink for Spot A, blue for Spot B.",
           "When there is only one spot in all, the Spot B entries are ignored.",
           "Illegal values (for instance a latitude outside 0 to 180 degrees or a negative radius) are not "
           "refused here, but they may make LC or DC fail with obscure messages in their output files."}};
}

}  // namespace tavrin
