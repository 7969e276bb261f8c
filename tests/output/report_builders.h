#pragma once
// Hand-made LC and DC reports laid out column by column, for the reader tests.
#include <algorithm>
#include <initializer_list>
#include <string>
#include <vector>

namespace testreports {

// text right-aligned in a field of width w starting at column col (1-based), padding with blanks.
inline void putRight(std::string& line, int col, int w, const std::string& text) {
  const std::string t = std::string(w > static_cast<int>(text.size()) ? w - text.size() : 0, ' ') + text;
  if (line.size() < col - 1 + t.size()) line.resize(col - 1 + t.size(), ' ');
  line.replace(col - 1, t.size(), t);
}
// A line of right-aligned fields: {column, width, text} each.
struct RightField {
  int col, w;
  std::string text;
};
inline std::string rightFields(std::string line, std::initializer_list<RightField> f) {
  for (const RightField& x : f) putRight(line, x.col, x.w, x.text);
  return line;
}

inline std::string join(const std::vector<std::string>& lines, const char* eol = "\n") {
  std::string s;
  for (const auto& l : lines) s += l + eol;
  return s;
}

// LC's report of mode 3 with its header; the page picks light or velocity columns.
struct LcoSpec {
  int page = 1;
  std::vector<std::string> phases{"0.000000", "0.250000", "0.500000"};
  std::vector<std::string> lights{"1.000000", "0.900000", "0.500000"};
};

inline std::vector<std::string> lcoLines(const LcoSpec& s) {
  const std::string jd = "2450000.12345";  // its length + 1 fixes the column b
  const int b = static_cast<int>(jd.size()) + 1;
  const std::vector<std::string> rv1{"10.0", "-50.0", "0.0"}, rv2{"30.0", "-20.0", "5.0"};
  std::vector<std::string> L{"  Stand-in report for the reader tests", "  mpage  nref mref ifsmv1",
                             "  " + std::to_string(s.page) + "     1    1    0", "   MODE   IPB  IFAT1",
                             "   3      0     1", "  ecc     s-maj axis    F1    F2",
                             " " + rightFields("0.00000", {{53, 11, "87.500"}}), "  skipped 1", "  T1      T2   ...   header",
                             // as it reads after the reader aligns its first token to column 7
                             "  " + rightFields("", {{1, 7, ".5300"}, {8, 8, ".4521"}, {30, 13, "6.1624"}, {43, 13, "9.0092"},
                                                     {56, 13, ".76115"}}),
                             // the band as the reader aligns it to column 9
                             "  skipped 2", "  band      L1      L2", "  " + rightFields("    6", {{18, 11, "0.90038D+00"}}),
                             "  some other block", "      JD          Phase     light 1     light 2     total"};
  for (size_t i = 0; i < s.phases.size(); ++i) {
    const std::string r = rightFields(jd, {{b, 15, s.phases[i]}});  // leading blanks are removed by the reader
    if (s.page == 1)
      L.push_back("   " + rightFields(r, {{b + 15, 12, ".600000"}, {b + 27, 12, ".400000"}, {b + 39, 12, s.lights[i]}}));
    else
      L.push_back("   " + rightFields(r, {{b + 61, 13, rv1[i]}, {b + 74, 13, rv2[i]}}));
  }
  L.insert(L.end(), {"", "  end of run"});
  return L;
}

struct DcoRow {
  int param, curve;
  std::string input, correction, output, stdDev;
};

struct DcoSpec {
  std::string keys = "1111 1111 1111110 11111 11111 11111 11101";
  std::string switches = "1      1      2";  // IFVC1 col 1, IFVC2 col 8, NLC col 15
  std::vector<std::string> velocityL2{"0.8500000", "0.9100000"};
  std::vector<std::string> lightL2{"1.2345000", "2.5000000"};
  // Keys 15 and 34 with two light curves: three unknowns.
  std::vector<std::vector<std::string>> correlation{
      {"1.00000", "-0.25000", "0.10000"}, {"-0.25000", "1.00000", "0.96700"}, {"0.10000", "0.96700", "1.00000"}};
  std::vector<DcoRow> rows{{15, 0, ".0000000D+00", ".1250000D-01", ".1250000D-01", ".2000000D-02"},
                           {34, 1, ".5000000D+00", "-.100000D-01", ".4900000D+00", ".5000000D-02"},
                           {34, 2, ".6000000D+00", ".2000000D-01", ".6200000D+00", ".4000000D-02"}};
  // After its leading blanks: input value in characters 1-27, predicted in 28-63.
  std::string sums = "   .123456789012D+02           .987654321098D+01";
  bool sumsPrinted = true;
  bool marker = true;
  std::vector<std::string> trailer;
};

// The key line of DC's report with the given keys adjusted ("0").
inline std::string dcoKeyLine(const std::vector<int>& zeroKeys) {
  std::string keys;
  for (int k = 1; k <= 35; ++k) {
    if (k == 5 || k == 9 || k == 16 || k == 21 || k == 26 || k == 31) keys += ' ';
    keys += std::find(zeroKeys.begin(), zeroKeys.end(), k) != zeroKeys.end() ? '0' : '1';
  }
  return keys;
}

inline std::vector<std::string> dcoLines(const DcoSpec& s) {
  std::vector<std::string> L{"  Stand-in DC report for the reader tests", " ADJUSTMENT CONTROL KEYS", "  " + s.keys,
                             "  IFVC1  IFVC2  NLC  KO", "  " + s.switches,
                             "  band     L1        L2                              ops"};
  for (size_t i = 0; i < s.velocityL2.size(); ++i)
    L.push_back(rightFields("", {{1, 3, std::to_string(i + 1)}, {4, 10, "0.62345"}, {14, 10, s.velocityL2[i]}}));
  L.push_back("  band     L1        L2                               3rd");
  for (size_t i = 0; i < s.lightL2.size(); ++i)
    L.push_back(rightFields("", {{1, 3, std::to_string(i + 7)}, {4, 10, "7.84"}, {14, 10, s.lightL2[i]}}));
  L.insert(L.end(), {" CORRELATION MATRIX", ""});
  for (const auto& row : s.correlation) {
    std::string r = " ";
    for (const auto& v : row) putRight(r, static_cast<int>(r.size()) + 1, 12, v);
    L.push_back(r);
  }
  L.insert(L.end(), {" Input-Output in F Format", "  No.  Curve   Input   Correction   Output   Std. Dev.", ""});
  for (const auto& r : s.rows)
    L.push_back(rightFields("", {{1, 2, std::to_string(r.param)}, {9, 1, std::to_string(r.curve)}, {10, 18, r.input},
                                 {28, 18, r.correction}, {46, 18, r.output}, {64, 18, r.stdDev}}));
  L.push_back("");
  if (s.sumsPrinted) L.insert(L.end(), {"   Sum(W*Res**2) for input values, predicted", s.sums});
  if (s.marker) L.push_back(" DOM1/DQ  DOM2/DQ");
  L.insert(L.end(), s.trailer.begin(), s.trailer.end());
  return L;
}

}  // namespace testreports
