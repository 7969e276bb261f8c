#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/parameter_set.h"
#include "output/dco_reader.h"
#include "report_builders.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace testreports;

namespace {

std::string failure(const std::string& text, DcResults& r, ParameterSet& p) {
  try {
    parseDco(text, r, p);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "no failure";
}

}  // namespace

TEST(DcoReader, WholeListing) {
  DcResults r;
  ParameterSet p;
  DcoReadReport rep = parseDco(join(dcoLines(DcoSpec{})), r, p);
  EXPECT_FALSE(rep.errorLine);
  ASSERT_EQ(r.adjustedCount, 2);
  EXPECT_EQ(r.adjustedParams[1], 15);
  EXPECT_EQ(r.adjustedParams[2], 34);
  EXPECT_EQ(p.IFVC1, 1);
  EXPECT_EQ(p.IFVC2, 1);
  EXPECT_EQ(p.NLC, 2);
  EXPECT_DOUBLE_EQ(p.curves[1].l2, 0.85);
  EXPECT_DOUBLE_EQ(p.curves[2].l2, 0.91);
  EXPECT_DOUBLE_EQ(p.curves[3].l2, 1.2345);
  EXPECT_DOUBLE_EQ(p.curves[4].l2, 2.5);
  EXPECT_EQ(rep.curveL2.size(), 4u);
  EXPECT_EQ(r.correlation[1][1], "  1.00000");
  EXPECT_EQ(r.correlation[1][2], "  -.25000");
  EXPECT_EQ(r.correlation[2][1], "  -.25000");
  EXPECT_EQ(r.correlation[3][3], "");
  ASSERT_EQ(r.ioRowCount, 2);
  EXPECT_EQ(r.ioRows[1].param, 15);
  EXPECT_EQ(r.ioRows[1].curve, 0);
  EXPECT_DOUBLE_EQ(r.ioRows[1].correction, 0.0125);
  EXPECT_DOUBLE_EQ(r.ioRows[1].stdDev, 0.002);
  EXPECT_EQ(r.ioRows[2].param, 34);
  EXPECT_EQ(r.ioRows[2].curve, 1);
  EXPECT_DOUBLE_EQ(r.ioRows[2].input, 0.5);
  EXPECT_DOUBLE_EQ(r.ioRows[2].correction, -0.01);
  EXPECT_DOUBLE_EQ(r.ioRows[2].output, 0.49);
  EXPECT_DOUBLE_EQ(r.sumWResInput, 12.3456789012);
  EXPECT_DOUBLE_EQ(r.sumWResPredicted, 9.87654321098);
  EXPECT_FALSE(r.dcErrorSeen);
}

TEST(DcoReader, CrLfReadsAsLf) {
  DcResults a, b;
  ParameterSet pa, pb;
  parseDco(join(dcoLines(DcoSpec{})), a, pa);
  parseDco(join(dcoLines(DcoSpec{}), "\r\n"), b, pb);
  EXPECT_EQ(a.correlation, b.correlation);
  EXPECT_EQ(a.ioRowCount, b.ioRowCount);
  EXPECT_DOUBLE_EQ(a.sumWResPredicted, b.sumWResPredicted);
  EXPECT_DOUBLE_EQ(pa.curves[4].l2, pb.curves[4].l2);
}

TEST(DcoReader, KeyLineMapping) {
  DcResults r;
  ParameterSet p;
  DcoSpec s;
  s.keys = "1111 1111 1111111 11111 11111 11111 11111";
  s.correlation.clear();
  parseDco(join(dcoLines(s)), r, p);
  EXPECT_EQ(r.adjustedCount, 0);
  EXPECT_EQ(r.ioRowCount, 2);  // the table is still read
  s.keys = "0111 1111 0111111 11111 11111 11111 11110";
  s.correlation = {{"1", "0", "0"}, {"0", "1", "0"}, {"0", "0", "1"}};
  parseDco(join(dcoLines(s)), r, p);
  ASSERT_EQ(r.adjustedCount, 3);
  EXPECT_EQ(r.adjustedParams[1], 1);
  EXPECT_EQ(r.adjustedParams[2], 9);
  EXPECT_EQ(r.adjustedParams[3], 35);
  // Sixteen zeros cannot be held.
  s.keys = "0000 0000 0000000 01111 11111 11111 11111";
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "Error 9: Subscript out of range.");
  EXPECT_EQ(r.adjustedCount, 3);  // nothing stored
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

TEST(DcoReader, MarkerBeforeCorrelationEndsTheRead) {
  DcResults r;
  ParameterSet p;
  r.correlation[1][1] = "old";
  DcoSpec s;
  s.correlationAfterMarker = true;
  parseDco(join(dcoLines(s)), r, p);
  EXPECT_EQ(r.correlation[1][1], "old");
  EXPECT_EQ(r.ioRowCount, 2);
}

TEST(DcoReader, TwentyRowTablesAndTheShortLine) {
  DcResults r;
  ParameterSet p;
  DcoSpec s;
  s.rows.assign(20, DcoRow{16, 0, "87.5", ".01", "87.51", ".002"});
  parseDco(join(dcoLines(s)), r, p);
  EXPECT_EQ(r.ioRowCount, 20);
  EXPECT_DOUBLE_EQ(r.ioRows[20].output, 87.51);
  s.rows.push_back(s.rows.back());
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "Error 9: Subscript out of range.");
  EXPECT_EQ(r.ioRowCount, 20);
  // A line of four characters ends the table as an empty one does.
  std::vector<std::string> L = dcoLines(DcoSpec{});
  for (auto& l : L)
    if (l.empty()) l = "abcd";
  L.insert(L.begin() + 1, "");
  parseDco(join(L), r, p);
  EXPECT_EQ(r.ioRowCount, 2);
  // Rows 1..8 are cleared by each table; rows beyond the count keep their values.
  EXPECT_EQ(r.ioRows[3].param, 0);
  EXPECT_EQ(r.ioRows[9].param, 16);
}

TEST(DcoReader, ErrorLineEnding) {
  DcResults r;
  ParameterSet p;
  DcoSpec s;
  s.marker = false;
  s.trailer = {"*ERR* Parameter 30 names nothing; no solution."};
  DcoReadReport rep = parseDco(join(dcoLines(s)), r, p);
  ASSERT_TRUE(rep.errorLine);
  EXPECT_EQ(*rep.errorLine, "*ERR* Parameter 30 names nothing; no solution.");
  // A failed solution stores nothing.
  EXPECT_EQ(r.ioRowCount, 0);
  EXPECT_DOUBLE_EQ(p.curves[3].l2, ParameterSet{}.curves[3].l2);
  // The line must begin with the marker untrimmed.
  s.trailer = {" *ERR* indented"};
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "Error 62: Input past end of file.");
  // Only DC's error line as the listing.
  rep = parseDco("*ERR* singular normal equations\r\n", r, p);
  EXPECT_EQ(*rep.errorLine, "*ERR* singular normal equations");
}

TEST(DcoReader, CutShortAndGarbage) {
  const std::string whole = join(dcoLines(DcoSpec{}));
  const size_t marker = whole.find(" DOM1/DQ");
  for (size_t cut = 0; cut < marker; cut += 5) {
    DcResults r;
    ParameterSet p;
    const std::string msg = failure(whole.substr(0, cut), r, p);
    EXPECT_EQ(msg, "Error 62: Input past end of file.") << "cut at " << cut;
    EXPECT_EQ(r.ioRowCount, 0);
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
  s.rows.push_back(DcoRow{0, 0, "", "", "", ""});
  s.rows.back().param = 0;
  EXPECT_EQ(failure(join(dcoLines(s)), r, p), "no failure");
  DcoSpec big;
  big.sums = "1D+999";
  EXPECT_EQ(failure(join(dcoLines(big)), r, p), "Error 6: Overflow.");
}

TEST(DcoReader, LoadDcoDerivesNameAndSilencesDuringContours) {
  namespace fs = std::filesystem;
  const fs::path dir = tavrin::testing_support::freshTestDir("dco");
  AppState app;
  app.dataFolder = dir.string();
  app.dciName = "star.dci";
  ParameterSet p;
  DcResults r;
  fs::remove(dir / "star.dco");
  DcoLoadOutcome o = loadDco(app, p, r, false);
  EXPECT_EQ(app.dcoName, "star.dco");
  EXPECT_FALSE(o.ok);
  EXPECT_TRUE(o.showMessageBox);
  EXPECT_EQ(o.message, "Error 53: File not found.");
  EXPECT_TRUE(r.dcErrorSeen);
  EXPECT_TRUE(app.readError);

  std::ofstream((dir / "star.dco").string()) << join(dcoLines(DcoSpec{}), "\r\n");
  r.dcErrorSeen = false;
  app.readError = false;
  o = loadDco(app, p, r, false);
  EXPECT_TRUE(o.ok);
  EXPECT_FALSE(r.dcErrorSeen);
  EXPECT_EQ(r.ioRowCount, 2);

  // A user's choice is read as named.
  DcoSpec s;
  s.marker = false;
  s.trailer = {"*ERR* no convergence"};
  std::ofstream((dir / "other.dco").string()) << join(dcoLines(s));
  app.dcoName = "other.dco";
  o = loadDco(app, p, r, true);
  EXPECT_EQ(app.dcoName, "other.dco");
  ASSERT_TRUE(o.errorWindowLine);
  EXPECT_EQ(*o.errorWindowLine, "*ERR* no convergence");
  EXPECT_TRUE(r.dcErrorSeen);
  EXPECT_FALSE(app.readError);

  // During a contour computation nothing is shown, the flags are still set.
  app.contourRunning = true;
  r.dcErrorSeen = false;
  o = loadDco(app, p, r, true);
  EXPECT_FALSE(o.errorWindowLine);
  EXPECT_TRUE(r.dcErrorSeen);
  app.dcoName = "missing.dco";
  o = loadDco(app, p, r, true);
  EXPECT_FALSE(o.showMessageBox);
  EXPECT_EQ(o.message, "Error 53: File not found.");
  EXPECT_TRUE(app.readError);
}
