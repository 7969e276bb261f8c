#pragma once
// Hand-made LC and DC reports laid out column by column, for the reader tests.
#include <string>
#include <vector>

namespace testreports {

// Writes text into line so that it starts at column col (1-based), padding with blanks.
inline void put(std::string& line, int col, const std::string& text) {
  if (line.size() < static_cast<size_t>(col - 1 + text.size())) line.resize(col - 1 + text.size(), ' ');
  line.replace(col - 1, text.size(), text);
}
// text right-aligned in a field of width w starting at column col.
inline void putRight(std::string& line, int col, int w, const std::string& text) {
  put(line, col, std::string(w > static_cast<int>(text.size()) ? w - text.size() : 0, ' ') + text);
}

inline std::string join(const std::vector<std::string>& lines, const char* eol = "\n") {
  std::string s;
  for (const auto& l : lines) s += l + eol;
  return s;
}

struct LcoSpec {
  int page = 1;
  std::string modeText = "3";
  std::string incl = "87.500";
  std::string t1 = ".5300", t2 = ".4521";
  std::string pot1 = "6.1624", pot2 = "9.0092", rm = ".76115";
  bool wavelength = false;
  std::string lumHeaderOverride;  // replaces the luminosity header when set
  std::string l2 = "0.90038D+00";
  std::string jd = "2450000.12345";  // its length + 1 fixes the column b
  std::vector<std::string> phases{"0.000000", "0.250000", "0.500000"};
  std::vector<std::string> lights{"1.000000", "0.900000", "0.500000"};
  std::vector<std::string> rv1{"10.0", "-50.0", "0.0"}, rv2{"30.0", "-20.0", "5.0"};
  bool emptyLineAfter = true;
  std::vector<std::string> trailer{"  end of run"};
};

inline std::string lcoRow(const LcoSpec& s, size_t i) {
  std::string row = "   ";  // leading blanks are removed by the reader
  const int b = static_cast<int>(s.jd.size()) + 1;
  std::string r = s.jd;
  putRight(r, b, 15, s.phases[i]);
  if (s.page == 1) {
    putRight(r, b + 15, 12, ".600000");
    putRight(r, b + 27, 12, ".400000");
    putRight(r, b + 39, 12, s.lights[i]);
  } else {
    putRight(r, b + 61, 13, s.rv1[i]);
    putRight(r, b + 74, 13, s.rv2[i]);
  }
  return row + r;
}

inline std::vector<std::string> lcoLines(const LcoSpec& s) {
  std::vector<std::string> L;
  L.push_back("  Stand-in report for the reader tests");
  L.push_back("  mpage  nref mref ifsmv1");
  L.push_back("  " + std::to_string(s.page) + "     1    1    0");
  L.push_back("   MODE   IPB  IFAT1");
  L.push_back("   " + s.modeText + "      0     1");
  L.push_back("  ecc     s-maj axis    F1    F2");
  std::string v = "0.00000";
  putRight(v, 53, 11, s.incl);
  L.push_back(" " + v);
  L.push_back("  skipped 1");
  L.push_back("  T1      T2   ...   header");
  std::string t;  // as it reads after the reader aligns its first token to column 7
  putRight(t, 1, 7, s.t1);
  putRight(t, 8, 8, s.t2);
  putRight(t, 30, 13, s.pot1);
  putRight(t, 43, 13, s.pot2);
  putRight(t, 56, 13, s.rm);
  L.push_back("  " + t);
  L.push_back("  skipped 2");
  if (!s.lumHeaderOverride.empty())
    L.push_back(s.lumHeaderOverride);
  else
    L.push_back(s.wavelength ? "  wv lth    hot  cool" : "  band      L1      L2");
  std::string lum = s.wavelength ? "0.44000" : "6";  // the reader aligns it to 9 or 5
  if (s.wavelength) {
    lum = std::string(9 - lum.size(), ' ') + lum;
    putRight(lum, 21, 11, s.l2);
  } else {
    lum = std::string(5 - lum.size(), ' ') + lum;
    putRight(lum, 18, 11, s.l2);
  }
  L.push_back("  " + lum);
  L.push_back("  some other block");
  L.push_back("      JD          Phase     light 1     light 2     total");
  for (size_t i = 0; i < s.phases.size(); ++i) L.push_back(lcoRow(s, i));
  if (s.emptyLineAfter) {
    L.push_back("");
    for (const auto& t2 : s.trailer) L.push_back(t2);
  }
  return L;
}

}  // namespace testreports
