#include <gtest/gtest.h>

#include <filesystem>

#include "model/parameter_set.h"
#include "output/lco_reader.h"
#include "report_builders.h"
#include "report_dumps.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace testreports;
namespace fs = std::filesystem;

namespace {

std::string crlf(const std::string& lf) {
  std::string s;
  for (char ch : lf) s += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  return s;
}

const fs::path kCases = tavrin::testing_support::goldenPath("output", "lco");

}  // namespace

// Hand-made reports (golden/lco/*.lco, made with report_builders.h): each
// read whole as its .txt says; CR LF reads as LF. Among them column layouts
// fixed by the first row, the wavelength header, phase and page limits, D
// exponents, a comma splitting a line, overflows and reports cut short.
TEST(LcoReader, ReportsReadAsTheirGoldens) {
  int seen = 0;
  for (const auto& entry : fs::directory_iterator(kCases)) {
    if (entry.path().extension() != ".lco") continue;
    ++seen;
    SCOPED_TRACE(entry.path().filename());
    const std::string text = tavrin::testing_support::slurp(entry.path()), got = lcoReadOf(text);
    EXPECT_EQ(lcoReadOf(crlf(text)), got);
    tavrin::testing_support::expectGolden("output", "lco/" + entry.path().stem().string() + ".txt", got);
  }
  EXPECT_EQ(seen, 26);
  // Every cut before the first table row is past the end of the file.
  const std::string whole = join(lcoLines(LcoSpec{}));
  for (size_t cut = 0; cut < whole.find("2450000.12345"); cut += 7)
    EXPECT_EQ(lcoReadOf(whole.substr(0, cut)), "error 62: Error 62: Input past end of file.\n") << "cut at " << cut;
  std::string bytes;
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>((i * 7919) % 256);
  EXPECT_THROW(parseLco(bytes), std::exception);
}

TEST(LcoReader, RowLimit) {
  LcoSpec s;
  s.phases.assign(9000, "0.5");
  s.lights.assign(9000, "1.0");
  EXPECT_EQ(parseLco(join(lcoLines(s))).count, 9000);
  s.phases.push_back("0.5");
  s.lights.push_back("1.0");
  EXPECT_EQ(lcoReadOf(join(lcoLines(s))), "error 9: Error 9: Subscript out of range.\n");
}

TEST(LcoReader, FileReadSetsPageOnlyOnSuccess) {
  const auto dir = tavrin::testing_support::freshTestDir("lco");
  ParameterSet p;
  p.MPAGE = 1;
  try {
    readLcoFile((dir / "missing.lco").string(), p);
    ADD_FAILURE() << "a missing file was read";
  } catch (const TavrinError& e) {
    EXPECT_EQ(e.number(), 53);
  }
  LcoSpec s;
  s.page = 2;
  s.phases[2] = "7";
  tavrin::testing_support::spit(dir / "bad.lco", join(lcoLines(s)));
  EXPECT_THROW(readLcoFile((dir / "bad.lco").string(), p), ReportMessage);
  EXPECT_EQ(p.MPAGE, 1);
  s.phases[2] = "0.7";
  tavrin::testing_support::spit(dir / "good.lco", join(lcoLines(s), "\r\n"));
  EXPECT_EQ(readLcoFile((dir / "good.lco").string(), p).count, 3);
  EXPECT_EQ(p.MPAGE, 2);
}
