#include "model/number_fields.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <locale>
#include <string>

#include "shell/errors.h"

using namespace tavrin;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

void expectOverflow(auto&& fn) {
  try {
    fn();
    ADD_FAILURE() << "no overflow raised";
  } catch (const TavrinError& e) {
    EXPECT_EQ(e.number(), 6);
    EXPECT_STREQ(e.what(), "Error 6: Overflow.");
  }
}

}  // namespace

TEST(PlainNumberText, SignPlaceAndNoLeadingZero) {
  EXPECT_EQ(plainNumberText(0.5), " .5");
  EXPECT_EQ(plainNumberText(-0.535), "-.535");
  EXPECT_EQ(plainNumberText(0.0), " 0");
  EXPECT_EQ(plainNumberText(-0.0), " 0");
  EXPECT_EQ(plainNumberText(5300.0), " 5300");
  EXPECT_EQ(plainNumberText(138472375.0), " 138472375");
  EXPECT_EQ(plainNumberText(-123.456), "-123.456");
  EXPECT_EQ(plainNumberText(0.1 + 0.2), " .3");
}

TEST(PlainNumberText, FifteenSignificantDigits) {
  EXPECT_EQ(plainNumberText(1.23456789012345678), " 1.23456789012346");
  EXPECT_EQ(plainNumberText(0.000123456789012345678), " .000123456789012346");
  EXPECT_EQ(plainNumberText(999999999999999.0), " 999999999999999");
  // Rounding to 15 digits carries into the 16th place and so into scientific form.
  EXPECT_EQ(plainNumberText(999999999999999.9), " 1E+15");
}

TEST(PlainNumberText, ScientificOutsidePositionalRange) {
  EXPECT_EQ(plainNumberText(7.8963E-13), " 7.8963E-13");
  EXPECT_EQ(plainNumberText(1.5E+15), " 1.5E+15");
  EXPECT_EQ(plainNumberText(1e15), " 1E+15");
  EXPECT_EQ(plainNumberText(-2.5e20), "-2.5E+20");
  EXPECT_EQ(plainNumberText(1e100), " 1E+100");
  EXPECT_EQ(plainNumberText(9.99999999999999e-6), " 9.99999999999999E-06");
  EXPECT_EQ(plainNumberText(5e-324), " 4.94065645841247E-324");
  // From 1E-5 up the text stays positional so fixed fields get a usable point.
  EXPECT_EQ(plainNumberText(1e-5), " .00001");
  EXPECT_EQ(plainNumberText(5e-5), " .00005");
  EXPECT_EQ(plainNumberText(0.001), " .001");
}

TEST(PlainNumberText, IntegersAndNonFinite) {
  EXPECT_EQ(plainNumberText(0), " 0");
  EXPECT_EQ(plainNumberText(15), " 15");
  EXPECT_EQ(plainNumberText(-32768), "-32768");
  EXPECT_EQ(plainNumberText(kNaN), " NaN");
  EXPECT_EQ(plainNumberText(kInf), " Inf");
  EXPECT_EQ(plainNumberText(-kInf), "-Inf");
  EXPECT_EQ(trimmedPlainText(0.5), ".5");
  EXPECT_EQ(trimmedPlainText(-0.5), "-.5");
}

TEST(IntField, Examples) {
  EXPECT_EQ(intField(3, 2, "0"), "03");
  EXPECT_EQ(intField(-1, 2, " "), "-1");
  EXPECT_EQ(intField(30, 3, " "), " 30");
  EXPECT_EQ(intField(1, 1, ""), "1");
  EXPECT_EQ(intField(15, 1, " "), "15");
  EXPECT_EQ(intField(5, 4, ""), "5");
  EXPECT_EQ(intField(7, -3, "0"), "7");
  EXPECT_EQ(intField(-5, 4, "0"), "00-5");
  EXPECT_EQ(intField(32767, 8, " "), "   32767");
  EXPECT_EQ(intField(-32768, 6, " "), "-32768");
}

TEST(IntField, SixteenBitLimits) {
  expectOverflow([] { intField(40000, 6, " "); });
  expectOverflow([] { intField(5, 40000, " "); });
  // width - length leaves 16 bits.
  expectOverflow([] { intField(5, -32768, " "); });
}

TEST(FixedField, ListedCases) {
  EXPECT_EQ(fixedField(7522.664328, 15, 6), "    7522.664328");
  EXPECT_EQ(fixedField(5300.0 / 10000, 7, 4), "  .5300");
  EXPECT_EQ(fixedField(0, 8, 4), "  0.0000");
  EXPECT_EQ(fixedField(0.0, 6, 2), "  0.00");
  EXPECT_EQ(fixedField(138472375, 10, 0), " 138472375");
  EXPECT_EQ(fixedField(-36.02, 10, 4), "  -36.0200");
  EXPECT_EQ(fixedField(123456.789, 7, 3), "  .1D+06");
  EXPECT_EQ(fixedField(12.3456, 6, 3), " 12.34");
  EXPECT_EQ(fixedField(5300, 8, 1), "  5300.0");
  EXPECT_EQ(fixedField(0.535, 6, 4), " .5350");
}

TEST(FixedField, RoundingPathKeepsPlainText) {
  EXPECT_EQ(fixedField(1.2999999, 6, 4), "   1.3");
  EXPECT_EQ(fixedField(0.535, 5, 3), " .535");
  EXPECT_EQ(fixedField(5300, 6, 0), "  5300");
  EXPECT_EQ(fixedField(0.00001, 6, 3), "     0");
  // Halves round up, toward plus infinity.
  EXPECT_EQ(fixedField(-1.25, 6, 1), "  -1.2");
  EXPECT_EQ(fixedField(1.25, 6, 1), "   1.3");
  EXPECT_EQ(fixedField(-0.125, 8, 2), "    -.12");
  // Carry to the next integer.
  EXPECT_EQ(fixedField(0.99996, 6, 4), "     1");
  EXPECT_EQ(fixedField(-0.99996, 6, 4), "    -1");
  EXPECT_EQ(fixedField(9.99996, 8, 4), "      10");
}

TEST(FixedField, NarrowWidthsAndNegativeDecimals) {
  EXPECT_EQ(fixedField(1.5, 2, 1), fixedField(1.5, 4, 1));
  EXPECT_EQ(fixedField(1.5, 2, 1), " 1.5");
  EXPECT_EQ(fixedField(7, -10, 0), "   7");
  EXPECT_EQ(fixedField(2.5, 6, -1), "     3");
  EXPECT_EQ(fixedField(-0.0, 6, 2), "  0.00");
}

TEST(FixedField, SmallAndLargeMagnitudes) {
  EXPECT_EQ(fixedField(5e-5, 10, 4), "     .0001");
  EXPECT_EQ(fixedField(4e-5, 10, 4), "         0");
  EXPECT_EQ(fixedField(1e-5, 10, 6), "   .000010");
  // A scientific text has no usable point; the field says what the text says.
  EXPECT_EQ(fixedField(1e20, 8, 2), "1E+20.00");
}

TEST(FixedField, NonFiniteAndOverflow) {
  EXPECT_EQ(fixedField(kNaN, 8, 2), "     NaN");
  EXPECT_EQ(fixedField(kInf, 8, 2), "     Inf");
  EXPECT_EQ(fixedField(-kInf, 8, 2), "    -Inf");
  expectOverflow([] { fixedField(1.0, 40000, 2); });
  expectOverflow([] { fixedField(1.0, 8, -40000); });
}

TEST(ExpField, Examples) {
  EXPECT_EQ(expField(232.5, 15, 10), " .232500000D+03");
  EXPECT_EQ(expField(0.334425E-9, 13, 6), "  .334425D-09");
  EXPECT_EQ(expField(0.01, 8, 2), " .10D-01");
  EXPECT_EQ(expField(0, 10, 4), " .0000D+00");
  EXPECT_EQ(expField(-6.1624, 13, 6), " -.616240D+01");
  EXPECT_EQ(expField(1000, 13, 6), " 1.000000D+03");
  EXPECT_EQ(expField(0.78963E-12, 13, 6), "  .789630D-12");
}

TEST(ExpField, LogarithmQuotientAndCarry) {
  // ln 10 / ln 10 and ln 100 / ln 10 are exact; ln 1000 / ln 10 is not.
  EXPECT_EQ(expField(10, 10, 4), " .1000D+02");
  EXPECT_EQ(expField(100, 10, 4), " .1000D+03");
  EXPECT_EQ(expField(0.1, 10, 4), " .1000D+00");
  EXPECT_EQ(expField(1e-5, 10, 4), " .1000D-04");
  EXPECT_EQ(expField(0.99996, 10, 4), "     1D+00");
  EXPECT_EQ(expField(-0.99996, 11, 4), "     -1D+00");
}

TEST(ExpField, TinyHugeAndNarrow) {
  EXPECT_EQ(expField(1e-16, 10, 4), " .0000D+00");
  EXPECT_EQ(expField(-1e-17, 10, 4), " .0000D+00");
  EXPECT_EQ(expField(1e-300, 13, 6), "  .000000D+00");
  EXPECT_EQ(expField(1.1e-16, 10, 4), " .1100D-15");
  EXPECT_EQ(expField(1.7e308, 13, 6), " .170000D+309");
  // ln(1E300)/ln 10 falls just below 300: mantissa -1, its field cut to 8 columns.
  EXPECT_EQ(expField(-1e300, 13, 6), "-1.00000D+300");
  // Too narrow for any digit: one digit is still written, nothing is cut.
  EXPECT_EQ(expField(5, 4, 6), "  .5D+01");
  EXPECT_EQ(expField(0, 4, 6), ".0D+00");
  EXPECT_EQ(fixedField(123.456, 4, 2), "  .1D+03");
}

TEST(ExpField, NonFiniteAndOverflow) {
  EXPECT_EQ(expField(kNaN, 10, 4), "       NaN");
  EXPECT_EQ(expField(-kInf, 10, 4), "      -Inf");
  expectOverflow([] { expField(1.0, -32768, 4); });
  expectOverflow([] { expField(1.0, 40000, 4); });
}

TEST(ExponentDToE, FirstOnly) {
  EXPECT_EQ(exponentDToE(".232500000D+03"), ".232500000e+03");
  EXPECT_EQ(exponentDToE("  .334425d-09"), "  .334425e-09");
  EXPECT_EQ(exponentDToE("1D5D6"), "1e5D6");
  EXPECT_EQ(exponentDToE("1.5E+03"), "1.5E+03");
  EXPECT_EQ(exponentDToE(""), "");
}

TEST(AlignFirstToken, Examples) {
  EXPECT_EQ(alignFirstToken("1 2.5", 3), "  1 2.5");
  EXPECT_EQ(alignFirstToken("123 4", 3), "123 4");
  EXPECT_EQ(alignFirstToken("12 4", 3), " 12 4");
  EXPECT_EQ(alignFirstToken(" 5", 3), "    5");
  EXPECT_EQ(alignFirstToken("", 2), "");
}

TEST(AlignFirstToken, NoBlankInFirstFiftyColumns) {
  EXPECT_EQ(alignFirstToken("abc", 3), "abc");
  EXPECT_EQ(alignFirstToken("abc", 52), "  abc");
  const std::string longLine(60, 'x');
  EXPECT_EQ(alignFirstToken(longLine, 51), " " + longLine);
  // A blank in column 51 is beyond the search.
  const std::string blank51 = std::string(50, 'x') + " y";
  EXPECT_EQ(alignFirstToken(blank51, 50), blank51);
  EXPECT_EQ(alignFirstToken("1 2", -32768), "1 2");
  expectOverflow([] { alignFirstToken("1 2", 40000); });
}

TEST(LeadingNumber, LongestNumericPrefix) {
  EXPECT_EQ(leadingNumber("12abc"), 12.0);
  EXPECT_EQ(leadingNumber("  \t7"), 7.0);
  EXPECT_EQ(leadingNumber("-.5"), -0.5);
  EXPECT_EQ(leadingNumber("+3"), 3.0);
  EXPECT_EQ(leadingNumber("5."), 5.0);
  EXPECT_EQ(leadingNumber(".5e1"), 5.0);
  EXPECT_EQ(leadingNumber("1e5"), 100000.0);
  EXPECT_EQ(leadingNumber("1.5E-3"), 0.0015);
  EXPECT_EQ(leadingNumber("1.2.3"), 1.2);
  EXPECT_EQ(leadingNumber("1e"), 1.0);
  EXPECT_EQ(leadingNumber("1e+"), 1.0);
  EXPECT_EQ(leadingNumber("6.1624 "), 6.1624);
  // "D" exponents are the readers' business (exponentDToE), not this parse's.
  EXPECT_EQ(leadingNumber("  1.5D+03"), 1.5);
  // Comma is no decimal separator.
  EXPECT_EQ(leadingNumber("1,5"), 1.0);
}

TEST(LeadingNumber, NoNumberGivesZero) {
  EXPECT_EQ(leadingNumber(""), 0.0);
  EXPECT_EQ(leadingNumber("   "), 0.0);
  EXPECT_EQ(leadingNumber("abc"), 0.0);
  EXPECT_EQ(leadingNumber("."), 0.0);
  EXPECT_EQ(leadingNumber("-"), 0.0);
  EXPECT_EQ(leadingNumber("e5"), 0.0);
  EXPECT_EQ(leadingNumber("inf"), 0.0);
  EXPECT_EQ(leadingNumber("nan"), 0.0);
  EXPECT_EQ(leadingNumber("0x10"), 0.0);
}

TEST(LeadingNumber, OutOfRange) {
  EXPECT_EQ(leadingNumber("1e-400"), 0.0);
  EXPECT_EQ(leadingNumber("0.00000e999"), 0.0);
  expectOverflow([] { leadingNumber("1e400"); });
  expectOverflow([] { leadingNumber("-0.001e312"); });
  expectOverflow([] { leadingNumber("1e99999999999999999999"); });
  EXPECT_EQ(leadingNumber("1e-99999999999999999999"), 0.0);
  EXPECT_EQ(leadingNumber("1234567890123456789012345678901234567890"), 1.2345678901234568e39);
}

TEST(RoundToInt16, HalvesToEven) {
  EXPECT_EQ(roundToInt16(2.5), 2);
  EXPECT_EQ(roundToInt16(3.5), 4);
  EXPECT_EQ(roundToInt16(-2.5), -2);
  EXPECT_EQ(roundToInt16(-3.5), -4);
  EXPECT_EQ(roundToInt16(0.5), 0);
  EXPECT_EQ(roundToInt16(-0.5), 0);
  EXPECT_EQ(roundToInt16(1.4999), 1);
  EXPECT_EQ(roundToInt16(1.5000001), 2);
  EXPECT_EQ(roundToInt16(32767.4), 32767);
  EXPECT_EQ(roundToInt16(-32768.5), -32768);
}

TEST(RoundToInt16, OutsideSixteenBits) {
  expectOverflow([] { roundToInt16(32767.5); });
  expectOverflow([] { roundToInt16(-32769.0); });
  expectOverflow([] { roundToInt16(1e10); });
  expectOverflow([] { roundToInt16(kNaN); });
  expectOverflow([] { roundToInt16(kInf); });
}

TEST(LeadingInt16, ParseThenRound) {
  EXPECT_EQ(leadingInt16("  12.5xyz"), 12);
  EXPECT_EQ(leadingInt16("13.5"), 14);
  EXPECT_EQ(leadingInt16("-1"), -1);
  EXPECT_EQ(leadingInt16("x"), 0);
  expectOverflow([] { leadingInt16("40000"); });
}

TEST(LeftOfPlain, FirstCharacters) {
  EXPECT_EQ(leftOfPlain(3.750020523, 7), " 3.7500");
  EXPECT_EQ(leftOfPlain(-6.1624, 7), "-6.1624");
  EXPECT_EQ(leftOfPlain(0.5, 7), " .5");
  EXPECT_EQ(leftOfPlain(0.5, 0), "");
  EXPECT_EQ(leftOfPlain(0.5, -3), "");
}

// Numbers in files are locale independent: a German locale must change nothing.
class GermanLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    savedC_ = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8")) {
      std::setlocale(LC_ALL, savedC_.c_str());
      GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    }
    try {
      savedCpp_ = std::locale::global(std::locale("de_DE.UTF-8"));
    } catch (const std::runtime_error&) {
      std::setlocale(LC_ALL, savedC_.c_str());
      GTEST_SKIP() << "de_DE.UTF-8 locale not usable by the C++ library";
    }
    active_ = true;
  }
  void TearDown() override {
    if (active_) {
      std::locale::global(savedCpp_);
      std::setlocale(LC_ALL, savedC_.c_str());
    }
  }

 private:
  std::string savedC_;
  std::locale savedCpp_;
  bool active_ = false;
};

TEST_F(GermanLocale, FieldsKeepThePoint) {
  ASSERT_STREQ(std::localeconv()->decimal_point, ",");
  EXPECT_EQ(plainNumberText(-0.535), "-.535");
  EXPECT_EQ(plainNumberText(1234567.25), " 1234567.25");
  EXPECT_EQ(plainNumberText(7.8963E-13), " 7.8963E-13");
  EXPECT_EQ(fixedField(-36.02, 10, 4), "  -36.0200");
  EXPECT_EQ(fixedField(7522.664328, 15, 6), "    7522.664328");
  EXPECT_EQ(expField(232.5, 15, 10), " .232500000D+03");
  EXPECT_EQ(intField(30, 3, " "), " 30");
}

TEST_F(GermanLocale, ParseKeepsThePoint) {
  EXPECT_EQ(leadingNumber("1.5"), 1.5);
  EXPECT_EQ(leadingNumber("1,5"), 1.0);
  EXPECT_EQ(leadingInt16("2.5"), 2);
}
