// The contour data file: golden text, round trips, the older one-item form,
// edited and damaged files, partial files and their merge.
#include <gtest/gtest.h>

#include <sstream>

#include "contours/contour_file.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace tavrin::contours;
using namespace tavrin::testing_support;

namespace {

ContourGrid grid2x3() {
  ContourGrid g;
  g.gridDef = GridDef{1, 2, 0.2, 0.4, 2, 80.5, 86, 3, 2};
  g.resize();
  const double v[] = {1234.5, 1500.25, 2000, 99, 1800.125, 0.75};
  for (size_t k = 0; k < 6; ++k) g.wres[k] = v[k];
  return g;
}

const std::string kGolden = slurp(goldenPath("contours", "grid2x3.txt"));

std::string gridText(const ContourGrid& g) {
  std::ostringstream s;
  s.precision(12);
  const GridDef& d = g.gridDef;
  s << d.xCode << " " << d.xMin << ".." << d.xMax << " M " << d.M << ", " << d.yCode << " " << d.yMin << ".." << d.yMax
    << " N " << d.N << ", iterations " << d.iterations << "; wres";
  for (double v : g.wres) s << " " << v;
  s << "; status";
  for (int v : g.status) s << " " << v;
  s << "; " << g.wresMin << ".." << g.wresMax << " ready " << g.dataReady << " range " << g.range.low << ".."
    << g.range.high << " decimals " << g.range.decimals << "\n";
  return s.str();
}

// What a read gives: the grid, or the error's text.
template <class F>
std::string readOutcome(F&& read) {
  try {
    return gridText(read());
  } catch (const TavrinError& e) {
    return std::string(e.what()) + "\n";
  }
}

}  // namespace

TEST(ContourFile, GoldenTextAndRoundTrip) {
  const ContourGrid g = grid2x3();
  EXPECT_EQ(contourFileText(g), kGolden);
  const TempDir t;
  const std::string path = (t / "golden.txt").string(), none = (t / "no-such-file.txt").string();
  writeContourFile(path, g);
  EXPECT_EQ(readWholeFile(path), kGolden);
  // On reading, 99 takes part like any other value.
  expectGolden("contours", "grid2x3_read.txt", readOutcome([&] { return readContourFile(path); }) +
                                                   readOutcome([&] { return readContourFile(none); }));
}

// Each edit read twice: alone, and with an earlier grid whose status a file
// of one-item lines keeps; LF line ends without a final one read the same.
TEST(ContourFile, EditedAndDamagedFiles) {
  ContourGrid prev = grid2x3();
  prev.status = {1, 2, 3, 4, 5, 6};
  std::string text;
  for (const auto& row : tableRows(goldenPath("contours", "../edited_grids.tsv"))) {
    std::string t = kGolden;
    for (size_t at = 0; row[2] != "CUT" && (at = t.find(row[1], at)) != std::string::npos; at += row[2].size())
      t.replace(at, row[1].size(), row[2]);
    if (row[2] == "CUT") t = t.substr(0, t.find(row[1]));
    text += "== " + row[0] + "\n";
    for (const ContourGrid& earlier : {ContourGrid{}, prev}) text += readOutcome([&] { return parseContourText(t, earlier); });
  }
  std::string lf = kGolden;
  std::erase(lf, '\r');
  lf.pop_back();
  EXPECT_EQ(gridText(parseContourText(lf)), gridText(parseContourText(kGolden)));
  expectGolden("contours", "edited_grids.txt", text);
}

TEST(ContourFile, RoundTripKeepsEveryDigitAndTheRange) {
  ContourGrid g;
  g.gridDef = GridDef{4, 3, 4.25, 5.75, 4, 4000, 6000, 3, 3};
  g.resize();
  for (size_t k = 0; k < g.wres.size(); ++k) g.wres[k] = 1234.5 + 1.0 / 3.0 * static_cast<double>(k * k);
  summariseLoaded(g);
  const std::string read = gridText(parseContourText(contourFileText(g)));
  EXPECT_EQ(read, gridText(g));
  expectGolden("contours", "round_trip.txt", read);
}

TEST(ContourFile, PartialFilesAndMerge) {
  const ContourGrid g = grid2x3();
  const std::string a = partialFileText(g, 0, 0), b = partialFileText(g, 1, 1);
  EXPECT_TRUE(isPartialContourText(a));
  EXPECT_FALSE(isPartialContourText(kGolden));
  EXPECT_NE(a.find("\"Columns\",0,0\r\n1234.5,0\r\n"), std::string::npos);
  const ContourGrid m = mergePartials({parsePartialText(b), parsePartialText(a)});
  EXPECT_EQ(contourFileText(m), kGolden);
  // After a computation 99 marks a failed point and is left out of the range.
  EXPECT_DOUBLE_EQ(m.wresMax, 2000);
  EXPECT_THROW(mergePartials({parsePartialText(a)}), MergeError);
  EXPECT_THROW(mergePartials({parsePartialText(a), parsePartialText(a), parsePartialText(b)}), MergeError);
  ContourGrid other = g;
  other.gridDef.iterations = 3;
  EXPECT_THROW(mergePartials({parsePartialText(a), parsePartialText(partialFileText(other, 1, 1))}), MergeError);
  EXPECT_THROW(mergePartials({}), MergeError);
  EXPECT_THROW(parsePartialText(kGolden), TavrinError);
  std::string wrong = a;
  wrong.replace(wrong.find("\"Columns\",0,0"), 13, "\"Columns\",0,5");
  EXPECT_THROW(parsePartialText(wrong), TavrinError);
}
