// The LCO and DCO readers: hand-made reports (golden/lco/*.lco and
// golden/dco/*.dco) each read whole as its .expected file says, with either
// line end. Among them: column layouts fixed by the first row, the wavelength
// header, phase and page limits, D exponents, a comma splitting a line; DC's
// forms with and without the radii block (IFR) and the correlation heading
// (IFM), many unknowns with per-curve keys, NaN in each place, a stop line,
// key lines, curve switches, what ends a listing, error lines; overflows,
// tables too long to hold and reports cut short. The built_* reports were
// made with report_builders.h.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "model/parameter_set.h"
#include "output/dco_reader.h"
#include "output/lco_reader.h"
#include "report_builders.h"
#include "report_dumps.h"
#include "shell/errors.h"
#include "error_of.h"
#include "test_files.h"

using namespace tavrin;
using namespace testreports;
namespace fs = std::filesystem;
using tavrin::testing_support::slurp;
using tavrin::testing_support::spit;

namespace {

// The text with LF line ends, or with CR LF ones.
std::string withEnds(const std::string& text, bool crlf) {
  std::string s;
  for (size_t i = 0; i < text.size(); ++i)
    if (text.compare(i, 2, "\r\n") != 0) s += text[i] == '\n' && crlf ? "\r\n" : std::string(1, text[i]);
  return s;
}

int expectFolder(const std::string& folder, const std::string& extension, std::string (*read)(const std::string&)) {
  int seen = 0;
  for (const auto& entry : fs::directory_iterator(tavrin::testing_support::goldenPath("output", folder))) {
    if (entry.path().extension() != extension) continue;
    ++seen;
    SCOPED_TRACE(entry.path().filename());
    const std::string text = slurp(entry.path()), got = read(withEnds(text, false));
    EXPECT_EQ(read(withEnds(text, true)), got);
    tavrin::testing_support::expectGolden("output", folder + "/" + entry.path().stem().string() + ".expected", got);
  }
  return seen;
}

const fs::path kDco = tavrin::testing_support::goldenPath("output", "dco");
const fs::path kLco = tavrin::testing_support::goldenPath("output", "lco");

}  // namespace

TEST(ReportReaders, ReportsReadAsExpected) {
  EXPECT_EQ(expectFolder("lco", ".lco", lcoReadOf), 26);
  EXPECT_EQ(expectFolder("dco", ".dco", dcoReadOf), 31);
}

// Every cut before the table (LC) or the residual sums (DC) is past the end of the file, and stores nothing.
TEST(ReportReaders, CutShortAndGarbage) {
  const std::string lco = slurp(kLco / "base.lco"), dco = join(dcoLines(DcoSpec{}));
  for (size_t cut = 0; cut < lco.find("2450000.12345"); cut += 7) EXPECT_EQ(lcoReadOf(lco.substr(0, cut)), lcoReadOf("")) << cut;
  for (size_t cut = 0; cut < dco.find("   .123456789012D+02"); cut += 5) EXPECT_EQ(dcoReadOf(dco.substr(0, cut)), dcoReadOf("")) << cut;
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>((i * 7919) % 256);
  DcResults r;
  ParameterSet p;
  EXPECT_THROW(parseLco(bytes), std::exception);
  EXPECT_THROW(parseDco(bytes, r, p), std::exception);
}

// The base report's first row 9000 times, then once more.
TEST(ReportReaders, LcoRowLimit) {
  const std::string base = slurp(kLco / "base.lco");
  const size_t rows = base.find("   2450000.12345"), row = base.find('\n', rows) + 1 - rows;
  const std::string one = base.substr(rows, row), end = base.substr(rows + 3 * row);
  std::string text = base.substr(0, rows);
  for (int i = 0; i < 9000; ++i) text += one;
  EXPECT_EQ(parseLco(text + end).count, 9000);
  EXPECT_EQ(lcoReadOf(text + one + end), "error 9: Error 9: Subscript out of range.\n");
}

TEST(ReportReaders, LcoFileReadSetsPageOnlyOnSuccess) {
  const auto dir = tavrin::testing_support::freshTestDir("lco");
  ParameterSet p;
  p.MPAGE = 1;
  EXPECT_EQ(tavrin::testing_support::errorOf([&] { readLcoFile((dir / "missing.lco").string(), p); }), 53);
  // A velocity page with its last phase out of range, then as it was.
  std::string velocity = slurp(kLco / "velocity.lco"), bad = velocity;
  spit(dir / "bad.lco", bad.replace(bad.find("0.500000"), 8, "       7"));
  EXPECT_THROW(readLcoFile((dir / "bad.lco").string(), p), ReportMessage);
  EXPECT_EQ(p.MPAGE, 1);
  spit(dir / "good.lco", withEnds(velocity, true));
  EXPECT_EQ(readLcoFile((dir / "good.lco").string(), p).count, 3);
  EXPECT_EQ(p.MPAGE, 2);
}

TEST(ReportReaders, LoadDcoNamesTheFileAndSaysWhatDcSaid) {
  const fs::path dir = tavrin::testing_support::freshTestDir("dco");
  AppState app;
  app.dataFolder = dir.string();
  app.dciName = "star.dci";
  ParameterSet p;
  DcResults r;
  std::string log;
  for (const auto& c : tavrin::testing_support::tableRows(tavrin::testing_support::goldenPath("output", "dco_load_steps.tsv"))) {
    std::istringstream files(c[0]), flags(c[3]);
    for (std::string f; files >> f;) {
      const std::string name = f.substr(0, f.find('=')), source = f.substr(f.find('=') + 1);
      spit(dir / name, source == "built" ? join(dcoLines(DcoSpec{}), "\r\n") : slurp(kDco / source));
    }
    if (c[1] != "-") app.dcoName = c[1];
    for (std::string w; flags >> w;)
      if (w == "unseen") r.dcErrorSeen = false;
      else if (w == "unread") app.readError = false;
      else if (w == "contour") app.contourRunning = true;
    const DcoLoadOutcome o = loadDco(app, p, r, c[2] == "1");
    log += "dco " + app.dcoName + " ok " + std::to_string(o.ok) + " box " + std::to_string(o.showMessageBox) + " window '" +
           o.errorWindowLine.value_or("-") + "' seen " + std::to_string(r.dcErrorSeen) + " readError " +
           std::to_string(app.readError) + " rows " + std::to_string(r.ioRows.size()) + "\n" + o.message + "\n--\n";
  }
  tavrin::testing_support::expectGolden("output", "dco-load.txt", log);
}
