#include "model/critical_potentials.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace tavrin;

namespace {

const std::string kOuterLci =
    "  This would result in the star(s) overflowing the outer envelope, which is unphysical.  Therefore, you "
    "need to raise potential Omega 1 -- consult the values on the Crit.Pot'ls page.";
const std::string kOuterDci =
    "  This would result in the star overflowing the outer envelope, which is unphysical.  Therefore, you need "
    "to raise potential Omega 1 -- consult the values on the Crit.Pot'ls page.";
const std::string kMode3 =
    "  This would give a detached system, contrary to your mode 3 (overcontact). Therefore, you need to lower "
    "potential Omega 1 - consult values on the Crit.Pot'ls page.";
const std::string kMode2 =
    "  This would result in the star overfilling the Roche lobe, contrary to your mode 2 (detached).  Therefore, "
    "you need to raise potential Omega 1 - consult the values on the Crit.Pot'ls page.";
const std::string kMode4 =
    "  This would result in the star overfilling the Roche lobe, contrary to your mode 4 (semidetached with star 1 "
    "filling its Roche lobe).  Therefore, you need to raise potential Omega 2 - consult the values on the "
    "Crit.Pot'ls page.";
const std::string kMode5 =
    "  This would result in the star overfilling the Roche lobe, contrary to your mode 5 (semidetached with star 2 "
    "filling its Roche lobe).  Therefore, you need to raise potential Omega 1 - consult the values on the "
    "Crit.Pot'ls page.";

ParameterSet withPotentials(int mode, double q, double poth, double pot2) {
  ParameterSet p;
  p.MODE = static_cast<int16_t>(mode);
  p.RM = q;
  p.POTH = poth;
  p.POT2 = pot2;
  return p;
}

}  // namespace

TEST(CriticalPotentialFits, KnownValues) {
  EXPECT_DOUBLE_EQ(criticalPotentialInner(1.0), 0.914951773337698 + 1.42181269819429 + 1.41326009706439);
  EXPECT_NEAR(criticalPotentialInner(1.0), 3.75002, 5e-6);
  EXPECT_NEAR(criticalPotentialOuter(1.0), 3.20665, 5e-6);
  EXPECT_NEAR(criticalPotentialInner(0.76115), 3.35012, 5e-6);
  EXPECT_NEAR(criticalPotentialOuter(0.76115), 2.91851, 5e-6);
  EXPECT_EQ(criticalPotentialInner(0.0), 1.48150847025388);
  EXPECT_EQ(criticalPotentialOuter(0.0), 1.48175483445228);
}

TEST(CriticalPotentialFits, BoundariesBelongToLowerSegment) {
  auto f = [](double a, double b, double c, double q) { return a * q + b * std::sqrt(q) + c; };
  EXPECT_EQ(criticalPotentialInner(0.05), f(1.61382772497517, 1.01395422460835, 1.48150847025388, 0.05));
  EXPECT_EQ(criticalPotentialOuter(0.05), f(0.968753055978353, 1.0093389304634, 1.48175483445228, 0.05));
  EXPECT_EQ(criticalPotentialInner(0.0500001),
            f(1.11835231174268, 1.23876978855182, 1.45556761043375, 0.0500001));
  EXPECT_EQ(criticalPotentialOuter(0.0500001),
            f(0.540175637097281, 1.20186866535839, 1.45974914068867, 0.0500001));
  EXPECT_EQ(criticalPotentialInner(0.16), f(1.11835231174268, 1.23876978855182, 1.45556761043375, 0.16));
  EXPECT_EQ(criticalPotentialInner(0.28), f(0.968156478385169, 1.35895881062376, 1.43138322470368, 0.28));
  EXPECT_EQ(criticalPotentialInner(0.63), f(0.928266845497837, 1.40504731677384, 1.41816389613194, 0.63));
  EXPECT_EQ(criticalPotentialOuter(0.18), f(0.540175637097281, 1.20186866535839, 1.45974914068867, 0.18));
  EXPECT_EQ(criticalPotentialOuter(0.25), f(0.678175373892653, 1.0670957658226, 1.49225667479277, 0.25));
  EXPECT_EQ(criticalPotentialOuter(0.59), f(0.562970788170044, 1.16461229361676, 1.47234445857828, 0.59));
  EXPECT_EQ(criticalPotentialOuter(0.5900001),
            f(0.675117982226176, 0.994748339975822, 1.53678243122132, 0.5900001));
}

TEST(CriticalPotentialFigures, WindowTexts) {
  ParameterSet p;  // F1 = F2 = 1, RM .76115, POTH 6.1624, POT2 9.0092
  auto f = criticalPotentialFigures(p);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->innerText, " 3.3501");
  EXPECT_EQ(f->outerText, " 2.9185");
  EXPECT_NEAR(f->f1, (3.350120 - 6.1624) / (3.350120 - 2.918510), 1e-3);
  EXPECT_EQ(f->f1Text, "-6.515");
  EXPECT_EQ(f->f2Text, "-13.11");

  p.POTH = f->inner;  // fills its lobe
  p.POT2 = f->outer;  // on the outer surface
  f = criticalPotentialFigures(p);
  ASSERT_TRUE(f.has_value());
  EXPECT_EQ(f->f1Text, "0.0000");
  EXPECT_EQ(f->f2Text, "1.0000");
}

TEST(CriticalPotentialFigures, OnlyForSynchronousRotation) {
  ParameterSet p;
  p.F1 = 1.5;
  EXPECT_FALSE(criticalPotentialFigures(p).has_value());
  p.F1 = 1.0;
  p.F2 = 1.0002;
  EXPECT_FALSE(criticalPotentialFigures(p).has_value());
  p.F2 = 1.00005;
  EXPECT_TRUE(criticalPotentialFigures(p).has_value());
  p.RM = -0.2;
  EXPECT_FALSE(criticalPotentialFigures(p).has_value());
  p.RM = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(criticalPotentialFigures(p).has_value());
}

TEST(CheckPotentials, OvercontactRefusesDetachedPotentials) {
  ParameterSet p;  // MODE 3, POTH 6.1624, RM .76115
  PotentialCheck c = checkPotentials(p, InputFileKind::LCI);
  EXPECT_FALSE(c.passed);
  EXPECT_EQ(c.message,
            "The potentials of both Stars 1 & 2 (6.1624) are greater than the inner critical potential (3.3501)." +
                kMode3);
  p.MODE = 1;
  EXPECT_EQ(checkPotentials(p, InputFileKind::DCI).message, c.message);

  p.MODE = 3;
  p.POTH = criticalPotentialInner(p.RM);  // equal passes
  EXPECT_TRUE(checkPotentials(p, InputFileKind::LCI).passed);
  p.POTH = 3.0;
  EXPECT_TRUE(checkPotentials(p, InputFileKind::LCI).passed);
}

TEST(CheckPotentials, OuterEnvelopeTextsPerFileKind) {
  ParameterSet p = withPotentials(2, 1.0, 3.1, 5.0);
  PotentialCheck lci = checkPotentials(p, InputFileKind::LCI);
  EXPECT_FALSE(lci.passed);
  EXPECT_EQ(lci.message, "The potential of Star 1 (3.1) is less than the outer critical potential (3.2066)." + kOuterLci);
  PotentialCheck dci = checkPotentials(p, InputFileKind::DCI);
  EXPECT_EQ(dci.message, "The potential of Star 1 (3.1) is less than the outer critical potential (3.2066)." + kOuterDci);

  p = withPotentials(0, 1.0, 5.0, -2.5);
  EXPECT_EQ(checkPotentials(p, InputFileKind::DCI).message,
            "The potential of Star 2 (-2.5) is less than the outer critical potential (3.2066)." + kOuterDci);

  // Equal to the outer potential passes the envelope check.
  p = withPotentials(0, 1.0, criticalPotentialOuter(1.0), criticalPotentialOuter(1.0));
  EXPECT_TRUE(checkPotentials(p, InputFileKind::LCI).passed);
}

TEST(CheckPotentials, DetachedNeedsBothInsideLobes) {
  ParameterSet p = withPotentials(2, 1.0, 3.5, 5.0);
  EXPECT_EQ(checkPotentials(p, InputFileKind::LCI).message,
            "The potential of Star 1 (3.5) is less than the inner critical potential (3.7500)." + kMode2);
  p = withPotentials(2, 1.0, 5.0, 3.61234567);
  EXPECT_EQ(checkPotentials(p, InputFileKind::LCI).message,
            "The potential of Star 2 (3.6123) is less than the inner critical potential (3.7500)." + kMode2);
  p = withPotentials(2, 1.0, 5.0, 6.0);
  EXPECT_TRUE(checkPotentials(p, InputFileKind::LCI).passed);
}

TEST(CheckPotentials, SemidetachedStar1SnapsPoth) {
  const double inner = criticalPotentialInner(1.0);
  ParameterSet p = withPotentials(4, 1.0, 3.3, 3.8);
  PotentialCheck c = checkPotentials(p, InputFileKind::LCI);
  EXPECT_TRUE(c.passed);
  EXPECT_EQ(p.POTH, inner);
  ASSERT_TRUE(c.text46.has_value());
  EXPECT_EQ(*c.text46, " 3.7500");
  EXPECT_FALSE(c.text47.has_value());

  // POT2 exactly at the inner potential still passes.
  p = withPotentials(4, 1.0, 3.3, inner);
  EXPECT_TRUE(checkPotentials(p, InputFileKind::LCI).passed);

  // Within 0.0001 nothing is snapped.
  p = withPotentials(4, 1.0, inner + 0.00005, 4.0);
  c = checkPotentials(p, InputFileKind::LCI);
  EXPECT_TRUE(c.passed);
  EXPECT_FALSE(c.text46.has_value());
  EXPECT_EQ(p.POTH, inner + 0.00005);

  // Refused on star 2, but the snap of star 1 has happened.
  p = withPotentials(4, 1.0, 3.3, 3.5);
  c = checkPotentials(p, InputFileKind::DCI);
  EXPECT_FALSE(c.passed);
  EXPECT_EQ(c.message, "The potential of Star 2 (3.5) is less than the inner critical potential (3.7500)." + kMode4);
  EXPECT_EQ(p.POTH, inner);
  EXPECT_EQ(c.text46.value_or(""), " 3.7500");
}

TEST(CheckPotentials, EnvelopeCheckComesBeforeSnapping) {
  // 3.2 lies below the outer potential 3.20665 of q = 1: refused, nothing snapped.
  ParameterSet p = withPotentials(4, 1.0, 3.2, 4.0);
  PotentialCheck c = checkPotentials(p, InputFileKind::LCI);
  EXPECT_FALSE(c.passed);
  EXPECT_EQ(c.message, "The potential of Star 1 (3.2) is less than the outer critical potential (3.2066)." + kOuterLci);
  EXPECT_EQ(p.POTH, 3.2);
  EXPECT_FALSE(c.text46.has_value());
}

TEST(CheckPotentials, SemidetachedStar2SnapsPot2) {
  const double inner = criticalPotentialInner(0.76115);
  ParameterSet p = withPotentials(5, 0.76115, 6.1624, 9.0092);
  PotentialCheck c = checkPotentials(p, InputFileKind::DCI);
  EXPECT_TRUE(c.passed);
  EXPECT_EQ(p.POT2, inner);
  EXPECT_EQ(c.text47.value_or(""), " 3.3501");
  EXPECT_FALSE(c.text46.has_value());

  p = withPotentials(5, 0.76115, 3.0, 9.0092);
  c = checkPotentials(p, InputFileKind::DCI);
  EXPECT_FALSE(c.passed);
  EXPECT_EQ(c.message, "The potential of Star 1 (3) is less than the inner critical potential (3.3501)." + kMode5);
  EXPECT_EQ(c.text47.value_or(""), " 3.3501");
}

TEST(CheckPotentials, DoubleContactSnapsBothNeverRefuses) {
  const double inner = criticalPotentialInner(1.0);
  ParameterSet p = withPotentials(6, 1.0, 3.3, 9.0);
  PotentialCheck c = checkPotentials(p, InputFileKind::LCI);
  EXPECT_TRUE(c.passed);
  EXPECT_EQ(p.POTH, inner);
  EXPECT_EQ(p.POT2, inner);
  EXPECT_EQ(c.text46.value_or(""), " 3.7500");
  EXPECT_EQ(c.text47.value_or(""), " 3.7500");
}

TEST(CheckPotentials, ModesWithoutFurtherCheck) {
  for (int mode : {-1, 0}) {
    ParameterSet p = withPotentials(mode, 1.0, 3.3, 30.0);
    PotentialCheck c = checkPotentials(p, InputFileKind::LCI);
    EXPECT_TRUE(c.passed) << mode;
    EXPECT_EQ(p.POTH, 3.3);
  }
  ParameterSet p = withPotentials(0, 1.0, 3.3, 3.0);
  EXPECT_FALSE(checkPotentials(p, InputFileKind::LCI).passed);  // the envelope check still runs
}

TEST(CheckPotentials, ChecksRunWhateverTheRotation) {
  ParameterSet p;
  p.F1 = 1.5;
  EXPECT_FALSE(checkPotentials(p, InputFileKind::LCI).passed);
}

TEST(CheckPotentials, NegativeMassRatioIsRefusedUntouched) {
  ParameterSet p = withPotentials(6, -0.5, 3.3, 9.0);
  PotentialCheck c = checkPotentials(p, InputFileKind::LCI);
  EXPECT_FALSE(c.passed);
  EXPECT_EQ(c.message,
            "The mass ratio M2/M1 (-.5) is negative, so the critical potentials cannot be computed.  Enter a mass "
            "ratio of zero or more before saving.");
  EXPECT_EQ(p.POTH, 3.3);
  EXPECT_EQ(p.POT2, 9.0);
  EXPECT_FALSE(c.text46 || c.text47);

  p.RM = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(checkPotentials(p, InputFileKind::DCI).passed);

  p.RM = 0.0;  // zero is a valid ratio
  EXPECT_TRUE(checkPotentials(p, InputFileKind::DCI).passed);
}

TEST(ShortPotentialText, SevenCharacters) {
  EXPECT_EQ(shortPotentialText(3.35012), " 3.3501");
  EXPECT_EQ(shortPotentialText(-6.16245), "-6.1624");
  EXPECT_EQ(shortPotentialText(12.3456789), " 12.345");
  EXPECT_EQ(shortPotentialText(3.0), " 3");
}
