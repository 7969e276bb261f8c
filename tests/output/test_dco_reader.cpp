#include <gtest/gtest.h>

#include <charconv>
#include <filesystem>
#include <fstream>

#include "model/parameter_set.h"
#include "output/dco_reader.h"
#include "report_builders.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace testreports;
namespace fs = std::filesystem;
using tavrin::testing_support::slurp;
using tavrin::testing_support::spit;

namespace {

std::string failure(const std::string& text, DcResults& r, ParameterSet& p) {
  try {
    parseDco(text, r, p);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "no failure";
}

std::string num(double x) {
  char buf[64];
  return std::string(buf, std::to_chars(buf, buf + sizeof buf, x).ptr);
}

// Everything a read gives, one fact a line, for comparison with a golden file.
std::string summary(const DcResults& r, const ParameterSet& p) {
  std::string s = "keys:";
  for (int k : r.adjustedParams) s += " " + std::to_string(k);
  s += "\nunknowns:";
  for (const DcUnknown& u : r.unknowns) s += " " + std::to_string(u.param) + "/" + std::to_string(u.curve);
  for (const DcIoRow& io : r.ioRows)
    s += "\nrow " + std::to_string(io.param) + "/" + std::to_string(io.curve) + ": " + num(io.input) + " " +
         num(io.correction) + " " + num(io.output) + " " + num(io.stdDev);
  s += "\ncorrelation " + std::to_string(r.correlation.size()) + ":";
  for (const auto& row : r.correlation) {
    s += "\n ";
    for (double x : row) s += " " + num(x);
  }
  s += "\nsums: " + num(r.sumWResInput) + " " + num(r.sumWResPredicted);
  s += "\nset: IFVC1 " + std::to_string(p.IFVC1) + " IFVC2 " + std::to_string(p.IFVC2) + " NLC " + std::to_string(p.NLC) + " L2";
  for (int c = 1; c <= kCurveRows; ++c) s += " " + num(p.curves[static_cast<size_t>(c)].l2);
  s += "\nfailure: " + r.failure + "\n";
  return s;
}

const fs::path kGolden = fs::path(TAVRIN_SOURCE_DIR) / "tests/output/golden/dco";

}  // namespace

// Hand-made reports in the forms the real DC prints: with and without the
// radii block (IFR) and the correlation heading (IFM), many unknowns with
// per-curve keys over several light curves, NaN in each place, a stop line.
// Each reads as its .expected file says (TAVRIN_UPDATE_GOLDEN=1 rewrites them).
TEST(DcoReader, HandMadeReportsReadAsExpected) {
  int seen = 0;
  for (const auto& entry : fs::directory_iterator(kGolden)) {
    if (entry.path().extension() != ".dco") continue;
    ++seen;
    DcResults r;
    ParameterSet p;
    const std::string got = failure(slurp(entry.path()), r, p) == "no failure" ? summary(r, p) : "refused\n";
    fs::path expected = entry.path();
    expected.replace_extension(".expected");
    if (std::getenv("TAVRIN_UPDATE_GOLDEN")) spit(expected, got);
    EXPECT_EQ(got, slurp(expected)) << entry.path().filename();
  }
  EXPECT_GE(seen, 12);
}

TEST(DcoReader, CrLfReadsAsLf) {
  DcResults a, b;
  ParameterSet pa, pb;
  parseDco(join(dcoLines(DcoSpec{})), a, pa);
  parseDco(join(dcoLines(DcoSpec{}), "\r\n"), b, pb);
  EXPECT_EQ(summary(a, pa), summary(b, pb));
  EXPECT_DOUBLE_EQ(pa.curves[4].l2, 2.5);
}

TEST(DcoReader, KeyLineMapping) {
  DcResults r;
  ParameterSet p;
  DcoSpec s;
  s.keys = "1111 1111 1111111 11111 11111 11111 11111";
  s.correlation.clear();
  parseDco(join(dcoLines(s)), r, p);
  EXPECT_TRUE(r.adjustedParams.empty());
  EXPECT_EQ(r.ioRows.size(), 3u);  // the table is still read
  s.keys = "0111 1111 0111111 11111 11111 11111 11110";
  s.rows = {{1, 0, "1", "0", "1", "0"}, {9, 0, "1", "0", "1", "0"}, {35, 1, "1", "0", "1", "0"}, {35, 2, "1", "0", "1", "0"}};
  s.correlation = {{"1", "0", "0", "0"}, {"0", "1", "0", "0"}, {"0", "0", "1", "0"}, {"0", "0", "0", "1"}};
  parseDco(join(dcoLines(s)), r, p);
  EXPECT_EQ(r.adjustedParams, (std::vector<int16_t>{1, 9, 35}));
  // Third light is solved for once per light curve (NLC = 2).
  EXPECT_EQ(r.unknowns, (std::vector<DcUnknown>{{1, 0}, {9, 0}, {35, 1}, {35, 2}}));
  EXPECT_EQ(r.correlation.size(), 4u);
  // Sixteen zeros cannot be held.
  s.keys = "0000 0000 0000000 01111 11111 11111 11111";
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "Error 9: Subscript out of range.");
  EXPECT_EQ(r.adjustedParams.size(), 3u);  // nothing stored
}

TEST(DcoReader, VelocityRowsFollowTheSwitches) {
  DcResults r;
  ParameterSet p;
  DcoSpec s;
  s.switches = "0      1      1";
  s.velocityL2 = {"0.7000000"};
  s.lightL2 = {"3.0000000"};
  parseDco(join(dcoLines(s)), r, p);
  EXPECT_DOUBLE_EQ(p.curves[2].l2, 0.7);  // the first row after the header is curve 2's
  EXPECT_DOUBLE_EQ(p.curves[1].l2, ParameterSet{}.curves[1].l2);
  EXPECT_DOUBLE_EQ(p.curves[3].l2, 3.0);
  EXPECT_EQ(p.NLC, 1);
  s.switches = "0      0      6";
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "Error 9: Subscript out of range.");
}

TEST(DcoReader, WhatEndsAListing) {
  DcResults r;
  ParameterSet p;
  // The marker before the correlation section ends the read: no matrix, and
  // never the previous report's.
  r.correlation = {{0.5}};
  DcoSpec s;
  s.correlationAfterMarker = true;
  parseDco(join(dcoLines(s)), r, p);
  EXPECT_TRUE(r.correlation.empty());
  EXPECT_EQ(r.ioRows.size(), 3u);
  // Without the marker the residual sums complete the listing.
  s = DcoSpec{};
  s.marker = false;
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "no failure");
  EXPECT_DOUBLE_EQ(r.sumWResPredicted, 9.87654321098);
  // A table of 50 rows is read whole; a 51st cannot be held.
  s.rows.assign(50, DcoRow{16, 0, "87.5", ".01", "87.51", ".002"});
  s.keys = "1111 1111 1111111 11111 11111 11111 11111";
  s.correlation.clear();
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "no failure");
  EXPECT_EQ(r.ioRows.size(), 50u);
  s.rows.push_back(s.rows.back());
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "Error 9: Subscript out of range.");
  EXPECT_EQ(r.ioRows.size(), 50u);
  // A line of four characters ends the table as an empty one does.
  std::vector<std::string> L = dcoLines(DcoSpec{});
  for (auto& l : L)
    if (l.empty()) l = "abcd";
  parseDco(join(L), r, p);
  EXPECT_EQ(r.ioRows.size(), 3u);
}

TEST(DcoReader, FailedSolutionsStoreNothingInTheSet) {
  DcResults r;
  ParameterSet p;
  DcoSpec s;
  s.marker = false;
  s.sumsPrinted = false;
  s.trailer = {"*ERR* Parameter 30 names nothing; no solution."};
  std::vector<std::string> L = dcoLines(s);
  DcoReadReport rep = parseDco(join(L), r, p);
  ASSERT_TRUE(rep.errorLine);
  EXPECT_EQ(*rep.errorLine, "*ERR* Parameter 30 names nothing; no solution.");
  EXPECT_EQ(r.failure, *rep.errorLine);
  EXPECT_DOUBLE_EQ(p.curves[3].l2, ParameterSet{}.curves[3].l2);
  // The line must begin with the marker untrimmed.
  L.back() = " *ERR* indented";
  EXPECT_EQ(failure(join(L), r, p), "Error 62: Input past end of file.");
  // Only DC's error line as the listing.
  rep = parseDco("*ERR* singular normal equations\r\n", r, p);
  EXPECT_EQ(*rep.errorLine, "*ERR* singular normal equations");
  // NaN in a light curve's L2 leaves every L2 held as it was.
  s = DcoSpec{};
  s.lightL2[1] = "NaN";
  parseDco(join(dcoLines(s)), r, p);
  EXPECT_EQ(r.failure, "the L2 of curve 4 is NaN");
  EXPECT_DOUBLE_EQ(p.curves[3].l2, ParameterSet{}.curves[3].l2);
}

TEST(DcoReader, CutShortAndGarbage) {
  const std::string whole = join(dcoLines(DcoSpec{}));
  const size_t sums = whole.find("   .123456789012D+02");
  for (size_t cut = 0; cut < sums; cut += 5) {
    DcResults r;
    ParameterSet p;
    EXPECT_EQ(failure(whole.substr(0, cut), r, p), "Error 62: Input past end of file.") << "cut at " << cut;
    EXPECT_TRUE(r.ioRows.empty());
  }
  DcResults r;
  ParameterSet p;
  EXPECT_EQ(failure("", r, p), "Error 62: Input past end of file.");
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>((i * 7919) % 256);
  EXPECT_NE(failure(bytes, r, p), "no failure");
  DcoSpec s;
  s.rows[0].correction = "1D+999";
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "Error 6: Overflow.");
  s = DcoSpec{};
  s.rows[0].param = 99;
  s.rows[0].curve = 9;
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "no failure");
  DcoSpec big;
  big.sums = "1D+999";
  EXPECT_EQ(failure(join(dcoLines(big)), r, p), "Error 6: Overflow.");
}

TEST(DcoReader, LoadDcoNamesTheFileAndSaysWhatDcSaid) {
  const fs::path dir = tavrin::testing_support::freshTestDir("dco");
  AppState app;
  app.dataFolder = dir.string();
  app.dciName = "star.dci";
  ParameterSet p;
  DcResults r;
  DcoLoadOutcome o = loadDco(app, p, r, false);
  EXPECT_EQ(app.dcoName, "star.dco");
  EXPECT_FALSE(o.ok);
  EXPECT_TRUE(o.showMessageBox);
  EXPECT_EQ(o.message, "Error 53: File not found.\nstar.dco");
  EXPECT_TRUE(r.dcErrorSeen);
  EXPECT_TRUE(app.readError);

  // A report cut short by a run-time error: DC's last words on its standard error.
  spit(dir / "star.dco", "  DIFFERENTIAL CORRECTIONS\r\n");
  spit(dir / "star.dco.err", "\nAt line 812 of file dc.f\nFortran runtime error: Bad value during floating point read\n\n");
  o = loadDco(app, p, r, false);
  EXPECT_EQ(o.message,
            "Error 62: Input past end of file.\nstar.dco\n\nDC wrote on its standard error:\n"
            "At line 812 of file dc.f\nFortran runtime error: Bad value during floating point read");

  spit(dir / "star.dco", join(dcoLines(DcoSpec{}), "\r\n"));
  r.dcErrorSeen = false;
  app.readError = false;
  o = loadDco(app, p, r, false);
  EXPECT_TRUE(o.ok);
  EXPECT_FALSE(r.dcErrorSeen);
  EXPECT_EQ(r.ioRows.size(), 3u);

  // A failed solution: said, flagged, nothing offered.
  fs::copy_file(kGolden / "nan_correction.dco", dir / "nan.dco");
  app.dcoName = "nan.dco";
  o = loadDco(app, p, r, true);
  EXPECT_FALSE(o.ok);
  EXPECT_EQ(o.message, "DC's solution failed: the correction of L1 (2) is NaN.\nnan.dco");
  EXPECT_TRUE(r.dcErrorSeen);

  // A user's choice is read as named; an "*ERR*" ending goes to the message window.
  spit(dir / "other.dco", "*ERR* no convergence\r\n");
  app.dcoName = "other.dco";
  o = loadDco(app, p, r, true);
  EXPECT_EQ(app.dcoName, "other.dco");
  ASSERT_TRUE(o.errorWindowLine);
  EXPECT_EQ(*o.errorWindowLine, "*ERR* no convergence");

  // During a contour computation nothing is shown, the flags are still set.
  app.contourRunning = true;
  r.dcErrorSeen = false;
  o = loadDco(app, p, r, true);
  EXPECT_FALSE(o.errorWindowLine);
  EXPECT_TRUE(r.dcErrorSeen);
  app.dcoName = "missing.dco";
  o = loadDco(app, p, r, true);
  EXPECT_FALSE(o.showMessageBox);
  EXPECT_TRUE(app.readError);
}
