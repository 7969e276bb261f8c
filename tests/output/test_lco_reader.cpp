#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "model/parameter_set.h"
#include "output/lco_reader.h"
#include "report_builders.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace testreports;

namespace {

ComputedCurve parse(const LcoSpec& s, const char* eol = "\n") { return parseLco(join(lcoLines(s), eol)); }

std::string failure(const std::string& text) {
  try {
    parseLco(text);
  } catch (const std::exception& e) {
    return e.what();
  }
  return "no failure";
}

}  // namespace

TEST(LcoReader, LightCurveHeaderValuesAndTable) {
  LcoSpec s;
  ComputedCurve c = parse(s);
  EXPECT_EQ(c.page, 1);
  EXPECT_EQ(c.mode, 3);
  EXPECT_DOUBLE_EQ(c.inclination, 87.5);
  EXPECT_DOUBLE_EQ(c.t1, 5300.0);
  EXPECT_DOUBLE_EQ(c.t2, 4521.0);
  EXPECT_DOUBLE_EQ(c.pot1, 6.1624);
  EXPECT_DOUBLE_EQ(c.pot2, 9.0092);
  EXPECT_DOUBLE_EQ(c.massRatio, 0.76115);
  EXPECT_DOUBLE_EQ(c.l2, 0.90038);
  EXPECT_EQ(c.l2Text, "  .9004");
  ASSERT_EQ(c.count, 3);
  EXPECT_EQ(c.phase, (std::vector<double>{0.0, 0.25, 0.5}));
  EXPECT_EQ(c.light, (std::vector<double>{1.0, 0.9, 0.5}));
  EXPECT_TRUE(c.rv1.empty());
  EXPECT_DOUBLE_EQ(c.phaseFirst, 0.0);
  EXPECT_DOUBLE_EQ(c.phaseLast, 0.5);
  // The empty line ends the table and does not pull the minimum to 0.
  EXPECT_DOUBLE_EQ(c.lightMin, 0.5);
  EXPECT_DOUBLE_EQ(c.lightMax, 1.0);
}

TEST(LcoReader, CrLfAndLfReadAlike) {
  LcoSpec s;
  ComputedCurve a = parse(s, "\n"), b = parse(s, "\r\n");
  EXPECT_EQ(a.phase, b.phase);
  EXPECT_EQ(a.light, b.light);
  EXPECT_EQ(a.l2Text, b.l2Text);
  EXPECT_DOUBLE_EQ(a.massRatio, b.massRatio);
}

TEST(LcoReader, FirstRowFixesColumnLayout) {
  // A 14-character JD: b = 15, phase in columns 15-29, light in 54-65.
  LcoSpec s;
  s.jd = "2450000.123456";
  ComputedCurve c = parse(s);
  EXPECT_EQ(c.light, (std::vector<double>{1.0, 0.9, 0.5}));
  // A JD without a blank in the first 20 columns: b = 21.
  s.jd = "24500001234567890123";
  c = parse(s);
  EXPECT_EQ(c.phase, (std::vector<double>{0.0, 0.25, 0.5}));
  // Later rows are cut in the columns of the first even if their JD is shorter.
  std::vector<std::string> L = lcoLines(LcoSpec{});
  size_t firstRow = 0;
  while (L[firstRow].find("JD") == std::string::npos) ++firstRow;
  ++firstRow;
  // Second row with a JD four characters longer: its phase field now starts
  // with the JD's last digits.
  L[firstRow + 1].insert(6, "9999");
  EXPECT_EQ(failure(join(L)), kPhaseMessage);
}

TEST(LcoReader, TableToEndOfFileCountsLastRow) {
  LcoSpec s;
  s.emptyLineAfter = false;
  ComputedCurve c = parse(s);
  EXPECT_EQ(c.count, 3);
  EXPECT_DOUBLE_EQ(c.phaseLast, 0.5);
  // Without a final line end as well.
  std::string t = join(lcoLines(s));
  t.pop_back();
  EXPECT_EQ(parseLco(t).count, 3);
}

TEST(LcoReader, VelocityPageWidensRange) {
  LcoSpec s;
  s.page = 2;
  s.rv1 = {"-50.0", "10.0", "0.0"};
  s.rv2 = {"30.0", "-20.0", "5.0"};
  ComputedCurve c = parse(s);
  EXPECT_EQ(c.page, 2);
  EXPECT_TRUE(c.light.empty());
  EXPECT_EQ(c.rv1, (std::vector<double>{-50.0, 10.0, 0.0}));
  EXPECT_EQ(c.rv2, (std::vector<double>{30.0, -20.0, 5.0}));
  EXPECT_DOUBLE_EQ(c.rvMin, -54.0);
  EXPECT_DOUBLE_EQ(c.rvMax, 34.0);
}

TEST(LcoReader, WavelengthLayoutOnlyWhenAlone) {
  LcoSpec s;
  s.wavelength = true;
  s.l2 = "1.2500007";
  EXPECT_DOUBLE_EQ(parse(s).l2, 1.2500007);
  EXPECT_DOUBLE_EQ(parse(s).massRatio, 0.76115);
  // "wv lth" followed closely by another word selects the band layout,
  // whose L2 columns hold other text here.
  s.lumHeaderOverride = "  wv lthhot cool";
  EXPECT_DOUBLE_EQ(parse(s).l2, 1.250000);
  s.lumHeaderOverride = "  wv lth";
  EXPECT_DOUBLE_EQ(parse(s).l2, 1.2500007);
}

TEST(LcoReader, PhaseLimits) {
  LcoSpec s;
  s.phases = {"-1.000000", "2.000000", "0.5"};
  EXPECT_EQ(parse(s).count, 3);
  s.phases = {"0.0", "2.0001", "0.5"};
  EXPECT_EQ(failure(join(lcoLines(s))), "Error trap: Phases should be between -1 and 2.");
  s.phases = {"-1.0001", "0", "0.5"};
  EXPECT_EQ(failure(join(lcoLines(s))), kPhaseMessage);
}

TEST(LcoReader, PageMustBeOneOrTwo) {
  LcoSpec s;
  s.page = 3;
  EXPECT_EQ(failure(join(lcoLines(s))), "mpage must be 1 (LC output) or 2 (RV output).  Please try again.");
  s.page = 0;
  EXPECT_EQ(failure(join(lcoLines(s))), kMpageMessage);
}

TEST(LcoReader, NegativeModeKeepsItsSign) {
  LcoSpec s;
  s.modeText = "-1";
  EXPECT_EQ(parse(s).mode, -1);
}

TEST(LcoReader, DExponentsAndCommaSplitReads) {
  LcoSpec s;
  s.l2 = ".12345D+01";
  s.lights = {".1D+01", "9.0d-01", "5E-1"};
  ComputedCurve c = parse(s);
  EXPECT_DOUBLE_EQ(c.l2, 1.2345);
  EXPECT_EQ(c.light, (std::vector<double>{1.0, 0.9, 0.5}));
  // A comma splits a line into two reads: "x,mpage" makes the second read the header.
  std::vector<std::string> L = lcoLines(LcoSpec{});
  L[1] = "junk, mpage";
  EXPECT_EQ(parseLco(join(L)).page, 1);
}

TEST(LcoReader, CutShortReportsEndWithPastEndOfFile) {
  const std::string whole = join(lcoLines(LcoSpec{}));
  const std::string eof = errorMessage(62);
  EXPECT_EQ(eof, "Error 62: Input past end of file.");
  EXPECT_EQ(failure(""), eof);
  EXPECT_EQ(failure("\n\n\n"), eof);
  // Every cut before the first table row fails with 62; after it, the rows so far count.
  const size_t firstRow = whole.find("2450000.12345");
  for (size_t cut = 0; cut < firstRow; cut += 7) {
    EXPECT_EQ(failure(whole.substr(0, cut)), eof) << "cut at " << cut;
  }
  // Header found, no rows at all.
  EXPECT_EQ(failure(whole.substr(0, firstRow - 3)), eof);
  // Header directly followed by an empty line: nothing to draw.
  EXPECT_EQ(failure(whole.substr(0, firstRow - 3) + "\n\n"), errorMessage(4));
}

TEST(LcoReader, RowLimit) {
  LcoSpec s;
  s.phases.assign(9000, "0.5");
  s.lights.assign(9000, "1.0");
  EXPECT_EQ(parse(s).count, 9000);
  s.phases.push_back("0.5");
  s.lights.push_back("1.0");
  EXPECT_EQ(failure(join(lcoLines(s))), "Error 9: Subscript out of range.");
}

TEST(LcoReader, GarbageAndAbsurdNumbers) {
  EXPECT_EQ(failure(std::string(5000, '\0')), errorMessage(62));
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>((i * 7919) % 256);
  EXPECT_NE(failure(bytes), "no failure");
  LcoSpec s;
  s.incl = "1D+999";
  EXPECT_EQ(failure(join(lcoLines(s))), "Error 6: Overflow.");
  s = LcoSpec{};
  s.lights[1] = "9E+400";
  EXPECT_EQ(failure(join(lcoLines(s))), "Error 6: Overflow.");
  // Non-numbers read as 0.
  s = LcoSpec{};
  s.lights[1] = "abc";
  EXPECT_DOUBLE_EQ(parse(s).lightMin, 0.0);
}

TEST(LcoReader, FileReadSetsPageOnlyOnSuccess) {
  namespace fs = std::filesystem;
  const fs::path dir = tavrin::testing_support::freshTestDir("lco");
  ParameterSet p;
  p.MPAGE = 1;
  EXPECT_THROW(readLcoFile((dir / "missing.lco").string(), p), TavrinError);
  try {
    readLcoFile((dir / "missing.lco").string(), p);
  } catch (const TavrinError& e) {
    EXPECT_EQ(e.number(), 53);
  }
  LcoSpec s;
  s.page = 2;
  s.phases[2] = "7";
  std::ofstream((dir / "bad.lco").string()) << join(lcoLines(s));
  EXPECT_THROW(readLcoFile((dir / "bad.lco").string(), p), ReportMessage);
  EXPECT_EQ(p.MPAGE, 1);
  s.phases[2] = "0.7";
  std::ofstream((dir / "good.lco").string()) << join(lcoLines(s), "\r\n");
  ComputedCurve c = readLcoFile((dir / "good.lco").string(), p);
  EXPECT_EQ(p.MPAGE, 2);
  EXPECT_EQ(c.count, 3);
}
