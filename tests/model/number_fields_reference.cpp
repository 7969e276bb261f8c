// Test-only copy of the straightforward number-field formatting, kept as the
// yardstick the optimised routines must match character for character.
#include "number_fields_reference.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "shell/errors.h"

namespace tavrin::reference {
namespace {

constexpr int kMin16 = std::numeric_limits<int16_t>::min();
constexpr int kMax16 = std::numeric_limits<int16_t>::max();

// Field arithmetic is 16-bit; leaving the range is an overflow, not a wrap.
int check16(long long v) {
  if (v < kMin16 || v > kMax16) throwError(kErrOverflow);
  return static_cast<int>(v);
}
int add16(int a, int b) { return check16(static_cast<long long>(a) + b); }
int sub16(int a, int b) { return check16(static_cast<long long>(a) - b); }

std::string nonFiniteText(double x) {
  if (std::isnan(x)) return " NaN";
  return x < 0 ? "-Inf" : " Inf";
}

std::string padLeft(std::string s, int width) {
  const long long n = static_cast<long long>(width) - static_cast<long long>(s.size());
  if (n > 0) s.insert(0, static_cast<size_t>(n), ' ');
  return s;
}

std::string dropSignBlank(std::string s) {
  if (!s.empty() && s.front() == ' ') s.erase(0, 1);
  return s;
}

}  // namespace

std::string plainNumberText(double x) {
  if (!std::isfinite(x)) return nonFiniteText(x);
  if (x == 0.0) return " 0";  // negative zero too: the sign place is for negatives

  // 15 significant digits, correctly rounded, independent of the locale.
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(x), std::chars_format::scientific, 14);
  // buf: d.dddddddddddddde[+-]xx
  std::string digits;
  const char* p = buf;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p != '.') digits.push_back(*p);
  int exp10 = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, exp10);
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  std::string s(1, x < 0 ? '-' : ' ');
  if (exp10 >= -5 && exp10 < 15) {
    const int n = static_cast<int>(digits.size());
    if (exp10 >= 0) {
      const int intLen = exp10 + 1;
      if (n <= intLen) {
        s += digits;
        s.append(static_cast<size_t>(intLen - n), '0');
      } else {
        s.append(digits, 0, static_cast<size_t>(intLen));
        s += '.';
        s.append(digits, static_cast<size_t>(intLen));
      }
    } else {
      s += '.';
      s.append(static_cast<size_t>(-exp10 - 1), '0');
      s += digits;
    }
  } else {
    s += digits[0];
    if (digits.size() > 1) {
      s += '.';
      s.append(digits, 1);
    }
    s += 'E';
    s += exp10 < 0 ? '-' : '+';
    const int a = exp10 < 0 ? -exp10 : exp10;
    if (a < 10) s += '0';
    s += std::to_string(a);
  }
  return s;
}

std::string plainNumberText(int v) {
  std::string s = std::to_string(v);
  if (v >= 0) s.insert(0, 1, ' ');
  return s;
}

std::string trimmedPlainText(double x) { return dropSignBlank(plainNumberText(x)); }

std::string intField(int v, int width, std::string_view pad) {
  check16(v);
  check16(width);
  std::string s = dropSignBlank(plainNumberText(v));
  const int n = sub16(width, static_cast<int>(s.size()));
  if (n > 0 && !pad.empty()) {
    std::string prefix;
    prefix.reserve(static_cast<size_t>(n) * pad.size());
    for (int i = 0; i < n; ++i) prefix += pad;
    s.insert(0, prefix);
  }
  return s;
}

std::string fixedField(double x, int width, int decimals) {
  check16(width);
  check16(decimals);
  if (width < 4) width = 4;
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(x)) return padLeft(nonFiniteText(x), width);

  std::string s = trimmedPlainText(x);
  const int len = check16(static_cast<long long>(s.size()));
  const auto dot = s.find('.');
  int f = dot == std::string::npos ? -1 : sub16(len, static_cast<int>(dot) + 1);
  if (f < 0) {
    s += '.';
    f = 0;
  }
  if (f < decimals) {
    s.append(static_cast<size_t>(sub16(decimals, f)), '0');
  } else {
    const double scale = std::pow(10.0, decimals);
    const double scaled = x * scale;
    if (!std::isfinite(scaled)) throwError(kErrOverflow);
    const double r = std::floor(scaled + 0.5) / scale;
    s = plainNumberText(r);
  }
  const int slen = check16(static_cast<long long>(s.size()));
  const int n = sub16(width, slen);
  if (n >= 0) return padLeft(std::move(s), width);
  if (sub16(slen, width) >= add16(decimals, 1)) return expField(x, width, sub16(width, 6));
  s.resize(static_cast<size_t>(width));
  return s;
}

std::string expField(double x, int width, int digits) {
  check16(width);
  check16(digits);
  const int maxDigits = sub16(width, 6);
  if (digits > maxDigits) digits = maxDigits;
  // Fields narrower than 7 would leave no mantissa digit and write 0 or 1 times
  // the power of ten; one digit keeps the value and adds no width (the mantissa
  // field is at least 4 wide either way).
  if (digits < 1) digits = 1;
  if (!std::isfinite(x)) return padLeft(nonFiniteText(x), width);

  std::string s;
  if (std::fabs(x) <= 1e-16) {
    s = ".";
    if (digits > 0) s.append(static_cast<size_t>(digits), '0');
    s += "D+00";
  } else {
    // Quotient of natural logarithms, not log10: powers of ten land just below
    // the integer, and the written fields depend on that.
    const double q = std::log(std::fabs(x)) / std::log(10.0);
    const int e = add16(check16(static_cast<long long>(std::floor(q))), 1);
    double p = std::pow(10.0, e);
    double m;
    if (std::isfinite(p) && p != 0.0) {
      m = x / p;
    } else {
      // Near the ends of the double range: scale in two steps.
      const int half = e / 2;
      m = x / std::pow(10.0, half) / std::pow(10.0, e - half);
    }
    s = fixedField(m, add16(digits, 2), digits);
    s += e >= 0 ? "D+" : "D-";
    s += intField(e < 0 ? -e : e, 2, "0");
  }
  return padLeft(std::move(s), width);
}

}  // namespace tavrin::reference
