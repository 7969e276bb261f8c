// LC: synthesises one light curve (MPAGE 1) or the two radial-velocity curves
// (MPAGE 2) and writes them as a fixed-column report.

#include <cmath>
#include <cstdint>
#include <string>

#include "binary_model.h"
#include "fortran_format.h"
#include "noise.h"
#include "standin.h"

namespace tavrin::standin {

namespace {

constexpr int kMaxRows = 9000;

void line(std::string& out, const std::string& s) {
  out += s;
  out += "\r\n";
}

// The table's time column: always 19 characters (13 digits) and no leading
// blank, so every row keeps the same columns once leading blanks are dropped.
std::string jdText(double jd) {
  std::string s = fmtD(jd, 19, 13);
  while (!s.empty() && s[0] == ' ') s.erase(0, 1);
  return padRight(s, 19);
}

int rowCount(double start, double stop, double step, const char* what) {
  if (!std::isfinite(start) || !std::isfinite(stop) || !std::isfinite(step))
    throw ModelError(std::string("the ") + what + " range is not made of finite numbers");
  if (!(step > 0.0)) throw ModelError(std::string("the ") + what + " increment must be positive");
  if (stop < start) throw ModelError(std::string("the ") + what + " range ends before it starts");
  const double n = std::floor((stop - start) / step + 1e-7) + 1.0;
  if (n > kMaxRows) throw ModelError(std::string("the ") + what + " range asks for more than 9000 points");
  return static_cast<int>(n);
}

}  // namespace

std::string lcReport(const ParameterSet& in) {
  if (in.MPAGE != 1 && in.MPAGE != 2)
    throw ModelError("MPAGE " + std::to_string(in.MPAGE) + " is not computed by this model (1 light curve or 2 velocities)");
  if (in.JDPHS != 1 && in.JDPHS != 2) throw ModelError("JDPHS must be 1 (times) or 2 (phases)");
  if (in.MPAGE == 2 && !(in.VUNIT > 0.0)) throw ModelError("VUNIT must be positive");
  if (in.NOISE == 1 && !(in.FRACSD >= 0.0)) throw ModelError("FRACSD must not be negative");
  const BinaryModel m(in);
  const ParameterSet& p = m.params();
  CurveSpec curveDef;
  curveDef.wavelength = curveWavelength(p.WAVEL, p.BAND);
  curveDef.l1 = p.L1;
  curveDef.l2 = p.L2;
  curveDef.x1 = p.X1;
  curveDef.x2 = p.X2;
  curveDef.y1 = p.Y1;
  curveDef.y2 = p.Y2;
  curveDef.el3 = p.EL3;
  const PreparedCurve curve = m.prepare(curveDef);
  const bool isTime = p.JDPHS == 1;
  const int n = isTime ? rowCount(p.JDSTART, p.JDSTOP, p.JDINCR, "time") : rowCount(p.PHSTRT, p.PHSTOP, p.PHIN, "phase");

  std::string out;
  line(out, reportBanner());
  line(out, " Synthex - light and radial-velocity curve synthesis");
  line(out, "");
  line(out, "  mpage  nref  mref ifsmv1 ifsmv2 icor1 icor2   ld");
  line(out, fmtI(p.MPAGE, 7) + fmtI(p.NREF, 6) + fmtI(p.MREF, 6) + fmtI(p.IFSMV1, 7) + fmtI(p.IFSMV2, 7) +
                fmtI(p.ICOR1, 6) + fmtI(p.ICOR2, 6) + fmtI(p.LD, 5));
  line(out, "");
  line(out, " JDPHS      HJD0            PERIOD          DPDT        PSHIFT     FRACSD  NOISE      SEED");
  line(out, fmtI(p.JDPHS, 6) + fmtF(p.HJD0, 15, 6) + fmtD(p.PERIOD, 17, 10) + fmtD(p.DPDT, 14, 6) +
                fmtF(p.PSHIFT, 10, 4) + fmtD(p.FRACSD, 11, 4) + fmtI(p.NOISE, 7) + fmtF(p.SEED, 12, 0));
  line(out, "");
  line(out, "       JDSTART          JDSTOP       JDINCR      PHSTRT      PHSTOP        PHIN         PHN");
  line(out, fmtF(p.JDSTART, 16, 6) + fmtF(p.JDSTOP, 16, 6) + fmtF(p.JDINCR, 13, 6) + fmtF(p.PHSTRT, 12, 6) +
                fmtF(p.PHSTOP, 12, 6) + fmtF(p.PHIN, 12, 6) + fmtF(p.PHN, 12, 6));
  line(out, "");
  line(out, "  MODE   IPB  IFAT1 IFAT2   N1   N2        PERR0      DPERDT      THE    VUNIT");
  {
    // The mode is the first character of this line once its blanks are dropped.
    std::string v = std::to_string(p.MODE);
    v += fmtI(p.IPB, 6) + fmtI(p.IFAT1, 6) + fmtI(p.IFAT2, 6) + fmtI(p.N1, 5) + fmtI(p.N2, 5) + fmtF(p.PER, 13, 6) +
         fmtD(p.DPERDT, 12, 5) + fmtF(p.THE, 9, 5) + fmtF(p.VUNIT, 9, 2);
    line(out, "  " + v);
  }
  line(out, "");
  line(out, "  ecc     s-m axis        F1        F2       Vgam       Incl     g1     g2 Nsp1 Nsp2  [M/H]");
  {
    // No leading blanks in front of the eccentricity: the inclination must
    // land in columns 53-63 of the line as read.
    std::string v = fmtF(p.E, 8, 6);
    while (!v.empty() && v[0] == ' ') v.erase(0, 1);
    v = padRight(v, 8);
    v += fmtD(p.A, 13, 6) + fmtF(p.F1, 10, 4) + fmtF(p.F2, 10, 4) + fmtF(p.VGA, 11, 4) + fmtF(p.XINCL, 11, 4) +
         fmtF(p.GR1, 7, 3) + fmtF(p.GR2, 7, 3) + fmtI(p.spotCount[1], 5) + fmtI(p.spotCount[2], 5) + fmtF(p.MH, 7, 2);
    line(out, v);
  }
  line(out, "");
  line(out, "   T1      T2    Alb1   Alb2      Pot1         Pot2         M2/M1     x1bol  x2bol  y1bol  y2bol");
  line(out, fmtF(p.T1 / 10000.0, 7, 4) + fmtF(p.T2 / 10000.0, 8, 4) + fmtF(p.ALB1, 7, 3) + fmtF(p.ALB2, 7, 3) +
                fmtD(p.POTH, 13, 6) + fmtD(p.POT2, 13, 6) + fmtD(p.RM, 13, 6) + fmtF(p.XBOL1, 7, 3) +
                fmtF(p.XBOL2, 7, 3) + fmtF(p.YBOL1, 7, 3) + fmtF(p.YBOL2, 7, 3));
  line(out, "");
  line(out, "  wv lth        L1         L2        x1     x2     y1     y2      el3  band");
  line(out, fmtF(curveDef.wavelength, 9, 6) + fmtF(curveDef.l1, 11, 5) + fmtF(curve.l2, 11, 5) + fmtF(curveDef.x1, 7, 3) +
                fmtF(curveDef.x2, 7, 3) + fmtF(curveDef.y1, 7, 3) + fmtF(curveDef.y2, 7, 3) + fmtF(curveDef.el3, 9, 4) + fmtI(p.BAND, 6));
  line(out, "");
  // Semi-amplitudes need a period and an orbit size; a light curve does not.
  const bool orbitSized = p.PERIOD > 0.0 && p.A > 0.0;
  const double k1 = orbitSized ? m.k1() : 0.0, k2 = orbitSized ? m.k2() : 0.0;
  line(out, "  star   radius (A)   potential   inner crit.  lobe-limited     K (km/s)");
  line(out, fmtI(1, 6) + fmtF(m.r1(), 13, 6) + fmtD(m.pot1(), 13, 6) + fmtD(m.innerCritical1(), 13, 6) +
                padLeft(m.star1LobeLimited() ? "yes" : "no", 14) + fmtF(k1, 13, 4));
  line(out, fmtI(2, 6) + fmtF(m.r2(), 13, 6) + fmtD(m.pot2(), 13, 6) + fmtD(m.innerCritical2(), 13, 6) +
                padLeft(m.star2LobeLimited() ? "yes" : "no", 14) + fmtF(k2, 13, 4));
  line(out, "");

  // Light at the phase of normalisation, for the normalised column.
  const StarLights ref = m.lights(curve, m.stateAt(p.PHN, false));
  const double refTotal = ref.total() + curveDef.el3;
  NormalNoise noise(p.SEED);
  const bool addNoise = p.NOISE == 1 && p.MPAGE == 1 && p.FRACSD > 0.0;

  if (p.MPAGE == 1)
    line(out, "      JD                    Phase     light 1     light 2 total light  norm. light");
  else
    line(out, "      JD                    Phase     light 1     light 2 total light  separation         V1           V2");
  for (int i = 0; i < n; ++i) {
    const double x = isTime ? p.JDSTART + i * p.JDINCR : p.PHSTRT + i * p.PHIN;
    const OrbitState s = m.stateAt(x, isTime);
    const double jd = isTime ? x : p.HJD0 + x * p.PERIOD;
    const StarLights l = m.lights(curve, s);
    double total = l.total() + curveDef.el3;
    if (addNoise) total *= 1.0 + p.FRACSD * noise.next();
    std::string row = jdText(jd) + fmtF(s.phase, 15, 6) + fmtF(l.l1, 12, 7) + fmtF(l.l2, 12, 7) + fmtF(total, 12, 7);
    if (p.MPAGE == 1) {
      row += fmtF(refTotal != 0.0 ? total / refTotal : 0.0, 13, 7);
    } else {
      const Velocities v = m.velocities(s);
      row += fmtF(s.separation, 10, 6) + fmtF(v.v1 / p.VUNIT, 13, 6) + fmtF(v.v2 / p.VUNIT, 13, 6);
    }
    line(out, row);
  }
  line(out, "");
  line(out, " Light in the units of L1 and L2; total light includes third light EL3.");
  line(out, " Velocities in units of VUNIT km/s with the systemic velocity VGA included.");
  line(out, " Stars are spheres: reflection and tidal distortion are left out.");
  return out;
}

}  // namespace tavrin::standin
