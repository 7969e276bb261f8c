#include "binary_model.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "gauss.h"
#include "model/number_fields.h"
#include "roche.h"

namespace tavrin::standin {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kC2 = 14387.769;  // second radiation constant, micrometre kelvin

bool finite(double x) { return std::isfinite(x); }

std::string num(double x) { return trimmedPlainText(x); }

void checkFinite(const ParameterSet& p) {
  const double vals[] = {p.HJD0, p.PERIOD, p.DPDT, p.PSHIFT, p.PER, p.DPERDT, p.VUNIT, p.E, p.A,
                         p.F1, p.F2, p.VGA, p.XINCL, p.T1, p.T2, p.POTH, p.POT2, p.RM};
  for (double v : vals)
    if (!finite(v)) throw ModelError("a model parameter is not a finite number");
}

}  // namespace

double planck(double wavelengthMicron, double kelvin) {
  const double x = kC2 / (wavelengthMicron * kelvin);
  const double l5 = std::pow(wavelengthMicron, 5);
  if (x > 700.0) return std::exp(-x) / l5;  // Wien limit, avoids overflow
  return 1.0 / (l5 * std::expm1(x));
}

double limbIntensity(int law, double mu, double x, double y) {
  mu = std::clamp(mu, 0.0, 1.0);
  double i = 1.0 - x * (1.0 - mu);
  if (law == 2 && mu > 0.0) i -= y * mu * std::log(mu);
  if (law == 3) i -= y * (1.0 - std::sqrt(mu));
  return i;
}

double limbFluxFactor(int law, double x, double y) {
  double f = 1.0 - x / 3.0;
  if (law == 2) f += 2.0 * y / 9.0;
  if (law == 3) f -= y / 5.0;
  return f;
}

double hiddenFraction(double rb, double rf, double delta, int law, double x, double y) {
  if (rb <= 0.0 || rf <= 0.0) return 0.0;
  const double a = rf / rb, s = delta / rb;
  if (s >= 1.0 + a) return 0.0;
  if (s + 1.0 <= a) return 1.0;
  const auto& g = GaussLegendre<40>::get();
  // Integrate over rho = sin(t) so that mu = cos(t) stays smooth at the limb.
  auto integrate = [&](double rhoA, double rhoB, bool full) {
    rhoA = std::clamp(rhoA, 0.0, 1.0);
    rhoB = std::clamp(rhoB, 0.0, 1.0);
    if (rhoB <= rhoA) return 0.0;
    const double tA = std::asin(rhoA), tB = std::asin(rhoB);
    const double half = 0.5 * (tB - tA), mid = 0.5 * (tB + tA);
    double sum = 0.0;
    for (int k = 0; k < 40; ++k) {
      const double t = mid + half * g.x[k];
      const double rho = std::sin(t), mu = std::cos(t);
      double alpha = kPi;
      if (!full) {
        const double c = (rho * rho + s * s - a * a) / (2.0 * rho * s);
        alpha = std::acos(std::clamp(c, -1.0, 1.0));
      }
      sum += g.w[k] * limbIntensity(law, mu, x, y) * 2.0 * alpha * rho * mu;
    }
    return sum * half;
  };
  double hidden = 0.0;
  const double rho1 = std::fabs(s - a);
  if (a > s) hidden += integrate(0.0, rho1, true);
  hidden += integrate(rho1, std::min(1.0, s + a), false);
  const double frac = hidden / (kPi * limbFluxFactor(law, x, y));
  return std::clamp(frac, 0.0, 1.0);
}

double curveWavelength(double wavel, int band) {
  if (wavel > 0.0 && finite(wavel)) return wavel;
  const std::string_view t = bandWavelengthText(band);
  if (!t.empty()) {
    const double w = leadingNumber(t);
    if (w > 0.0) return w;
  }
  return 0.55;
}

BinaryModel::BinaryModel(const ParameterSet& in) : p_(in) {
  checkFinite(p_);
  ParameterSet& p = p_;
  if (!(p.RM > 0.0)) throw ModelError("the mass ratio RM must be positive (RM = " + num(p.RM) + ")");
  if (!(p.E >= 0.0 && p.E < 0.95)) throw ModelError("the eccentricity E must lie in 0..0.95 (E = " + num(p.E) + ")");
  if (!(p.F1 > 0.0) || !(p.F2 > 0.0)) throw ModelError("the rotation ratios F1 and F2 must be positive");
  if (p.MODE == 1) p.T2 = p.T1;
  if (!(p.T1 >= 500.0 && p.T1 <= 500000.0) || !(p.T2 >= 500.0 && p.T2 <= 500000.0))
    throw ModelError("the temperatures T1 and T2 must lie within 500..500000 K");
  if (p.MODE < -1 || p.MODE > 6) throw ModelError("MODE " + std::to_string(p.MODE) + " is not a model mode (-1..6)");
  const double D = 1.0 - p.E;  // potentials refer to periastron
  const double q = p.RM;
  crit1_ = innerCriticalPotential(q, p.F1, D);
  crit2_ = secondaryPotentialFromOwn(innerCriticalPotential(1.0 / q, p.F2, D), q);
  if (p.MODE == 1 || p.MODE == 3) p.POT2 = p.POTH;
  if (p.MODE == 4 || p.MODE == 6) p.POTH = crit1_;
  if (p.MODE == 5 || p.MODE == 6) p.POT2 = crit2_;
  if (!(p.POTH > 0.0)) throw ModelError("the potential of star 1 must be positive (POTH = " + num(p.POTH) + ")");
  const double own2 = secondaryOwnPotential(p.POT2, q);
  if (!(own2 > 0.0)) throw ModelError("the potential of star 2 is too low for the mass ratio (POT2 = " + num(p.POT2) + ")");
  const RocheRadius s1 = volumeEquivalentRadius(p.POTH, q, p.F1, D);
  const RocheRadius s2 = volumeEquivalentRadius(own2, 1.0 / q, p.F2, D);
  r1_ = s1.radius;
  r2_ = s2.radius;
  lim1_ = s1.lobeLimited;
  lim2_ = s2.lobeLimited;
  incl_ = p.XINCL / DEG_PER_RAD;
  const double e = p.E;
  const double vc = 0.5 * kPi - p.PER;
  const double ec = 2.0 * std::atan2(std::sqrt(1.0 - e) * std::sin(0.5 * vc), std::sqrt(1.0 + e) * std::cos(0.5 * vc));
  meanAnomalyAtConjunction_ = ec - e * std::sin(ec);
  for (int star = 1; star <= 2; ++star) {
    if (p.spotCount[star] < 0 || p.spotCount[star] > kMaxSpotsPerStar)
      throw ModelError("spot count of star " + std::to_string(star) + " outside 0..10");
    for (int n = 1; n <= p.spotCount[star]; ++n) {
      const Spot& sp = p.spots[star][n];
      if (!finite(sp.xlat) || !finite(sp.xlong) || !finite(sp.radsp) || !finite(sp.temsp) || !(sp.temsp >= 0.0) ||
          sp.temsp > 100.0)
        throw ModelError("spot " + std::to_string(n) + " of star " + std::to_string(star) +
                         " has values the model cannot use");
    }
  }
}

double BinaryModel::cyclesOfTime(double t) const {
  const ParameterSet& p = p_;
  if (!(p.PERIOD > 0.0)) throw ModelError("the period must be positive to turn times into phases");
  const double x = (t - p.HJD0) / p.PERIOD;
  if (std::fabs(p.DPDT) < 1e-300) return x;
  const double arg = 1.0 + p.DPDT * x;
  if (!(arg > 0.0)) throw ModelError("dP/dt makes the period vanish within the time range");
  return std::log(arg) / p.DPDT;
}

OrbitState BinaryModel::stateAt(double timeOrPhase, bool isTime) const {
  const ParameterSet& p = p_;
  OrbitState s;
  s.omega = p.PER;
  if (isTime) {
    const double c = cyclesOfTime(timeOrPhase);
    s.phase = c - std::floor(c);
    s.omega = p.PER + p.DPERDT * (timeOrPhase - p.HJD0);
    s.theta = c + p.PSHIFT;
  } else {
    s.phase = timeOrPhase;
    s.theta = timeOrPhase + p.PSHIFT;
  }
  const double e = p.E;
  double M = meanAnomalyAtConjunction_;
  if (isTime && p.DPERDT != 0.0) {
    const double vc = 0.5 * kPi - s.omega;
    const double ec = 2.0 * std::atan2(std::sqrt(1.0 - e) * std::sin(0.5 * vc), std::sqrt(1.0 + e) * std::cos(0.5 * vc));
    M = ec - e * std::sin(ec);
  }
  M += kTwoPi * (s.theta - std::floor(s.theta));
  s.meanAnomaly = M;
  double E = M + e * std::sin(M);
  for (int it = 0; it < 50; ++it) {
    const double dE = (E - e * std::sin(E) - M) / (1.0 - e * std::cos(E));
    E -= dE;
    if (std::fabs(dE) < 1e-14) break;
  }
  s.trueAnomaly = 2.0 * std::atan2(std::sqrt(1.0 + e) * std::sin(0.5 * E), std::sqrt(1.0 - e) * std::cos(0.5 * E));
  s.separation = 1.0 - e * std::cos(E);
  s.u = s.trueAnomaly + s.omega - 0.5 * kPi;
  return s;
}

PreparedCurve BinaryModel::prepare(const CurveSpec& c) const {
  const ParameterSet& p = p_;
  PreparedCurve out;
  out.curveDef = c;
  if (!(c.wavelength >= 0.01 && c.wavelength <= 1000.0))
    throw ModelError("the wavelength must lie within 0.01..1000 micrometres");
  const double coeffs[] = {c.l1, c.l2, c.x1, c.x2, c.y1, c.y2, c.el3};
  for (double v : coeffs)
    if (!finite(v)) throw ModelError("a light-curve coefficient is not a finite number");
  const int law = p.LD;
  if (law < 1 || law > 3) throw ModelError("limb-darkening law LD must be 1, 2 or 3 (LD = " + std::to_string(p.LD) + ")");
  out.flux1 = limbFluxFactor(law, c.x1, c.y1);
  out.flux2 = limbFluxFactor(law, c.x2, c.y2);
  if (!(out.flux1 > 0.0) || !(out.flux2 > 0.0)) throw ModelError("the limb-darkening coefficients give a dark disk");
  const double b1 = planck(c.wavelength, p.T1), b2 = planck(c.wavelength, p.T2);
  if (p.IPB == 0) {
    out.l2 = c.l1 * (r2_ * r2_ * b2 * out.flux2) / (r1_ * r1_ * b1 * out.flux1);
  } else {
    out.l2 = c.l2;
  }
  out.curveDef.l2 = out.l2;
  for (int n = 1; n <= p.spotCount[1]; ++n)
    out.spotRatio1.push_back(planck(c.wavelength, p.T1 * p.spots[1][n].temsp) / b1);
  for (int n = 1; n <= p.spotCount[2]; ++n)
    out.spotRatio2.push_back(planck(c.wavelength, p.T2 * p.spots[2][n].temsp) / b2);
  return out;
}

double BinaryModel::spotTerm(int star, const PreparedCurve& c, const OrbitState& s, const double o[3]) const {
  const ParameterSet& p = p_;
  const std::vector<double>& ratio = star == 1 ? c.spotRatio1 : c.spotRatio2;
  if (ratio.empty()) return 0.0;
  const double R = star == 1 ? r1_ : r2_;
  const double Rother = star == 1 ? r2_ : r1_;
  const double F = star == 1 ? p.F1 : p.F2;
  const int law = p.LD;
  const double x = star == 1 ? c.curveDef.x1 : c.curveDef.x2;
  const double y = star == 1 ? c.curveDef.y1 : c.curveDef.y2;
  const double flux = star == 1 ? c.flux1 : c.flux2;
  const double d = s.separation;
  const bool otherInFront = o[0] > 0.0;  // companion at (d, 0, 0) in this star's frame
  const auto& gb = GaussLegendre<8>::get();
  constexpr int kAz = 24;
  double sum = 0.0;
  for (size_t k = 0; k < ratio.size(); ++k) {
    const Spot& sp = p.spots[star][static_cast<int>(k) + 1];
    const double dr = ratio[k] - 1.0;
    if (dr == 0.0 || !(sp.radsp > 0.0)) continue;
    const double colat = sp.xlat;
    const double lon = sp.xlong + kTwoPi * (F - 1.0) * s.theta;
    // Spot centre and two tangent directions.
    const double cx = std::sin(colat) * std::cos(lon), cy = std::sin(colat) * std::sin(lon), cz = std::cos(colat);
    double ax = -std::sin(lon), ay = std::cos(lon), az = 0.0;
    const double bx = cy * az - cz * ay, by = cz * ax - cx * az, bz = cx * ay - cy * ax;
    const double rad = std::min(sp.radsp, kPi);
    // A cap wholly on the far side contributes nothing.
    if (rad < 0.5 * kPi && cx * o[0] + cy * o[1] + cz * o[2] < -std::sin(rad)) continue;
    const double half = 0.5 * rad;
    for (int i = 0; i < 8; ++i) {
      const double beta = half * (gb.x[i] + 1.0);
      const double sb = std::sin(beta), cb = std::cos(beta);
      const double wRing = gb.w[i] * half * sb * (kTwoPi / kAz);
      for (int j = 0; j < kAz; ++j) {
        const double psi = kTwoPi * (j + 0.5) / kAz;
        const double cp = std::cos(psi) * sb, spn = std::sin(psi) * sb;
        const double nx = cx * cb + ax * cp + bx * spn;
        const double ny = cy * cb + ay * cp + by * spn;
        const double nz = cz * cb + az * cp + bz * spn;
        const double mu = nx * o[0] + ny * o[1] + nz * o[2];
        if (mu <= 0.0) continue;
        if (otherInFront) {
          // Element position relative to the companion, projected on the sky.
          const double px = R * nx - d, py = R * ny, pz = R * nz;
          const double along = px * o[0] + py * o[1] + pz * o[2];
          const double qx = px - along * o[0], qy = py - along * o[1], qz = pz - along * o[2];
          if (along < 0.0 && qx * qx + qy * qy + qz * qz < Rother * Rother) continue;
        }
        sum += dr * limbIntensity(law, mu, x, y) * mu * wRing;
      }
    }
  }
  return sum / (kPi * flux);
}

StarLights BinaryModel::lights(const PreparedCurve& c, const OrbitState& s) const {
  const ParameterSet& p = p_;
  const double si = std::sin(incl_), ci = std::cos(incl_);
  const double cu = std::cos(s.u), su = std::sin(s.u);
  const double o1[3] = {si * cu, -si * su, ci};
  const double o2[3] = {-si * cu, si * su, ci};
  const double delta = s.separation * std::sqrt(std::max(0.0, 1.0 - o1[0] * o1[0]));
  double f1 = 1.0, f2 = 1.0;
  if (o1[0] > 0.0) {
    f1 -= hiddenFraction(r1_, r2_, delta, p.LD, c.curveDef.x1, c.curveDef.y1);
  } else {
    f2 -= hiddenFraction(r2_, r1_, delta, p.LD, c.curveDef.x2, c.curveDef.y2);
  }
  f1 += spotTerm(1, c, s, o1);
  f2 += spotTerm(2, c, s, o2);
  StarLights out;
  out.l1 = c.curveDef.l1 * f1;
  out.l2 = c.l2 * f2;
  return out;
}

double BinaryModel::k1() const {
  const ParameterSet& p = p_;
  if (!(p.PERIOD > 0.0)) throw ModelError("the period must be positive for velocities");
  if (!(p.A > 0.0)) throw ModelError("the semi-major axis A must be positive for velocities");
  const double q = p.RM;
  return kTwoPi * p.A * kSolarRadiusKm / (p.PERIOD * kSecondsPerDay) * q / (1.0 + q) * std::sin(incl_) /
         std::sqrt(1.0 - p.E * p.E);
}

double BinaryModel::k2() const { return k1() / p_.RM; }

Velocities BinaryModel::velocities(const OrbitState& s) const {
  const double e = p_.E;
  const double c = std::cos(s.trueAnomaly + s.omega) + e * std::cos(s.omega);
  Velocities v;
  v.v1 = k1() * c + p_.VGA;
  v.v2 = -k2() * c + p_.VGA;
  return v;
}

}  // namespace tavrin::standin
