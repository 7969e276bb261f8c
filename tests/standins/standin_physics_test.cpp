// Physics of the stand-in model: eclipses, velocities, Roche radii, spots.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "binary_model.h"
#include "roche.h"

namespace tavrin::standin {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A detached circular system seen edge-on, with the given limb darkening.
ParameterSet edgeOn(int law, double x, double y) {
  ParameterSet p;
  p.MODE = 2;
  p.E = 0.0;
  p.XINCL = 90.0;
  p.RM = 0.8;
  p.POTH = 5.0;
  p.POT2 = 9.0;
  p.LD = static_cast<int16_t>(law);
  p.X1 = p.X2 = x;
  p.Y1 = p.Y2 = y;
  p.IPB = 1;
  p.L1 = 0.6;
  p.L2 = 0.4;
  p.JDPHS = 2;
  p.PSHIFT = 0.0;
  return p;
}

CurveSpec specOf(const ParameterSet& p) {
  CurveSpec c;
  c.wavelength = 0.55;
  c.l1 = p.L1;
  c.l2 = p.L2;
  c.x1 = p.X1;
  c.x2 = p.X2;
  c.y1 = p.Y1;
  c.y2 = p.Y2;
  return c;
}

double eggleton(double q) {  // q = lobe owner's mass over the companion's
  const double q23 = std::pow(q, 2.0 / 3.0);
  return 0.49 * q23 / (0.6 * q23 + std::log(1.0 + std::cbrt(q)));
}

TEST(StandinPhysics, TotalEclipseOfUniformDisksRemovesTheCoveredStarsShare) {
  const ParameterSet p = edgeOn(1, 0.0, 0.0);
  const BinaryModel m(p);
  ASSERT_GT(m.r1(), m.r2());
  const PreparedCurve c = m.prepare(specOf(p));
  const double outside = m.lights(c, m.stateAt(0.25, false)).total();
  EXPECT_NEAR(outside, 1.0, 1e-12);
  // Star 2 is wholly behind star 1 at phase 0.5: the light lost is its share.
  const StarLights occ = m.lights(c, m.stateAt(0.5, false));
  EXPECT_NEAR((outside - occ.total()) / outside, 0.4, 1e-12);
  EXPECT_NEAR(occ.l2, 0.0, 1e-12);
  // Transit of a uniform disk: the covered area fraction of star 1.
  const StarLights tr = m.lights(c, m.stateAt(0.0, false));
  const double area = (m.r2() * m.r2()) / (m.r1() * m.r1());
  EXPECT_NEAR(tr.l1, 0.6 * (1.0 - area), 1e-9);
}

TEST(StandinPhysics, HiddenFractionOfAConcentricDiskMatchesTheClosedForm) {
  // Light inside radius a of a unit disk: 2 int_{mu_a}^1 I(mu) mu dmu over the disk total.
  for (double a : {0.2, 0.5, 0.9}) {
    const double ma = std::sqrt(1.0 - a * a);
    const double x = 0.6, y = 0.3;
    const double linear = 2.0 * ((1.0 - x) * (1.0 - ma * ma) / 2.0 + x * (1.0 - ma * ma * ma) / 3.0);
    EXPECT_NEAR(hiddenFraction(1.0, a, 0.0, 1, x, 0.0), linear / limbFluxFactor(1, x, 0.0), 1e-9) << a;
    // Square-root law adds -y int 2 (1 - sqrt(mu)) mu dmu.
    const double sq = linear - y * 2.0 * ((1.0 - ma * ma) / 2.0 - 2.0 * (1.0 - std::pow(ma, 2.5)) / 5.0);
    EXPECT_NEAR(hiddenFraction(1.0, a, 0.0, 3, x, y), sq / limbFluxFactor(3, x, y), 1e-9) << a;
    // Logarithmic law adds -y int 2 mu^2 ln(mu) dmu.
    const double lg = linear - y * 2.0 * (-1.0 / 9.0 - (ma * ma * ma * std::log(ma) / 3.0 - ma * ma * ma / 9.0));
    EXPECT_NEAR(hiddenFraction(1.0, a, 0.0, 2, x, y), lg / limbFluxFactor(2, x, y), 1e-9) << a;
  }
  // Partial overlaps lie between no cover and full cover and grow as the disks close in.
  double last = 0.0;
  for (double d = 1.4; d >= 0.0; d -= 0.05) {
    const double f = hiddenFraction(1.0, 0.5, d, 2, 0.6, 0.2);
    EXPECT_GE(f, last - 1e-12) << d;
    last = f;
  }
  EXPECT_EQ(hiddenFraction(1.0, 0.5, 1.5, 1, 0.5, 0.0), 0.0);
  EXPECT_EQ(hiddenFraction(1.0, 2.0, 0.5, 1, 0.5, 0.0), 1.0);
}

TEST(StandinPhysics, VelocitySemiAmplitudesMatchKeplersLaw) {
  const double gm = 1.32712440018e20;  // m^3 s^-2
  const double m1 = 1.2, m2 = 0.8, periodDays = 3.0, incl = 70.0, e = 0.3, omega = 1.1;
  const double pSec = periodDays * 86400.0;
  const double aMetres = std::cbrt(gm * (m1 + m2) * pSec * pSec / (4.0 * kPi * kPi));
  ParameterSet p = edgeOn(1, 0.5, 0.0);
  p.RM = m2 / m1;
  p.PERIOD = periodDays;
  p.A = aMetres / (kSolarRadiusKm * 1000.0);
  p.XINCL = incl;
  p.E = e;
  p.PER = omega;
  p.VGA = -12.5;
  p.POTH = 8.0;
  p.POT2 = 8.0;
  const BinaryModel m(p);
  // K = (2 pi G / P)^(1/3) M_other sin i / ((M1 + M2)^(2/3) sqrt(1 - e^2))
  const double factor = std::cbrt(2.0 * kPi * gm / pSec) * std::sin(incl / 57.29577951308232) /
                        (std::pow(m1 + m2, 2.0 / 3.0) * std::sqrt(1.0 - e * e)) / 1000.0;
  EXPECT_NEAR(m.k1(), factor * m2, 1e-6 * factor);
  EXPECT_NEAR(m.k2(), factor * m1, 1e-6 * factor);
  double lo1 = 1e9, hi1 = -1e9, lo2 = 1e9, hi2 = -1e9;
  for (int i = 0; i < 200000; ++i) {
    const Velocities v = m.velocities(m.stateAt(i / 200000.0, false));
    lo1 = std::min(lo1, v.v1), hi1 = std::max(hi1, v.v1);
    lo2 = std::min(lo2, v.v2), hi2 = std::max(hi2, v.v2);
  }
  EXPECT_NEAR((hi1 - lo1) / 2.0, factor * m2, 1e-4 * factor);
  EXPECT_NEAR((hi2 - lo2) / 2.0, factor * m1, 1e-4 * factor);
  // The extremes are K (1 + e cos w) and K (-1 + e cos w) about the systemic velocity.
  EXPECT_NEAR((hi1 + lo1) / 2.0, -12.5 + factor * m2 * e * std::cos(omega), 1e-3);
}

TEST(StandinPhysics, CircularOrbitGivesSymmetricMinima) {
  ParameterSet p = edgeOn(2, 0.6, 0.2);
  p.XINCL = 84.0;
  p.IPB = 0;
  const BinaryModel m(p);
  const PreparedCurve c = m.prepare(specOf(p));
  auto light = [&](double ph) { return m.lights(c, m.stateAt(ph, false)).total(); };
  for (double d : {0.005, 0.01, 0.02, 0.03, 0.05}) {
    EXPECT_NEAR(light(0.0 + d), light(1.0 - d), 1e-12) << d;
    EXPECT_NEAR(light(0.5 + d), light(0.5 - d), 1e-12) << d;
    EXPECT_LT(light(0.0), light(d));
    EXPECT_LE(light(0.5), light(0.5 + d));  // the secondary eclipse is total: flat bottom
  }
  EXPECT_LT(light(0.5), light(0.55));
  EXPECT_LT(light(0.0), light(0.25));
  // An eccentric orbit moves the secondary minimum away from phase 0.5.
  p.E = 0.2;
  p.PER = 0.3;
  p.POTH = 6.0;
  p.POT2 = 9.0;
  const BinaryModel me(p);
  const PreparedCurve ce = me.prepare(specOf(p));
  double best = 0.0, bestLight = 1e9;
  for (int i = 2000; i < 8000; ++i) {
    const double l = me.lights(ce, me.stateAt(i / 10000.0, false)).total();
    if (l < bestLight) bestLight = l, best = i / 10000.0;
  }
  EXPECT_GT(std::fabs(best - 0.5), 0.05);
}

TEST(StandinPhysics, LobeFillingRadiusMatchesTheVolumeEquivalentRocheLobe) {
  for (double q : {0.1, 0.3, 1.0, 3.0, 10.0}) {
    ParameterSet p = edgeOn(1, 0.5, 0.0);
    p.RM = q;
    p.MODE = 4;  // star 1 fills its lobe
    p.POT2 = 1e3;
    const BinaryModel m1(p);
    EXPECT_NEAR(m1.r1() / eggleton(1.0 / q), 1.0, 0.01) << q;
    EXPECT_NEAR(m1.pot1(), m1.innerCritical1(), 1e-12);
    p.MODE = 5;  // star 2 fills its lobe
    p.POTH = 1e3;
    const BinaryModel m2(p);
    EXPECT_NEAR(m2.r2() / eggleton(q), 1.0, 0.01) << q;
  }
  // The numerical inner critical potential agrees with the synchronous circular value for q = 1.
  EXPECT_NEAR(innerCriticalPotential(1.0, 1.0, 1.0), 3.75, 1e-9);
}

TEST(StandinPhysics, OvercontactStarsOutgrowTheirLobesUpToTheNeck) {
  ParameterSet p = edgeOn(1, 0.5, 0.0);
  p.RM = 0.5;
  p.MODE = 3;
  const double inner = innerCriticalPotential(0.5, 1.0, 1.0);
  p.POTH = inner - 0.1;
  const BinaryModel m(p);
  EXPECT_EQ(m.pot2(), m.pot1());
  EXPECT_TRUE(m.star1LobeLimited());
  EXPECT_TRUE(m.star2LobeLimited());
  EXPECT_GT(m.r1(), eggleton(2.0));
  EXPECT_GT(m.r2(), eggleton(0.5));
  EXPECT_LT(m.r1() + m.r2(), 1.2);
  // Potentials below the outer surface still give finite stars.
  p.POTH = 1.0;
  const BinaryModel low(p);
  EXPECT_TRUE(std::isfinite(low.r1()));
  EXPECT_LT(low.r1(), 2.0);
}

TEST(StandinPhysics, ACoolSpotDimsTheStarOnlyWhileItFacesUs) {
  ParameterSet p = edgeOn(1, 0.5, 0.0);
  p.XINCL = 60.0;  // no eclipses
  p.spotCount[1] = 1;
  p.spots[1][1] = Spot{kPi / 2, 0.0, 20.0 / 57.29577951, 0.8};  // on the equator, facing the companion
  const BinaryModel m(p);
  ParameterSet plain = p;
  plain.spotCount[1] = 0;
  const BinaryModel m0(plain);
  const PreparedCurve c = m.prepare(specOf(p));
  const PreparedCurve c0 = m0.prepare(specOf(plain));
  // Star 1's face toward star 2 is seen at phase 0 (star 2 in front) and hidden at phase 0.5.
  const double seen = m.lights(c, m.stateAt(0.0, false)).l1;
  const double hidden = m.lights(c, m.stateAt(0.5, false)).l1;
  EXPECT_LT(seen, m0.lights(c0, m0.stateAt(0.0, false)).l1 - 1e-3);
  EXPECT_NEAR(hidden, m0.lights(c0, m0.stateAt(0.5, false)).l1, 1e-12);
  // A spot of temperature factor 1 changes nothing.
  p.spots[1][1].temsp = 1.0;
  const BinaryModel same(p);
  EXPECT_NEAR(same.lights(same.prepare(specOf(p)), same.stateAt(0.0, false)).l1,
              m0.lights(c0, m0.stateAt(0.0, false)).l1, 1e-12);
}

TEST(StandinPhysics, ComputedSecondLuminosityFollowsRadiiAndTemperatures) {
  ParameterSet p = edgeOn(1, 0.0, 0.0);
  p.IPB = 0;
  p.T2 = p.T1;
  const BinaryModel m(p);
  const PreparedCurve c = m.prepare(specOf(p));
  EXPECT_NEAR(c.l2, p.L1 * m.r2() * m.r2() / (m.r1() * m.r1()), 1e-12);
  p.T2 = 0.5 * p.T1;
  const BinaryModel cool(p);
  EXPECT_LT(cool.prepare(specOf(p)).l2, c.l2 * 0.2);
}

TEST(StandinPhysics, ModelRefusesValuesItCannotUse) {
  auto refused = [](auto change) {
    ParameterSet p = edgeOn(1, 0.5, 0.0);
    change(p);
    try {
      BinaryModel m(p);
      m.prepare(specOf(p));
    } catch (const ModelError& e) {
      return std::string(e.what()).size() > 5;
    }
    return false;
  };
  EXPECT_TRUE(refused([](ParameterSet& p) { p.RM = -1.0; }));
  EXPECT_TRUE(refused([](ParameterSet& p) { p.RM = 0.0; }));
  EXPECT_TRUE(refused([](ParameterSet& p) { p.E = 1.2; }));
  EXPECT_TRUE(refused([](ParameterSet& p) { p.T1 = 0.0; }));
  EXPECT_TRUE(refused([](ParameterSet& p) { p.POTH = -3.0; }));
  EXPECT_TRUE(refused([](ParameterSet& p) { p.LD = 0; }));
  EXPECT_TRUE(refused([](ParameterSet& p) { p.MODE = 9; }));
  EXPECT_TRUE(refused([](ParameterSet& p) { p.XINCL = std::nan(""); }));
  EXPECT_TRUE(refused([](ParameterSet& p) { p.spotCount[2] = 11; }));
}

}  // namespace
}  // namespace tavrin::standin
