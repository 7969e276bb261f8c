#pragma once
// Hand-made DC reports laid out column by column, for the reader tests.
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
    L.push_back(rightFields("", {{1, 2, std::to_string(r.param)}, {9, 1, std::to_string(r.curve)},
                                 {10, 18, r.input}, {28, 18, r.correction}, {46, 18, r.output},
                                 {64, 18, r.stdDev}}));
  L.push_back("");
  if (s.sumsPrinted) L.insert(L.end(), {"   Sum(W*Res**2) for input values, predicted", s.sums});
  if (s.marker) L.push_back(" DOM1/DQ  DOM2/DQ");
  L.insert(L.end(), s.trailer.begin(), s.trailer.end());
  return L;
}

}  // namespace testreports
