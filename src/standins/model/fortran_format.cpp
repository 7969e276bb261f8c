#include "fortran_format.h"

#include <charconv>
#include <cmath>
#include <cstdlib>

namespace tavrin::standin {

namespace {

std::string fixedText(double x, int decimals) {
  char buf[400];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::fixed, decimals);
  if (r.ec != std::errc()) return "*";
  std::string s(buf, r.ptr);
  // A negative zero prints as "0.000", not "-0.000".
  if (!s.empty() && s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos) s.erase(0, 1);
  return s;
}

// Mantissa digits and decimal exponent with 0.1 <= m < 1 (digits rounded).
void mantissa(double ax, int digits, std::string& mant, int& exp10) {
  if (ax == 0.0 || !std::isfinite(ax)) {
    mant.assign(static_cast<size_t>(digits), '0');
    exp10 = 0;
    return;
  }
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, ax, std::chars_format::scientific, digits - 1);
  std::string s(buf, r.ptr);  // d.dddde+XX
  const size_t e = s.find('e');
  exp10 = std::atoi(s.c_str() + e + 1) + 1;
  mant.clear();
  for (size_t i = 0; i < e; ++i)
    if (s[i] != '.') mant.push_back(s[i]);
}

std::string expText(int exp10) {
  std::string s = exp10 < 0 ? "-" : "+";
  const int a = std::abs(exp10);
  if (a < 10) s += '0';
  s += std::to_string(a);
  return s;
}

}  // namespace

std::string padLeft(std::string_view s, size_t width) {
  std::string out;
  if (s.size() < width) out.assign(width - s.size(), ' ');
  out += s;
  return out;
}

std::string padRight(std::string_view s, size_t width) {
  std::string out(s);
  if (out.size() < width) out.append(width - out.size(), ' ');
  return out;
}

void placeAt(std::string& line, size_t column, std::string_view text) {
  const size_t start = column - 1;
  if (line.size() < start + text.size()) line.resize(start + text.size(), ' ');
  line.replace(start, text.size(), text);
}

std::string fmtI(long long v, int width) { return padLeft(std::to_string(v), static_cast<size_t>(width)); }

std::string fmtD(double x, int width, int digits, char letter) {
  if (!std::isfinite(x)) return padLeft("NaN", static_cast<size_t>(width));
  if (digits < 1) digits = 1;
  std::string mant;
  int e = 0;
  mantissa(std::fabs(x), digits, mant, e);
  std::string ex = expText(e);
  std::string body = "." + mant + letter + ex;
  if (ex.size() > 3) body = "." + mant + ex;  // three-digit exponents drop the letter
  const bool neg = x < 0 && mant.find_first_not_of('0') != std::string::npos;
  std::string withZero = (neg ? "-0" : "0") + body;
  if (static_cast<int>(withZero.size()) <= width) return padLeft(withZero, static_cast<size_t>(width));
  return padLeft((neg ? "-" : "") + body, static_cast<size_t>(width));
}

std::string fmt1PE(double x, int width, int digits) {
  if (!std::isfinite(x)) return padLeft("NaN", static_cast<size_t>(width));
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, digits);
  std::string s(buf, r.ptr);
  const size_t e = s.find('e');
  const int ex = std::atoi(s.c_str() + e + 1);
  std::string out = s.substr(0, e) + "E" + expText(ex);
  if (out.size() > 1 && out[0] == '-' && out.find_first_not_of("-0.", 0) == out.find('E')) out.erase(0, 1);
  return padLeft(out, static_cast<size_t>(width));
}

std::string fmtF(double x, int width, int decimals) {
  if (!std::isfinite(x)) return padLeft("NaN", static_cast<size_t>(width));
  std::string s = fixedText(x, decimals);
  if (static_cast<int>(s.size()) <= width) return padLeft(s, static_cast<size_t>(width));
  // "0.5" may lose its leading zero to fit, as Fortran allows.
  if (s.rfind("0.", 0) == 0 && static_cast<int>(s.size()) - 1 <= width)
    return padLeft(s.substr(1), static_cast<size_t>(width));
  if (s.rfind("-0.", 0) == 0 && static_cast<int>(s.size()) - 1 <= width)
    return padLeft("-" + s.substr(2), static_cast<size_t>(width));
  return fmtD(x, width, std::max(1, width - 7), 'D');
}

}  // namespace tavrin::standin
