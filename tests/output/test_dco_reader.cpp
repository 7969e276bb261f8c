#include <gtest/gtest.h>

#include <filesystem>

#include "model/parameter_set.h"
#include "output/dco_reader.h"
#include "report_builders.h"
#include "report_dumps.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace testreports;
namespace fs = std::filesystem;
using tavrin::testing_support::slurp;
using tavrin::testing_support::spit;

namespace {

std::string withEnds(const std::string& text, bool crlf) {
  std::string s;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
    s += text[i] == '\n' && crlf ? std::string("\r\n") : std::string(1, text[i]);
  }
  return s;
}

// Reads alike with either line end, and as its golden says.
void expectRead(const std::string& golden, const std::string& text) {
  SCOPED_TRACE(golden);
  const std::string got = dcoReadOf(withEnds(text, false));
  EXPECT_EQ(dcoReadOf(withEnds(text, true)), got);
  tavrin::testing_support::expectGolden("output", golden, got);
}

const fs::path kGolden = fs::path(TAVRIN_SOURCE_DIR) / "tests/output/golden/dco";

}  // namespace

// Hand-made reports in the forms the real DC prints: with and without the
// radii block (IFR) and the correlation heading (IFM), many unknowns with
// per-curve keys over several light curves, NaN in each place, a stop line;
// and built_*.dco, made with report_builders.h: key lines, curve switches,
// what ends a listing, error lines, overflows, tables too long to hold.
TEST(DcoReader, HandMadeReportsReadAsExpected) {
  int seen = 0;
  for (const auto& entry : fs::directory_iterator(kGolden)) {
    if (entry.path().extension() != ".dco") continue;
    ++seen;
    expectRead("dco/" + entry.path().stem().string() + ".expected", slurp(entry.path()));
  }
  EXPECT_EQ(seen, 31);
}

TEST(DcoReader, CutShortAndGarbage) {
  const std::string whole = join(dcoLines(DcoSpec{}));
  for (size_t cut = 0; cut < whole.find("   .123456789012D+02"); cut += 5) {
    DcResults r;
    ParameterSet p;
    try {
      parseDco(whole.substr(0, cut), r, p);
      ADD_FAILURE() << "read when cut at " << cut;
    } catch (const TavrinError& e) {
      EXPECT_EQ(e.number(), 62) << "cut at " << cut;
    }
    EXPECT_TRUE(r.ioRows.empty());
  }
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>((i * 7919) % 256);
  DcResults r;
  ParameterSet p;
  EXPECT_THROW(parseDco(bytes, r, p), std::exception);
}

TEST(DcoReader, LoadDcoNamesTheFileAndSaysWhatDcSaid) {
  const fs::path dir = tavrin::testing_support::freshTestDir("dco");
  AppState app;
  app.dataFolder = dir.string();
  app.dciName = "star.dci";
  ParameterSet p;
  DcResults r;
  std::string log;
  auto load = [&](bool chosen) {
    const DcoLoadOutcome o = loadDco(app, p, r, chosen);
    log += "dco " + app.dcoName + " ok " + std::to_string(o.ok) + " box " + std::to_string(o.showMessageBox) + " window '" +
           o.errorWindowLine.value_or("-") + "' seen " + std::to_string(r.dcErrorSeen) + " readError " +
           std::to_string(app.readError) + " rows " + std::to_string(r.ioRows.size()) + "\n" + o.message + "\n--\n";
  };
  load(false);  // missing: the standard name of the DCI
  // A report cut short by a run-time error: DC's last words on its standard error.
  spit(dir / "star.dco", "  DIFFERENTIAL CORRECTIONS\r\n");
  spit(dir / "star.dco.err", "\nAt line 812 of file dc.f\nFortran runtime error: Bad value during floating point read\n\n");
  load(false);
  spit(dir / "star.dco", join(dcoLines(DcoSpec{}), "\r\n"));
  r.dcErrorSeen = app.readError = false;
  load(false);
  // A failed solution: said, flagged, nothing offered.
  fs::copy_file(kGolden / "nan_correction.dco", dir / "nan.dco");
  app.dcoName = "nan.dco";
  load(true);
  // A user's choice is read as named; an "*ERR*" ending goes to the message window.
  spit(dir / "other.dco", "*ERR* no convergence\r\n");
  app.dcoName = "other.dco";
  load(true);
  // During a contour computation nothing is shown, the flags are still set.
  app.contourRunning = true;
  r.dcErrorSeen = false;
  load(true);
  app.dcoName = "missing.dco";
  app.readError = false;
  load(true);
  tavrin::testing_support::expectGolden("output", "dco-load.txt", log);
}
