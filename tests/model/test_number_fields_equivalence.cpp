// The fast number-field formatting against the plain reference routines: every
// text (or the error raised) must be identical for a large spread of values.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "model/number_fields.h"
#include "number_fields_reference.h"
#include "shell/errors.h"

namespace {

#ifndef TAVRIN_EQUIVALENCE_VALUES
#if defined(__SANITIZE_ADDRESS__) || !defined(__OPTIMIZE__)
#define TAVRIN_EQUIVALENCE_VALUES 80000
#else
#define TAVRIN_EQUIVALENCE_VALUES 2000000
#endif
#endif
#if defined(__has_feature)
#if __has_feature(address_sanitizer) && TAVRIN_EQUIVALENCE_VALUES > 80000
#undef TAVRIN_EQUIVALENCE_VALUES
#define TAVRIN_EQUIVALENCE_VALUES 80000
#endif
#endif

template <class F>
std::string outcome(F&& f) {
  try {
    return f();
  } catch (const tavrin::TavrinError& e) {
    return "#error " + std::to_string(e.number());
  }
}

class ValueSource {
 public:
  double next() {
    const int kind = static_cast<int>(rng_() % 9);
    const double sign = (rng_() & 1) ? -1.0 : 1.0;
    switch (kind) {
      case 0: {  // any magnitude 1e-20 .. 1e20
        std::uniform_real_distribution<double> m(1.0, 10.0);
        std::uniform_int_distribution<int> k(-20, 20);
        return sign * m(rng_) * std::pow(10.0, k(rng_));
      }
      case 1: {  // integers
        std::uniform_int_distribution<long long> v(-2000000, 2000000);
        return static_cast<double>(v(rng_));
      }
      case 2: {  // halves at some decimal: x.xx5
        std::uniform_int_distribution<long long> v(0, 9999999);
        std::uniform_int_distribution<int> d(0, 9);
        return sign * static_cast<double>(v(rng_) * 10 + 5) / std::pow(10.0, d(rng_) + 1);
      }
      case 3:
        return (rng_() & 1) ? -0.0 : 0.0;
      case 4: {  // around powers of ten
        std::uniform_int_distribution<int> k(-22, 22), steps(-3, 3);
        double x = std::pow(10.0, k(rng_));
        for (int s = steps(rng_); s != 0; s += s > 0 ? -1 : 1)
          x = std::nextafter(x, s > 0 ? std::numeric_limits<double>::infinity() : 0.0);
        return sign * x;
      }
      case 5: {  // any bit pattern: subnormals, huge values, NaN, infinities
        const uint64_t bits = rng_();
        double x;
        std::memcpy(&x, &bits, sizeof x);
        return x;
      }
      case 6: {  // observation-like values with 16-17 significant digits
        std::uniform_int_distribution<int> i(0, 8999);
        const double phase = i(rng_) / 9000.0;
        switch (rng_() % 3) {
          case 0: return 7522.0 + phase * 232.5;
          case 1: return -88.3864 + 100.0 * phase;
          default: return 1.0 - 0.3 * phase;
        }
      }
      case 7: {  // 15-17 digit decimals
        std::uniform_int_distribution<long long> v(100000000000000LL, 99999999999999999LL);
        std::uniform_int_distribution<int> d(0, 24);
        return sign * static_cast<double>(v(rng_)) / std::pow(10.0, d(rng_));
      }
      default: {  // short decimals as typed into fields
        std::uniform_int_distribution<int> v(-99999, 99999), d(0, 6);
        return static_cast<double>(v(rng_)) / std::pow(10.0, d(rng_));
      }
    }
  }
  int pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }

 private:
  std::mt19937_64 rng_{20261207};
};

void compareAll(double x, int width, int decimals, int digits) {
  namespace ref = tavrin::reference;
  ASSERT_EQ(tavrin::plainNumberText(x), ref::plainNumberText(x)) << std::hexfloat << x;
  ASSERT_EQ(tavrin::trimmedPlainText(x), ref::trimmedPlainText(x)) << std::hexfloat << x;
  ASSERT_EQ(outcome([&] { return tavrin::fixedField(x, width, decimals); }),
            outcome([&] { return ref::fixedField(x, width, decimals); }))
      << std::hexfloat << x << " width " << width << " decimals " << decimals;
  ASSERT_EQ(outcome([&] { return tavrin::expField(x, width, digits); }),
            outcome([&] { return ref::expField(x, width, digits); }))
      << std::hexfloat << x << " width " << width << " digits " << digits;
}

}  // namespace

TEST(NumberFieldEquivalence, HandPickedValues) {
  const double kMin = std::numeric_limits<double>::min();
  const double kTiny = std::numeric_limits<double>::denorm_min();
  const double kMax = std::numeric_limits<double>::max();
  const std::vector<double> values = {
      0.0, -0.0, 0.5, -0.5, 1.5, 2.5, 0.125, 0.0625, 1e-5, 9.99999999999999e-6, 1e-6, 1e15, 1e14,
      999999999999999.0, 999999999999999.5, 999999999999999.9, 99999999999999.95, 9.999999999999995,
      123456789012345.5, 123456789012344.5, 0.30000000000000004, 0.1 + 0.2, 1.0 / 3.0, 2.0 / 3.0,
      9007199254740992.0, 9007199254740994.0, kMin, -kMin, kTiny, -kTiny, kMax, -kMax, 1e-300, 1e300,
      7522.0, 7754.5, 0.005, 0.015, 0.025, 1.005, 2.675, 1.0000000000000002, 0.9999999999999999,
      32767.0, 32767.5, -32768.0, 1e22, 1e23, 4.35, 45.0, 1e-16, 1.0000000000000001e-16, 9.5e-17,
      std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
      -std::numeric_limits<double>::infinity()};
  for (double x : values)
    for (int width = 0; width <= 22; ++width)
      for (int d = -1; d <= 16; ++d) compareAll(x, width, d, d);
}

TEST(NumberFieldEquivalence, ManyPseudoRandomValues) {
  ValueSource src;
  for (int i = 0; i < TAVRIN_EQUIVALENCE_VALUES; ++i) {
    const double x = src.next();
    compareAll(x, src.pick(1, 20), src.pick(0, 12), src.pick(0, 14));
    if (::testing::Test::HasFatalFailure()) return;
  }
}

TEST(NumberFieldEquivalence, IntegerFieldsAndOddArguments) {
  namespace ref = tavrin::reference;
  ValueSource src;
  const char* pads[] = {" ", "0", "", "ab"};
  for (int i = 0; i < TAVRIN_EQUIVALENCE_VALUES / 4; ++i) {
    const int v = src.pick(-40000, 40000);
    const int width = src.pick(-2, 22);
    const char* pad = pads[src.pick(0, 3)];
    ASSERT_EQ(outcome([&] { return tavrin::intField(v, width, pad); }),
              outcome([&] { return ref::intField(v, width, pad); }))
        << v << " width " << width << " pad '" << pad << "'";
    ASSERT_EQ(tavrin::plainNumberText(v), ref::plainNumberText(v));
  }
  // Widths and decimals at and beyond the 16-bit range.
  for (double x : {0.0, 1.5, -123.456, 1e-20, 1e20})
    for (int w : {-40000, -1, 4, 32767, 32768})
      for (int d : {-40000, -1, 3, 400, 32766, 32767, 32768}) {
        ASSERT_EQ(outcome([&] { return tavrin::fixedField(x, w, d); }),
                  outcome([&] { return ref::fixedField(x, w, d); }))
            << x << " " << w << " " << d;
        ASSERT_EQ(outcome([&] { return tavrin::expField(x, w, d); }),
                  outcome([&] { return ref::expField(x, w, d); }))
            << x << " " << w << " " << d;
      }
}
