#include "model/number_fields.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "model/field_entry.h"
#include "shell/errors.h"

namespace tavrin {
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

// The 15-significant-digit rounding of a positive finite value: digits without
// trailing zeros, and the decimal exponent of the first one.
struct Digits15 {
  char d[24];
  int n;
  int exp10;
};

void digits15Exact(double a, Digits15& out) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific, 14);
  const char* p = buf;
  out.n = 0;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p != '.') out.d[out.n++] = *p;
  out.exp10 = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, out.exp10);
  while (out.n > 1 && out.d[out.n - 1] == '0') --out.n;
}

#ifdef __SIZEOF_INT128__
__extension__ typedef unsigned __int128 U128;

constexpr uint64_t kPow10Int[] = {1ULL,
                                  10ULL,
                                  100ULL,
                                  1000ULL,
                                  10000ULL,
                                  100000ULL,
                                  1000000ULL,
                                  10000000ULL,
                                  100000000ULL,
                                  1000000000ULL,
                                  10000000000ULL,
                                  100000000000ULL,
                                  1000000000000ULL,
                                  10000000000000ULL,
                                  100000000000000ULL,
                                  1000000000000000ULL,
                                  10000000000000000ULL,
                                  100000000000000000ULL,
                                  1000000000000000000ULL,
                                  10000000000000000000ULL};

enum class Wide { Done, TooSmall, TooBig, GiveUp };

// Rounds mant / 2^shift * 10^(14 - e10) to a whole number exactly; a tie or a
// product past 128 bits is left to the general routine.
Wide digits15Wide(uint64_t mant, int shift, int e10, Digits15& out) {
  const int scale = 14 - e10;
  if (scale < 0 || scale > 22 || shift < 1 || shift > 120) return Wide::GiveUp;
  U128 num = static_cast<U128>(mant) * (scale > 19 ? kPow10Int[19] : kPow10Int[scale]);
  if (scale > 19) num *= kPow10Int[scale - 19];
  U128 q = num >> shift;
  const U128 rem = num - (q << shift);
  const U128 half = static_cast<U128>(1) << (shift - 1);
  if (rem == half) return Wide::GiveUp;
  if (rem > half) ++q;
  constexpr uint64_t kLow = 100000000000000ULL;  // 10^14
  int e = e10;
  if (q == static_cast<U128>(kLow) * 10) {
    q = kLow;
    ++e;
  } else if (q < kLow) {
    return Wide::TooSmall;
  } else if (q > static_cast<U128>(kLow) * 10) {
    return Wide::TooBig;
  }
  auto v = static_cast<uint64_t>(q);
  int n = 15;
  while (v % 10 == 0) {  // v >= 10^14, so never 0
    v /= 10;
    --n;
  }
  int i = n;
  for (; i >= 2; i -= 2) {
    const auto pair = static_cast<unsigned>(v % 100);
    v /= 100;
    out.d[i - 1] = static_cast<char>('0' + pair % 10);
    out.d[i - 2] = static_cast<char>('0' + pair / 10);
  }
  if (i == 1) out.d[0] = static_cast<char>('0' + v);
  out.n = n;
  out.exp10 = e;
  return Wide::Done;
}
#endif

void digits15(double a, Digits15& out) {
#ifdef __SIZEOF_INT128__
  // The usual field range: exact integer rounding, no text conversion.
  if (a >= 1e-8 && a < 1e15) {
    uint64_t bits;
    std::memcpy(&bits, &a, sizeof bits);
    const int biased = static_cast<int>(bits >> 52);  // a is positive and normal
    const uint64_t mant = (bits & ((1ULL << 52) - 1)) | (1ULL << 52);
    const int shift = 1075 - biased;  // a = mant / 2^shift
    // First guess of the decimal exponent from the binary one (floor of
    // k log10 2 for a in [2^k, 2^(k+1))); the loop corrects it.
    int e10 = ((biased - 1023) * 78913) >> 18;
    for (int tries = 0; tries < 3; ++tries) {
      const Wide w = digits15Wide(mant, shift, e10, out);
      if (w == Wide::Done) return;
      if (w == Wide::GiveUp) break;
      e10 += w == Wide::TooSmall ? -1 : 1;
    }
  }
#endif
  // For normal numbers a shortest round-trip text of at most 15 digits is also
  // the nearest 15-digit one (the 15-digit grid is coarser than half an ulp).
  if (a >= std::numeric_limits<double>::min()) {
    char buf[40];
    const auto res = std::to_chars(buf, buf + sizeof buf, a, std::chars_format::scientific);
    const char* p = buf;
    int n = 0;
    for (; p < res.ptr && *p != 'e'; ++p)
      if (*p != '.' && n < 20) out.d[n++] = *p;
    int e10 = 0;
    std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), res.ptr, e10);
    if (n <= 15) {
      out.n = n;
      out.exp10 = e10;
      while (out.n > 1 && out.d[out.n - 1] == '0') --out.n;
      return;
    }
  }
  digits15Exact(a, out);
}

// Sign place, then the digits in plain or E notation, into buf (at least 32 chars).
int layoutText(bool negative, const Digits15& g, char* buf) {
  const int n = g.n;
  const int exp10 = g.exp10;
  char* s = buf;
  *s++ = negative ? '-' : ' ';
  if (exp10 >= -5 && exp10 < 15) {
    if (exp10 >= 0) {
      const int intLen = exp10 + 1;
      if (n <= intLen) {
        std::memcpy(s, g.d, static_cast<size_t>(n));
        s += n;
        std::memset(s, '0', static_cast<size_t>(intLen - n));
        s += intLen - n;
      } else {
        std::memcpy(s, g.d, static_cast<size_t>(intLen));
        s += intLen;
        *s++ = '.';
        std::memcpy(s, g.d + intLen, static_cast<size_t>(n - intLen));
        s += n - intLen;
      }
    } else {
      *s++ = '.';
      std::memset(s, '0', static_cast<size_t>(-exp10 - 1));
      s += -exp10 - 1;
      std::memcpy(s, g.d, static_cast<size_t>(n));
      s += n;
    }
  } else {
    *s++ = g.d[0];
    if (n > 1) {
      *s++ = '.';
      std::memcpy(s, g.d + 1, static_cast<size_t>(n - 1));
      s += n - 1;
    }
    *s++ = 'E';
    *s++ = exp10 < 0 ? '-' : '+';
    const int a = exp10 < 0 ? -exp10 : exp10;
    if (a < 10) *s++ = '0';
    s = std::to_chars(s, buf + 32, a).ptr;
  }
  return static_cast<int>(s - buf);
}

// Characters after the point in the trimmed plain text, -1 without a point
// (in E notation the exponent counts too, as it follows the point).
int pointDecimals(const Digits15& g) {
  const int n = g.n;
  const int e = g.exp10;
  if (e >= -5 && e < 15) {
    if (e >= 0) return n > e + 1 ? n - e - 1 : -1;
    return -e - 1 + n;
  }
  if (n == 1) return -1;
  const int a = e < 0 ? -e : e;
  return (n - 1) + 2 + (a < 100 ? 2 : 3);
}

// plainNumberText into buf (at least 32 chars); returns the length.
int plainText(double x, char* buf) {
  if (!std::isfinite(x)) {
    std::memcpy(buf, std::isnan(x) ? " NaN" : (x < 0 ? "-Inf" : " Inf"), 4);
    return 4;
  }
  if (x == 0.0) {
    buf[0] = ' ';
    buf[1] = '0';
    return 2;
  }
  Digits15 g;
  digits15(std::fabs(x), g);
  return layoutText(x < 0, g, buf);
}

// The plain text of N / 10^decimals for a whole N below 10^15 in magnitude:
// that decimal has at most 15 digits, so it is the text of the nearest double.
int scaledPlainText(double wholeN, int decimals, char* buf) {
  auto v = static_cast<uint64_t>(std::fabs(wholeN));
  if (v == 0) {
    buf[0] = ' ';
    buf[1] = '0';
    return 2;
  }
  Digits15 g;
  char tmp[24];
  int k = 0;
  for (; v != 0; v /= 10) tmp[k++] = static_cast<char>('0' + v % 10);
  for (int i = 0; i < k; ++i) g.d[i] = tmp[k - 1 - i];
  g.n = k;
  g.exp10 = k - 1 - decimals;
  while (g.n > 1 && g.d[g.n - 1] == '0') --g.n;
  return layoutText(wholeN < 0, g, buf);
}

// Exact powers of ten for the rounding scale (std::pow gives the same values).
constexpr double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

std::string paddedText(const char* s, int len, int width) {
  const int pad = width > len ? width - len : 0;
  std::string r;
  r.reserve(static_cast<size_t>(pad + len));
  r.append(static_cast<size_t>(pad), ' ');
  r.append(s, static_cast<size_t>(len));
  return r;
}

}  // namespace

std::string plainNumberText(double x) {
  char buf[32];
  return std::string(buf, static_cast<size_t>(plainText(x, buf)));
}

std::string plainNumberText(int v) {
  std::string s = std::to_string(v);
  if (v >= 0) s.insert(0, 1, ' ');
  return s;
}

std::string trimmedPlainText(double x) {
  char buf[32];
  const int len = plainText(x, buf);
  return buf[0] == ' ' ? std::string(buf + 1, static_cast<size_t>(len - 1)) : std::string(buf, static_cast<size_t>(len));
}

std::string intField(int v, int width, std::string_view pad) {
  check16(v);
  check16(width);
  char buf[16];
  const int len = static_cast<int>(std::to_chars(buf, buf + sizeof buf, v).ptr - buf);
  const int n = sub16(width, len);
  std::string s;
  if (n > 0 && !pad.empty()) {
    s.reserve(static_cast<size_t>(n) * pad.size() + static_cast<size_t>(len));
    for (int i = 0; i < n; ++i) s += pad;
  }
  s.append(buf, static_cast<size_t>(len));
  return s;
}

std::string fixedField(double x, int width, int decimals) {
  check16(width);
  check16(decimals);
  if (width < 4) width = 4;
  if (decimals < 0) decimals = 0;
  if (!std::isfinite(x)) return padLeft(nonFiniteText(x), width);

  Digits15 g;
  if (x == 0.0) {
    g.d[0] = '0';
    g.n = 1;
    g.exp10 = 0;
  } else {
    digits15(std::fabs(x), g);
  }
  const int f = pointDecimals(g);

  const char* s;
  int slen;
  std::string longText;  // only when zeros make the text outgrow the buffer
  char grown[64];
  char plain[32];
  int plen;
  // A text without a point counts as having none after it.
  if ((f < 0 ? 0 : f) < decimals) {
    plen = layoutText(x < 0, g, plain);
    // Trimmed text: without the sign-place blank.
    const char* t = plain[0] == ' ' ? plain + 1 : plain;
    const int tlen = plen - static_cast<int>(t - plain);
    const int zeros = decimals - (f < 0 ? 0 : f);
    const int total = tlen + (f < 0 ? 1 : 0) + zeros;
    char* dst;
    if (total <= static_cast<int>(sizeof grown)) {
      dst = grown;
    } else {
      longText.resize(static_cast<size_t>(total));
      dst = longText.data();
    }
    std::memcpy(dst, t, static_cast<size_t>(tlen));
    int k = tlen;
    if (f < 0) dst[k++] = '.';
    std::memset(dst + k, '0', static_cast<size_t>(zeros));
    s = dst;
    slen = total;
  } else {
    // decimals <= f here, and f is at most about 20.
    const double scale = decimals < 23 ? kPow10[decimals] : std::pow(10.0, decimals);
    const double scaled = x * scale;
    if (!std::isfinite(scaled)) throwError(kErrOverflow);
    const double whole = std::floor(scaled + 0.5);
    // Below 10^15 the quotient's text follows from the whole number's digits.
    plen = std::fabs(whole) < 1e15 && decimals < 23 ? scaledPlainText(whole, decimals, plain)
                                                    : plainText(whole / scale, plain);
    s = plain;
    slen = plen;
  }
  check16(slen);
  if (slen <= width) return paddedText(s, slen, width);
  if (sub16(slen, width) >= add16(decimals, 1)) return expField(x, width, sub16(width, 6));
  return std::string(s, static_cast<size_t>(width));
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

std::string exponentDToE(std::string s) {
  for (char& c : s) {
    if (c == 'D' || c == 'd') {
      c = 'e';
      break;
    }
  }
  return s;
}

std::string alignFirstToken(std::string line, int width) {
  check16(width);
  int k = 50;
  const size_t limit = line.size() < 50 ? line.size() : 50;
  for (size_t i = 0; i < limit; ++i) {
    if (line[i] == ' ') {
      k = static_cast<int>(i);
      break;
    }
  }
  if (width > k) line.insert(0, static_cast<size_t>(sub16(width, k)), ' ');
  return line;
}

double leadingNumber(std::string_view text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n')) ++i;
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const size_t mantStart = i;
  size_t intDigits = 0, fracDigits = 0;
  bool seenNonZero = false;
  long long firstSig = 0;
  while (i < n && text[i] >= '0' && text[i] <= '9') {
    if (!seenNonZero && text[i] != '0') {
      seenNonZero = true;
      firstSig = -static_cast<long long>(intDigits);
    }
    ++intDigits;
    ++i;
  }
  if (i < n && text[i] == '.') {
    size_t j = i + 1;
    while (j < n && text[j] >= '0' && text[j] <= '9') {
      if (!seenNonZero && text[j] != '0') {
        seenNonZero = true;
        firstSig = -(static_cast<long long>(intDigits) + static_cast<long long>(fracDigits));
      }
      ++fracDigits;
      ++j;
    }
    if (intDigits + fracDigits > 0) i = j;
  }
  if (intDigits + fracDigits == 0) return 0.0;
  size_t end = i;
  long long expVal = 0;
  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    bool expNeg = false;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      expNeg = text[j] == '-';
      ++j;
    }
    const size_t expDigitsStart = j;
    while (j < n && text[j] >= '0' && text[j] <= '9') {
      if (expVal < 100000) expVal = expVal * 10 + (text[j] - '0');
      ++j;
    }
    if (j > expDigitsStart) {
      end = j;
      if (expNeg) expVal = -expVal;
    }
  }
  if (!seenNonZero) return negative ? -0.0 : 0.0;

  double value = 0.0;
  const char* first = text.data() + mantStart;
  const char* last = text.data() + end;
  const auto res = std::from_chars(first, last, value, std::chars_format::general);
  if (res.ec == std::errc::result_out_of_range) {
    // Position of the first significant digit decides between too big and too small.
    const long long magnitude = static_cast<long long>(intDigits) + firstSig + expVal;
    if (magnitude > 0) throwError(kErrOverflow);
    return negative ? -0.0 : 0.0;
  }
  return negative ? -value : value;
}

int16_t roundToInt16(double x) {
  if (!std::isfinite(x)) throwError(kErrOverflow);
  double r = std::round(x);  // halves away from zero
  if (std::fabs(x - std::trunc(x)) == 0.5 && std::fmod(r, 2.0) != 0.0) r -= std::copysign(1.0, x);
  if (r < kMin16 || r > kMax16) throwError(kErrOverflow);
  return static_cast<int16_t>(r);
}

int16_t leadingInt16(std::string_view text) { return roundToInt16(leadingNumber(text)); }

std::string leftOfPlain(double x, int n) {
  if (n <= 0) return {};
  std::string s = plainNumberText(x);
  if (s.size() > static_cast<size_t>(n)) s.resize(static_cast<size_t>(n));
  return s;
}

std::string losslessText(double value, const std::string& formText) {
  // The window's fields are read strictly: a form with a "D" exponent or
  // stray characters would be refused by the next save.
  const FieldEntry shown = readRealEntry(formText);
  if (shown.ok() && shown.value == value && formText.find_first_not_of(' ') != std::string::npos &&
      formText.find_first_of("dD") == std::string::npos)
    return formText;
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, value);
  return std::string(buf, res.ptr);
}

}  // namespace tavrin
