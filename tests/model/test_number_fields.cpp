#include "model/number_fields.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <locale>
#include <string>

#include "model/dci_writer.h"
#include "model/lci_writer.h"
#include "shell/errors.h"
#include "test_files.h"

using namespace tavrin;
using testing_support::goldenPath;
using testing_support::tableRows;

namespace {

double num(const std::string& s) { return std::strtod(s.c_str(), nullptr); }
int integer(const std::string& s) { return std::atoi(s.c_str()); }

std::string shortest(double x) {
  char b[64];
  std::snprintf(b, sizeof b, "%.17g", x);
  return b;
}

// Very long texts (widths near the 16-bit limit) are pinned by length and hash.
std::string digest(std::string s) {
  if (s.size() < 200) return s;
  unsigned long long h = 1469598103934665603ULL;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ULL;
  char b[64];
  std::snprintf(b, sizeof b, "#long %zu %016llx", s.size(), h);
  return b;
}

template <class F>
std::string outcome(F&& f) {
  try {
    return digest(f());
  } catch (const TavrinError& e) {
    EXPECT_EQ(std::string(e.what()), errorMessage(e.number()));
    return "#error " + std::to_string(e.number());
  }
}

// One row of number_fields_cases.tsv: the function's text for the arguments.
std::string run(const std::vector<std::string>& c) {
  const std::string& f = c[0];
  if (f == "plain") return plainNumberText(num(c[1]));
  if (f == "plainInt") return plainNumberText(integer(c[1]));
  if (f == "trimmed") return trimmedPlainText(num(c[1]));
  if (f == "intField") return intField(integer(c[1]), integer(c[2]), c[3]);
  if (f == "fixed") return fixedField(num(c[1]), integer(c[2]), integer(c[3]));
  if (f == "exp") return expField(num(c[1]), integer(c[2]), integer(c[3]));
  if (f == "dtoe") return exponentDToE(c[1]);
  if (f == "align") return alignFirstToken(c[1], integer(c[2]));
  if (f == "leading") return shortest(leadingNumber(c[1]));
  if (f == "round16") return std::to_string(roundToInt16(num(c[1])));
  if (f == "leadingInt16") return std::to_string(leadingInt16(c[1]));
  if (f == "leftOfPlain") return leftOfPlain(num(c[1]), integer(c[2]));
  // What a field shows: the form's text when it holds the value, else the shortest that does.
  if (f == "losslessFixed") return losslessText(num(c[1]), fixedField(num(c[1]), integer(c[2]), integer(c[3])));
  if (f == "losslessExp") return losslessText(num(c[1]), expField(num(c[1]), integer(c[2]), integer(c[3])));
  if (f == "losslessLeft") return losslessText(num(c[1]), leftOfPlain(num(c[1]), integer(c[2])));
  ADD_FAILURE() << "unknown function " << f;
  return {};
}

void checkCases() {
  const auto rows = tableRows(goldenPath("model", "number_fields_cases.tsv"));
  ASSERT_GT(rows.size(), 150u);
  for (const auto& c : rows) {
    std::string expected = c.back();
    if (c[0] == "leading" && expected[0] != '#') expected = shortest(num(expected));
    EXPECT_EQ(outcome([&] { return run(c); }), expected) << c[0] << " \"" << c[1] << "\" (row " << c.size() << " cells)";
  }
}

}  // namespace

TEST(NumberFields, ListedCases) {
  checkCases();
  EXPECT_EQ(leadingNumber("  \t7"), 7.0);
}

// A spread of values through every routine, generated from the routines as
// they stood when a second, plain implementation agreed with them on two
// million values.
TEST(NumberFields, SpreadOfValuesMatchesTheTable) {
  const auto rows = tableRows(goldenPath("model", "number_fields_spread.tsv"));
  ASSERT_GT(rows.size(), 17000u);
  for (const auto& c : rows) {
    if (c[0] == "P") {
      const double x = num(c[1]);
      ASSERT_EQ(plainNumberText(x), c[2]) << c[1];
      ASSERT_EQ(trimmedPlainText(x), c[3]) << c[1];
    } else if (c[0] == "V") {
      const double x = num(c[1]);
      const int w = integer(c[2]), d = integer(c[3]);
      ASSERT_EQ(outcome([&] { return fixedField(x, w, d); }), c[4]) << c[1] << " width " << w << " decimals " << d;
      ASSERT_EQ(outcome([&] { return expField(x, w, d); }), c[5]) << c[1] << " width " << w << " digits " << d;
    } else {
      ASSERT_EQ(c[0], "I");
      const int v = integer(c[1]), w = integer(c[2]);
      ASSERT_EQ(outcome([&] { return intField(v, w, c[3]); }), c[4]) << v << " width " << w << " pad '" << c[3] << "'";
      ASSERT_EQ(plainNumberText(v), c[5]) << v;
    }
  }
}

// Numbers in files are locale independent: a German locale must change nothing.
TEST(NumberFields, GermanLocaleChangesNothing) {
  ParameterSet p;
  p.spotCount = {0, 1, 1};
  p.spots[1][1] = p.spots[2][1] = {1.5, -0.25, 0.2, 0.9};
  p.NLC = 1;
  p.curves[3].points = {{0.25, -1.5, 1.0}, {7522.5, 12.125, 0.5}};
  const std::string lci = lciText(p), dci = dciText(p);
  const std::string savedC = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
  std::locale savedCpp;
  try {
    savedCpp = std::locale::global(std::locale("de_DE.UTF-8"));
  } catch (const std::runtime_error&) {
    std::setlocale(LC_ALL, savedC.c_str());
    GTEST_SKIP() << "de_DE.UTF-8 locale not usable by the C++ library";
  }
  EXPECT_STREQ(std::localeconv()->decimal_point, ",");
  checkCases();
  EXPECT_EQ(plainNumberText(1234567.25), " 1234567.25");
  EXPECT_EQ(lciText(p), lci);
  EXPECT_EQ(dciText(p), dci);
  std::locale::global(savedCpp);
  std::setlocale(LC_ALL, savedC.c_str());
}
