// Physics of the stand-in model: eclipses, velocities, Roche radii, spots.
// The quantities, ten digits each, against golden/physics.txt (checked
// against the closed forms where they exist when it was written).

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "binary_model.h"
#include "model/settings_words.h"
#include "roche.h"
#include "test_files.h"

namespace tavrin::standin {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A detached circular system seen edge-on, with the given limb darkening.
ParameterSet edgeOn(int law, double x, double y) {
  ParameterSet p;
  p.MODE = 2, p.E = 0.0, p.XINCL = 90.0, p.RM = 0.8, p.POTH = 5.0, p.POT2 = 9.0, p.LD = static_cast<int16_t>(law);
  p.X1 = p.X2 = x, p.Y1 = p.Y2 = y, p.IPB = 1, p.L1 = 0.6, p.L2 = 0.4, p.JDPHS = 2, p.PSHIFT = 0.0;
  return p;
}

CurveSpec specOf(const ParameterSet& p) {
  CurveSpec c;
  c.wavelength = 0.55;
  c.l1 = p.L1, c.l2 = p.L2, c.x1 = p.X1, c.x2 = p.X2, c.y1 = p.Y1, c.y2 = p.Y2;
  return c;
}

// A named line of values, ten digits each, nothing below 1e-12.
struct Log {
  std::string text;
  void operator()(const std::string& name, std::initializer_list<double> values) {
    char buf[32];
    text += name;
    for (double v : values) text += (std::snprintf(buf, sizeof buf, " %.10g", std::fabs(v) < 1e-12 ? 0.0 : v), buf);
    text += "\n";
  }
};

TEST(StandinPhysics, QuantitiesMatchTheirGolden) {
  Log log;
  {  // Uniform disks: star 2 wholly behind star 1 at 0.5 loses its share; transit covers r2^2/r1^2 of star 1.
    const ParameterSet p = edgeOn(1, 0.0, 0.0);
    const BinaryModel m(p);
    const PreparedCurve c = m.prepare(specOf(p));
    const StarLights out = m.lights(c, m.stateAt(0.25, false)), occ = m.lights(c, m.stateAt(0.5, false)),
                     tr = m.lights(c, m.stateAt(0.0, false));
    log("radii", {m.r1(), m.r2()});
    log("outside occultation-l2 transit-l1", {out.total(), occ.total(), occ.l2, tr.l1});
  }
  for (double a : {0.2, 0.5, 0.9})  // light inside radius a of a unit disk: linear, square-root and log laws
    log("concentric a=" + std::to_string(a),
        {hiddenFraction(1.0, a, 0.0, 1, 0.6, 0.0), hiddenFraction(1.0, a, 0.0, 3, 0.6, 0.3), hiddenFraction(1.0, a, 0.0, 2, 0.6, 0.3)});
  double last = 0.0;
  for (double d = 1.4; d >= 0.0; d -= 0.05) {  // grows as the disks close in
    const double f = hiddenFraction(1.0, 0.5, d, 2, 0.6, 0.2);
    EXPECT_GE(f, last - 1e-12) << d;
    log("overlap d=" + std::to_string(d), {last = f});
  }
  log("apart, covering", {hiddenFraction(1.0, 0.5, 1.5, 1, 0.5, 0.0), hiddenFraction(1.0, 2.0, 0.5, 1, 0.5, 0.0)});
  {  // Semi-amplitudes, and the extremes K (+-1 + e cos w) about the systemic velocity.
    const double gm = 1.32712440018e20, m1 = 1.2, m2 = 0.8, incl = 70.0, e = 0.3, omega = 1.1, pSec = 3.0 * 86400.0;
    ParameterSet p = edgeOn(1, 0.5, 0.0);
    p.RM = m2 / m1, p.PERIOD = 3.0, p.XINCL = incl, p.E = e, p.PER = omega, p.VGA = -12.5, p.POTH = p.POT2 = 8.0;
    p.A = std::cbrt(gm * (m1 + m2) * pSec * pSec / (4.0 * kPi * kPi)) / (kSolarRadiusKm * 1000.0);
    const BinaryModel m(p);
    double lo1 = 1e9, hi1 = -1e9, lo2 = 1e9, hi2 = -1e9;
    for (int i = 0; i < 20000; ++i) {
      const Velocities v = m.velocities(m.stateAt(i / 20000.0, false));
      lo1 = std::min(lo1, v.v1), hi1 = std::max(hi1, v.v1), lo2 = std::min(lo2, v.v2), hi2 = std::max(hi2, v.v2);
    }
    log("k1 k2", {m.k1(), m.k2()});
    log("half ranges, mid 1", {(hi1 - lo1) / 2, (hi2 - lo2) / 2, (hi1 + lo1) / 2});
  }
  {  // Circular orbit: symmetric minima, a flat-bottomed total secondary; an eccentric one moves it.
    ParameterSet p = edgeOn(2, 0.6, 0.2);
    p.XINCL = 84.0, p.IPB = 0;
    const BinaryModel m(p);
    const PreparedCurve c = m.prepare(specOf(p));
    auto light = [&](double ph) { return m.lights(c, m.stateAt(ph, false)).total(); };
    for (double d : {0.0, 0.005, 0.01, 0.02, 0.03, 0.05, 0.25})
      log("circular at +-" + std::to_string(d), {light(d), light(1.0 - d), light(0.5 + d), light(0.5 - d)});
    p.E = 0.2, p.PER = 0.3, p.POTH = 6.0, p.POT2 = 9.0;
    const BinaryModel me(p);
    const PreparedCurve ce = me.prepare(specOf(p));
    double best = 0.0, bestLight = 1e9;
    for (int i = 2000; i < 8000; ++i) {
      const double l = me.lights(ce, me.stateAt(i / 10000.0, false)).total();
      if (l < bestLight) bestLight = l, best = i / 10000.0;
    }
    log("eccentric secondary minimum", {best, bestLight});
  }
  for (double q : {0.1, 0.3, 1.0, 3.0, 10.0}) {  // lobe-filling radii
    ParameterSet p = edgeOn(1, 0.5, 0.0);
    p.RM = q, p.MODE = 4, p.POT2 = 1e3;
    const BinaryModel m1(p);
    p.MODE = 5, p.POTH = 1e3;
    const BinaryModel m2(p);
    log("lobe q=" + std::to_string(q), {m1.r1(), m1.pot1() - m1.innerCritical1(), m2.r2()});
  }
  log("inner critical q=1 (3.75)", {innerCriticalPotential(1.0, 1.0, 1.0)});
  {  // Overcontact: both stars lobe-limited past their lobes; finite below the outer surface.
    ParameterSet p = edgeOn(1, 0.5, 0.0);
    p.RM = 0.5, p.MODE = 3, p.POTH = innerCriticalPotential(0.5, 1.0, 1.0) - 0.1;
    const BinaryModel m(p);
    log("overcontact pots limited radii", {m.pot1(), m.pot2(), double(m.star1LobeLimited()), double(m.star2LobeLimited()), m.r1(), m.r2()});
    p.POTH = 1.0;
    log("overcontact low potential r1", {BinaryModel(p).r1()});
  }
  {  // A cool spot facing the companion dims star 1 at phase 0 only; a factor of 1 changes nothing.
    ParameterSet p = edgeOn(1, 0.5, 0.0);
    p.XINCL = 60.0, p.spotCount[1] = 1, p.spots[1][1] = Spot{kPi / 2, 0.0, 20.0 / 57.29577951, 0.8};
    ParameterSet plain = p, neutral = p;
    plain.spotCount[1] = 0, neutral.spots[1][1].temsp = 1.0;
    for (const ParameterSet* s : {&p, &plain, &neutral}) {
      const BinaryModel m(*s);
      const PreparedCurve c = m.prepare(specOf(*s));
      log("spot l1 at 0 and 0.5", {m.lights(c, m.stateAt(0.0, false)).l1, m.lights(c, m.stateAt(0.5, false)).l1});
    }
  }
  {  // Computed L2 follows radii and temperatures: L1 r2^2/r1^2 at equal temperatures.
    ParameterSet p = edgeOn(1, 0.0, 0.0);
    p.IPB = 0, p.T2 = p.T1;
    ParameterSet cool = p;
    cool.T2 = 0.5 * p.T1;
    const BinaryModel m(p);
    log("computed l2, r1 r2, cool", {m.prepare(specOf(p)).l2, m.r1(), m.r2(), BinaryModel(cool).prepare(specOf(cool)).l2});
  }
  for (const auto& c : testing_support::tableRows(testing_support::goldenPath("standins", "physics_refusals.tsv"))) {
    const ParameterSet p = testing_support::withSettings(c[1], edgeOn(1, 0.5, 0.0));
    try {
      log.text += "refused " + c[0] + ": not refused" + std::to_string(BinaryModel(p).prepare(specOf(p)).l2) + "\n";
    } catch (const ModelError& e) {
      log.text += "refused " + c[0] + ": " + e.what() + "\n";
    }
  }
  testing_support::expectGolden("standins", "physics.txt", log.text);
}

}  // namespace
}  // namespace tavrin::standin
