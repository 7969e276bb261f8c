#include <gtest/gtest.h>

#include <functional>

#include "model/parameter_set.h"
#include "output/lco_reader.h"
#include "report_builders.h"
#include "report_dumps.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using namespace testreports;

namespace {

std::string lco(const std::function<void(LcoSpec&)>& change) {
  LcoSpec s;
  change(s);
  return join(lcoLines(s));
}

std::string crlf(const std::string& lf) {
  std::string s;
  for (char ch : lf) s += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
  return s;
}

}  // namespace

// Each report's whole read against golden/lco/<name>.txt; CR LF reads as LF.
TEST(LcoReader, ReportsReadAsTheirGoldens) {
  const std::string whole = join(lcoLines(LcoSpec{}));
  const size_t firstRow = whole.find("2450000.12345");
  std::vector<std::string> longerJd = lcoLines(LcoSpec{});
  // The second row's JD four characters longer: later rows are cut in the first row's columns.
  for (size_t i = 0; i + 1 < longerJd.size(); ++i)
    if (longerJd[i].find("JD") != std::string::npos) longerJd[i + 2].insert(6, "9999");
  std::vector<std::string> commaSplit = lcoLines(LcoSpec{});
  commaSplit[1] = "junk, mpage";  // a comma splits a line into two reads
  const std::pair<const char*, std::string> rows[] = {
      {"base", whole},
      {"jd14", lco([](LcoSpec& s) { s.jd = "2450000.123456"; })},
      {"jd20_no_blank", lco([](LcoSpec& s) { s.jd = "24500001234567890123"; })},
      {"jd_longer_second_row", join(longerJd)},
      {"to_end_of_file", lco([](LcoSpec& s) { s.emptyLineAfter = false; })},
      {"no_final_line_end", [] {
         std::string t = lco([](LcoSpec& s) { s.emptyLineAfter = false; });
         t.pop_back();
         return t;
       }()},
      {"velocity", lco([](LcoSpec& s) { s.page = 2, s.rv1 = {"-50.0", "10.0", "0.0"}; })},
      {"wavelength", lco([](LcoSpec& s) { s.wavelength = true, s.l2 = "1.2500007"; })},
      {"wavelength_crowded", lco([](LcoSpec& s) { s.wavelength = true, s.l2 = "1.2500007", s.lumHeaderOverride = "  wv lthhot cool"; })},
      {"wavelength_alone", lco([](LcoSpec& s) { s.wavelength = true, s.l2 = "1.2500007", s.lumHeaderOverride = "  wv lth"; })},
      {"phases_at_limits", lco([](LcoSpec& s) { s.phases = {"-1.000000", "2.000000", "0.5"}; })},
      {"phase_above_2", lco([](LcoSpec& s) { s.phases = {"0.0", "2.0001", "0.5"}; })},
      {"phase_below_m1", lco([](LcoSpec& s) { s.phases = {"-1.0001", "0", "0.5"}; })},
      {"page3", lco([](LcoSpec& s) { s.page = 3; })},
      {"page0", lco([](LcoSpec& s) { s.page = 0; })},
      {"negative_mode", lco([](LcoSpec& s) { s.modeText = "-1"; })},
      {"d_exponents", lco([](LcoSpec& s) { s.l2 = ".12345D+01", s.lights = {".1D+01", "9.0d-01", "5E-1"}; })},
      {"comma_split", join(commaSplit)},
      {"incl_overflow", lco([](LcoSpec& s) { s.incl = "1D+999"; })},
      {"light_overflow", lco([](LcoSpec& s) { s.lights[1] = "9E+400"; })},
      {"light_not_a_number", lco([](LcoSpec& s) { s.lights[1] = "abc"; })},
      {"empty", ""},
      {"blank_lines", "\n\n\n"},
      {"nul_bytes", std::string(5000, '\0')},
      {"header_no_rows", whole.substr(0, firstRow - 3)},
      {"header_then_empty_line", whole.substr(0, firstRow - 3) + "\n\n"},
  };
  for (const auto& [name, text] : rows) {
    SCOPED_TRACE(name);
    const std::string got = lcoReadOf(text);
    EXPECT_EQ(lcoReadOf(crlf(text)), got);
    tavrin::testing_support::expectGolden("output", std::string("lco/") + name + ".txt", got);
  }
  // Every cut before the first table row is past the end of the file.
  for (size_t cut = 0; cut < firstRow; cut += 7)
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
