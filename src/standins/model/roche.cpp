#include "roche.h"

#include <algorithm>
#include <cmath>

#include "gauss.h"

namespace tavrin::standin {

namespace {

constexpr double kPi = 3.14159265358979323846;

double dPotential(double r, double l, double n, double q, double F, double D) {
  const double s2 = D * D - 2.0 * r * D * l + r * r;
  const double s = std::sqrt(s2);
  return -1.0 / (r * r) + q * ((D * l - r) / (s2 * s) - l / (D * D)) + F * F * (1.0 + q) * r * (1.0 - n * n);
}

// Radius along one ray where Omega falls to omega, limited to rmax.
double rayRadius(double omega, double l, double n, double q, double F, double D, double rmax, bool& limited) {
  // Start well inside the star: for a point mass 1/r = omega.
  double r0 = std::min(0.5 / std::max(omega, 1e-6), 0.5 * rmax);
  if (rochePotential(r0, l, n, q, F, D) <= omega) {
    // Extremely low potential: shrink until inside.
    while (r0 > 1e-9 && rochePotential(r0, l, n, q, F, D) <= omega) r0 *= 0.5;
  }
  const double step = 0.01 * D;
  double a = r0;
  double b = r0;
  bool bracketed = false;
  while (b < rmax) {
    b = std::min(a + step, rmax);
    if (rochePotential(b, l, n, q, F, D) <= omega) {
      bracketed = true;
      break;
    }
    if (dPotential(b, l, n, q, F, D) >= 0.0) {
      // Passed the lowest point along the ray without reaching the level:
      // find that minimum; the level lies before it or the surface is open.
      double lo = a, hi = b;
      for (int it = 0; it < 60; ++it) {
        const double mid = 0.5 * (lo + hi);
        if (dPotential(mid, l, n, q, F, D) >= 0.0) hi = mid; else lo = mid;
      }
      const double rmin = 0.5 * (lo + hi);
      if (rochePotential(rmin, l, n, q, F, D) <= omega) {
        b = rmin;
        bracketed = true;
        break;
      }
      limited = true;
      return rmin;
    }
    a = b;
  }
  if (!bracketed) {
    limited = true;
    return rmax;
  }
  for (int it = 0; it < 60; ++it) {
    const double mid = 0.5 * (a + b);
    if (rochePotential(mid, l, n, q, F, D) > omega) a = mid; else b = mid;
    if (b - a < 1e-13) break;
  }
  return 0.5 * (a + b);
}

}  // namespace

double rochePotential(double r, double l, double n, double q, double F, double D) {
  const double s = std::sqrt(D * D - 2.0 * r * D * l + r * r);
  return 1.0 / r + q * (1.0 / s - r * l / (D * D)) + 0.5 * F * F * (1.0 + q) * r * r * (1.0 - n * n);
}

double innerLagrangeDistance(double q, double F, double D) {
  // dOmega/dx along the line of centres rises monotonically from -inf to +inf.
  double lo = 1e-9 * D, hi = D * (1.0 - 1e-12);
  for (int it = 0; it < 200; ++it) {
    const double mid = 0.5 * (lo + hi);
    if (dPotential(mid, 1.0, 0.0, q, F, D) < 0.0) lo = mid; else hi = mid;
    if (hi - lo < 1e-15 * D) break;
  }
  return 0.5 * (lo + hi);
}

double innerCriticalPotential(double q, double F, double D) {
  return rochePotential(innerLagrangeDistance(q, F, D), 1.0, 0.0, q, F, D);
}

RocheRadius volumeEquivalentRadius(double omega, double q, double F, double D) {
  const auto& gl = GaussLegendre<48>::get();   // l = cos(angle from the line of centres)
  const auto& gp = GaussLegendre<16>::get();   // azimuth about the line of centres, 0..pi/2
  const double xl1 = innerLagrangeDistance(q, F, D);
  RocheRadius out;
  double volume = 0.0;
  for (int i = 0; i < 48; ++i) {
    const double l = gl.x[i];
    const double sinT = std::sqrt(std::max(0.0, 1.0 - l * l));
    double ring = 0.0;
    for (int j = 0; j < 16; ++j) {
      const double phi = 0.25 * kPi * (gp.x[j] + 1.0);
      const double n = sinT * std::sin(phi);
      double rmax = 2.0 * D;
      if (l > 0.0) rmax = std::min(rmax, xl1 / l);
      bool limited = false;
      const double r = rayRadius(omega, l, n, q, F, D, rmax, limited);
      if (limited) out.lobeLimited = true;
      ring += gp.w[j] * r * r * r;
    }
    volume += gl.w[i] * ring * 0.25 * kPi;  // d(phi) = pi/4 dx on [0, pi/2]
  }
  volume *= 4.0 / 3.0;  // four quadrants of azimuth, r^3/3
  out.radius = std::cbrt(3.0 * volume / (4.0 * kPi));
  return out;
}

double secondaryOwnPotential(double pot2, double q) { return pot2 / q + 0.5 * (q - 1.0) / q; }

double secondaryPotentialFromOwn(double own, double q) { return q * own - 0.5 * (q - 1.0); }

}  // namespace tavrin::standin
