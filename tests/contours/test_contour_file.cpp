// The contour data file: golden text, round trips, the older one-item form,
// partial files and their merge, and damaged files.
#include <gtest/gtest.h>

#include <filesystem>

#include "contours/contour_file.h"
#include "shell/atomic_file.h"
#include "shell/errors.h"

using namespace tavrin;
using namespace tavrin::contours;

namespace {

ContourGrid grid2x3() {
  ContourGrid g;
  g.gridDef = GridDef{1, 2, 0.2, 0.4, 2, 80.5, 86, 3, 2};
  g.resize();
  const double v[] = {1234.5, 1500.25, 2000, 99, 1800.125, 0.75};
  for (size_t k = 0; k < 6; ++k) g.wres[k] = v[k];
  return g;
}

constexpr const char* kGolden =
    "\"This is a datafile of DC output of Wres = Sum (wr^2) in a grid of values.'\"\r\n"
    "\"There need to be 5 comment lines in the header part.\"\r\n"
    "\"First data line: Xvar_IDnum, Xvar_min, Xvar_max, Xvar_M  ==> Code for IDnum: 1=M2M1, 2=Inclin, 3=T2, "
    "4=Potl1\"\r\n"
    "\"Second data line: Yvar_IDnum, Yvar_min, Yvar_max, Yvar_N, n_iterations%\"\r\n"
    "\"Subsequent lines are Wres(1,1), Wres(1,2), .. Wres(Xvar_M,1), ..Wres(Xvar_M, Yvar_N)\"\r\n"
    "1,.2,.4,2\r\n"
    "2,80.5,86,3,2\r\n"
    "1234.5,0\r\n"
    "1500.25,0\r\n"
    "2000,0\r\n"
    "99,0\r\n"
    "1800.125,0\r\n"
    ".75,0\r\n";

std::string tempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + name)).string();
}

int errorOf(const std::string& text, const ContourGrid& prev = {}) {
  try {
    parseContourText(text, prev);
  } catch (const TavrinError& e) {
    return e.number();
  }
  return 0;
}

}  // namespace

TEST(ContourFile, GoldenTextAndRoundTrip) {
  const ContourGrid g = grid2x3();
  EXPECT_EQ(contourFileText(g), kGolden);
  const std::string path = tempPath("golden.txt");
  writeContourFile(path, g);
  EXPECT_EQ(readWholeFile(path), kGolden);
  const ContourGrid r = readContourFile(path);
  std::filesystem::remove(path);
  EXPECT_EQ(r.gridDef, g.gridDef);
  EXPECT_EQ(r.wres, g.wres);
  EXPECT_EQ(r.status, g.status);
  // On reading, 99 takes part like any other value.
  EXPECT_DOUBLE_EQ(r.wresMin, 0.75);
  EXPECT_DOUBLE_EQ(r.wresMax, 2000);
  EXPECT_TRUE(r.dataReady);
  EXPECT_DOUBLE_EQ(r.range.low, 0.75);
  EXPECT_EQ(r.range.decimals, 2);
}

TEST(ContourFile, RoundTripKeepsEveryDigitAndTheRange) {
  ContourGrid g;
  g.gridDef = GridDef{4, 3, 4.25, 5.75, 4, 4000, 6000, 3, 3};
  g.resize();
  for (size_t k = 0; k < g.wres.size(); ++k) g.wres[k] = 1234.5 + 1.0 / 3.0 * static_cast<double>(k * k);
  summariseLoaded(g);
  const ContourGrid r = parseContourText(contourFileText(g));
  for (size_t k = 0; k < g.wres.size(); ++k) EXPECT_NEAR(r.wres[k], g.wres[k], 1e-9 * g.wres[k]);
  EXPECT_EQ(r.range, g.range);
  EXPECT_DOUBLE_EQ(r.range.low, 1230);
  EXPECT_DOUBLE_EQ(r.range.high, 4920);
  EXPECT_EQ(r.range.decimals, -1);
}

TEST(ContourFile, OlderOneItemFormKeepsStatus) {
  std::string old = kGolden;
  for (const char* from : {"1234.5,0", "1500.25,0", "2000,0", "99,0", "1800.125,0", ".75,0"}) {
    const size_t k = old.find(from);
    old.replace(k, std::string(from).size(), std::string(from).substr(0, std::string(from).size() - 2));
  }
  ContourGrid prev = grid2x3();
  prev.status = {1, 2, 3, 4, 5, 6};
  const ContourGrid r = parseContourText(old, prev);
  EXPECT_EQ(r.wres, grid2x3().wres);
  EXPECT_EQ(r.status, prev.status);
  // Without a matching earlier grid the status is 0.
  EXPECT_EQ(parseContourText(old).status, std::vector<int16_t>(6, 0));
}

TEST(ContourFile, ReaderAcceptsOrdinaryNotations) {
  std::string t = kGolden;
  t.replace(t.find("1,.2,.4,2"), 9, "1, 0.2 ,2E-1,  2");
  const ContourGrid r = parseContourText(t);
  EXPECT_DOUBLE_EQ(r.gridDef.xMax, 0.2);
  // LF line ends and a missing final line end.
  std::string lf;
  for (char c : std::string(kGolden))
    if (c != '\r') lf += c;
  lf.pop_back();
  EXPECT_EQ(parseContourText(lf).wres, grid2x3().wres);
  // Line 8 with two commas: the definition is read, no point.
  std::string three = kGolden;
  three.replace(three.find("1234.5,0"), 8, "1234.5,0,7");
  const ContourGrid n = parseContourText(three);
  EXPECT_EQ(n.gridDef.M, 2);
  EXPECT_EQ(n.wres, std::vector<double>(6, 0.0));
}

TEST(ContourFile, DamagedFilesGiveTheTableErrors) {
  const std::string g = kGolden;
  EXPECT_EQ(errorOf(""), 62);
  EXPECT_EQ(errorOf(g.substr(0, g.find("1234.5"))), 62);        // seven lines only
  EXPECT_EQ(errorOf(g.substr(0, g.find("1800.125"))), 62);      // points missing
  std::string bad = g;
  bad.replace(bad.find("1500.25"), 7, "1500.2x");
  EXPECT_EQ(errorOf(bad), 321);
  std::string big = g;
  big.replace(big.find("2,80.5,86,3,2"), 13, "2,80.5,86,202,2");
  EXPECT_EQ(errorOf(big), 9);
  std::string zero = g;
  zero.replace(zero.find("1,.2,.4,2"), 9, "1,.2,.4,0");
  EXPECT_EQ(errorOf(zero), 9);
  std::string huge = g;
  huge.replace(huge.find("1,.2,.4,2"), 9, "1,.2,.4,99999");
  EXPECT_EQ(errorOf(huge), 6);
  std::string inf = g;
  inf.replace(inf.find("2000,0"), 6, "1e999,0");
  EXPECT_EQ(errorOf(inf), 321);
  std::string st = g;
  st.replace(st.find("2000,0"), 6, "2000,70000");
  EXPECT_EQ(errorOf(st), 6);
  try {
    readContourFile(tempPath("no-such-file.txt"));
    FAIL();
  } catch (const TavrinError& e) {
    EXPECT_EQ(e.number(), 53);
  }
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
